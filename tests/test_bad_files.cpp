// Every file the game reads at run time, broken in every way a player could
// break it, played through the real game in-process. A bad sound stops the
// program before a game starts; a bad ship picture is shown as an error and
// the game goes on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "app/project1.h"
#include "platform/errors.h"
#include "platform/headless/headless_backend.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Break { Missing, Empty, Truncated, WrongFormat, Huge, Directory };

const Break kBreaks[] = {Break::Missing,     Break::Empty, Break::Truncated,
                         Break::WrongFormat, Break::Huge,  Break::Directory};

std::string break_name(Break b) {
  switch (b) {
    case Break::Missing:
      return "Missing";
    case Break::Empty:
      return "Empty";
    case Break::Truncated:
      return "Truncated";
    case Break::WrongFormat:
      return "WrongFormat";
    case Break::Huge:
      return "Huge";
    case Break::Directory:
      return "Directory";
  }
  return "?";
}

void PrintTo(Break b, std::ostream* os) {
  *os << break_name(b);
}

Bytes read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_bytes(const fs::path& p, const Bytes& b) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

bool is_gif(const std::string& file) {
  return file.ends_with(".gif");
}

// A well-formed GIF whose screen claims 20000x20000: the size check must come
// before any memory is taken for it.
Bytes huge_gif(const Bytes& real) {
  Bytes b = real;
  b[6] = b[8] = 20000 & 0xFF;
  b[7] = b[9] = 20000 >> 8;
  return b;
}

// A copy of the game's files in a fresh folder, made the current directory
// for the test, since the game opens its files by relative name.
class AssetCopy {
 public:
  AssetCopy() {
    std::string pattern = (fs::temp_directory_path() / "korvalen-bad-files-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    fs::copy(fs::path(KV_SOURCE_DIR) / "assets", dir_, fs::copy_options::recursive);
    old_cwd_ = fs::current_path();
    fs::current_path(dir_);
  }
  ~AssetCopy() {
    std::error_code ec;
    fs::current_path(old_cwd_, ec);
    fs::remove_all(dir_, ec);
  }
  AssetCopy(const AssetCopy&) = delete;
  AssetCopy& operator=(const AssetCopy&) = delete;

  void spoil(const std::string& file, Break how) {
    const fs::path p = dir_ / file;
    const Bytes real = read_bytes(p);
    ASSERT_GT(real.size(), 16u) << file;
    switch (how) {
      case Break::Missing:
        fs::remove(p);
        break;
      case Break::Empty:
        write_bytes(p, {});
        break;
      case Break::Truncated:
        write_bytes(p, Bytes(real.begin(), real.begin() + real.size() / 2));
        break;
      case Break::WrongFormat:
        // Each kind of reader is handed a real file of the other kind.
        write_bytes(p, read_bytes(dir_ / (is_gif(file) ? "sfx/spacebeep.wav" : "nave.gif")));
        break;
      case Break::Huge:
        write_bytes(p, huge_gif(is_gif(file) ? real : read_bytes(dir_ / "nave.gif")));
        break;
      case Break::Directory:
        fs::remove(p);
        fs::create_directory(p);
        break;
    }
  }

 private:
  fs::path dir_;
  fs::path old_cwd_;
};

constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39;

struct Game {
  Game() : project(backend) {}
  void start() {
    project.Create();
    project.Application.Start();
  }
  void key(long long ms, int vk) {
    backend.inject(ms * 1000, {kv::InputEvent::Kind::Key, nullptr, vk});
  }
  void run_to(long long ms) {
    kv::TApplication& app = project.Application;
    while (!app.Terminated() && std::min(app.NextDue(), backend.next_input()) <= ms * 1000)
      app.ProcessInstant();
  }
  // Errors shown so far that do not name `file`.
  std::vector<std::string> errors_not_naming(const std::string& file) const {
    std::vector<std::string> out;
    for (const auto& [at, text] : backend.errors)
      if (text.find(file) == std::string::npos) out.push_back(text);
    return out;
  }

