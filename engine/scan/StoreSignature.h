#pragma once
// The signature a message store begins with. A store without it is scanned all the same, since
// damaged stores lose their header, but the report says it is missing.
#include <array>
#include <cstdint>

#include "engine/scan/StoreReads.h"

inline constexpr std::array<std::uint8_t, 20> kStoreSignature = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74,
                                                                 0x6F, 0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E,
                                                                 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4};

// An unreadable signature is not said to be missing: nothing is known of it.
bool HasStoreSignature(StoreReads& store);

// Whether the file is another of the mail client's files, such as the folder list: it begins with the
// magic its stores begin with too, CF AD 12 FE, but goes on otherwise. It holds no mail.
bool IsOtherOutlookFile(StoreReads& store);
