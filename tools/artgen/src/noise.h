// Lattice value noise. Hash based rather than table based so that any seed
// gives a different, fully reproducible texture.
#pragma once

#include <cstdint>

namespace art {

float value_noise(float x, float y, float z, std::uint32_t seed);

// Sum of octaves, roughly in [0, 1].
float fbm(float x, float y, float z, int octaves, std::uint32_t seed);

// Same, but wrapping every `period` units in x and y so tiles meet seamlessly.
float fbm_tiled(float x, float y, int period, int octaves, std::uint32_t seed);

}  // namespace art
