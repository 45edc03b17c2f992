#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/gif_codec.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                        kWhite = 0xFFFFFFFF, kClear = 0;

// Global map used by most cases: index 0 red, 1 green, 2 blue, 3 white.
const std::vector<GifColorType> kMap = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

struct TestFrame {
  int left = 0, top = 0, width = 1, height = 1;
  std::vector<GifPixelType> pixels = {};  // row-major, in picture order
  std::vector<GifColorType> local_map = {};
  bool interlace = false;
  bool control = false;  // write a Graphics Control Extension
  int delay_cs = 0, transparent = -1, disposal = 0;
};

int write_to_bytes(GifFileType* gif, const GifByteType* data, int len) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + len);
  return len;
}

// Builds a GIF through giflib's encoder, so the decoder is tested against real output.
Bytes build_gif(int width, int height, const std::vector<GifColorType>& global,
                const std::vector<TestFrame>& frames) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write_to_bytes, &error);
  EXPECT_NE(gif, nullptr);
  EGifSetGifVersion(gif, true);
  ColorMapObject* gmap =
      global.empty() ? nullptr : GifMakeMapObject(static_cast<int>(global.size()), global.data());
  EXPECT_EQ(EGifPutScreenDesc(gif, width, height, 8, 0, gmap), GIF_OK);
  GifFreeMapObject(gmap);
  for (const TestFrame& f : frames) {
    if (f.control) {
      GraphicsControlBlock gcb{f.disposal, false, f.delay_cs, f.transparent};
      GifByteType ext[4];
      EGifGCBToExtension(&gcb, ext);
      EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
    }
    ColorMapObject* lmap =
        f.local_map.empty()
            ? nullptr
            : GifMakeMapObject(static_cast<int>(f.local_map.size()), f.local_map.data());
    EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, lmap), GIF_OK);
    GifFreeMapObject(lmap);
    std::vector<int> rows;
    if (f.interlace) {
      for (int start : {0, 4, 2, 1})
        for (int y = start; y < f.height; y += start == 0 ? 8 : start * 2) rows.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) rows.push_back(y);
    }
    for (int y : rows) {
      std::vector<GifPixelType> line(f.pixels.begin() + y * f.width,
                                     f.pixels.begin() + (y + 1) * f.width);
      EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
    }
  }
  EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
  return out;
}

// A 2x2 picture, one frame, red green / blue white. Byte layout: 6 stamp, 7 screen
// descriptor, 12 global map, then the image descriptor at 25.
Bytes small_gif() {
  return build_gif(2, 2, kMap, {{.width = 2, .height = 2, .pixels = {0, 1, 2, 3}}});
}
constexpr std::size_t kImageDescAt = 25;

void put_u16(Bytes& b, std::size_t at, int v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

std::vector<std::uint32_t> pixels_of(const GifFrame& f) {
  return f.image.pixels;
}

TEST(GifDecode, OpaquePicture) {
  const GifPicture pic = decode_gif(small_gif(), "ship.gif");
  EXPECT_EQ(pic.width, 2);
  EXPECT_EQ(pic.height, 2);
  ASSERT_EQ(pic.frames.size(), 1u);
  EXPECT_FALSE(pic.animated());
  EXPECT_EQ(pic.frames[0].delay_ms, 0);
  EXPECT_EQ(pic.frames[0].image.width, 2);
  EXPECT_EQ(pixels_of(pic.frames[0]), (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kWhite}));
}

TEST(GifDecode, TransparentIndexAndUncoveredScreenAreClear) {
  // 3x1 screen, 2x1 frame at x=1 whose second pixel is the transparent index.
  const Bytes gif = build_gif(
      3, 1, kMap, {{.left = 1, .width = 2, .pixels = {2, 1}, .control = true, .transparent = 1}});
  EXPECT_EQ(pixels_of(decode_gif(gif, "t.gif").frames[0]),
            (std::vector<std::uint32_t>{kClear, kBlue, kClear}));
}

TEST(GifDecode, InterlacedRowsLandInPlace) {
  // 11 rows reach every interlace pass; row y is coloured y % 4.
  TestFrame f{.width = 2, .height = 11, .interlace = true};
  std::vector<std::uint32_t> expected;
  const std::uint32_t colour[] = {kRed, kGreen, kBlue, kWhite};
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      f.pixels.push_back(static_cast<GifPixelType>(y % 4));
      expected.push_back(colour[y % 4]);
    }
  EXPECT_EQ(pixels_of(decode_gif(build_gif(2, 11, kMap, {f}), "i.gif").frames[0]), expected);
}

