// A minimal Standard MIDI File (format 1) writer for the theme.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv::sfx {

class MidiTrack {
 public:
  void name(std::uint32_t tick, const std::string& text);
  void tempo(std::uint32_t tick, double bpm);
  void time_signature(std::uint32_t tick, int numerator, int denominator_pow2);
  void key_signature(std::uint32_t tick, int sharps, bool minor);
  void program(std::uint32_t tick, int channel, int program);
  void controller(std::uint32_t tick, int channel, int number, int value);
  // A note from `tick` lasting `length` ticks.
  void note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
  // Where the track's End of Track goes; it must not precede the last event.
  void end(std::uint32_t tick) { end_ = tick; }

  // The MTrk chunk, with running status and note-on velocity 0 as note-off.
  std::vector<std::uint8_t> encode() const;

 private:
  struct Event {
    std::uint32_t tick;
    int order;  // releases sort before attacks at the same tick
    std::size_t seq;
    std::vector<std::uint8_t> bytes;
  };
  void add(std::uint32_t tick, int order, std::vector<std::uint8_t> bytes);
  std::vector<Event> events_;
  std::uint32_t end_ = 0;
};

// Writes a format 1 file with `division` ticks per quarter note. Throws on I/O failure.
void write_smf(const std::string& path, const std::vector<MidiTrack>& tracks, int division);

}  // namespace kv::sfx
