// The floor: the least a program can do and still look and sound like the
// game from outside. Two windows (the second hidden, as the results screen is
// while playing), a few rectangles moving at 20 frames a second through the
// window surface, and the theme through SDL_mixer and FluidSynth with the
// game's soundfont. Whatever the game costs above this is its own doing.
//
// usage: korvalen-bench-floor [--seconds S] [--freq HZ] [--chunk FRAMES]
//                             [--no-video] [--no-audio] [--no-music] [--loop]
//                             [--midi FILE]   (run in assets/)
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  double seconds = 1e9;
  int freq = 44100, chunk = 1024;
  bool video = true, audio = true, music_on = true, loop = false;
  std::string midi = "sfx/Tema.mid";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&] {
      return i + 1 < argc
                 ? argv[++i]
                 : (std::fprintf(stderr, "%s needs a value\n", a.c_str()), std::exit(2), "");
    };
    if (a == "--seconds")
      seconds = std::atof(next());
    else if (a == "--freq")
      freq = std::atoi(next());
    else if (a == "--chunk")
      chunk = std::atoi(next());
    else if (a == "--no-video")
      video = false;
    else if (a == "--no-audio")
      audio = false;
    else if (a == "--no-music")
      music_on = false;
    else if (a == "--loop")
      loop = true;
    else if (a == "--midi")
      midi = next();
    else {
      std::fprintf(stderr, "unknown argument %s\n", a.c_str());
      return 2;
    }
  }

  // The same path as the game: no OpenGL behind the window surface.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init((video ? SDL_INIT_VIDEO : 0) | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* win[2] = {nullptr, nullptr};
  if (video) {
    win[0] = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 674, 488, 0);
    win[1] = SDL_CreateWindow("floor results", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 674,
                              488, SDL_WINDOW_HIDDEN);
    if (!win[0] || !win[1]) {
      std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
      return 1;
    }
  }

  Mix_Music* music = nullptr;
  if (audio) {
    Mix_Init(MIX_INIT_MID);
    // Debian's SDL_mixer reads the font list only when the device opens.
    Mix_SetSoundFonts("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(freq, AUDIO_S16SYS, 2, chunk) != 0) {
      SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
          Mix_OpenAudio(freq, AUDIO_S16SYS, 2, chunk) != 0) {
        std::fprintf(stderr, "Mix_OpenAudio: %s\n", Mix_GetError());
        return 1;
      }
    }
    Mix_AllocateChannels(8);
    if (music_on) {
      music = Mix_LoadMUS(midi.c_str());
      if (!music) {
        std::fprintf(stderr, "Mix_LoadMUS: %s\n", Mix_GetError());
        return 1;
      }
      Mix_VolumeMusic(34);
      Mix_PlayMusic(music, loop ? -1 : 1);
    }
  }

  const Uint64 hz = SDL_GetPerformanceFrequency();
  const Uint64 start = SDL_GetPerformanceCounter();
  const Uint64 frame = hz / 20;
  Uint64 due = start + frame;
  int x = 0;
  bool quit = false;
  while (!quit && static_cast<double>(SDL_GetPerformanceCounter() - start) / hz < seconds) {
    SDL_Event e;
    const Uint64 now = SDL_GetPerformanceCounter();
    const int wait_ms = now >= due ? 0 : static_cast<int>((due - now) * 1000 / hz);
    if (wait_ms > 0 && SDL_WaitEventTimeout(&e, wait_ms)) {
      do {
        if (e.type == SDL_QUIT) quit = true;
      } while (SDL_PollEvent(&e));
      continue;
    }
    due += frame;
    if (!video) continue;
    SDL_Surface* s = SDL_GetWindowSurface(win[0]);
    if (!s) continue;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
    x = (x + 5) % 674;
    for (int k = 0; k < 12; ++k) {
      const SDL_Rect r{(x + k * 53) % 674, (k * 37 + x / 3) % 488, 40, 30};
      SDL_FillRect(s, &r, SDL_MapRGB(s->format, 255, 255 - k * 16, 255));
    }
    SDL_UpdateWindowSurface(win[0]);
  }

  if (music) Mix_FreeMusic(music);
  if (audio) Mix_CloseAudio();
  for (SDL_Window* w : win)
    if (w) SDL_DestroyWindow(w);
  SDL_Quit();
  return 0;
}
