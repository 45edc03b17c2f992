// "Tema", the game's title theme: about a minute of A-minor space-arcade tune.
#pragma once

#include <vector>

#include "smf_writer.h"

namespace kv::sfx {

constexpr int kThemeDivision = 480;  // ticks per quarter note

// Conductor track first, then lead, bass, pad, arpeggio and drums. The tune
// plays once and stops; the game decides when to start it again.
std::vector<MidiTrack> compose_theme();

}  // namespace kv::sfx
