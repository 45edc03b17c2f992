// Sound output over SDL2_mixer: each effect on a mixing channel of its own,
// the MIDI theme through the mixer's FluidSynth music stream.
#pragma once

#include <memory>
#include <string>

#include "platform/sound_file.h"
#include "platform/sound_port.h"

namespace kv {

class SdlAudio {
 public:
  // Opens the audio device. Names the General MIDI soundfont before the device
  // is opened. With no audio device at all, falls back to SDL's dummy driver
  // and says so once on standard error; the game then runs silently.
  SdlAudio();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // A voice for one clip already checked by load_sound_file. `name` is used in
  // messages. Throws EMCIDeviceError when the mixer cannot decode it.
  std::unique_ptr<SoundPort> open(const SoundFile& file, const std::string& name);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kv
