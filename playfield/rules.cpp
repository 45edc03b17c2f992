#include "playfield/rules.h"

#include <algorithm>

namespace {

// clang-format off
const ScheduleRow kRows[] = {
    {.second = 1, .timer = &TForm1::Timermeteoro, .cue = &TForm2::MediaPlayerbeep, .cue_first = true},
    {.second = 2, .timer = &TForm1::Timerenemigop},
    {.second = 10, .rank = "Aprendiz", .bar = 0, .timer = &TForm1::Timerenemigo, .cue = &TForm2::MediaPlayerbeep},
    {.second = 20, .rank = "Pr\xE1" "cticas", .bar = 1, .timer = &TForm1::Timerenemigo2, .cue = &TForm2::MediaPlayerbeep},
    {.second = 30, .rank = "Pringao", .bar = 2, .timer = &TForm1::Timerenemigo3, .cue = &TForm2::MediaPlayerbeep},
    {.second = 40, .rank = "L", .bar = 3, .timer = &TForm1::Timerenemigo4, .cue = &TForm2::MediaPlayerbeep},
    {.second = 45, .rank = "Primerizo", .bar = 4},
    {.second = 50, .rank = "Novatillo", .bar = 5, .timer = &TForm1::Timerenemigo5, .cue = &TForm2::MediaPlayerbeep},
    {.second = 55, .rank = "Novato", .bar = 6, .timer = &TForm1::Timerenemigo6, .cue = &TForm2::MediaPlayerbeep},
    {.second = 60, .rank = "Novicio", .bar = 7},
    {.second = 65, .rank = "Grumete", .bar = 8},
    {.second = 70, .rank = "Principiante", .bar = 9, .timer = &TForm1::Timerenemigop2},
    {.second = 80, .rank = "Normalillo", .bar = 10, .timer = &TForm1::Timerenemigojefe, .cue = &TForm2::MediaPlayerufo},
    {.second = 90, .rank = "Normal", .bar = 11},
    {.second = 95, .rank = "Mejorando", .bar = 12, .velocidad = 10},
    {.second = 100, .rank = "Aceptable", .bar = 13, .velocidad = 5},
    {.second = 105, .rank = "Asustadizo", .bar = 14},
    {.second = 110, .rank = "Bien", .bar = 15, .velocidad = 10},
    {.second = 115, .rank = "Bastante Bien", .bar = 16},
    {.second = 120, .rank = "Pilotillo", .bar = 17},
    {.second = 125, .rank = "Piloto", .bar = 18},
    {.second = 130, .rank = "Capit\xE1n", .bar = 19},
    {.second = 135, .rank = "Coronel", .bar = 20},
    {.second = 140, .rank = "Comandante", .bar = 21},
    {.second = 145, .rank = "Especialista", .bar = 22},
    {.second = 150, .rank = "Experto", .bar = 23},
    {.second = 155, .rank = "Excelente", .bar = 24},
    {.second = 160, .rank = "Magnifico", .bar = 25},
    {.second = 170, .rank = "Superpiloto", .bar = 26},
    {.second = 180, .rank = "As del espacio", .bar = 27},
    {.second = 190, .rank = "Jefe", .bar = 28},
    {.second = 200, .rank = "SuperJefe", .bar = 29},
    {.second = 210, .rank = "UltraSuperJefe", .bar = 30},
};

const HeadingDef kHeadingRows[] = {
    {38, 1, &Unit1::navey, -5, 30, "nave.gif", &TForm1::Timerarriba},
    {40, 2, &Unit1::navey, +5, 440, "navea.gif", &TForm1::Timerabajo},
    {37, 3, &Unit1::navex, -5, 90, "navei.gif", &TForm1::Timerizquierda},
    {39, 4, &Unit1::navex, +5, 630, "naved.gif", &TForm1::Timerderecha},
};

const CruiserDef kCruiserRows[] = {
    {&TForm1::Timerenemigo, &TForm1::Imageenemigo, true, &Unit1::enemigox, &Unit1::enemigoy,
     -1, 50, 700, 0, {{-5, 0, 1}, {-20, 30}}},
    {&TForm1::Timerenemigo2, &TForm1::Imageenemigo2, false, &Unit1::enemigo2y, &Unit1::enemigo2x,
     +1, 470, -20, 1, {{-20, 35}, {-10, 30}}},
    {&TForm1::Timerenemigo3, &TForm1::Imageenemigo3, false, &Unit1::enemigo3y, &Unit1::enemigo3x,
     -1, -30, 475, 2, {{-20, 35}, {-10, 30}}},
    {&TForm1::Timerenemigo4, &TForm1::Imageenemigo4, true, &Unit1::enemigo4x, &Unit1::enemigo4y,
     +1, 700, 50, 3, {{-20, 35}, {-25, 30}}},
    {&TForm1::Timerenemigo5, &TForm1::Imageenemigo5, false, &Unit1::enemigo5y, &Unit1::enemigo5x,
     +1, 470, -30, 4, {{-20, 35}, {-30, 30}}},
    {&TForm1::Timerenemigo6, &TForm1::Imageenemigo6, true, &Unit1::enemigo6x, &Unit1::enemigo6y,
     -1, 50, 700, 5, {{-25, 0}, {-10, 30}}},
};

const PlanetDef kPlanetRows[] = {
    {&TForm1::Imageenemigop, &Unit1::enemigopx, &Unit1::enemigopy, 90, 120, {{-165, 20}, {-165, 30}}},
    {&TForm1::Imageenemigop2, &Unit1::enemigop2x, &Unit1::enemigop2y, 500, 450, {{-160, 20}, {-165, 30}}},
};
// clang-format on

}  // namespace

const std::span<const ScheduleRow> kSchedule = kRows;
const std::span<const HeadingDef> kHeadings = kHeadingRows;
const std::span<const CruiserDef> kCruisers = kCruiserRows;
const std::span<const PlanetDef> kPlanets = kPlanetRows;
const HitWindow kBossWindow{{-100, 30}, {-25, 30}};
const HitWindow kMeteorWindow{{-10, 30}, {-10, 30}};

const ScheduleRow* schedule_row(int segundos) {
  const auto it = std::find_if(kRows, std::end(kRows),
                               [&](const ScheduleRow& r) { return r.second == segundos; });
  return it == std::end(kRows) ? nullptr : it;
}
