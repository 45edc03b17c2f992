#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/gif_codec.h"
#include "platform/picture_writers.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kv_writer_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  static Bytes read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
};

// A picture with a pitch wider than it, so row addressing is exercised too.
struct Picture {
  int width, height, pitch;
  std::vector<std::uint32_t> pixels;

  Picture(int w, int h, int extra = 0) : width(w), height(h), pitch(w + extra), pixels(pitch * h) {}
  std::uint32_t& at(int x, int y) { return pixels[y * pitch + x]; }
  PixelView view() const { return {pixels.data(), width, height, pitch}; }
};

std::uint32_t be32(const Bytes& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

int paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Reads back an 8-bit RGB PNG, checking chunk CRCs, and returns 0x00RRGGBB pixels.
std::vector<std::uint32_t> read_png(const Bytes& file, int& width, int& height) {
  const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_TRUE(file.size() > 8 && std::equal(signature.begin(), signature.end(), file.begin()));
  Bytes idat;
  std::vector<std::string> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t len = be32(file, at);
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    chunks.push_back(type);
    EXPECT_LE(at + 12 + len, file.size());
    EXPECT_EQ(crc32(0, file.data() + at + 4, len + 4), be32(file, at + 8 + len)) << type;
    const std::uint8_t* data = file.data() + at + 8;
    if (type == "IHDR") {
      EXPECT_EQ(len, 13u);
      width = static_cast<int>(be32(file, at + 8));
      height = static_cast<int>(be32(file, at + 12));
      EXPECT_EQ(Bytes(data + 8, data + 13), (Bytes{8, 2, 0, 0, 0}));  // 8-bit RGB
    }
    if (type == "IDAT") idat.insert(idat.end(), data, data + len);
    at += 12 + len;
  }
  EXPECT_EQ(chunks.front(), "IHDR");
  EXPECT_EQ(chunks.back(), "IEND");

  const std::size_t stride = static_cast<std::size_t>(width) * 3;
  Bytes raw((stride + 1) * height);
  uLongf raw_len = raw.size();
  EXPECT_EQ(uncompress(raw.data(), &raw_len, idat.data(), idat.size()), Z_OK);
  EXPECT_EQ(raw_len, raw.size());

  Bytes prev(stride, 0), cur(stride);
  std::vector<std::uint32_t> out;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = raw.data() + y * (stride + 1);
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= 3 ? cur[i - 3] : 0, b = prev[i], c = i >= 3 ? prev[i - 3] : 0;
      const int predictor[] = {0, a, b, (a + b) / 2, paeth(a, b, c)};
      EXPECT_LE(row[0], 4);
      cur[i] = static_cast<std::uint8_t>(row[1 + i] + predictor[row[0] % 5]);
    }
    for (int x = 0; x < width; ++x)
      out.push_back((cur[x * 3] << 16) | (cur[x * 3 + 1] << 8) | cur[x * 3 + 2]);
    prev = cur;
  }
  return out;
}

TEST_F(WriterTest, PngHoldsThePixels) {
  // Flat rows, repeated rows and noise, so every filter choice gets used.
  Picture pic(7, 5, 3);
  unsigned seed = 12345;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      seed = seed * 1103515245 + 12345;
      pic.at(x, y) = y == 0 ? 0x00123456 : y == 1 ? 0xFF123456 : y < 4 ? x * 0x00102030 : seed;
    }
  write_png(path("shot.png"), pic.view());
  int width = 0, height = 0;
  const std::vector<std::uint32_t> got = read_png(read(path("shot.png")), width, height);
  ASSERT_EQ(width, 7);
  ASSERT_EQ(height, 5);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      EXPECT_EQ(got[y * width + x], pic.at(x, y) & 0xFFFFFF) << x << "," << y;
}

TEST_F(WriterTest, PngErrorsNameTheFile) {
  Picture pic(2, 2);
  const std::string bad = path("no/such/dir/shot.png");
  try {
    write_png(bad, pic.view());
    ADD_FAILURE() << "wrote";
  } catch (const EPlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(bad + ": ", 0), 0u) << e.what();
  }
}

