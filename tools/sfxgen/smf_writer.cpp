#include "smf_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace kv::sfx {

namespace {

void put_vlq(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t buf[4];
  int n = 0;
  do {
    buf[n++] = static_cast<std::uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0 && n < 4);
  while (n > 1) out.push_back(static_cast<std::uint8_t>(buf[--n] | 0x80));
  out.push_back(buf[0]);
}

void put_be(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint8_t u7(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 127));
}
std::uint8_t status(int kind, int channel) {
  return static_cast<std::uint8_t>(kind | channel);
}

}  // namespace

void MidiTrack::add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes) {
  events_.push_back({tick, order, events_.size(), std::move(bytes)});
}

void MidiTrack::name(std::uint32_t tick, const std::string& text) {
  std::vector<std::uint8_t> b = {0xFF, 0x03};
  put_vlq(b, static_cast<std::uint32_t>(text.size()));
  b.insert(b.end(), text.begin(), text.end());
  add(tick, 0, std::move(b));
}

void MidiTrack::tempo(std::uint32_t tick, double bpm) {
  std::vector<std::uint8_t> b = {0xFF, 0x51, 0x03};
  put_be(b, static_cast<std::uint32_t>(std::lround(60e6 / bpm)), 3);
  add(tick, 0, std::move(b));
}

void MidiTrack::time_signature(std::uint32_t tick, int numerator, int denominator_pow2) {
  add(tick, 0, {0xFF, 0x58, 0x04, u7(numerator), u7(denominator_pow2), 24, 8});
}

void MidiTrack::key_signature(std::uint32_t tick, int sharps, bool minor) {
  add(tick, 0,
      {0xFF, 0x59, 0x02, static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)),
       static_cast<std::uint8_t>(minor ? 1 : 0)});
}

void MidiTrack::program(std::uint32_t tick, int channel, int program) {
  add(tick, 0, {status(0xC0, channel), u7(program)});
}

void MidiTrack::controller(std::uint32_t tick, int channel, int number, int value) {
  add(tick, 0, {status(0xB0, channel), u7(number), u7(value)});
}

void MidiTrack::note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
  add(tick, 1, {status(0x90, channel), u7(key), u7(velocity)});
  add(tick + length, -1, {status(0x90, channel), u7(key), 0});
}

std::vector<std::uint8_t> MidiTrack::encode() const {
  std::vector<Event> sorted = events_;
  std::sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    if (a.order != b.order) return a.order < b.order;
    return a.seq < b.seq;
  });
  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  std::uint8_t running = 0;
  for (const Event& e : sorted) {
    put_vlq(body, e.tick - now);
    now = e.tick;
    std::size_t from = 0;
    if (e.bytes[0] < 0xF0) {
      if (e.bytes[0] == running) from = 1;
      running = e.bytes[0];
    } else {
      running = 0;
    }
    body.insert(body.end(), e.bytes.begin() + static_cast<std::ptrdiff_t>(from), e.bytes.end());
  }
  if (end_ < now) throw std::logic_error("End of Track before the last event");
  put_vlq(body, end_ - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
  put_be(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

void write_smf(const std::string& path, const std::vector<MidiTrack>& tracks, int division) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  put_be(out, static_cast<std::uint32_t>(tracks.size()), 2);
  put_be(out, static_cast<std::uint32_t>(division), 2);
  for (const MidiTrack& t : tracks) {
    std::vector<std::uint8_t> chunk = t.encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!f) throw std::runtime_error(path + ": cannot write");
}

}  // namespace kv::sfx
