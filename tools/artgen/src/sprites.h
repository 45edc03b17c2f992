// Every picture the game ships with. Each function renders one picture from
// scratch; none of them read files.
#pragma once

#include "canvas.h"

namespace art {

// The player's fighter pointing up, 30 * scale pixels square.
Canvas fighter(int scale);
Canvas wrecked_fighter();
Canvas icon();

Canvas boss();
Canvas red_saucer();
Canvas crystal_craft();
Canvas lander();
Canvas purple_saucer();
Canvas wasp_craft();
Canvas green_craft();

Canvas starfield();
Canvas red_planet(int width, int height, float radius);
Canvas blue_planet(int width, int height, float radius);

Canvas portrait();
Canvas pilot();

Canvas title();

}  // namespace art
