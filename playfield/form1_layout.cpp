// The playing field as the form designer left it: every component in creation
// (and stacking) order, then the timers in the order their ticks are served.
#include "app/look.h"
#include "playfield/unit1.h"

using namespace kv;

namespace {

// The rank bars: bar 0 lowest, each next one 8 pixels higher, hidden at start.
constexpr ComponentDef bar(const char* name, int k, TColor brush) {
  return shape(name, {4, 460 - 8 * k, 65, 9}, brush, clBlack, false);
}

// clang-format off
const ComponentDef kComponents[] = {
    image("Image1", {80, 8, 300, 292}, "starfield"),
    paint_box("PaintBox1", {77, 8, 601, 465}),
    image("Image2", {376, 8, 300, 292}, "starfield"),
    image("Image3", {80, 184, 300, 297}, "starfield"),
    image("Image4", {376, 184, 300, 292}, "starfield"),
    image("Imagenave", {370, 440, 30, 30}, "ship", Fit::AutoSize),
    image("Imageenemigojefe", {320, 10, 100, 30}, "boss", Fit::AutoSize),
    image("Imageenemigo", {700, 200, 30, 19}, "cruiser1", Fit::AutoSize),
    image("Imageenemigo2", {250, -20, 30, 30}, "cruiser2", Fit::AutoSize),
    shape("Shape3", {80, 0, 594, 9}, clBlack, clBlack),
    image("Imageenemigo3", {373, 475, 30, 30}, "cruiser3", Fit::AutoSize),
    image("Imageenemigo4", {50, 300, 30, 19}, "cruiser4", Fit::AutoSize),
    image("Imageenemigo5", {120, -30, 30, 30}, "cruiser5", Fit::AutoSize),
    image("Imageenemigo6", {700, 400, 30, 30}, "cruiser6", Fit::AutoSize),
    image("Imageenemigop", {90, 500, 166, 163}, "planet1", Fit::AutoSize),
    shape("Shape2", {0, -1, 81, 489}, clSilver, clSilver),
    shape("Shape1", {3, 0, 73, 81}, clBlack, clBlack),
    lime_label("Label1", {6, 16, 64, 16}, "PUNTOS"),
    lime_label("Label2", {8, 32, 9, 16}, "0"),
    shape("Shape5", {3, 80, 73, 393}, clBlack, clBlack),
    lime_label("Label3", {6, 120, 63, 16}, "CARNET"),
    bar("ShapeCARNET", 0, clWhite),
    bar("ShapeCARNET1", 1, 12189695),
    bar("ShapeCARNET2", 2, 5898239),
    bar("ShapeCARNET3", 3, 9948159),
    bar("ShapeCARNET4", 4, 7314943),
    bar("ShapeCARNET5", 5, 33023),
    bar("ShapeCARNET6", 6, 12303359),
    bar("ShapeCARNET7", 7, 8421631),
    bar("ShapeCARNET8", 8, clRed),
    bar("ShapeCARNET9", 9, 217),
    bar("ShapeCARNET10", 10, 16777175),
    bar("ShapeCARNET11", 11, 15790080),
    bar("ShapeCARNET12", 12, 11579392),
    bar("ShapeCARNET13", 13, 16748945),
    bar("ShapeCARNET14", 14, 16727100),
    bar("ShapeCARNET15", 15, 13238272),
    bar("ShapeCARNET16", 16, 10289152),
    bar("ShapeCARNET17", 17, 12910532),
    bar("ShapeCARNET18", 18, 7012277),
    bar("ShapeCARNET19", 19, 58880),
    bar("ShapeCARNET20", 20, 47966),
    bar("ShapeCARNET21", 21, 51712),
    bar("ShapeCARNET22", 22, clGreen),
    bar("ShapeCARNET23", 23, clTeal),
    bar("ShapeCARNET24", 24, 23296),
    bar("ShapeCARNET25", 25, 15066597),
    bar("ShapeCARNET26", 26, 12698049),
    bar("ShapeCARNET27", 27, 10526880),
    bar("ShapeCARNET28", 28, 8289918),
    bar("ShapeCARNET29", 29, 7039851),
    bar("ShapeCARNET30", 30, 6381921),
    lime_label("Label4", {10, 144, 41, 16}, "Piloto"),
    lime_label("Labelnivel", {4, 168, 5, 13}, "", FontDef{-11, true, clLime}),
    image("Imageenemigop2", {500, 500, 162, 162}, "planet2", Fit::AutoSize),
    shape("Shape4", {81, 472, 601, 32}, clSilver, clSilver),
    image("Image5", {5, 48, 70, 60}, "portrait", Fit::Stretch),

    timer("Timer1", 1000, handler(&TForm1::Timer1Timer)),
    timer("Timernumerito", 10, handler(&TForm1::TimernumeritoTimer)),
    timer("Timermeteoro", 50, handler(&TForm1::TimermeteoroTimer)),
    timer("Timerenemigop", 2000, handler(&TForm1::TimerenemigopTimer)),
    timer("Timerenemigo", 100, handler(&TForm1::TimerenemigoTimer)),
    timer("Timerenemigo2", 50, handler(&TForm1::Timerenemigo2Timer)),
    timer("Timerenemigo3", 100, handler(&TForm1::Timerenemigo3Timer)),
    timer("Timerenemigo4", 50, handler(&TForm1::Timerenemigo4Timer)),
    timer("Timerenemigo5", 100, handler(&TForm1::Timerenemigo5Timer)),
    timer("Timerenemigo6", 150, handler(&TForm1::Timerenemigo6Timer)),
    timer("Timerenemigop2", 2000, handler(&TForm1::Timerenemigop2Timer)),
    timer("Timerenemigojefe", 100, handler(&TForm1::TimerenemigojefeTimer)),
    timer("Timerarriba", 150, handler(&TForm1::TimerarribaTimer)),
    timer("Timerabajo", 150, handler(&TForm1::TimerabajoTimer)),
    timer("Timerizquierda", 150, handler(&TForm1::TimerizquierdaTimer)),
    timer("Timerderecha", 150, handler(&TForm1::TimerderechaTimer)),
    timer("Timerdestruida", 1000, handler(&TForm1::TimerdestruidaTimer)),
};
// clang-format on

}  // namespace

const FormDef kForm1Layout{
    .caption = "     KORVALEN BY MIRTOSKA SOFTWARE",
    .client_width = 674,
    .client_height = 488,
    .color = clSilver,
    .screen_center = true,
    .on_create = handler(&TForm1::FormCreate),
    .on_activate = handler(&TForm1::FormActivate),
    .on_close = handler(&TForm1::FormClose),
    .on_key_down = key_handler(&TForm1::FormKeyDown),
    .components = kComponents,
};
