// The game's shared tones, so every ship looks like it belongs to one world.
#pragma once

#include "color.h"

namespace art::tones {

inline const Ramp kHull{{34, 38, 50},    {62, 68, 82},    {96, 104, 118}, {132, 140, 154},
                        {168, 175, 188}, {204, 209, 218}, {236, 239, 244}};
inline const Ramp kDarkHull{
    {22, 24, 32}, {40, 44, 56}, {60, 66, 80}, {84, 92, 108}, {112, 120, 136}};
inline const Ramp kGlass{{10, 22, 48},   {20, 54, 102},   {34, 100, 168},
                         {70, 160, 220}, {150, 218, 250}, {240, 252, 255}};
inline const Ramp kRed{{56, 10, 14},  {104, 18, 22}, {156, 30, 30},
                       {206, 52, 40}, {240, 98, 70}, {255, 170, 140}};
inline const Ramp kFlame{
    {120, 20, 10}, {210, 60, 20}, {250, 140, 30}, {255, 220, 90}, {255, 250, 220}};

}  // namespace art::tones
