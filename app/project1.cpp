#include "app/project1.h"

#include "platform/resources.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

void Project1::Create() {
  Application.Initialize();
  Application.Icon = kv::embedded_picture("icon");
  Form1 = Application.CreateForm<TForm1>(*this);
  Form2 = Application.CreateForm<TForm2>(*this);
}
