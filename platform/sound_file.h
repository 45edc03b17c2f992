// Reading the game's sound files. Each is checked strictly by our own reader
// before any audio library sees it, and its exact length is worked out here:
// "has this cue played to its end" is decided from that length, not from what
// the mixer reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

enum class SoundKind { Wave, Midi };

struct SoundFile {
  SoundKind kind = SoundKind::Wave;
  std::int64_t length_us = 0;       // playing time
  std::vector<std::uint8_t> bytes;  // the whole file, as read
};

// Picks the reader by the file name's extension (".wav" or ".mid", any case).
// Throws EMCIDeviceError naming `path` and the reason (missing, a directory,
// empty, truncated, not a RIFF WAVE / Standard MIDI File, unsupported encoding).
SoundFile load_sound_file(const std::string& path);

// The same checks on bytes already in memory; `name` is used in messages.
SoundFile parse_wave(const std::vector<std::uint8_t>& bytes, const std::string& name);
SoundFile parse_midi(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace kv
