#pragma once
// Read-only access to the current user's registry, for finding the mail client's identities.
// A system without a registry answers every lookup as empty.
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { CurrentUser };

// False where the system keeps no registry; callers then take their defaults from elsewhere.
bool HasRegistry();

// Names of the key's direct subkeys in enumeration order; empty when the key cannot be opened or has
// none. A name that cannot be read stays as an empty entry, so the indices keep the system's order.
std::vector<std::u16string> RegistrySubKeyNames(RegistryRoot root, const std::u16string& keyPath);

// A REG_SZ or REG_EXPAND_SZ value exactly as stored (not expanded, NULs included); nullopt when the
// key or value is missing, cannot be read or has another type.
std::optional<std::u16string> RegistryString(RegistryRoot root, const std::u16string& keyPath,
                                             const std::u16string& valueName);

// A folder variable (UserProfile, SystemDrive) as the system expands it; empty when it is not set.
std::u16string FolderVariable(const std::u16string& name);

}  // namespace platform
