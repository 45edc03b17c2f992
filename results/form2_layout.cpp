// The results screen as the form designer left it, creation order.
#include "results/unit2.h"

using namespace kv;

namespace {

constexpr FontDef kLabelFont{-13, true, clLime};

constexpr ComponentDef label(const char* name, int left, int top, int width, int height,
                             const char* caption, FontDef font = kLabelFont) {
  return {.name = name,
          .kind = Kind::Label,
          .left = left,
          .top = top,
          .width = width,
          .height = height,
          .auto_size = true,
          .caption = caption,
          .color = clBlack,
          .font = font};
}

constexpr ComponentDef player(const char* name, const char* file) {
  return {.name = name,
          .kind = Kind::MediaPlayer,
          .visible = false,
          .file_name = file,
          .auto_open = true};
}

// clang-format off
const ComponentDef kComponents[] = {
    {.name = "Image1", .kind = Kind::Image, .left = 0, .top = 0, .width = 681, .height = 457,
     .picture = "starfield", .stretch = true},
    label("Label1", 16, 8, 203, 37, "GAME OVER", FontDef{-32, true, clLime}),
    {.name = "Shape1", .kind = Kind::Shape, .left = 88, .top = 64, .width = 73, .height = 65,
     .brush = clBlack, .pen = clBlack},
    label("Label2", 46, 48, 64, 16, "PUNTOS"),
    label("Label3", 56, 64, 9, 16, "0"),
    {.name = "Image2", .kind = Kind::Image, .left = 248, .top = 56, .width = 400, .height = 300,
     .picture = "title", .auto_size = true},
    label("Label5", 400, 408, 151, 16, "mirtoska@example.com"),
    label("Label6", 486, 328, 25, 16, "1.0.", FontDef{-13, true, 8454143}),
    label("Label7", 486, 48, 135, 16, "NIVEL DE CARNET"),
    label("Label8", 502, 72, 112, 13, "NIVEL DE CARNET", FontDef{-12, true, clLime}),
    {.name = "Image3", .kind = Kind::Image, .left = 24, .top = 104, .width = 248, .height = 300,
     .picture = "pilot", .auto_size = true},
    {.name = "Label4", .kind = Kind::Label, .left = -200, .top = 384, .width = 206, .height = 16,
     .caption = "MIRTOSKA FREE SOFTWARE", .color = clBlack, .transparent = true, .font = kLabelFont},
    label("Label9", 112, 408, 129, 16, "Piloto por Telmadi"),
    player("MediaPlayertema", "sfx/Tema.mid"),
    player("MediaPlayerex", "sfx/ex.wav"),
    player("MediaPlayerufo", "sfx/ufo.wav"),
    player("MediaPlayerbeep", "sfx/spacebeep.wav"),
    {.name = "Timer1", .kind = Kind::Timer, .interval = 10, .enabled = false,
     .on_timer = handler(&TForm2::Timer1Timer)},
};
// clang-format on

}  // namespace

const FormDef kForm2Layout{
    .caption = "     KORVALEN BY MIRTOSKA SOFTWARE",
    .client_width = 677,
    .client_height = 453,
    .color = clBtnFace,
    .screen_center = true,
    .on_create = handler(&TForm2::FormCreate),
    .on_activate = handler(&TForm2::FormActivate),
    .on_close = handler(&TForm2::FormClose),
    .components = kComponents,
};
