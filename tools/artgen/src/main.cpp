// korvalen-artgen OUTDIR: renders every picture the game ships with.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "gif_writer.h"
#include "sprites.h"

namespace {

struct Output {
  const char* path;  // relative to OUTDIR
  art::Background background;
  std::function<art::Canvas()> render;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  using art::Background;
  constexpr auto kClear = Background::kTransparent;
  const Output outputs[] = {
      {"nave.gif", kClear, [] { return art::fighter(1); }},
      {"navea.gif", kClear, [] { return art::fighter(1).rotated(2); }},
      {"navei.gif", kClear, [] { return art::fighter(1).rotated(3); }},
      {"naved.gif", kClear, [] { return art::fighter(1).rotated(1); }},
      {"navedestruida.gif", kClear, art::wrecked_fighter},
      {"formdata/starfield.gif", Background::kOpaque, art::starfield},
      {"formdata/ship.gif", kClear, [] { return art::fighter(1); }},
      {"formdata/boss.gif", kClear, art::boss},
      {"formdata/cruiser1.gif", kClear, art::red_saucer},
      {"formdata/cruiser2.gif", kClear, art::crystal_craft},
      {"formdata/cruiser3.gif", kClear, art::lander},
      {"formdata/cruiser4.gif", kClear, art::purple_saucer},
      {"formdata/cruiser5.gif", kClear, art::wasp_craft},
      {"formdata/cruiser6.gif", kClear, art::green_craft},
      {"formdata/planet1.gif", kClear, [] { return art::red_planet(166, 163, 80.5f); }},
      {"formdata/planet2.gif", kClear, [] { return art::blue_planet(162, 162, 80.0f); }},
      {"formdata/portrait.gif", kClear, art::portrait},
      {"formdata/title.gif", kClear, art::title},
      {"formdata/pilot.gif", kClear, art::pilot},
      {"formdata/icon.gif", Background::kOpaque, art::icon},
  };

  try {
    const std::filesystem::path root = argv[1];
    for (const auto& out : outputs) {
      const std::filesystem::path file = root / out.path;
      std::filesystem::create_directories(file.parent_path());
      art::write_gif(file.string(), out.render(), out.background);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korvalen-artgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
