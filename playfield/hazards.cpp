// The hazards' ticks: each moves, comes back along a new lane when it has left
// the field, and ends with the hit test against the ship.
#include "app/project1.h"
#include "playfield/rules.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

using namespace kv;

void TForm1::CruiserTick(const CruiserDef& c) {
  int& pos = u_.*c.moving;
  int& lane = u_.*c.lane;
  TImage* img = this->*c.sprite;
  pos += c.step_sign * u_.velocidad;
  c.horizontal ? img->SetLeft(pos) : img->SetTop(pos);
  if (c.step_sign < 0 ? pos < c.wrap_beyond : pos > c.wrap_beyond) {
    pos = c.reset;
    if (const int band = band_of(u_.numerito)) lane = kCruiserLanes[band - 1][c.column];
    // Only the lane is set on screen now; the sprite keeps its place out of
    // sight until the next tick.
    c.horizontal ? img->SetTop(lane) : img->SetLeft(lane);
  }
  c.horizontal ? TestHit(pos, lane, c.window) : TestHit(lane, pos, c.window);
}

void TForm1::TimerenemigoTimer() {
  CruiserTick(kCruisers[0]);
}
void TForm1::Timerenemigo2Timer() {
  CruiserTick(kCruisers[1]);
}
void TForm1::Timerenemigo3Timer() {
  CruiserTick(kCruisers[2]);
}
void TForm1::Timerenemigo4Timer() {
  CruiserTick(kCruisers[3]);
}
void TForm1::Timerenemigo5Timer() {
  CruiserTick(kCruisers[4]);
}
void TForm1::Timerenemigo6Timer() {
  CruiserTick(kCruisers[5]);
}

void TForm1::PlanetTick(const PlanetDef& p) {
  int& x = u_.*p.x;
  int& y = u_.*p.y;
  TImage* img = this->*p.sprite;
  y -= u_.velocidad;
  img->SetTop(y);
  if (y < -100) {
    y = 500;
    if (u_.numerito >= 200)
      x = p.column_high;
    else if (u_.numerito >= 10)
      x = p.column_low;
    img->SetLeft(x);
  }
  TestHit(x, y, p.window);
}

void TForm1::TimerenemigopTimer() {
  PlanetTick(kPlanets[0]);
}
void TForm1::Timerenemigop2Timer() {
  PlanetTick(kPlanets[1]);
}

void TForm1::TimerenemigojefeTimer() {
  u_.enemigojefey += u_.velocidad;
  Imageenemigojefe->SetTop(u_.enemigojefey);
  if (u_.enemigojefey > 500) {
    // It comes back aimed at the ship's column of this moment.
    project_.Form2->MediaPlayerufo->Play();
    u_.enemigojefex = u_.navex - 10;
    u_.enemigojefey = -40;
    Imageenemigojefe->SetTop(-40);
    Imageenemigojefe->SetLeft(u_.enemigojefex);
  }
  TestHit(u_.enemigojefex, u_.enemigojefey, kBossWindow);
}

void TForm1::TimermeteoroTimer() {
  u_.meteorox += u_.velocidad;
  PaintBox1->Repaint();
  Canvas()->Pen.Color = clWhite;
  Canvas()->Ellipse(u_.meteorox, u_.meteoroy, u_.meteorox + 10, u_.meteoroy + 10);
  if (u_.meteorox > 700) {
    u_.meteorox = 100;
    if (const int band = band_of(u_.numerito)) u_.meteoroy = kMeteorLanes[band - 1];
  }
  TestHit(u_.meteorox, u_.meteoroy, kMeteorWindow);
}
