#include "platform/text.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "platform/errors.h"

namespace kv {

std::string cp1252_to_utf8(std::string_view text) {
  // 0x80-0x9F differ from Latin-1; the rest map straight onto Unicode.
  static constexpr char16_t k80[32] = {
      0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    const unsigned cp = (b >= 0x80 && b < 0xA0) ? k80[b - 0x80] : b;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

namespace {

std::string find_font_file(bool bold) {
  // Liberation Sans has the metrics of the old sans faces; any sans will do.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  const char* names[] = {"Liberation Sans", "DejaVu Sans", "sans-serif"};
  std::string found;
  for (const char* family : names) {
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddString(pat, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("TrueType"));
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pat, &result);
    if (match) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
        found = reinterpret_cast<const char*>(file);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    if (!found.empty()) break;
  }
  FcConfigDestroy(config);
  return found;
}

class Fonts {
 public:
  ~Fonts() {
    for (auto& [key, font] : open_) TTF_CloseFont(font);
    if (inited_) TTF_Quit();
  }

  TTF_Font* get(const FontSpec& desc) {
    const auto key = std::make_pair(desc.height, desc.bold);
    if (auto it = open_.find(key); it != open_.end()) return it->second;
    if (!inited_) {
      if (TTF_Init() != 0)
        throw EPlatformError(std::string("cannot start text drawing: ") + TTF_GetError());
      inited_ = true;
    }
    std::string& path = desc.bold ? bold_path_ : regular_path_;
    if (path.empty()) path = find_font_file(desc.bold);
    if (path.empty()) throw EPlatformError("no sans font found (install fonts-liberation2)");
    TTF_Font* font = TTF_OpenFont(path.c_str(), desc.height);
    if (!font) throw EPlatformError(path + ": cannot open font: " + TTF_GetError());
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    open_[key] = font;
    return font;
  }

 private:
  bool inited_ = false;
  std::string bold_path_, regular_path_;
  std::map<std::pair<int, bool>, TTF_Font*> open_;
};

Fonts& fonts() {
  static Fonts f;
  return f;
}

}  // namespace

TextBitmap render_text(std::string_view cp1252, const FontSpec& desc) {
  TTF_Font* font = fonts().get(desc);
  TextBitmap out;
  out.height = TTF_FontHeight(font);
  if (cp1252.empty()) return out;
  const std::string utf8 = cp1252_to_utf8(cp1252);
  SDL_Color ink{255, 255, 255, 255};
  SDL_Surface* s = TTF_RenderUTF8_Solid(font, utf8.c_str(), ink);
  if (!s) throw EPlatformError(std::string("cannot draw text: ") + TTF_GetError());
  // Solid rendering gives 8-bit pixels: index 0 is the background.
  out.width = s->w;
  out.height = s->h;
  out.bits.resize(static_cast<std::size_t>(s->w) * s->h);
  SDL_LockSurface(s);
  for (int y = 0; y < s->h; ++y)
    std::memcpy(
        out.bits.data() + static_cast<std::size_t>(y) * s->w,
        static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch,
        static_cast<std::size_t>(s->w));
  SDL_UnlockSurface(s);
  SDL_FreeSurface(s);
  return out;
}

}  // namespace kv
