// Engraving the puzzle's cutting lines into the faint finished picture: dark lines with a light edge below
// and to the right of them, softened by a weighted average.
#include <algorithm>
#include <vector>

#include "desk/background.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

constexpr uint32_t kRgb = 0x00FFFFFF;
constexpr uint32_t kWhiteWord = 0x00FFFFFF;

// Word (x, y), top-down, of a surface known to hold that position.
uint32_t& word(MemDC& s, int32_t x, int32_t y) {
    return s.words()[size_t(s.height() - 1 - y) * size_t(s.width()) + size_t(x)];
}

// Every cell's four edges drawn in black on white: the lines as the cutting drew them.
void draw_cell_lines(const Jig& game, MemDC& lines) {
    lines.fill(0, 0, lines.width(), lines.height(), 0xFFFFFF);
    lines.set_pen(0x000000, 1);
    const int32_t n = line_points();
    const int32_t cells = game.live_cells();
    for (int32_t c = 0; c < cells; ++c)
        for (int32_t side = 0; side < 4; ++side) lines.bezier(game.cells[c].edges[side], n);
}

}  // namespace

void smooth_pixel(MemDC& src, MemDC& dst, int32_t x, int32_t y, int32_t w, int32_t h) {
    w = std::min({w, src.width(), dst.width()});
    h = std::min({h, src.height(), dst.height()});
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    int32_t count = 0, red = 0, green = 0, blue = 0;
    const uint32_t centre = word(src, x, y) & kRgb;
    if (centre == 0) {
        count = 2;
    } else if (centre == kWhiteWord) {
        count = 10;
        red = green = blue = 2550;
    }
    for (int32_t yy = std::max(y - 1, 0); yy <= std::min(y + 1, h - 1); ++yy)
        for (int32_t xx = std::max(x - 1, 0); xx <= std::min(x + 1, w - 1); ++xx) {
            const uint32_t p = word(src, xx, yy);
            red += int32_t((p >> 16) & 0xFF);
            green += int32_t((p >> 8) & 0xFF);
            blue += int32_t(p & 0xFF);
            ++count;
        }
    word(dst, x, y) = uint32_t(red / count) << 16 | uint32_t(green / count) << 8 | uint32_t(blue / count);
}

void engrave_lines(Jig& jig, MemDC& t, int32_t w, int32_t h) {
    if (w > kEngraveLimit || h > kEngraveLimit) {
        ws::message_box(0, ws::tr("desk", "画像が大きすぎるよ～。"), "zelto", ws::MB_OK);
        return;
    }
    w = std::min(w, t.width());
    h = std::min(h, t.height());
    if (w < 1 || h < 1) return;
    MemDC lines;
    lines.create(BIT_DIB, w, h);
    draw_cell_lines(jig, lines);
    // Each line pixel turns black and the pixel below-right of it, when off the line, white.
    std::vector<uint8_t> on_line(size_t(w) * size_t(h), 0);
    for (int32_t x = 1; x <= w - 2; ++x)
        for (int32_t y = 1; y <= h - 2; ++y) {
            if ((word(lines, x, y) & kRgb) != 0) continue;
            on_line[size_t(y) * size_t(w) + size_t(x)] = 1;
            word(t, x, y) = 0;
            if ((word(lines, x + 1, y + 1) & kRgb) == kWhiteWord) word(t, x + 1, y + 1) = kWhiteWord;
        }
    // Soften each line pixel's 2 x 2 block, reading from a snapshot of the engraved picture.
    lines.blit(0, 0, w, h, t, 0, 0, SRCCOPY);
    for (int32_t x = 0; x < w; ++x)
        for (int32_t y = 0; y < h; ++y) {
            if (!on_line[size_t(y) * size_t(w) + size_t(x)]) continue;
            for (int32_t dx = 0; dx <= 1; ++dx)
                for (int32_t dy = 0; dy <= 1; ++dy) smooth_pixel(lines, t, x + dx, y + dy, w, h);
        }
    lines.destroy();
}
