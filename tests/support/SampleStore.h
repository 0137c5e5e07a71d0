#pragma once
// The bundled sample store, composed from plain-text messages and a manifest saying how each one is laid
// out, so that the build and the tests of every platform make the very same bytes.
#include <filesystem>

namespace testsupport {

// Throws std::runtime_error when the manifest or a message cannot be read or names an unknown layout.
void ComposeSampleStore(const std::filesystem::path& manifest, const std::filesystem::path& messages,
                        const std::filesystem::path& output);

}  // namespace testsupport
