#pragma once
// The real Outlook Express stores kept beside the project; tests skip when they are absent.
#include <optional>
#include <string>

namespace testsupport {

// A path on the build machine, in the form the platform layer takes (under Wine: on drive Z:).
std::u16string HostPath(const std::string& unixPath);

// Path of the named real store in the form the platform layer takes, or nullopt when absent.
std::optional<std::u16string> RealStore(const std::string& fileName);

}  // namespace testsupport
