#include "platform/sdl/sdl_dialog.h"

#include <sstream>
#include <vector>

#include "platform/text.h"

namespace kv {

namespace {
constexpr int kWidth = 460;
constexpr int kHeight = 150;
constexpr int kMargin = 16;

std::vector<std::string> wrap(const std::string& text, const FontSpec& font, int width) {
  std::vector<std::string> lines;
  std::istringstream words(text);
  std::string word, line;
  while (words >> word) {
    const std::string candidate = line.empty() ? word : line + ' ' + word;
    if (!line.empty() && render_text(candidate, font).width > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}
}  // namespace

SdlDialog::SdlDialog(const std::string& text) : text_(text) {
  window_ = std::make_unique<SdlWindow>(WindowSpec{"Korvalen", kWidth, kHeight, true, nullptr},
                                        SDL_WINDOW_ALWAYS_ON_TOP);
  paint();
  window_->show();
}

void SdlDialog::repeat(const std::string& text) {
  if (text == text_) {
    ++count_;
  } else {
    text_ = text;
    lines_.clear();
    count_ = 1;
  }
  paint();
  window_->present_all();
}

void SdlDialog::paint() {
  const Surface s = window_->surface();
  Painter p(s, s.bounds());
  p.fill(s.bounds(), 0xF0F0F0);
  const FontSpec font{13, false};
  // A round red sign, as error boxes have.
  p.ellipse(Rect::of(kMargin, kMargin, 32, 32), 0xA00000, 0xE03030);
  const TextBitmap x = render_text("X", FontSpec{16, true});
  p.mask(Mask{x.width, x.height, x.bits.data()}, kMargin + 16 - x.width / 2,
         kMargin + 16 - x.height / 2, 0xFFFFFF);
  // An error repeating every tick only changes its counter: the text is
  // wrapped once.
  if (lines_.empty()) lines_ = wrap(text_, font, kWidth - 3 * kMargin - 32);
  std::vector<std::string> shown = lines_;
  if (count_ > 1) shown.push_back("(" + std::to_string(count_) + " times)");
  int y = kMargin;
  for (const std::string& line : shown) {
    const TextBitmap t = render_text(line, font);
    if (y + t.height > kHeight - 48) break;
    p.mask(Mask{t.width, t.height, t.bits.data()}, 2 * kMargin + 32, y, 0x000000);
    y += t.height;
  }
  const Rect button = Rect::of(kWidth / 2 - 40, kHeight - 40, 80, 26);
  p.rectangle(button, 0x404040, 0xE0E0E0);
  const TextBitmap ok = render_text("OK", font);
  p.mask(Mask{ok.width, ok.height, ok.bits.data()}, button.left + (button.width() - ok.width) / 2,
         button.top + (button.height() - ok.height) / 2, 0x000000);
}

bool SdlDialog::handle(const SDL_Event& e, bool& closed) {
  closed = false;
  switch (e.type) {
    case SDL_WINDOWEVENT:
      if (e.window.windowID != id()) return false;
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) closed = true;
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) window_->present_all();
      return true;
    case SDL_KEYDOWN:
      if (e.key.windowID != id()) return false;
      if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_ESCAPE ||
          e.key.keysym.sym == SDLK_SPACE || e.key.keysym.sym == SDLK_KP_ENTER)
        closed = true;
      return true;
    case SDL_MOUSEBUTTONUP:
      if (e.button.windowID != id()) return false;
      closed = true;
      return true;
    default:
      return false;
  }
}

}  // namespace kv
