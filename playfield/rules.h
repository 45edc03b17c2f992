// The game's tables of cases: the clock's schedule, the ship's headings and
// the hazards' families. Each is read by one handler of TForm1.
#pragma once

#include <span>

#include "playfield/lanes.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

struct ScheduleRow {
  int second;
  const char* rank = nullptr;  // Windows-1252
  int bar = -1;
  kv::TTimer* TForm1::*timer = nullptr;
  kv::TMediaPlayer* TForm2::*cue = nullptr;
  bool cue_first = false;  // only at second 1 is the cue played before the timer starts
  int velocidad = 0;       // 0: unchanged
};
extern const std::span<const ScheduleRow> kSchedule;
const ScheduleRow* schedule_row(int segundos);

struct HeadingDef {
  int key;  // virtual-key code
  int direccion;
  int Unit1::*coord;  // navex or navey
  int step;           // -5 or +5
  int limit;          // the edge the ship stops at
  const char* picture;
  kv::TTimer* TForm1::*timer;
};
extern const std::span<const HeadingDef> kHeadings;

struct CruiserDef {
  kv::TTimer* TForm1::*timer;
  kv::TImage* TForm1::*sprite;
  bool horizontal;     // moves along x; the lane is y
  int Unit1::*moving;  // the coordinate it flies along
  int Unit1::*lane;    // the other one
  int step_sign;       // -1 left or up, +1 right or down
  int wrap_beyond;     // strictly past this it starts again
  int reset;
  int column;  // in kCruiserLanes
  HitWindow window;
};
extern const std::span<const CruiserDef> kCruisers;

struct PlanetDef {
  kv::TImage* TForm1::*sprite;
  int Unit1::*x;
  int Unit1::*y;
  int column_low;   // for picks 10-199
  int column_high;  // for picks of 200 and more
  HitWindow window;
};
extern const std::span<const PlanetDef> kPlanets;

extern const HitWindow kBossWindow;
extern const HitWindow kMeteorWindow;
