// The stored layout of a form: every component with its place, look, caption,
// picture, interval and handler, in creation order. Creation order is stacking
// order: later controls are painted over earlier ones.
#pragma once

#include <cstdint>
#include <span>

#include "platform/geometry.h"

namespace kv {

class TForm;

using TShiftState = unsigned;
// Handlers are members of the form class that the data belongs to, stored as
// members of TForm so that one table type serves every form.
using Handler = void (TForm::*)();
using KeyHandler = void (TForm::*)(std::uint16_t& key, TShiftState shift);

template <class F>
constexpr Handler handler(void (F::*h)()) {
  return static_cast<Handler>(h);
}
template <class F>
constexpr KeyHandler key_handler(void (F::*h)(std::uint16_t&, TShiftState)) {
  return static_cast<KeyHandler>(h);
}

enum class Kind { Image, PaintBox, Shape, Label, Timer, MediaPlayer };

struct FontDef {
  int height = -11;  // negative: em height in pixels
  bool bold = false;
  TColor color = clBlack;
};

struct ComponentDef {
  const char* name = "";
  Kind kind = Kind::Image;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool visible = true;
  // Images: an embedded picture by name.
  const char* picture = nullptr;
  bool auto_size = false;  // images and labels: size taken from the content
  bool stretch = false;
  // Shapes.
  TColor brush = clWhite;
  TColor pen = clBlack;
  // Labels.
  const char* caption = nullptr;  // Windows-1252
  TColor color = clBtnFace;       // background
  bool transparent = false;
  FontDef font{};
  // Timers.
  int interval = 1000;
  bool enabled = true;
  Handler on_timer = nullptr;
  // Media players: opened from this file once the form is loaded.
  const char* file_name = nullptr;
  bool auto_open = false;
};

// Rows of a layout table, one builder a kind, so that a table reads as the
// form designer's list of components.
struct Box {
  int left, top, width, height;
};
enum class Fit { Plain, AutoSize, Stretch };

constexpr ComponentDef image(const char* name, Box b, const char* picture, Fit fit = Fit::Plain) {
  return {.name = name,
          .kind = Kind::Image,
          .left = b.left,
          .top = b.top,
          .width = b.width,
          .height = b.height,
          .picture = picture,
          .auto_size = fit == Fit::AutoSize,
          .stretch = fit == Fit::Stretch};
}
constexpr ComponentDef paint_box(const char* name, Box b) {
  return {.name = name,
          .kind = Kind::PaintBox,
          .left = b.left,
          .top = b.top,
          .width = b.width,
          .height = b.height};
}
constexpr ComponentDef shape(const char* name, Box b, TColor brush, TColor pen,
                             bool visible = true) {
  return {.name = name,
          .kind = Kind::Shape,
          .left = b.left,
          .top = b.top,
          .width = b.width,
          .height = b.height,
          .visible = visible,
          .brush = brush,
          .pen = pen};
}
// A label sized to its text unless `auto_size` is off.
constexpr ComponentDef label(const char* name, Box b, const char* caption, FontDef font,
                             TColor background, bool transparent = false, bool auto_size = true) {
  return {.name = name,
          .kind = Kind::Label,
          .left = b.left,
          .top = b.top,
          .width = b.width,
          .height = b.height,
          .auto_size = auto_size,
          .caption = caption,
          .color = background,
          .transparent = transparent,
          .font = font};
}
// Timers in stored layouts start switched off; the handlers switch them on.
constexpr ComponentDef timer(const char* name, int interval, Handler on_timer) {
  return {.name = name,
          .kind = Kind::Timer,
          .interval = interval,
          .enabled = false,
          .on_timer = on_timer};
}
// An invisible player that opens its file as soon as the form is loaded.
constexpr ComponentDef media_player(const char* name, const char* file) {
  return {.name = name,
          .kind = Kind::MediaPlayer,
          .visible = false,
          .file_name = file,
          .auto_open = true};
}

struct FormDef {
  const char* caption = "";  // Windows-1252
  int client_width = 0;
  int client_height = 0;
  TColor color = clBtnFace;
  bool screen_center = true;
  Handler on_create = nullptr;
  Handler on_activate = nullptr;
  Handler on_close = nullptr;
  KeyHandler on_key_down = nullptr;
  std::span<const ComponentDef> components;
};

}  // namespace kv
