// The game's random generator (see random.h).
#include "puzzle/random.h"

#include <cmath>

GameRandom game_random;

double GameRandom::pick(double n) {
    const double draw = double(next());
    return n > 0 ? std::fmod(draw, n) : 0.0;
}