  kv::HeadlessBackend backend{false};
  Project1 project;
  Unit1& u = project.unit1;
};

template <class Row>
std::string case_name(const ::testing::TestParamInfo<std::tuple<Row, Break>>& info) {
  std::string name = std::get<0>(info.param).file;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name + "_" + break_name(std::get<1>(info.param));
}

// ---- Sounds: opened when the windows are created, so a bad one ends the
// program with a message naming it.

struct SoundRow {
  const char* file;
};
void PrintTo(const SoundRow& r, std::ostream* os) {
  *os << r.file;
}

const SoundRow kSounds[] = {
    {"sfx/Tema.mid"}, {"sfx/ex.wav"}, {"sfx/ufo.wav"}, {"sfx/spacebeep.wav"}};

class BadSound : public ::testing::TestWithParam<std::tuple<SoundRow, Break>> {};

TEST_P(BadSound, StopsStartUpWithAnErrorNamingTheFile) {
  const auto& [row, how] = GetParam();
  AssetCopy assets;
  assets.spoil(row.file, how);
  Game game;
  try {
    game.start();
    FAIL() << "the game started with a broken " << row.file;
  } catch (const kv::EMCIDeviceError& e) {
    EXPECT_NE(std::string(e.what()).find(row.file), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(AllBreaks, BadSound,
                         ::testing::Combine(::testing::ValuesIn(kSounds),
                                            ::testing::ValuesIn(kBreaks)),
                         case_name<SoundRow>);

// ---- Heading pictures: loaded when the heading changes. The new heading is
// taken, the error shown, and the ship stands still until a heading whose
// picture is fine is chosen.

struct HeadingRow {
  const char* file;
  std::vector<int> before;  // keys at 100 ms steps that put the ship where `key` can act
  int key;
  int direccion;
  int then;                // a heading whose picture is fine...
  int Unit1::*then_coord;  // ...and the coordinate it makes smaller
};
void PrintTo(const HeadingRow& r, std::ostream* os) {
  *os << r.file;
}

const HeadingRow kHeadingPictures[] = {
    // The ship starts at the bottom edge, so going down needs a climb first.
    {"nave.gif", {}, kUp, 1, kLeft, &Unit1::navex},
    {"navea.gif", {kUp}, kDown, 2, kLeft, &Unit1::navex},
    {"navei.gif", {}, kLeft, 3, kUp, &Unit1::navey},
    {"naved.gif", {}, kRight, 4, kUp, &Unit1::navey},
};

class BadHeadingPicture : public ::testing::TestWithParam<std::tuple<HeadingRow, Break>> {};

TEST_P(BadHeadingPicture, IsReportedAndTheShipWaitsForAnotherHeading) {
  const auto& [row, how] = GetParam();
  AssetCopy assets;
  assets.spoil(row.file, how);
  Game game;
  game.start();

  long long t = 100;
  for (int k : row.before) game.key(t += 100, k);
  const long long broken_at = t + 500;
  game.key(broken_at, row.key);
  game.run_to(broken_at);
  ASSERT_EQ(game.backend.errors.size(), 1u);
  EXPECT_EQ(game.backend.errors[0].first, broken_at * 1000);
  EXPECT_NE(game.backend.errors[0].second.find(row.file), std::string::npos)
      << game.backend.errors[0].second;
  EXPECT_EQ(game.u.direccion, row.direccion);

  const int x = game.u.navex, y = game.u.navey;
  game.run_to(broken_at + 1000);
  EXPECT_EQ(game.u.navex, x);
  EXPECT_EQ(game.u.navey, y);

  const int before_then = game.u.*row.then_coord;
  game.key(broken_at + 1000, row.then);
  game.run_to(broken_at + 2000);
  EXPECT_EQ(game.backend.errors.size(), 1u);
  EXPECT_LT(game.u.*row.then_coord, before_then) << "the ship did not take the new heading";
  EXPECT_FALSE(game.u.destruida);
  EXPECT_NE(game.project.Form1, nullptr);
}

INSTANTIATE_TEST_SUITE_P(AllBreaks, BadHeadingPicture,
                         ::testing::Combine(::testing::ValuesIn(kHeadingPictures),
                                            ::testing::ValuesIn(kBreaks)),
                         case_name<HeadingRow>);

// ---- The wreck picture: loaded when the ship is hit. The hit is reported
// instead of wrecking the ship, so the game goes on and the next hit reports
// it again.

struct WreckRow {
  const char* file;
};
void PrintTo(const WreckRow& r, std::ostream* os) {
  *os << r.file;
}

const WreckRow kWreck[] = {{"navedestruida.gif"}};

class BadWreckPicture : public ::testing::TestWithParam<std::tuple<WreckRow, Break>> {};

TEST_P(BadWreckPicture, EachHitIsReportedAndTheGameGoesOn) {
  const auto& [row, how] = GetParam();
  AssetCopy assets;
  assets.spoil(row.file, how);
  Game game;
  game.start();

  // With no key the meteor reaches the ship at 3600 ms.
  game.run_to(3599);
  EXPECT_TRUE(game.backend.errors.empty());
  game.run_to(3600);
  ASSERT_FALSE(game.backend.errors.empty());
  EXPECT_EQ(game.backend.errors.front().first, 3600 * 1000);
  EXPECT_FALSE(game.u.destruida);

  // Past the instant the wreck would have handed the field over.
  game.run_to(6000);
  EXPECT_NE(game.project.Form1, nullptr);
  EXPECT_FALSE(game.u.destruida);
  EXPECT_GT(game.backend.errors.size(), 1u);
  EXPECT_GT(game.backend.errors.back().first, game.backend.errors.front().first);
  EXPECT_EQ(game.errors_not_naming(row.file), std::vector<std::string>{});
  EXPECT_EQ(game.u.segundos, 6);
}

INSTANTIATE_TEST_SUITE_P(AllBreaks, BadWreckPicture,
                         ::testing::Combine(::testing::ValuesIn(kWreck),
                                            ::testing::ValuesIn(kBreaks)),
                         case_name<WreckRow>);

}  // namespace
