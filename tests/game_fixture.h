// A whole game in-process on the headless back-end: a fresh Project1 is a
// fresh run, driven by keys at chosen virtual instants.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/project1.h"
#include "platform/headless/headless_backend.h"
#include "playfield/unit1.h"
#include "results/unit2.h"

struct Heard : kv::AppObserver {
  explicit Heard(kv::TApplication& a) : app(a) {}
  void OnPlay(const kv::TMediaPlayer& p) override {
    plays.emplace_back(app.Now() / 1000, p.Name());
  }
  std::vector<std::pair<long long, std::string>> of(const std::string& name) const {
    std::vector<std::pair<long long, std::string>> out;
    for (const auto& e : plays)
      if (e.second == name) out.push_back(e);
    return out;
  }
  kv::TApplication& app;
  std::vector<std::pair<long long, std::string>> plays;
};

class Game {
 public:
  explicit Game(bool painting = false)
      : backend(painting), project(backend), heard(project.Application) {
    project.Application.SetObserver(&heard);
    project.Create();
    project.Application.Start();
  }

  void key(long long ms, int vk) {
    backend.inject(ms * 1000, {kv::InputEvent::Kind::Key, nullptr, vk});
  }
  void activate(long long ms) {
    backend.inject(ms * 1000, {kv::InputEvent::Kind::Deactivate, nullptr, 0});
    backend.inject(ms * 1000, {kv::InputEvent::Kind::Activate, nullptr, 0});
  }
  // Handles every instant up to and including `ms`.
  void run_to(long long ms) {
    kv::TApplication& app = project.Application;
    while (!app.Terminated() && std::min(app.NextDue(), backend.next_input()) <= ms * 1000)
      app.ProcessInstant();
  }

  kv::HeadlessBackend backend;
  Project1 project;
  Heard heard;
  Unit1& u = project.unit1;
  TForm1* form1() const { return project.Form1; }
  TForm2* form2() const { return project.Form2; }
};

constexpr int kUp = 38, kDown = 40, kLeft = 37, kRight = 39;
