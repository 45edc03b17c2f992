#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/sound_file.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& b, std::initializer_list<int> v) {
  for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
}
void append_tag(Bytes& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(tag[i]));
}
void le16(Bytes& b, unsigned v) {
  append(b, {int(v & 0xFF), int(v >> 8 & 0xFF)});
}
void le32(Bytes& b, std::uint32_t v) {
  le16(b, v & 0xFFFF);
  le16(b, v >> 16);
}
void be32(Bytes& b, std::uint32_t v) {
  append(b, {int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)});
}

struct WaveLayout {
  unsigned tag = 1;
  unsigned channels = 1;
  std::uint32_t rate = 8000;
  unsigned bits = 16;
  std::uint32_t data_bytes = 16;
  std::uint32_t claimed_data = 0;  // 0: the true size
  bool extensible_float = false;   // extensible fmt with the IEEE float sub-format
  Bytes extra_chunk = {};          // inserted between fmt and data
};

Bytes make_wave(const WaveLayout& s) {
  Bytes fmt;
  unsigned align = s.channels * s.bits / 8;
  le16(fmt, s.tag);
  le16(fmt, s.channels);
  le32(fmt, s.rate);
  le32(fmt, s.rate * align);
  le16(fmt, align);
  le16(fmt, s.bits);
  if (s.tag == 0xFFFE) {
    le16(fmt, 22);
    le16(fmt, s.bits);
    le32(fmt, 0);
    append(fmt, {s.extensible_float ? 3 : 1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38,
                 0x9B, 0x71});
  }
  Bytes body;
  append_tag(body, "WAVE");
  append_tag(body, "fmt ");
  le32(body, static_cast<std::uint32_t>(fmt.size()));
  body.insert(body.end(), fmt.begin(), fmt.end());
  body.insert(body.end(), s.extra_chunk.begin(), s.extra_chunk.end());
  append_tag(body, "data");
  le32(body, s.claimed_data != 0 ? s.claimed_data : s.data_bytes);
  body.resize(body.size() + s.data_bytes, 0);
  Bytes out;
  append_tag(out, "RIFF");
  le32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes mtrk(const Bytes& events) {
  Bytes out;
  append_tag(out, "MTrk");
  be32(out, static_cast<std::uint32_t>(events.size()));
  out.insert(out.end(), events.begin(), events.end());
  return out;
}

Bytes make_midi(int format, int division, const std::vector<Bytes>& tracks) {
  Bytes out;
  append_tag(out, "MThd");
  be32(out, 6);
  append(out, {0, format, 0, int(tracks.size()), division >> 8, division & 0xFF});
  for (const Bytes& t : tracks) {
    Bytes chunk = mtrk(t);
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

Bytes events(std::initializer_list<int> v, bool end = true) {
  Bytes b;
  append(b, v);
  if (end) b.insert(b.end(), kEndOfTrack.begin(), kEndOfTrack.end());
  return b;
}

Bytes cut(Bytes b, std::size_t n) {
  b.resize(n);
  return b;
}

// Two tracks, as a format 1 file has them: tempo changes in the first, the
// notes (in running status, between a sysex and a text event) in the second,
// which also ends later. 96 ticks per quarter:
//   ticks   0-192 at 600000 us/quarter = 1.2 s
//   ticks 192-384 at 300000 us/quarter = 0.6 s
Bytes tempo_map_midi() {
  Bytes conductor = events({0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0,          // 600000
                            0x81, 0x40, 0xFF, 0x51, 0x03, 0x04, 0x93, 0xE0});  // +192: 300000
  Bytes notes = events({0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7,                    // sysex
                        0x00, 0xC0, 0x50,                                      // program change
                        0x00, 0x90, 0x3C, 0x64,                                //
                        0x60, 0x3C, 0x00,                                      // running status
                        0x60, 0x40, 0x64,                                      //
                        0x60, 0x40, 0x00,                                      //
                        0x00, 0xFF, 0x01, 0x02, 'h',  'i'},                    // text
                       false);
  append(notes, {0x60, 0xFF, 0x2F, 0x00});  // End of Track at tick 384
  return make_midi(1, 96, {conductor, notes});
}

TEST(SoundFile, GameAssetsParse) {
  struct Case {
    const char* file;
    SoundKind kind;
    std::int64_t length_us;
  };
  const Case cases[] = {
      {"Tema.mid", SoundKind::Midi, 60557692},  // 30 bars at 128 bpm, one at 120, one at 104
      {"ex.wav", SoundKind::Wave, 1300000},
      {"ufo.wav", SoundKind::Wave, 2000000},
      {"spacebeep.wav", SoundKind::Wave, 300000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = std::string(KV_SOURCE_DIR) + "/assets/sfx/" + c.file;
    SoundFile f = load_sound_file(path);
    EXPECT_EQ(f.kind, c.kind);
    EXPECT_EQ(f.length_us, c.length_us);
    EXPECT_EQ(f.bytes.size(), std::filesystem::file_size(path));
  }
}

TEST(SoundFile, AcceptsValidVariants) {
  Bytes listing;  // an odd-sized chunk with its pad byte, to be skipped
  append_tag(listing, "LIST");
  le32(listing, 3);
  append(listing, {'a', 'b', 'c', 0});
  struct Case {
    const char* label;
    Bytes bytes;
    bool midi;
    std::int64_t length_us;
  };
  const Case cases[] = {
      {"16-bit mono", make_wave({.rate = 8000, .data_bytes = 16000}), false, 1000000},
      {"8-bit stereo", make_wave({.channels = 2, .rate = 4000, .bits = 8, .data_bytes = 2000}),
       false, 250000},
      {"extensible PCM", make_wave({.tag = 0xFFFE, .rate = 16000, .data_bytes = 8000}), false,
       250000},
      {"unknown chunk", make_wave({.data_bytes = 4, .extra_chunk = listing}), false, 250},
      {"default tempo", make_midi(0, 480, {events({0x83, 0x60, 0x90, 0x40, 0x40})}), true,
       500000},  // note on at tick 480, End of Track right there
      {"tempo map across tracks", tempo_map_midi(), true, 1800000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SoundFile f = c.midi ? parse_midi(c.bytes, "x") : parse_wave(c.bytes, "x");
    EXPECT_EQ(f.length_us, c.length_us);
    EXPECT_EQ(f.bytes, c.bytes);
  }
}

TEST(SoundFile, RejectsMalformedBytes) {
  const Bytes wave = make_wave({});
  const Bytes midi = tempo_map_midi();
  struct Case {
    const char* label;
    Bytes bytes;
    bool midi;
    const char* reason;
  };
  std::vector<Case> cases = {
      {"empty wave", {}, false, "empty file"},
      {"empty midi", {}, true, "empty file"},
      {"wrong RIFF magic", make_midi(0, 96, {kEndOfTrack}), false, "not a RIFF WAVE file"},
      {"RIFF but not WAVE",
       [&] {
         Bytes b = wave;
         b[11] = 'X';
         return b;
       }(),
       false, "not a RIFF WAVE file"},
      {"wrong MIDI magic", wave, true, "not a Standard MIDI File"},
      {"float samples", make_wave({.tag = 3, .bits = 32}), false, "unsupported WAVE encoding"},
      {"24-bit", make_wave({.bits = 24, .data_bytes = 18}), false, "unsupported WAVE encoding"},
      {"3 channels", make_wave({.channels = 3, .data_bytes = 18}), false,
       "unsupported WAVE encoding"},
      {"extensible float", make_wave({.tag = 0xFFFE, .bits = 32, .extensible_float = true}), false,
       "unsupported WAVE encoding"},
      {"rate too low", make_wave({.rate = 1000}), false, "unsupported sample rate"},
      {"partial frame", make_wave({.channels = 2, .data_bytes = 6}), false, "whole number"},
      {"data over-claims", make_wave({.claimed_data = 1000}), false, "data chunk claims 1000"},
      {"VLQ over 4 bytes", make_midi(0, 96, {events({0x81, 0x81, 0x81, 0x81, 0x00, 0xC0, 0})}),
       true, "longer than 4 bytes"},
      {"track over-claims",
       [&] {
         Bytes b = midi;
         b[21] = 0x7F;
         return b;
       }(),
       true, "truncated: chunk claims"},
      {"no End of Track", make_midi(0, 96, {events({0x00, 0xC0, 0x10}, false)}), true,
       "no End of Track"},
      {"running status without status", make_midi(0, 96, {events({0x00, 0x3C, 0x40})}), true,
       "without a running status"},
      {"running status after sysex",
       make_midi(0, 96, {events({0x00, 0x90, 0x3C, 0x40, 0x00, 0xF0, 0x01, 0xF7, 0x00, 0x3C, 0})}),
       true, "without a running status"},
      {"data after End of Track", make_midi(0, 96, {events({0x00, 0xFF, 0x2F, 0x00, 0x00})}), true,
       "after End of Track"},
      {"SMPTE division", make_midi(0, 0xE728, {kEndOfTrack}), true, "SMPTE"},
      {"format 2", make_midi(2, 96, {kEndOfTrack}), true, "unsupported MIDI format"},
  };
  // Cut points through the RIFF header, the fmt chunk, the data header and the
  // samples; and through the MIDI header, a track header and track bodies.
  for (std::size_t n : {3u, 11u, 20u, 30u, 40u, 50u}) {
    cases.push_back({"truncated wave", cut(wave, n), false, "truncated"});
  }
  for (std::size_t n :
       std::initializer_list<std::size_t>{2, 10, 14, 18, 25, 40, 50, midi.size() - 1}) {
    cases.push_back({"truncated midi", cut(midi, n), true, "truncated"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.label) + ", " + std::to_string(c.bytes.size()) + " bytes");
    try {
      c.midi ? parse_midi(c.bytes, "sfx/x") : parse_wave(c.bytes, "sfx/x");
      ADD_FAILURE() << "accepted";
    } catch (const EMCIDeviceError& e) {
      const std::string msg = e.what();
      EXPECT_EQ(msg.rfind("sfx/x: ", 0), 0u) << msg;
      EXPECT_NE(msg.find(c.reason), std::string::npos) << msg;
    }
  }
}

TEST(SoundFile, LoadReportsFileProblems) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kv_sound_file_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "folder.wav");
  std::ofstream(dir / "empty.mid").close();
  std::ofstream(dir / "tune.ogg") << "OggS";
  struct Case {
    const char* file;
    const char* reason;
  };
  const Case cases[] = {
      {"missing.wav", "file not found"},
      {"folder.wav", "is a directory"},
      {"empty.mid", "empty file"},
      {"tune.ogg", "unknown sound file type (expected .wav or .mid)"},
  };
  for (const Case& c : cases) {
    const std::string path = (dir / c.file).string();
    SCOPED_TRACE(path);
    try {
      load_sound_file(path);
      ADD_FAILURE() << "accepted";
    } catch (const EMCIDeviceError& e) {
      EXPECT_EQ(std::string(e.what()), path + ": " + c.reason);
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kv
