// The results screen, shown when the ship is wrecked. It also holds the
// game's four sound players for the whole run.
#pragma once

#include "platform/application.h"
#include "platform/components.h"
#include "platform/form.h"

struct Project1;

class TForm2 : public kv::TForm {
 public:
  TForm2(kv::TApplication& app, Project1& project);

  void FormCreate();
  void FormActivate();
  void FormClose();
  void Timer1Timer();

  kv::TLabel* Label3;  // the points, written by the playing field's clock
  kv::TLabel* Label4;  // the scrolling credit line
  kv::TLabel* Label8;  // the rank reached
  kv::TMediaPlayer* MediaPlayertema;
  kv::TMediaPlayer* MediaPlayerex;
  kv::TMediaPlayer* MediaPlayerufo;
  kv::TMediaPlayer* MediaPlayerbeep;
  kv::TTimer* Timer1;

 private:
  Project1& project_;
};

extern const kv::FormDef kForm2Layout;
