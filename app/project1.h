// The program: the application object, the two windows and the units' state.
// A fresh Project1 is a fresh run, so tests can play whole games in-process.
#pragma once

#include "platform/application.h"
#include "playfield/unit1_state.h"
#include "results/unit2_state.h"

class TForm1;
class TForm2;

struct Project1 {
  explicit Project1(kv::Backend& backend) : Application(backend) {}

  // Creates both windows, the results screen hidden; opening its sounds may
  // throw, which ends the program before any game starts.
  void Create();
  // Shows the playing field, activates it, and runs the message loop.
  void Run() { Application.Run(); }

  kv::TApplication Application;
  Unit1 unit1;
  Unit2 unit2;
  TForm1* Form1 = nullptr;  // null once the playing field is disposed of
  TForm2* Form2 = nullptr;
};
