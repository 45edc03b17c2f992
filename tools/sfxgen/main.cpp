// korvalen-sfxgen OUTDIR: writes the game's four sound files into OUTDIR.
// The output depends on nothing but this program, so the files in the
// repository can be checked by regenerating them and comparing bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "effects.h"
#include "smf_writer.h"
#include "theme.h"
#include "wave_writer.h"

namespace {

// Each effect peaks at -6 dBFS; the game's mixer relies on that headroom.
constexpr double kPeak = 0.5;
constexpr int kRate = 22050;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    using namespace kv::sfx;
    write_smf((dir / "Tema.mid").string(), compose_theme(), kThemeDivision);
    write_wave((dir / "ex.wav").string(), explosion(kRate), kRate, kPeak);
    write_wave((dir / "ufo.wav").string(), ufo_warble(kRate), kRate, kPeak);
    write_wave((dir / "spacebeep.wav").string(), space_beep(kRate), kRate, kPeak);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korvalen-sfxgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
