#include "results/unit2.h"

#include "app/project1.h"
#include "playfield/unit1.h"

using namespace kv;

TForm2::TForm2(TApplication& app, Project1& project)
    : TForm(app, kForm2Layout),
      Label3(Component<TLabel>("Label3")),
      Label4(Component<TLabel>("Label4")),
      Label8(Component<TLabel>("Label8")),
      MediaPlayertema(Component<TMediaPlayer>("MediaPlayertema")),
      MediaPlayerex(Component<TMediaPlayer>("MediaPlayerex")),
      MediaPlayerufo(Component<TMediaPlayer>("MediaPlayerufo")),
      MediaPlayerbeep(Component<TMediaPlayer>("MediaPlayerbeep")),
      Timer1(Component<TTimer>("Timer1")),
      project_(project) {}

void TForm2::FormCreate() {
  DoubleBuffered = true;
}

void TForm2::FormActivate() {
  Timer1->SetEnabled(true);
  // Once the playing field is gone the rank of the first activation stays.
  if (project_.Form1) Label8->SetCaption(project_.Form1->Labelnivel->Caption());
}

void TForm2::Timer1Timer() {
  int& creditox = project_.unit2.creditox;
  ++creditox;
  Label4->SetLeft(creditox);
  if (creditox == 400) Timer1->SetEnabled(false);
}

void TForm2::FormClose() {
  Application().Terminate();
}
