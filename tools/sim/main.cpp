// korvalen-sim: the real game on the headless back-end, driven by a script of
// timed input on a virtual clock, telling what happens as JSON Lines.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/project1.h"
#include "platform/headless/headless_backend.h"
#include "platform/picture_writers.h"
#include "platform/text.h"
#include "playfield/unit1.h"
#include "results/unit2.h"
#include "tools/sim/script.h"

using kv::Micros;

namespace {

constexpr int kFrameMs = 50;

struct Options {
  std::optional<std::string> script;
  std::int64_t until_ms = 3'600'000;
  bool trace = false;
  std::map<std::int64_t, std::vector<std::string>> snapshots;
  std::optional<std::string> record;
};

[[noreturn]] void usage(const std::string& why) {
  std::cerr << "korvalen-sim: " << why << "\n"
            << "usage: korvalen-sim [--script FILE] [--until MS] [--trace] "
               "[--snapshot MS:FILE.png]... [--record FILE.gif]\n";
  std::exit(2);
}

bool whole_ms(const std::string& s, std::int64_t& out) {
  if (s.empty() || s.size() > 15 || s.find_first_not_of("0123456789") != std::string::npos)
    return false;
  out = std::stoll(s);
  return true;
}

Options parse_args(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--script") {
      o.script = value();
    } else if (a == "--until") {
      if (!whole_ms(value(), o.until_ms)) usage("--until takes a whole number of ms");
    } else if (a == "--trace") {
      o.trace = true;
    } else if (a == "--snapshot") {
      const std::string v = value();
      const auto colon = v.find(':');
      std::int64_t ms = 0;
      if (colon == std::string::npos || !whole_ms(v.substr(0, colon), ms) || colon + 1 == v.size())
        usage("--snapshot takes MS:FILE.png");
      o.snapshots[ms].push_back(v.substr(colon + 1));
    } else if (a == "--record") {
      o.record = value();
    } else {
      usage("unknown argument '" + a + "'");
    }
  }
  return o;
}

std::string json_string(const std::string& utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

// Writes one JSON object a line as the game runs.
class Tracer : public kv::AppObserver {
 public:
  Tracer(Project1& p, bool trace) : p_(p), trace_(trace) {}

  void OnPlay(const kv::TMediaPlayer& player) override {
    if (ended) return;
    // Every crash sequence opens with the explosion.
    if (player.Name() == "MediaPlayerex") {
      const kv::TTimer* t = p_.Application.CurrentTimer();
      line("\"hit\":" + json_string(t ? t->Name() : ""));
    }
    line("\"play\":" + json_string(player.Name()));
  }
  void OnError(const std::string& text) override {
    if (!ended) line("\"error\":" + json_string(text));
  }
  void AfterTick(const kv::TTimer& timer) override {
    if (!trace_ || ended || !p_.Form1 || &timer != p_.Form1->Timer1) return;
    const Unit1& u = p_.unit1;
    std::ostringstream s;
    s << "\"segundos\":" << u.segundos << ",\"navex\":" << u.navex << ",\"navey\":" << u.navey
      << ",\"direccion\":" << u.direccion << ",\"velocidad\":" << u.velocidad
      << ",\"numerito\":" << u.numerito << ",\"destruida\":" << (u.destruida ? "true" : "false")
      << ",\"meteorox\":" << u.meteorox << ",\"meteoroy\":" << u.meteoroy
      << ",\"enemigox\":" << u.enemigox << ",\"enemigoy\":" << u.enemigoy
      << ",\"enemigo2x\":" << u.enemigo2x << ",\"enemigo2y\":" << u.enemigo2y
      << ",\"enemigo3x\":" << u.enemigo3x << ",\"enemigo3y\":" << u.enemigo3y
      << ",\"enemigo4x\":" << u.enemigo4x << ",\"enemigo4y\":" << u.enemigo4y
      << ",\"enemigo5x\":" << u.enemigo5x << ",\"enemigo5y\":" << u.enemigo5y
      << ",\"enemigo6x\":" << u.enemigo6x << ",\"enemigo6y\":" << u.enemigo6y
      << ",\"enemigopx\":" << u.enemigopx << ",\"enemigopy\":" << u.enemigopy
      << ",\"enemigop2x\":" << u.enemigop2x << ",\"enemigop2y\":" << u.enemigop2y
      << ",\"enemigojefex\":" << u.enemigojefex << ",\"enemigojefey\":" << u.enemigojefey;
    line(s.str());
  }
  void OnFormFreed(const kv::TForm& form) override {
    if (&form == static_cast<const kv::TForm*>(p_.Form1) || !p_.Form1) handed_over = true;
  }

  void end(std::int64_t ms, const char* how) {
    const std::string puntos = p_.Form2->Label3->Caption();
    const std::string nivel =
        handed_over || !p_.Form1 ? p_.Form2->Label8->Caption() : p_.Form1->Labelnivel->Caption();
    std::cout << "{\"t\":" << ms << ",\"end\":\"" << how
              << "\",\"puntos\":" << json_string(kv::cp1252_to_utf8(puntos))
              << ",\"nivel\":" << json_string(kv::cp1252_to_utf8(nivel)) << "}\n";
    ended = true;
  }

  bool handed_over = false;
  bool ended = false;

 private:
  void line(const std::string& body) {
    std::cout << "{\"t\":" << p_.Application.Now() / 1000 << ',' << body << "}\n";
  }
  Project1& p_;
  bool trace_;
};

kv::PixelView view_of(kv::TForm& form) {
  const kv::Surface s = form.GetSurface();
  return kv::PixelView{s.pixels, s.width, s.height, s.pitch};
}

}  // namespace

