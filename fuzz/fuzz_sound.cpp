// Our sound readers, then -- for what they let through -- the SDL_mixer
// decoders the game hands the same bytes to. A file our reader accepts must not
// crash, leak or hang the library; where one does, our reader is the place to
// refuse it.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/errors.h"
#include "platform/sound_file.h"

namespace {

// The game's soundfont: FluidSynth is the MIDI decoder behind Mix_LoadMUS_RW.
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::atomic<int> mixes{0};
void count_mix(void*, Uint8*, int) {
  ++mixes;
}

bool open_audio() {
  SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
  Mix_Init(MIX_INIT_MID);
  Mix_SetSoundFonts(kSoundFont);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    std::fprintf(stderr, "fuzz_sound: cannot open the dummy audio device: %s\n", SDL_GetError());
    std::abort();
  }
  Mix_SetPostMix(count_mix, nullptr);
  return true;
}

void try_wave(const std::vector<std::uint8_t>& bytes) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1)) Mix_FreeChunk(chunk);
}

// FluidSynth reads the tune only once the player runs, inside the mixer, so the
// music is played until the mixer has been through it twice.
void try_midi(const std::vector<std::uint8_t>& bytes) {
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  Mix_Music* music = Mix_LoadMUS_RW(rw, 1);
  if (music == nullptr) return;
  if (Mix_PlayMusic(music, 1) == 0) {
    const int seen = mixes.load();
    for (int i = 0; i < 400 && mixes.load() < seen + 2; ++i) SDL_Delay(1);
  }
  Mix_FreeMusic(music);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = open_audio();
  (void)ready;
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    kv::parse_wave(bytes, "fuzz.wav");
    try_wave(bytes);
  } catch (const kv::EMCIDeviceError&) {
  }
  try {
    kv::parse_midi(bytes, "fuzz.mid");
    try_midi(bytes);
  } catch (const kv::EMCIDeviceError&) {
  }
  return 0;
}
