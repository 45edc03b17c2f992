#include "effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kv::sfx {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// A fixed xorshift generator: the standard library's distributions may differ
// between implementations, and the files must come out byte-identical.
class Noise {
 public:
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 0x4B565331u;
};

// One-pole low-pass whose cutoff may move from sample to sample.
class LowPass {
 public:
  double run(double x, double cutoff_hz, int rate) {
    double a = 1 - std::exp(-kTwoPi * cutoff_hz / rate);
    y_ += a * (x - y_);
    return y_;
  }

 private:
  double y_ = 0;
};

// Linear ramps in and out so no clip starts or stops on a click.
double edges(double t, double length, double in, double out) {
  double g = 1;
  if (t < in) g = t / in;
  if (t > length - out) g = std::min(g, std::max(0.0, (length - t) / out));
  return g;
}

std::size_t frames(double seconds, int rate) {
  return static_cast<std::size_t>(std::lround(seconds * rate));
}

}  // namespace

std::vector<double> explosion(int rate) {
  const double length = 1.3;
  std::vector<double> out(frames(length, rate));
  Noise noise;
  LowPass blast1, blast2, rumble1, rumble2;
  double phase = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double white = noise.next();
    // The blast: bright at first, closing down fast like a shock wave passing.
    double cutoff = 180 + 6000 * std::exp(-t / 0.09);
    double blast = blast2.run(blast1.run(white, cutoff, rate), cutoff, rate);
    blast *= 1.6 * std::exp(-t / 0.22);
    // The rumble: heavily filtered noise plus a sinking sub tone, lasting longer.
    double rumble = rumble2.run(rumble1.run(white, 110, rate), 110, rate) * 5.0;
    rumble *= std::exp(-t / 0.55);
    phase += kTwoPi * (32 + 60 * std::exp(-t / 0.25)) / rate;
    double thump = std::sin(phase) * 0.7 * std::exp(-t / 0.35);
    // A few crackles of debris in the first half second.
    double crackle = 0;
    if (t < 0.5 && noise.next() > 0.995) crackle = noise.next() * 0.6 * (1 - t / 0.5);
    out[i] = (blast + rumble + thump + crackle) * edges(t, length, 0.003, 0.12);
  }
  return out;
}

std::vector<double> ufo_warble(int rate) {
  const double length = 2.0;
  std::vector<double> out(frames(length, rate));
  double phase = 0, phase2 = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    // Fast wobble on a slowly drifting centre: the saucer's signature whine.
    double f = 560 + 170 * std::sin(kTwoPi * 6.5 * t) + 60 * std::sin(kTwoPi * 0.5 * t);
    phase += kTwoPi * f / rate;
    phase2 += kTwoPi * f * 1.503 / rate;  // slightly off a fifth, for a metallic beat
    double tone = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.18 * std::sin(3 * phase) +
                  0.25 * std::sin(phase2);
    double tremolo = 0.85 + 0.15 * std::sin(kTwoPi * 13 * t);
    out[i] = tone * tremolo * edges(t, length, 0.06, 0.3);
  }
  return out;
}

std::vector<double> space_beep(int rate) {
  const double length = 0.3;
  std::vector<double> out(frames(length, rate));
  double phase = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    double t = static_cast<double>(i) / rate;
    double f = 1100 * std::pow(1.6, t / length) * (1 + 0.01 * std::sin(kTwoPi * 30 * t));
    phase += kTwoPi * f / rate;
    // Soft-clipped sine: rounder than a square wave, brighter than a sine.
    double tone = std::tanh(2.2 * std::sin(phase));
    double decay = std::exp(-t / 0.18);
    out[i] = tone * decay * edges(t, length, 0.004, 0.03);
  }
  return out;
}

}  // namespace kv::sfx