int main(int argc, char** argv) {
  const Options opt = parse_args(argc, argv);

  std::vector<sim::ScriptEvent> script;
  try {
    if (opt.script) {
      std::ifstream in(*opt.script);
      if (!in) {
        std::cerr << "korvalen-sim: " << *opt.script << ": cannot open the script\n";
        return 2;
      }
      script = sim::parse_script(in);
    } else {
      script = sim::parse_script(std::cin);
    }
  } catch (const sim::ScriptError& e) {
    std::cerr << "korvalen-sim: " << (opt.script ? *opt.script : "script") << ": " << e.what()
              << '\n';
    return 2;
  }

  const bool pictures = !opt.snapshots.empty() || opt.record;
  kv::HeadlessBackend backend(pictures);
  using K = kv::InputEvent::Kind;
  for (const sim::ScriptEvent& ev : script) {
    const Micros at = ev.ms * 1000;
    switch (ev.kind) {
      case sim::ScriptEvent::Kind::Key:
        backend.inject(at, {K::Key, nullptr, ev.key});
        break;
      case sim::ScriptEvent::Kind::Activate:
        backend.inject(at, {K::Deactivate, nullptr, 0});
        backend.inject(at, {K::Activate, nullptr, 0});
        break;
      case sim::ScriptEvent::Kind::Close:
        backend.inject(at, {K::Close, nullptr, 0});
        break;
    }
  }
  for (const auto& [ms, files] : opt.snapshots) backend.add_alarm(ms * 1000);

  Project1 project(backend);
  try {
    project.Create();
  } catch (const std::exception& e) {
    backend.show_fatal(e.what());
    return 1;
  }
  Tracer tracer(project, opt.trace);
  project.Application.SetObserver(&tracer);

  std::unique_ptr<kv::GifRecorder> recorder;
  std::int64_t next_frame_ms = 0;
  if (opt.record) {
    recorder = std::make_unique<kv::GifRecorder>(*opt.record, 677, 488);
    backend.add_alarm(0);
  }

  kv::TApplication& app = project.Application;
  const Micros until = opt.until_ms * 1000;
  app.Start();
  try {
    for (;;) {
      const Micros next = std::min({app.NextDue(), backend.next_input(), backend.next_alarm()});
      if (next > until) {
        if (!tracer.ended) tracer.end(opt.until_ms, "until");
        break;
      }
      app.ProcessInstant();
      const std::int64_t now_ms = app.Now() / 1000;
      kv::TForm* shown = app.ActiveForm() ? app.ActiveForm() : project.Form2;
      if (auto it = opt.snapshots.find(now_ms); it != opt.snapshots.end() && app.Now() % 1000 == 0)
        for (const std::string& file : it->second) kv::write_png(file, view_of(*shown));
      if (recorder && now_ms >= next_frame_ms) {
        recorder->add_frame(view_of(*shown), kFrameMs / 10);
        next_frame_ms = now_ms + kFrameMs;
        backend.add_alarm(next_frame_ms * 1000);
      }
      if (app.Terminated()) {
        if (!tracer.ended) tracer.end(now_ms, "closed");
        break;
      }
      if (tracer.handed_over && !tracer.ended) tracer.end(now_ms, "results");
      if (tracer.ended) {
        // Past the end, only pictures still asked for keep the clock going.
        const bool scrolling = project.Form2->Timer1->Enabled();
        const bool snapshots_left =
            !opt.snapshots.empty() && opt.snapshots.rbegin()->first > now_ms;
        if (!(recorder && scrolling) && !snapshots_left) break;
      }
    }
    if (recorder) recorder->finish();
  } catch (const std::exception& e) {
    std::cerr << "korvalen-sim: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
