// Scripts of timed input for the simulator: one event a line, "<ms> <event>".
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct ScriptEvent {
  enum class Kind { Key, Activate, Close };
  std::int64_t ms = 0;
  Kind kind = Kind::Key;
  int key = 0;  // virtual-key code
  int line = 0;
};

class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& what)
      : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Throws ScriptError naming the first bad line.
std::vector<ScriptEvent> parse_script(std::istream& in);

}  // namespace sim
