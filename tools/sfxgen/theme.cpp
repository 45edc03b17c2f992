#include "theme.h"

#include <array>
#include <cstdint>

namespace kv::sfx {

namespace {

constexpr std::uint32_t kQuarter = kThemeDivision;
constexpr std::uint32_t kEighth = kQuarter / 2;
constexpr std::uint32_t kSixteenth = kQuarter / 4;
constexpr std::uint32_t kBar = 4 * kQuarter;

std::uint32_t bar_start(int bar) {
  return static_cast<std::uint32_t>(bar) * kBar;
}

// A chord as the band plays it: bass root, a three-note pad voicing around
// middle C, and the arpeggio's four notes (the voicing plus the root an
// octave up).
struct Chord {
  int bass;
  std::array<int, 3> pad;
};

constexpr Chord kAm{33, {57, 60, 64}};
constexpr Chord kF{29, {57, 60, 65}};
constexpr Chord kC{36, {55, 60, 64}};
constexpr Chord kG{31, {55, 59, 62}};
constexpr Chord kE{28, {56, 59, 64}};
constexpr Chord kDm{38, {57, 62, 65}};

// Intro, A, B, A', outro: i-VI-III-VII for the main tune, a iv-i-VI-V
// excursion in the middle, and V-i cadences at the joins.
constexpr int kBars = 32;
constexpr std::array<Chord, kBars> kChords = {
    kAm, kF,  kC, kG,                      // intro
    kAm, kF,  kC, kG,  kAm, kF,  kC, kE,   // A
    kDm, kAm, kF, kE,  kDm, kAm, kF, kE,   // B
    kAm, kF,  kC, kG,  kAm, kF,  kE, kAm,  // A'
    kAm, kF,  kG, kAm,                     // outro
};

// Melody as (key, length in eighths); key 0 is a rest. One line per bar.
struct Note {
  int key;
  int eighths;
};

constexpr int E4 = 64, Gs4 = 68, A4 = 69, B4 = 71, C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79,
              Gs5 = 80, A5 = 81, B5 = 83, C6 = 84, D6 = 86;

// The A phrase: a call rising to the octave, answered higher, closing on the
// dominant (or, the second time round, on the tonic).
constexpr Note kPhraseA1[] = {
    {E5, 2},  {A5, 2}, {G5, 1}, {E5, 1}, {C5, 2},           // Am
    {F5, 3},  {E5, 1}, {C5, 2}, {A4, 2},                    // F
    {G5, 2},  {E5, 1}, {G5, 1}, {C6, 2}, {B5, 1}, {G5, 1},  // C
    {D5, 6},  {0, 2},                                       // G
    {E5, 2},  {A5, 2}, {G5, 1}, {E5, 1}, {A5, 2},           // Am
    {C6, 3},  {B5, 1}, {A5, 2}, {F5, 2},                    // F
    {E5, 1},  {F5, 1}, {G5, 2}, {E5, 2}, {C5, 2},           // C
    {Gs4, 2}, {B4, 2}, {E5, 4},                             // E
};

constexpr Note kPhraseB[] = {
    {F5, 1},  {F5, 1},  {A5, 2}, {F5, 1}, {D5, 1}, {F5, 2},  // Dm
    {E5, 1},  {E5, 1},  {A5, 2}, {E5, 1}, {C5, 1}, {E5, 2},  // Am
    {C5, 1},  {D5, 1},  {F5, 2}, {A5, 2}, {C6, 2},           // F
    {B5, 4},  {Gs5, 2}, {E5, 2},                             // E
    {D6, 2},  {C6, 1},  {A5, 1}, {F5, 2}, {A5, 2},           // Dm
    {C6, 2},  {B5, 1},  {A5, 1}, {E5, 4},                    // Am
    {F5, 1},  {G5, 1},  {A5, 1}, {C6, 1}, {B5, 2}, {A5, 2},  // F
    {Gs5, 4}, {B5, 4},                                       // E
};

constexpr Note kPhraseA2[] = {
    {E5, 2},  {A5, 2}, {G5, 1}, {E5, 1},  {C5, 2},           // Am
    {F5, 3},  {E5, 1}, {C5, 2}, {A4, 2},                     // F
    {G5, 2},  {E5, 1}, {G5, 1}, {C6, 2},  {B5, 1}, {G5, 1},  // C
    {D5, 6},  {0, 2},                                        // G
    {E5, 2},  {A5, 2}, {G5, 1}, {E5, 1},  {A5, 2},           // Am
    {C6, 3},  {B5, 1}, {A5, 2}, {F5, 2},                     // F
    {Gs5, 1}, {A5, 1}, {B5, 2}, {Gs5, 2}, {E5, 2},           // E
    {A5, 8},                                                 // Am
};

constexpr Note kOutro[] = {
    {E5, 2}, {A5, 2}, {G5, 2}, {E5, 2},  // Am
    {F5, 4}, {E5, 4},                    // F
    {D5, 4}, {B4, 4},                    // G
    {A4, 8},                             // Am
};

enum Channel { kLeadCh = 0, kBassCh = 1, kPadCh = 2, kArpCh = 3, kDrumCh = 9 };

// General MIDI programs (0-based) and drum keys.
constexpr int kSquareLead = 80, kSynthBass = 38, kWarmPad = 89, kVibraphone = 11;
constexpr int kKick = 36, kSnare = 38, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kHighTom = 50,
              kLowTom = 45;

void setup(MidiTrack& t, const char* name, int channel, int program, int volume, int pan,
           int reverb) {
  t.name(0, name);
  if (program >= 0) t.program(0, channel, program);
  t.controller(0, channel, 7, volume);
  t.controller(0, channel, 10, pan);
  t.controller(0, channel, 91, reverb);
}

template <std::size_t N>
void play_melody(MidiTrack& t, int first_bar, const Note (&notes)[N], int accent) {
  std::uint32_t at = bar_start(first_bar);
  for (const Note& n : notes) {
    std::uint32_t len = static_cast<std::uint32_t>(n.eighths) * kEighth;
    if (n.key != 0) {
      // Notes on the beat a little louder, long notes held to the next one,
      // short ones slightly detached so the rhythm speaks.
      int vel = (at % kQuarter == 0 ? 100 : 88) + accent;
      t.note(at, n.eighths >= 4 ? len - 10 : len - 30, kLeadCh, n.key, vel);
    }
    at += len;
  }
}

MidiTrack conductor(std::uint32_t end) {
  MidiTrack t;
  t.name(0, "Tema");
  t.time_signature(0, 4, 2);
  t.key_signature(0, 0, true);
  t.tempo(0, 128);
  // Broaden the last two bars into the final chord.
  t.tempo(bar_start(kBars - 2), 120);
  t.tempo(bar_start(kBars - 1), 104);
  t.end(end);
  return t;
}

MidiTrack lead(std::uint32_t end) {
  MidiTrack t;
  setup(t, "Lead", kLeadCh, kSquareLead, 96, 64, 45);
  play_melody(t, 4, kPhraseA1, 0);
  play_melody(t, 12, kPhraseB, 6);
  play_melody(t, 20, kPhraseA2, 4);
  play_melody(t, 28, kOutro, -6);
  t.end(end);
  return t;
}

MidiTrack bass(std::uint32_t end) {
  MidiTrack t;
  setup(t, "Bass", kBassCh, kSynthBass, 104, 64, 10);
  // Octave-jumping eighths, the engine of the tune.
  constexpr std::array<int, 8> kOctave = {0, 0, 12, 0, 0, 12, 0, 12};
  for (int bar = 0; bar < kBars; ++bar) {
    int root = kChords[static_cast<std::size_t>(bar)].bass;
    if (bar < 2 || bar == kBars - 1) {
      t.note(bar_start(bar), kBar - 10, kBassCh, root, 96);
      continue;
    }
    for (std::size_t i = 0; i < kOctave.size(); ++i) {
      std::uint32_t at = bar_start(bar) + static_cast<std::uint32_t>(i) * kEighth;
      t.note(at, kEighth - 40, kBassCh, root + kOctave[i], i % 2 == 0 ? 100 : 80);
    }
  }
  t.end(end);
  return t;
}

MidiTrack pad(std::uint32_t end) {
  MidiTrack t;
  setup(t, "Pad", kPadCh, kWarmPad, 72, 40, 70);
  for (int bar = 0; bar < kBars; ++bar) {
    for (int key : kChords[static_cast<std::size_t>(bar)].pad) {
      t.note(bar_start(bar), kBar - 5, kPadCh, key, 64);
    }
  }
  t.end(end);
  return t;
}

MidiTrack arpeggio(std::uint32_t end) {
  MidiTrack t;
  setup(t, "Arpeggio", kArpCh, kVibraphone, 84, 90, 50);
  constexpr std::array<int, 8> kPattern = {0, 1, 2, 3, 2, 1, 2, 1};
  // It carries the intro alone, drops out under the first statement of the
  // tune and comes back for the rest.
  for (int bar = 0; bar < kBars - 1; ++bar) {
    if (bar >= 4 && bar < 8) continue;
    const Chord& c = kChords[static_cast<std::size_t>(bar)];
    const std::array<int, 4> tones = {c.pad[0], c.pad[1], c.pad[2], c.pad[0] + 12};
    for (std::uint32_t step = 0; step < 16; ++step) {
      int key = tones[static_cast<std::size_t>(kPattern[step % 8])];
      int vel = step % 4 == 0 ? 72 : 56;
      t.note(bar_start(bar) + step * kSixteenth, kSixteenth - 10, kArpCh, key, vel);
    }
  }
  t.end(end);
  return t;
}

MidiTrack drums(std::uint32_t end) {
  MidiTrack t;
  setup(t, "Drums", kDrumCh, -1, 100, 64, 30);
  auto hit = [&](int bar, std::uint32_t step, int key, int vel) {
    t.note(bar_start(bar) + step * kSixteenth, kSixteenth, kDrumCh, key, vel);
  };
  for (int bar = 1; bar < kBars; ++bar) {
    const bool section_start = bar == 4 || bar == 12 || bar == 20 || bar == 28;
    const bool fill = bar == 3 || bar == 11 || bar == 19 || bar == 27;
    const bool middle = bar >= 12 && bar < 20;
    if (bar == kBars - 1) {
      hit(bar, 0, kCrash, 110);
      hit(bar, 0, kKick, 110);
      break;
    }
    if (section_start) hit(bar, 0, kCrash, 105);
    for (std::uint32_t step = 0; step < 16; step += 2) {
      if (fill && step >= 12) break;
      hit(bar, step, step == 14 ? kOpenHat : kClosedHat, step % 4 == 0 ? 72 : 54);
    }
    if (bar < 2) continue;  // hats alone to start
    // Kick on one and three with a push before three; four on the floor in
    // the middle section for lift.
    for (std::uint32_t step : {0u, 8u, 10u}) hit(bar, step, kKick, 108);
    if (middle) {
      hit(bar, 4, kKick, 100);
      hit(bar, 12, kKick, 100);
    }
    if (bar < 3) continue;
    hit(bar, 4, kSnare, 100);
    if (fill) {
      hit(bar, 12, kSnare, 96);
      hit(bar, 13, kSnare, 84);
      hit(bar, 14, kHighTom, 100);
      hit(bar, 15, kLowTom, 106);
    } else {
      hit(bar, 12, kSnare, 100);
    }
  }
  t.end(end);
  return t;
}

}  // namespace

std::vector<MidiTrack> compose_theme() {
  // Every track ends together, on the release of the final chord.
  const std::uint32_t end = bar_start(kBars);
  return {conductor(end), lead(end), bass(end), pad(end), arpeggio(end), drums(end)};
}

}  // namespace kv::sfx
