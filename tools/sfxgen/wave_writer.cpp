#include "wave_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace kv::sfx {

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void tag(std::vector<std::uint8_t>& out, const char* t) {
  out.insert(out.end(), t, t + 4);
}

}  // namespace

void write_wave(const std::string& path, std::vector<double> samples, int rate, double peak) {
  double loudest = 0;
  for (double s : samples) loudest = std::max(loudest, std::abs(s));
  const double gain = loudest > 0 ? peak / loudest : 0;

  const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + data_bytes);
  tag(out, "RIFF");
  put32(out, 36 + data_bytes);
  tag(out, "WAVE");
  tag(out, "fmt ");
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<std::uint32_t>(rate));
  put32(out, static_cast<std::uint32_t>(rate) * 2);
  put16(out, 2);
  put16(out, 16);
  tag(out, "data");
  put32(out, data_bytes);
  for (double s : samples) {
    long v = std::lround(s * gain * 32767.0);
    put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }

  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!f) throw std::runtime_error(path + ": cannot write");
}

}  // namespace kv::sfx