// The canvas a recorder frame should decode to: the view at the top-left on black.
std::vector<std::uint32_t> placed(const Picture& pic, int cw, int ch) {
  std::vector<std::uint32_t> out(cw * ch, 0xFF000000);
  for (int y = 0; y < std::min(ch, pic.height); ++y)
    for (int x = 0; x < std::min(cw, pic.width); ++x)
      out[y * cw + x] = 0xFF000000 | pic.pixels[y * pic.pitch + x];
  return out;
}

TEST_F(WriterTest, RecordingDecodesToTheFrames) {
  constexpr int kW = 8, kH = 6;
  Picture a(kW, kH, 2);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) a.at(x, y) = (x * 30) << 16 | (y * 40) << 8 | 0x80;
  Picture b = a;  // a small change in the middle
  b.at(3, 2) = 0xFFFFFF;
  b.at(5, 3) = 0x000000;
  Picture c(3, 2);  // smaller than the canvas: the rest turns black
  for (auto& p : c.pixels) p = 0x00AA00;

  const std::string file = path("rec.gif");
  {
    GifRecorder rec(file, kW, kH);
    rec.add_frame(a.view(), 4);
    rec.add_frame(b.view(), 3);
    rec.add_frame(b.view(), 5);  // unchanged: lengthens the frame before
    rec.add_frame(c.view(), 6);
    rec.finish();
  }

  const GifPicture pic = load_gif_file(file);
  ASSERT_EQ(pic.frames.size(), 3u);
  EXPECT_EQ(pic.width, kW);
  EXPECT_EQ(pic.height, kH);
  EXPECT_EQ(pic.frames[0].image.pixels, placed(a, kW, kH));
  EXPECT_EQ(pic.frames[1].image.pixels, placed(b, kW, kH));
  EXPECT_EQ(pic.frames[2].image.pixels, placed(c, kW, kH));
  EXPECT_EQ(pic.frames[0].delay_ms, 40);
  EXPECT_EQ(pic.frames[1].delay_ms, 80);
  EXPECT_EQ(pic.frames[2].delay_ms, 60);

  // Only the changed rectangle is stored, and the file loops forever.
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  const GifImageDesc& second = gif->SavedImages[1].ImageDesc;
  EXPECT_EQ((std::vector<int>{second.Left, second.Top, second.Width, second.Height}),
            (std::vector<int>{3, 2, 3, 2}));
  const SavedImage& first = gif->SavedImages[0];
  bool loops = false;
  for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
    const ExtensionBlock& e = first.ExtensionBlocks[i];
    const ExtensionBlock& next = first.ExtensionBlocks[i + 1];
    loops |= e.Function == APPLICATION_EXT_FUNC_CODE && e.ByteCount == 11 &&
             std::memcmp(e.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 &&
             next.Bytes[0] == 1 && next.Bytes[1] == 0 && next.Bytes[2] == 0;
  }
  EXPECT_TRUE(loops);
  DGifCloseFile(gif, &error);
}

TEST_F(WriterTest, ManyColoursFallBackToAFixedPalette) {
  constexpr int kSide = 32;  // 1024 distinct colours
  Picture pic(kSide, kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) pic.at(x, y) = (x * 8) << 16 | (y * 8) << 8 | ((x + y) * 4);
  const std::string file = path("busy.gif");
  GifRecorder rec(file, kSide, kSide);
  rec.add_frame(pic.view(), 10);
  rec.finish();

  const GifPicture got = load_gif_file(file);
  ASSERT_EQ(got.frames.size(), 1u);
  int exact = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const std::uint32_t want = pic.at(x, y), have = got.frames[0].image.at(x, y);
      ASSERT_EQ(have >> 24, 0xFFu);
      for (int shift : {16, 8, 0})
        ASSERT_LE(std::abs(int((want >> shift) & 0xFF) - int((have >> shift) & 0xFF)), 26)
            << x << "," << y;
      exact += want == (have & 0xFFFFFF);
    }
  EXPECT_LT(exact, kSide * kSide / 2);  // it really was approximated
}

TEST_F(WriterTest, RecorderErrorsNameTheFile) {
  const std::string bad = path("no/such/dir/rec.gif");
  Picture pic(2, 2);
  GifRecorder rec(bad, 2, 2);
  rec.add_frame(pic.view(), 5);
  try {
    rec.finish();
    ADD_FAILURE() << "wrote";
  } catch (const EPlatformError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(bad + ": ", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace kv