TEST(GifDecode, LocalColourMapWinsOverGlobalAndMayStandAlone) {
  const std::vector<GifColorType> local = {{1, 2, 3}, {4, 5, 6}};
  const TestFrame f{.width = 2, .pixels = {1, 0}, .local_map = local};
  const std::vector<std::uint32_t> expected = {0xFF040506, 0xFF010203};
  EXPECT_EQ(pixels_of(decode_gif(build_gif(2, 1, kMap, {f}), "l.gif").frames[0]), expected);
  EXPECT_EQ(pixels_of(decode_gif(build_gif(2, 1, {}, {f}), "l.gif").frames[0]), expected);
}

TEST(GifDecode, AnimationDelays) {
  // Zero and one centisecond mean "as fast as the viewer likes"; browsers use 100 ms.
  const Bytes gif = build_gif(1, 1, kMap,
                              {{.pixels = {0}, .control = true, .delay_cs = 7},
                               {.pixels = {1}, .control = true, .delay_cs = 0},
                               {.pixels = {2}, .control = true, .delay_cs = 1},
                               {.pixels = {3}}});
  const GifPicture pic = decode_gif(gif, "a.gif");
  ASSERT_EQ(pic.frames.size(), 4u);
  EXPECT_TRUE(pic.animated());
  const int delays[] = {70, 100, 100, 100};
  const std::uint32_t colours[] = {kRed, kGreen, kBlue, kWhite};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(pic.frames[i].delay_ms, delays[i]) << "frame " << i;
    EXPECT_EQ(pic.frames[i].image.at(0, 0), colours[i]) << "frame " << i;
  }
}

TEST(GifDecode, DisposalMethods) {
  // Frame 1 paints the 3x1 screen red. Frame 2 paints green at x=1 with the disposal under
  // test. Frame 3 paints blue at x=2, showing what the disposal left at x=1.
  struct Case {
    int disposal;
    std::uint32_t left_at_x1;
  };
  for (const Case c : {Case{0, kGreen}, Case{1, kGreen}, Case{2, kClear}, Case{3, kRed}}) {
    SCOPED_TRACE("disposal " + std::to_string(c.disposal));
    const Bytes gif =
        build_gif(3, 1, kMap,
                  {{.width = 3, .pixels = {0, 0, 0}},
                   {.left = 1, .pixels = {1}, .control = true, .disposal = c.disposal},
                   {.left = 2, .pixels = {2}}});
    const GifPicture pic = decode_gif(gif, "d.gif");
    ASSERT_EQ(pic.frames.size(), 3u);
    EXPECT_EQ(pixels_of(pic.frames[0]), (std::vector<std::uint32_t>{kRed, kRed, kRed}));
    // A frame's own disposal only shows once the next frame is painted.
    EXPECT_EQ(pixels_of(pic.frames[1]), (std::vector<std::uint32_t>{kRed, kGreen, kRed}));
    EXPECT_EQ(pixels_of(pic.frames[2]), (std::vector<std::uint32_t>{kRed, c.left_at_x1, kBlue}));
  }
}

TEST(GifDecode, RestorePreviousUnderTransparentPixels) {
  // Frame 2 (restore previous) has a transparent hole; frame 3 must see frame 1's pixels.
  const Bytes gif =
      build_gif(2, 1, kMap,
                {{.width = 2, .pixels = {0, 1}},
                 {.width = 2, .pixels = {2, 3}, .control = true, .transparent = 3, .disposal = 3},
                 {.pixels = {3}}});
  const GifPicture pic = decode_gif(gif, "p.gif");
  EXPECT_EQ(pixels_of(pic.frames[1]), (std::vector<std::uint32_t>{kBlue, kGreen}));
  EXPECT_EQ(pixels_of(pic.frames[2]), (std::vector<std::uint32_t>{kWhite, kGreen}));
}

