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
