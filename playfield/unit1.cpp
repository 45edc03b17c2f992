#include "playfield/unit1.h"

#include <string>

#include "app/project1.h"
#include "playfield/rules.h"
#include "results/unit2.h"

using namespace kv;

namespace {
std::array<TShape*, 31> bind_bars(const TForm& form) {
  std::array<TShape*, 31> bars{};
  for (int k = 0; k <= 30; ++k)
    bars[k] = form.Component<TShape>(k == 0 ? "ShapeCARNET" : "ShapeCARNET" + std::to_string(k));
  return bars;
}
}  // namespace

TForm1::TForm1(TApplication& app, Project1& project)
    : TForm(app, kForm1Layout),
      Image1(Component<TImage>("Image1")),
      PaintBox1(Component<TPaintBox>("PaintBox1")),
      Imagenave(Component<TImage>("Imagenave")),
      Imageenemigojefe(Component<TImage>("Imageenemigojefe")),
      Imageenemigo(Component<TImage>("Imageenemigo")),
      Imageenemigo2(Component<TImage>("Imageenemigo2")),
      Imageenemigo3(Component<TImage>("Imageenemigo3")),
      Imageenemigo4(Component<TImage>("Imageenemigo4")),
      Imageenemigo5(Component<TImage>("Imageenemigo5")),
      Imageenemigo6(Component<TImage>("Imageenemigo6")),
      Imageenemigop(Component<TImage>("Imageenemigop")),
      Imageenemigop2(Component<TImage>("Imageenemigop2")),
      Label2(Component<TLabel>("Label2")),
      Labelnivel(Component<TLabel>("Labelnivel")),
      ShapeCARNET(bind_bars(*this)),
      Timer1(Component<TTimer>("Timer1")),
      Timernumerito(Component<TTimer>("Timernumerito")),
      Timermeteoro(Component<TTimer>("Timermeteoro")),
      Timerenemigop(Component<TTimer>("Timerenemigop")),
      Timerenemigo(Component<TTimer>("Timerenemigo")),
      Timerenemigo2(Component<TTimer>("Timerenemigo2")),
      Timerenemigo3(Component<TTimer>("Timerenemigo3")),
      Timerenemigo4(Component<TTimer>("Timerenemigo4")),
      Timerenemigo5(Component<TTimer>("Timerenemigo5")),
      Timerenemigo6(Component<TTimer>("Timerenemigo6")),
      Timerenemigop2(Component<TTimer>("Timerenemigop2")),
      Timerenemigojefe(Component<TTimer>("Timerenemigojefe")),
      Timerarriba(Component<TTimer>("Timerarriba")),
      Timerabajo(Component<TTimer>("Timerabajo")),
      Timerizquierda(Component<TTimer>("Timerizquierda")),
      Timerderecha(Component<TTimer>("Timerderecha")),
      Timerdestruida(Component<TTimer>("Timerdestruida")),
      project_(project),
      u_(project.unit1) {}

// ---- Form events

void TForm1::FormCreate() {
  DoubleBuffered = true;
}

void TForm1::FormActivate() {
  Timer1->SetEnabled(true);
  Timernumerito->SetEnabled(true);
  u_.destruida = false;
  project_.Form2->MediaPlayertema->Play();
}

void TForm1::FormClose() {
  Application().Terminate();
}

// ---- The clock

void TForm1::Timer1Timer() {
  ++u_.segundos;
  const std::string points = std::to_string(u_.segundos);
  Label2->SetCaption(points);
  project_.Form2->Label3->SetCaption(points);
  if (const ScheduleRow* row = schedule_row(u_.segundos)) Carry(*row);
}

void TForm1::Carry(const ScheduleRow& row) {
  if (row.rank) Labelnivel->SetCaption(row.rank);
  if (row.bar >= 0) ShapeCARNET[row.bar]->SetVisible(true);
  auto cue = [&] {
    if (row.cue) (project_.Form2->*row.cue)->Play();
  };
  if (row.cue_first) cue();
  if (row.timer) (this->*row.timer)->SetEnabled(true);
  if (!row.cue_first) cue();
  if (row.velocidad) u_.velocidad = row.velocidad;
}

// ---- The lane picker

void TForm1::TimernumeritoTimer() {
  u_.numerito = random_below(u_.randseed, 290) + 10;
}

// ---- Ship control

bool TForm1::CanMove(const HeadingDef& h) const {
  const int at = u_.*h.coord;
  return h.step < 0 ? at > h.limit : at < h.limit;
}

void TForm1::FormKeyDown(std::uint16_t& Key, TShiftState) {
  for (const HeadingDef& h : kHeadings) {
    if (h.key != Key) continue;
    if (!CanMove(h) || u_.direccion == h.direccion || u_.destruida) return;
    for (const HeadingDef& other : kHeadings)
      if (&other != &h) (this->*other.timer)->SetEnabled(false);
    u_.direccion = h.direccion;
    Imagenave->Picture()->LoadFromFile(h.picture);
    (this->*h.timer)->SetEnabled(true);
    return;
  }
}

void TForm1::HeadingTick(const HeadingDef& h) {
  if (u_.destruida || !CanMove(h)) return;
  u_.*h.coord += h.step;
  if (h.coord == &Unit1::navey)
    Imagenave->SetTop(u_.navey);
  else
    Imagenave->SetLeft(u_.navex);
}

void TForm1::TimerarribaTimer() {
  HeadingTick(kHeadings[0]);
}
void TForm1::TimerabajoTimer() {
  HeadingTick(kHeadings[1]);
}
void TForm1::TimerizquierdaTimer() {
  HeadingTick(kHeadings[2]);
}
void TForm1::TimerderechaTimer() {
  HeadingTick(kHeadings[3]);
}

// ---- Hits and the hand-over

void TForm1::TestHit(int x, int y, const HitWindow& w) {
  if (w.hits(x - u_.navex, y - u_.navey)) Crash();
}

void TForm1::Crash() {
  project_.Form2->MediaPlayerex->Play();
  Imagenave->Picture()->LoadFromFile("navedestruida.gif");
  u_.destruida = true;
  Timerdestruida->SetEnabled(true);
}

void TForm1::TimerdestruidaTimer() {
  project_.Form2->SetVisible(true);
  Timerdestruida->SetEnabled(false);
  Timer1->SetEnabled(false);
  project_.Form1 = nullptr;
  Free();
}