Bytes truncated(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

Bytes patched(Bytes b, std::size_t at, int v) {
  put_u16(b, at, v);
  return b;
}

// The global map says 2 colours but the pixels (written against 4) use index 3.
Bytes with_short_global_map() {
  Bytes b = small_gif();
  b[10] = static_cast<std::uint8_t>(b[10] & ~7);  // global map size 2^(0+1)
  b.erase(b.begin() + 13 + 6, b.begin() + 13 + 12);
  return b;
}

// No global map at all and none local.
Bytes without_colour_map() {
  Bytes b = small_gif();
  b[10] = static_cast<std::uint8_t>(b[10] & ~0x80);
  b.erase(b.begin() + 13, b.begin() + 13 + 12);
  return b;
}

Bytes without_image() {
  Bytes b = small_gif();
  b.resize(kImageDescAt);
  b.push_back(0x3B);
  return b;
}

Bytes with_bad_control_length() {
  Bytes b = build_gif(1, 1, kMap, {{.pixels = {0}, .control = true}});
  b[kImageDescAt + 2] = 3;  // 0x21 0xF9 <len>
  return b;
}

TEST(GifDecode, RefusesBadData) {
  const Bytes good = small_gif();
  const Bytes anim = build_gif(2, 1, kMap,
                               {{.width = 2, .pixels = {0, 1}, .control = true, .delay_cs = 5},
                                {.width = 2, .pixels = {1, 0}}});
  struct Case {
    const char* what;
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {"empty", {}, "x.gif: empty file"},
      {"wrong magic", Bytes{'P', 'N', 'G', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0},
       "x.gif: not a GIF picture"},
      {"short non-GIF", Bytes{'B', 'M'}, "x.gif: not a GIF picture"},
      {"cut in the stamp", truncated(good, 4), "x.gif: truncated"},
      {"cut in the screen descriptor", truncated(good, 10), "x.gif: truncated"},
      {"cut in the global map", truncated(good, 20), "x.gif: truncated"},
      {"cut in the image descriptor", truncated(good, kImageDescAt + 5), "x.gif: truncated"},
      {"cut in the pixel data", truncated(good, good.size() - 4), "x.gif: truncated"},
      {"cut before the trailer", truncated(good, good.size() - 1), "x.gif: truncated"},
      {"cut in the second frame", truncated(anim, anim.size() - 6), "x.gif: truncated"},
      {"huge screen", patched(patched(good, 6, 20000), 8, 20000),
       "x.gif: picture too large (20000x20000)"},
      {"screen one too wide", patched(good, 6, kMaxGifSide + 1), "x.gif: picture too large"},
      {"zero-width screen", patched(good, 6, 0), "x.gif: picture has no area (0x2)"},
      {"frame outside screen", patched(good, kImageDescAt + 1, 1), "lies outside the 2x2 screen"},
      {"frame too tall", patched(good, kImageDescAt + 7, 3), "lies outside"},
      {"zero-size frame", patched(good, kImageDescAt + 5, 0), "frame 1 has no area (0x2)"},
      {"no colour map", without_colour_map(), "frame 1 has no colour map"},
      {"index beyond colour map", with_short_global_map(), "beyond its colour map of 2"},
      {"bad control extension", with_bad_control_length(), "bad graphic control extension"},
      {"no image", without_image(), "x.gif: no picture"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      decode_gif(c.bytes, "x.gif");
      ADD_FAILURE() << "decoded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

TEST(GifDecode, BoundsTheWorkOfManyFrames) {
  const std::vector<TestFrame> many(1001, TestFrame{.pixels = {0}});
  EXPECT_THROW(
      {
        try {
          decode_gif(build_gif(1, 1, kMap, many), "m.gif");
        } catch (const EInvalidGraphic& e) {
          EXPECT_STREQ(e.what(), "m.gif: too many frames (more than 1000)");
          throw;
        }
      },
      EInvalidGraphic);
  EXPECT_EQ(
      decode_gif(build_gif(1, 1, kMap, {many.begin(), many.begin() + 1000}), "m.gif").frames.size(),
      1000u);
  // Each frame is kept as a whole screen, so tiny frames on a big screen add up.
  const std::vector<TestFrame> tiny(5, TestFrame{.pixels = {0}});
  EXPECT_THROW(decode_gif(build_gif(kMaxGifSide, kMaxGifSide, kMap, tiny), "big.gif"),
               EInvalidGraphic);
}

class GifFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kv_gif_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static std::string error_of(const std::string& path) {
    try {
      load_gif_file(path);
    } catch (const EInvalidGraphic& e) {
      return e.what();
    }
    return "loaded";
  }

  std::filesystem::path dir_;
};

TEST_F(GifFileTest, LoadsAFile) {
  const GifPicture pic = load_gif_file(write("ok.gif", small_gif()));
  EXPECT_EQ(pixels_of(pic.frames[0]), (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kWhite}));
}

TEST_F(GifFileTest, FileErrorsNameThePath) {
  const std::string missing = (dir_ / "missing.gif").string();
  EXPECT_EQ(error_of(missing), missing + ": file not found");
  EXPECT_EQ(error_of(dir_.string()), dir_.string() + ": is a directory");
  const std::string empty = write("empty.gif", {});
  EXPECT_EQ(error_of(empty), empty + ": empty file");
  const std::string text = write("text.gif", {'h', 'e', 'l', 'l', 'o', '!', '!'});
  EXPECT_EQ(error_of(text), text + ": not a GIF picture");
}

}  // namespace
}  // namespace kv
