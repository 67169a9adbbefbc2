// The game's random generator (see random.h).
#include "puzzle/random.h"

#include <chrono>
#include <cmath>

#include "ws/ws.h"

double GameRandom::pick(double n) {
    const double draw = double(next());
    return n > 0 ? std::fmod(draw, n) : 0.0;
}

uint32_t game_seed(bool test_mode, uint32_t tick, uint64_t wall_ms) {
    return test_mode ? tick : uint32_t(wall_ms) ^ uint32_t(wall_ms >> 32) ^ tick;
}

uint32_t game_seed() {
    const auto wall = std::chrono::system_clock::now().time_since_epoch();
    return game_seed(ws::test_mode(), ws::tick_count(),
                     uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(wall).count()));
}
