#include "platform/sound_file.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/errors.h"

namespace kv {

namespace {

// Our biggest sound is the theme at a few kilobytes; anything this large is not
// one of ours, and refusing it keeps a stray file from being read into memory.
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

[[noreturn]] void fail(const std::string& name, const std::string& reason) {
  throw EMCIDeviceError(name + ": " + reason);
}

// Bounds-checked little/big-endian reads over a byte range. Every read goes
// through here so a lying length field can only ever produce an error.
class Cursor {
 public:
  Cursor(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end,
         const std::string& name, std::string what)
      : bytes_(bytes), pos_(begin), end_(end), name_(name), what_(std::move(what)) {}

  std::size_t pos() const { return pos_; }
  std::size_t remaining() const { return end_ - pos_; }
  bool at_end() const { return pos_ == end_; }

  void need(std::size_t n) const {
    if (remaining() < n) fail(name_, "truncated " + what_);
  }
  std::uint8_t u8() {
    need(1);
    return bytes_[pos_++];
  }
  std::uint8_t peek() const {
    need(1);
    return bytes_[pos_];
  }
  std::uint16_t u16le() {
    need(2);
    std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  std::uint32_t u32le() {
    need(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
    return v;
  }
  std::uint32_t be(int n) {
    need(static_cast<std::size_t>(n));
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | bytes_[pos_++];
    return v;
  }
  void skip(std::size_t n) {
    need(n);
    pos_ += n;
  }
  bool tag_is(std::string_view tag) const {
    if (remaining() < tag.size()) return false;
    return std::equal(tag.begin(), tag.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
  }
  // MIDI variable-length quantity. The format caps it at four bytes (28 bits);
  // a longer one means the stream is garbage, not a big number.
  std::uint32_t vlq() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = u8();
      v = (v << 7) | (b & 0x7Fu);
      if ((b & 0x80u) == 0) return v;
    }
    fail(name_, "variable-length quantity longer than 4 bytes in " + what_);
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_;
  std::size_t end_;
  const std::string& name_;
  std::string what_;
};

// True when the first bytes of the file agree with `magic` as far as the file
// goes, so a short file with the right start is reported as truncated rather
// than as the wrong kind of file.
bool starts_like(const std::vector<std::uint8_t>& bytes, std::string_view magic) {
  std::size_t n = std::min(bytes.size(), magic.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (bytes[i] != static_cast<std::uint8_t>(magic[i])) return false;
  }
  return true;
}

std::string lower_extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return ext;
}

// --- WAVE -------------------------------------------------------------------

struct WaveFormat {
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint16_t block_align = 0;
};

const char* const kUnsupportedWave = "unsupported WAVE encoding (only PCM 8/16-bit, 1-2 channels)";

WaveFormat read_fmt(Cursor c, const std::string& name) {
  WaveFormat f;
  std::uint16_t tag = c.u16le();
  f.channels = c.u16le();
  f.rate = c.u32le();
  std::uint32_t byte_rate = c.u32le();
  f.block_align = c.u16le();
  std::uint16_t bits = c.u16le();
  if (tag == 0xFFFE) {
    // WAVE_FORMAT_EXTENSIBLE: acceptable only when the sub-format GUID is plain
    // integer PCM, {00000001-0000-0010-8000-00AA00389B71}.
    std::uint16_t extra = c.u16le();
    if (extra < 22) fail(name, "malformed extensible fmt chunk");
    c.skip(2 + 4);  // valid bits, channel mask
    static constexpr std::uint8_t kPcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                  0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    for (std::uint8_t g : kPcmGuid) {
      if (c.u8() != g) fail(name, kUnsupportedWave);
    }
  } else if (tag != 1) {
    fail(name, kUnsupportedWave);
  }
  if (f.channels < 1 || f.channels > 2 || (bits != 8 && bits != 16)) fail(name, kUnsupportedWave);
  if (f.rate < 4000 || f.rate > 192000) {
    fail(name, "unsupported sample rate " + std::to_string(f.rate) + " Hz");
  }
  if (f.block_align != f.channels * (bits / 8) || byte_rate != f.rate * f.block_align) {
    fail(name, "inconsistent fmt chunk (block align / byte rate)");
  }
  return f;
}

}  // namespace

SoundFile parse_wave(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  if (bytes.empty()) fail(name, "empty file");
  const std::string not_wave = "not a RIFF WAVE file";
  if (!starts_like(bytes, "RIFF")) fail(name, not_wave);
  Cursor head(bytes, 0, bytes.size(), name, "RIFF header");
  head.skip(4);
  std::uint32_t riff_size = head.u32le();
  if (!head.tag_is("WAVE")) {
    head.need(4);
    fail(name, not_wave);
  }
  if (riff_size < 4) fail(name, "malformed RIFF header");
  if (riff_size > bytes.size() - 8) {
    fail(name, "truncated (RIFF header claims " + std::to_string(riff_size + 8ull) +
                   " bytes, file has " + std::to_string(bytes.size()) + ")");
  }
  const std::size_t riff_end = 8 + static_cast<std::size_t>(riff_size);

  bool have_fmt = false;
  WaveFormat fmt;
  bool have_data = false;
  std::uint32_t data_size = 0;
  Cursor walk(bytes, 12, riff_end, name, "chunk header");
  while (!walk.at_end()) {
    std::size_t id_at = walk.pos();
    walk.need(8);
    bool is_fmt = walk.tag_is("fmt ");
    bool is_data = walk.tag_is("data");
    walk.skip(4);
    std::uint32_t size = walk.u32le();
    if (size > walk.remaining()) {
      if (is_data) {
        fail(name, "truncated: data chunk claims " + std::to_string(size) + " bytes, " +
                       std::to_string(walk.remaining()) + " present");
      }
      fail(name, "truncated chunk at offset " + std::to_string(id_at));
    }
    if (is_fmt) {
      if (have_fmt) fail(name, "more than one fmt chunk");
      fmt = read_fmt(Cursor(bytes, walk.pos(), walk.pos() + size, name, "fmt chunk"), name);
      have_fmt = true;
    } else if (is_data) {
      if (have_data) fail(name, "more than one data chunk");
      data_size = size;
      have_data = true;
    }
    walk.skip(size);
    // Chunks are padded to even length; a writer that drops the pad byte on the
    // last chunk is common enough that a missing final pad is let through.
    if ((size & 1u) != 0 && !walk.at_end()) walk.skip(1);
  }
  if (!have_fmt) fail(name, "no fmt chunk");
  if (!have_data) fail(name, "no data chunk");
  if (data_size == 0) fail(name, "no sample data");
  if (data_size % fmt.block_align != 0) fail(name, "data chunk is not a whole number of frames");

  SoundFile out;
  out.kind = SoundKind::Wave;
  std::int64_t frames = data_size / fmt.block_align;
  out.length_us = frames * 1000000 / fmt.rate;
  out.bytes = bytes;
  return out;
}

// --- Standard MIDI File -----------------------------------------------------

namespace {

struct TempoChange {
  std::uint64_t tick;
  std::uint32_t us_per_quarter;
};

// A track this long in ticks is far beyond any tune and would make the
// microsecond arithmetic below overflow, so it is refused.
constexpr std::uint64_t kMaxTicks = 0xFFFFFFFFull;

// Walks one MTrk chunk to its End of Track; returns that event's tick and adds
// the track's tempo changes to `tempi`.
std::uint64_t read_track(Cursor c, std::vector<TempoChange>& tempi, const std::string& name,
                         const std::string& what) {
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (true) {
    if (c.at_end()) fail(name, what + " has no End of Track");
    tick += c.vlq();
    if (tick > kMaxTicks) fail(name, what + " is too long");
    std::uint8_t status = c.peek();
    if (status >= 0x80) {
      c.skip(1);
    } else {
      // Running status: the byte is the first data byte of a repeat of the
      // previous channel message, and stays in the stream to be read as such.
      if (running == 0) fail(name, "data byte without a running status in " + what);
      status = running;
    }
    if (status < 0xF0) {
      int data_len = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      running = status;
      for (int i = 0; i < data_len; ++i) {
        if (c.u8() >= 0x80) fail(name, "bad channel message data in " + what);
      }
    } else if (status == 0xF0 || status == 0xF7) {
      running = 0;
      c.skip(c.vlq());
    } else if (status == 0xFF) {
      running = 0;
      std::uint8_t type = c.u8();
      std::uint32_t len = c.vlq();
      c.need(len);
      if (type == 0x51) {
        if (len != 3) fail(name, "malformed tempo event in " + what);
        std::uint32_t us = c.be(3);
        if (us == 0) fail(name, "zero tempo in " + what);
        tempi.push_back({tick, us});
      } else if (type == 0x2F) {
        if (len != 0) fail(name, "malformed End of Track in " + what);
        if (!c.at_end()) fail(name, "data after End of Track in " + what);
        return tick;
      } else {
        c.skip(len);
      }
    } else {
      fail(name, "invalid status byte in " + what);
    }
  }
}

}  // namespace

SoundFile parse_midi(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  if (bytes.empty()) fail(name, "empty file");
  if (!starts_like(bytes, "MThd")) fail(name, "not a Standard MIDI File");
  Cursor head(bytes, 0, bytes.size(), name, "MIDI header");
  head.skip(4);
  std::uint32_t head_len = head.be(4);
  if (head_len < 6) fail(name, "malformed MIDI header");
  head.need(head_len);
  std::uint16_t format = static_cast<std::uint16_t>(head.be(2));
  std::uint16_t ntracks = static_cast<std::uint16_t>(head.be(2));
  std::uint16_t division = static_cast<std::uint16_t>(head.be(2));
  head.skip(head_len - 6);
  if (format > 1) fail(name, "unsupported MIDI format " + std::to_string(format));
  if (ntracks == 0) fail(name, "no tracks");
  if (format == 0 && ntracks != 1) fail(name, "format 0 file with more than one track");
  if ((division & 0x8000u) != 0) fail(name, "SMPTE time division not supported");
  if (division == 0) fail(name, "zero time division");

  std::vector<TempoChange> tempi;
  std::uint64_t end_tick = 0;
  int found = 0;
  Cursor walk(bytes, head.pos(), bytes.size(), name, "track chunk header");
  while (found < ntracks) {
    if (walk.at_end()) {
      fail(name, "truncated: " + std::to_string(ntracks) + " tracks declared, " +
                     std::to_string(found) + " present");
    }
    walk.need(8);
    bool is_track = walk.tag_is("MTrk");
    walk.skip(4);
    std::uint32_t len = walk.be(4);
    if (len > walk.remaining()) {
      fail(name, "truncated: chunk claims " + std::to_string(len) + " bytes, " +
                     std::to_string(walk.remaining()) + " present");
    }
    if (is_track) {
      ++found;
      std::string what = "track " + std::to_string(found);
      Cursor track(bytes, walk.pos(), walk.pos() + len, name, what);
      end_tick = std::max(end_tick, read_track(track, tempi, name, what));
    }
    // Chunks of other types are skipped, as the file format asks of readers.
    walk.skip(len);
  }

  // Tempo changes may come from any track; at equal ticks the later one in
  // file order wins, hence the stable sort.
  std::stable_sort(tempi.begin(), tempi.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  // Sum of ticks x microseconds-per-quarter, divided once at the end so the
  // length is exact. Bounded: at most 2^32 ticks times a 24-bit tempo.
  std::uint64_t tick_us = 0;
  std::uint64_t at = 0;
  std::uint32_t tempo = 500000;
  for (const TempoChange& t : tempi) {
    if (t.tick >= end_tick) break;
    tick_us += (t.tick - at) * tempo;
    at = t.tick;
    tempo = t.us_per_quarter;
  }
  tick_us += (end_tick - at) * tempo;

  SoundFile out;
  out.kind = SoundKind::Midi;
  out.length_us = static_cast<std::int64_t>(tick_us / division);
  out.bytes = bytes;
  return out;
}

SoundFile load_sound_file(const std::string& path) {
  std::string ext = lower_extension(path);
  bool is_wave = ext == ".wav";
  if (!is_wave && ext != ".mid") fail(path, "unknown sound file type (expected .wav or .mid)");

  std::error_code ec;
  std::filesystem::file_status st = std::filesystem::status(path, ec);
  if (st.type() == std::filesystem::file_type::not_found) fail(path, "file not found");
  if (ec) fail(path, "cannot be read (" + ec.message() + ")");
  if (std::filesystem::is_directory(st)) fail(path, "is a directory");
  if (!std::filesystem::is_regular_file(st)) fail(path, "not a regular file");
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) fail(path, "cannot be read (" + ec.message() + ")");
  if (size == 0) fail(path, "empty file");
  if (size > kMaxFileBytes) fail(path, "file too large");

  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "cannot be opened");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) fail(path, "read error");
  return is_wave ? parse_wave(bytes, path) : parse_midi(bytes, path);
}

}  // namespace kv
