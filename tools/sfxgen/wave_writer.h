// 16-bit mono PCM WAVE output for the generated effects.
#pragma once

#include <string>
#include <vector>

namespace kv::sfx {

// Scales `samples` so the loudest one sits at `peak` (fraction of full scale)
// and writes them as a canonical 44-byte-header WAVE file. Throws on I/O failure.
void write_wave(const std::string& path, std::vector<double> samples, int rate, double peak);

}  // namespace kv::sfx
