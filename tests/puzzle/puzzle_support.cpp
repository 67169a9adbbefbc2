// Test pictures on disk and temporary folders for the puzzle tests.
#include "puzzle_support.h"

#include <cstring>
#include <filesystem>

#include "graphics/bmpsave.h"

namespace puzzle_test {

bool write_bmp(const std::string& path, int32_t w, int32_t h, uint32_t (*word)(int32_t, int32_t)) {
    MemDC s;
    s.create(BIT_DIB, w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) set_word(s, x, y, word(x, y));
    if (path.size() >= sizeof bmp_name) return false;
    std::strcpy(bmp_name, path.c_str());
    return save_bmp(s, 0, 0, 0, 0) == 1;
}

}  // namespace puzzle_test
