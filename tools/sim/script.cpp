#include "tools/sim/script.h"

#include <charconv>
#include <sstream>

namespace sim {

namespace {

bool parse_number(const std::string& s, std::int64_t max, std::int64_t& out) {
  if (s.empty() || s.size() > 18) return false;
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size() && out <= max;
}

constexpr std::int64_t kMaxMs = 1'000'000'000'000;  // well beyond any game

}  // namespace

std::vector<ScriptEvent> parse_script(std::istream& in) {
  std::vector<ScriptEvent> events;
  std::string raw;
  int line_no = 0;
  std::int64_t last = 0;
  while (std::getline(in, raw)) {
    ++line_no;
    if (const auto hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string x; words >> x;) w.push_back(x);
    if (w.empty()) continue;
    ScriptEvent ev;
    ev.line = line_no;
    if (!parse_number(w[0], kMaxMs, ev.ms))
      throw ScriptError(line_no, "time '" + w[0] + "' is not a non-negative whole number of ms");
    if (ev.ms < last)
      throw ScriptError(line_no, "time " + w[0] + " goes back before " + std::to_string(last));
    if (w.size() < 2) throw ScriptError(line_no, "no event after the time");
    const std::string& name = w[1];
    std::size_t want = 2;
    if (name == "up") {
      ev.key = 38;
    } else if (name == "down") {
      ev.key = 40;
    } else if (name == "left") {
      ev.key = 37;
    } else if (name == "right") {
      ev.key = 39;
    } else if (name == "key") {
      want = 3;
      std::int64_t code = 0;
      if (w.size() < 3) throw ScriptError(line_no, "key needs a virtual-key code");
      if (!parse_number(w[2], 65535, code))
        throw ScriptError(line_no, "key code '" + w[2] + "' is not a number from 0 to 65535");
      ev.key = static_cast<int>(code);
    } else if (name == "activate") {
      ev.kind = ScriptEvent::Kind::Activate;
    } else if (name == "close") {
      ev.kind = ScriptEvent::Kind::Close;
    } else {
      throw ScriptError(line_no, "unknown event '" + name + "'");
    }
    if (w.size() > want) throw ScriptError(line_no, "unexpected '" + w[want] + "' after the event");
    last = ev.ms;
    events.push_back(ev);
  }
  return events;
}

}  // namespace sim
