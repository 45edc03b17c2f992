// A script either parses into events the simulator can replay in order, or is
// refused with ScriptError; never anything else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tools/sim/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    const std::vector<sim::ScriptEvent> events = sim::parse_script(in);
    std::int64_t last = 0;
    int last_line = 0;
    for (const sim::ScriptEvent& ev : events) {
      if (ev.ms < last || ev.line <= last_line || ev.key < 0 || ev.key > 65535) std::abort();
      last = ev.ms;
      last_line = ev.line;
    }
  } catch (const sim::ScriptError& e) {
    if (e.line() <= 0) std::abort();
  }
  return 0;
}
