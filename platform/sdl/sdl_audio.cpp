#include "platform/sdl/sdl_audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/errors.h"

namespace kv {

namespace {

// Named outright rather than left to SDL_SOUNDFONTS or the distribution's
// default-GM link: the theme was balanced against this font, and installing
// another soundfont package must not change how it sounds. Debian's SDL_mixer
// only picks the font up if it is set before the device is opened.
constexpr const char* kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

// The effects are recorded at 22050 Hz, and the theme rendered by FluidSynth
// with TimGM6mb holds under -38 dB of its energy above 11 kHz: mixing at 22050
// sounds the same and costs the synthesizer about a quarter less CPU.
constexpr int kFrequency = 22050;
constexpr int kChunkFrames = 512;  // ~23 ms: short enough for a hit to feel immediate
constexpr int kInitialChannels = 8;

// Mix budget. Everything can sound at once, and the mixer simply adds the
// voices, so the peaks are budgeted to sum to no more than full scale:
//   effects: generated with peaks at -6 dBFS (0.5); at channel volume 64/128
//            each peaks at 0.25, the three together at 0.75
//   theme:   FluidSynth's gain follows the music volume (gain = volume / 128);
//            at fluidsynth's own default gain of 0.2 the theme peaks at 0.185,
//            so volume 34 (gain 0.27) puts its peak at 0.25
//   total:   1.0, so the sum never reaches the mixer's clamp.
constexpr int kEffectVolume = 64;
constexpr int kMusicVolume = 34;

// One opened clip. Shared between its port and the SdlAudio that opened it, so
// that whichever goes first the mixer objects are freed exactly once and while
// the device is still open.
struct Clip {
  Mix_Chunk* chunk = nullptr;
  Mix_Music* music = nullptr;
  int channel = -1;
  std::vector<std::uint8_t> bytes;  // SDL may read the music's bytes while it plays
  std::vector<int>* free_channels = nullptr;

  void release() {
    if (chunk != nullptr) {
      Mix_HaltChannel(channel);
      Mix_FreeChunk(chunk);
      chunk = nullptr;
      if (free_channels != nullptr) free_channels->push_back(channel);
    }
    if (music != nullptr) {
      Mix_FreeMusic(music);  // halts it first if it is the one playing
      music = nullptr;
    }
    free_channels = nullptr;
  }
  ~Clip() { release(); }
};

class ClipPort : public SoundPort {
 public:
  explicit ClipPort(std::shared_ptr<Clip> clip) : clip_(std::move(clip)) {}
  ~ClipPort() override { clip_->release(); }

  void start() override {
    if (clip_->chunk != nullptr) {
      // Playing on the clip's own channel cuts off its previous run, so a
      // restart begins from the first sample; other clips are not touched.
      Mix_PlayChannel(clip_->channel, clip_->chunk, 0);
    } else if (clip_->music != nullptr) {
      // SDL_mixer 2.6 counts `loops` as the number of plays (0 is taken as 1),
      // and FluidSynth's player is told the same count: 1 plays it once.
      Mix_PlayMusic(clip_->music, 1);
    }
  }

 private:
  std::shared_ptr<Clip> clip_;
};

bool open_device() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

}  // namespace

struct SdlAudio::Impl {
  std::vector<std::weak_ptr<Clip>> clips;
  std::vector<int> free_channels;
  int channels = 0;

  int take_channel() {
    if (!free_channels.empty()) {
      int ch = free_channels.back();
      free_channels.pop_back();
      return ch;
    }
    int ch = channels;
    if (ch >= Mix_AllocateChannels(-1)) Mix_AllocateChannels(std::max(2 * ch, kInitialChannels));
    channels = ch + 1;
    return ch;
  }
};

SdlAudio::SdlAudio() : impl_(std::make_unique<Impl>()) {
  Mix_Init(MIX_INIT_MID);
  Mix_SetSoundFonts(kSoundFont);
  if (!open_device()) {
    // Typically a machine with no sound card or server: SDL settles on ALSA
    // and fails. The game is still playable, so carry on with the dummy device.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    if (!open_device()) {
      throw EMCIDeviceError(std::string("cannot open audio: ") + Mix_GetError());
    }
    std::fprintf(stderr, "korvalen: no audio output available; playing silently\n");
  }
  Mix_AllocateChannels(kInitialChannels);
  Mix_VolumeMusic(kMusicVolume);
}

SdlAudio::~SdlAudio() {
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  for (std::weak_ptr<Clip>& weak : impl_->clips) {
    if (std::shared_ptr<Clip> clip = weak.lock()) clip->release();
  }
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<SoundPort> SdlAudio::open(const SoundFile& file, const std::string& name) {
  auto clip = std::make_shared<Clip>();
  clip->bytes = file.bytes;
  SDL_RWops* rw = SDL_RWFromConstMem(clip->bytes.data(), static_cast<int>(clip->bytes.size()));
  if (rw == nullptr) throw EMCIDeviceError(name + ": " + SDL_GetError());
  if (file.kind == SoundKind::Wave) {
    clip->chunk = Mix_LoadWAV_RW(rw, 1);
    if (clip->chunk == nullptr) throw EMCIDeviceError(name + ": " + Mix_GetError());
    clip->bytes.clear();  // the chunk holds its own converted copy
    clip->bytes.shrink_to_fit();
    clip->channel = impl_->take_channel();
    clip->free_channels = &impl_->free_channels;
    Mix_Volume(clip->channel, kEffectVolume);
  } else {
    clip->music = Mix_LoadMUS_RW(rw, 1);
    if (clip->music == nullptr) throw EMCIDeviceError(name + ": " + Mix_GetError());
  }
  // Drop entries whose ports are gone, so reopening clips does not grow this.
  std::erase_if(impl_->clips, [](const std::weak_ptr<Clip>& w) { return w.expired(); });
  impl_->clips.push_back(clip);
  return std::make_unique<ClipPort>(std::move(clip));
}

}  // namespace kv
