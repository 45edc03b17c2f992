// The playing field: the main window, where the game is played.
#pragma once

#include <array>
#include <cstdint>

#include "platform/application.h"
#include "platform/components.h"
#include "platform/form.h"
#include "playfield/lanes.h"
#include "playfield/unit1_state.h"

struct Project1;
struct CruiserDef;
struct PlanetDef;
struct HeadingDef;
struct ScheduleRow;

class TForm1 : public kv::TForm {
 public:
  TForm1(kv::TApplication& app, Project1& project);

  // Form events.
  void FormCreate();
  void FormActivate();
  void FormClose();
  void FormKeyDown(std::uint16_t& Key, kv::TShiftState Shift);

  // Timer handlers.
  void Timer1Timer();
  void TimernumeritoTimer();
  void TimermeteoroTimer();
  void TimerenemigopTimer();
  void TimerenemigoTimer();
  void Timerenemigo2Timer();
  void Timerenemigo3Timer();
  void Timerenemigo4Timer();
  void Timerenemigo5Timer();
  void Timerenemigo6Timer();
  void Timerenemigop2Timer();
  void TimerenemigojefeTimer();
  void TimerarribaTimer();
  void TimerabajoTimer();
  void TimerizquierdaTimer();
  void TimerderechaTimer();
  void TimerdestruidaTimer();

  // Components, bound by name to the stored layout.
  kv::TImage* Image1;
  kv::TPaintBox* PaintBox1;
  kv::TImage* Imagenave;
  kv::TImage* Imageenemigojefe;
  kv::TImage* Imageenemigo;
  kv::TImage* Imageenemigo2;
  kv::TImage* Imageenemigo3;
  kv::TImage* Imageenemigo4;
  kv::TImage* Imageenemigo5;
  kv::TImage* Imageenemigo6;
  kv::TImage* Imageenemigop;
  kv::TImage* Imageenemigop2;
  kv::TLabel* Label2;
  kv::TLabel* Labelnivel;
  std::array<kv::TShape*, 31> ShapeCARNET;  // bar 0 is "ShapeCARNET", bar k "ShapeCARNETk"
  kv::TTimer* Timer1;
  kv::TTimer* Timernumerito;
  kv::TTimer* Timermeteoro;
  kv::TTimer* Timerenemigop;
  kv::TTimer* Timerenemigo;
  kv::TTimer* Timerenemigo2;
  kv::TTimer* Timerenemigo3;
  kv::TTimer* Timerenemigo4;
  kv::TTimer* Timerenemigo5;
  kv::TTimer* Timerenemigo6;
  kv::TTimer* Timerenemigop2;
  kv::TTimer* Timerenemigojefe;
  kv::TTimer* Timerarriba;
  kv::TTimer* Timerabajo;
  kv::TTimer* Timerizquierda;
  kv::TTimer* Timerderecha;
  kv::TTimer* Timerdestruida;

 private:
  void Carry(const ScheduleRow& row);
  void CruiserTick(const CruiserDef& c);
  void PlanetTick(const PlanetDef& p);
  void HeadingTick(const HeadingDef& h);
  bool CanMove(const HeadingDef& h) const;
  void TestHit(int x, int y, const HitWindow& w);
  void Crash();

  Project1& project_;
  Unit1& u_;
};

// The stored layout of the playing field.
extern const kv::FormDef kForm1Layout;
