#pragma once
// Permission faults need a user whom permissions bind: root reads and writes past them. These run
// a piece of a test in a forked child that, when the tests run as root, first becomes "nobody".
#ifndef _WIN32
#include <functional>
#include <optional>
#include <string>

namespace faulttest {

struct ChildOutcome {
  std::optional<std::string> result;  // what the body returned; nullopt when it could not run
  std::string whyNot;
  bool noOrdinaryUser = false;         // the system would not let the child become one: skip, don't fail
};

// Runs body in a child process as an ordinary user and hands back the text it returns.
ChildOutcome RunAsOrdinaryUser(const std::function<std::string()>& body);

// Lets the ordinary user reach and read the folder (not write it).
void OpenToOthers(const std::string& folder);

}  // namespace faulttest
#endif
