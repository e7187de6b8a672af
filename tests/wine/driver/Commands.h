// The driver's commands, one function each, and what they share: parsed
// arguments and the failure they report.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace driver {

// What a command reports instead of succeeding: exit status 1 (not found,
// timed out, failed) or 2 (bad usage), with a message for stderr.
struct Failure {
  int status;
  std::string message;
};

[[noreturn]] void Fail(const std::string& message);
[[noreturn]] void Usage(const std::string& message);

double ParseSeconds(const std::string& text);

// A command's arguments: positional ones in order, options by name.
struct Arguments {
  static constexpr double kDefaultWaitSeconds = 30;

  std::vector<std::string> positional;
  std::optional<std::string> title, button;
  double timeout = kDefaultWaitSeconds;
  bool icon = false;  // --icon: a message box's icon is printed before its text

  const std::string& At(size_t i) const { return positional.at(i); }
  // The number at `i` (decimal or 0x hex, may be negative), or 0 when absent.
  long long IntegerAt(size_t i, const char* what) const;
  // The seconds at `i`, or --timeout when absent.
  double SecondsAt(size_t i) const;
};

// Runs the command `name`; throws Failure.
void RunCommand(const std::string& name, const Arguments& args);

}  // namespace driver
