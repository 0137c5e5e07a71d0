#pragma once
// The real Outlook Express stores kept beside the project; tests skip when they are absent.
#include <optional>
#include <string>

namespace testsupport {

// Path of the named real store in the form the platform layer takes, or nullopt when absent.
std::optional<std::u16string> RealStore(const std::string& fileName);

}  // namespace testsupport
