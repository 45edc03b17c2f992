// The playing field's variables. They live for the whole run and are never
// reset: one game is played per run.
#pragma once

#include <cstdint>

struct Unit1 {
  int navex = 370;  // ship
  int navey = 440;
  int direccion = 0;  // 0 none yet, 1 up, 2 down, 3 left, 4 right
  int velocidad = 5;  // hazard step per hazard tick
  int segundos = 0;   // seconds survived: the points
  int numerito = 0;   // the shared lane pick
  bool destruida = false;
  int meteorox = 100, meteoroy = 440;
  int enemigox = 700, enemigoy = 200;
  int enemigo2x = 250, enemigo2y = -20;
  int enemigo3x = 365, enemigo3y = 475;
  int enemigo4x = 50, enemigo4y = 300;
  int enemigo5x = 120, enemigo5y = -30;
  int enemigo6x = 700, enemigo6y = 400;
  int enemigopx = 90, enemigopy = 500;
  int enemigop2x = 500, enemigop2y = 500;
  int enemigojefex = 320, enemigojefey = 10;
  // The random generator's state; never seeded, so every run picks alike.
  std::uint32_t randseed = 0;
};
