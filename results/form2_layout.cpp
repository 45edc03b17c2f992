// The results screen as the form designer left it, creation order.
#include "app/look.h"
#include "results/unit2.h"

using namespace kv;

namespace {

// clang-format off
const ComponentDef kComponents[] = {
    image("Image1", {0, 0, 681, 457}, "starfield", Fit::Stretch),
    lime_label("Label1", {16, 8, 203, 37}, "GAME OVER", FontDef{-32, true, clLime}),
    shape("Shape1", {88, 64, 73, 65}, clBlack, clBlack),
    lime_label("Label2", {46, 48, 64, 16}, "PUNTOS"),
    lime_label("Label3", {56, 64, 9, 16}, "0"),
    image("Image2", {248, 56, 400, 300}, "title", Fit::AutoSize),
    lime_label("Label5", {400, 408, 151, 16}, "mirtoska@example.com"),
    lime_label("Label6", {486, 328, 25, 16}, "1.0.", FontDef{-13, true, 8454143}),
    lime_label("Label7", {486, 48, 135, 16}, "NIVEL DE CARNET"),
    lime_label("Label8", {502, 72, 112, 13}, "NIVEL DE CARNET", FontDef{-12, true, clLime}),
    image("Image3", {24, 104, 248, 300}, "pilot", Fit::AutoSize),
    // The scrolling credit line: fixed size, see-through.
    label("Label4", {-200, 384, 206, 16}, "MIRTOSKA FREE SOFTWARE", kLabelFont, clBlack, true, false),
    lime_label("Label9", {112, 408, 129, 16}, "Piloto por Telmadi"),
    media_player("MediaPlayertema", "sfx/Tema.mid"),
    media_player("MediaPlayerex", "sfx/ex.wav"),
    media_player("MediaPlayerufo", "sfx/ufo.wav"),
    media_player("MediaPlayerbeep", "sfx/spacebeep.wav"),
    timer("Timer1", 10, handler(&TForm2::Timer1Timer)),
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
