// What a media player needs of the audio back-end: one voice per opened clip.
#pragma once

namespace kv {

class SoundPort {
 public:
  virtual ~SoundPort() = default;
  // Starts the clip from its beginning, in the background; returns at once.
  virtual void start() = 0;
};

}  // namespace kv
