// Fitting the picture of a new game (stretch), freeing pure black and white (and giving them back to a fitted copy
// for the guide), and laying the grid of cells.
#include "puzzle/fit.h"

#include <algorithm>
#include <cmath>

#include "graphics/memdc.h"
#include "graphics/raster.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "puzzle/settings.h"
#include "ws/picture.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

// A word no picture reader can give (they all leave the top byte clear or full): while the loading surface
// still holds it, nothing was read.
constexpr uint32_t unread_mark = 0x5A00C0DEu;
// Largest side a fitted picture may get from an oversized stretch setting.
constexpr int32_t max_fitted_side = 16384;
// Past one pixel in this many already holding a near word, the file is read again rather than recorded.
constexpr size_t most_already_per = 64;
// A fitted picture thinner than this would be cut into slivers a few pixels across, with no room for a knob and
// too thin to pick up: it is refused as a picture that cannot be read is.
constexpr int32_t min_fitted_side = 24;
constexpr const char* too_thin_text = ZT_NOOP("puzzle", "画像が読み込めません。\n(細長すぎてピースに切り分けられない)");
constexpr const char* picture_caption = "glapi";

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("CUT", event);
}

// Reads the picture file into `loaded`: 0 when the reader refused it or left the surface as it was, 2 when the
// file ended early or was damaged, 1 when it read whole. `type` receives what the file holds.
int32_t read_picture(MemDC& loaded, const std::string& path, int32_t& type) {
    loaded.create(BIT_DIB, 1, 1);
    loaded.words()[0] = unread_mark;
    const int32_t got = ws::load_picture(loaded, path.c_str(), Where::current(), &type);
    return loaded.width() == 1 && loaded.height() == 1 && loaded.words()[0] == unread_mark ? 0 : got;
}

// A finer picture larger than this is not made: a screen shows a few megapixels, and a picture fitted that large
// has nothing finer for it.
constexpr int64_t max_fine_pixels = int64_t(1) << 24;

// The loaded picture fitted again at the primary screen's device scale, when the screen has more pixels than the
// fitted picture and the file more detail than it kept; none otherwise.
MemDC* finer_picture(MemDC& loaded, int32_t pic_w, int32_t pic_h, int32_t scale) {
    if (scale <= 1000 || (loaded.width() <= pic_w && loaded.height() <= pic_h)) return nullptr;
    const int64_t w = int64_t(pic_w) * scale / 1000, h = int64_t(pic_h) * scale / 1000;
    if (w < 1 || h < 1 || w * h > max_fine_pixels) return nullptr;
    auto* fine = new MemDC;
    fine->create(BIT_SCREEN, int32_t(w), int32_t(h));
    fine->stretch_blit(0, 0, int32_t(w), int32_t(h), loaded, 0, 0, loaded.width(), loaded.height(), SRCCOPY);
    return fine;
}

// Pure black and pure white become the near words, which the cut keeps white for; the top byte is cleared.
void free_black_white(MemDC& picture, uint32_t black, uint32_t white) {
    uint32_t* words = picture.words();
    const size_t count = size_t(picture.width()) * size_t(picture.height());
    for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = words[i] & 0xFFFFFFu;
        words[i] = colour == 0 ? black : colour == 0xFFFFFFu ? white : colour;
    }
}

int32_t fitted_side(int32_t side, double factor) {
    return std::clamp(int32_t(std::min(side * factor, double(max_fitted_side))), 1, max_fitted_side);
}

}  // namespace

GridSize grid_size(int32_t w, int32_t h, int32_t n) {
    if (w < 1 || h < 1) return {0, 0};
    n = std::clamp(n, 1, max_cells);
    const int32_t bound = n <= classic_cells ? classic_cells : max_cells;
    const double k = std::sqrt(double(w) * double(h) / n);
    GridSize g{int32_t(w / k + 0.5), int32_t(h / k + 0.5)};
    if (g.cols * g.rows > bound) {
        --g.cols;
        --g.rows;
    } else if (g.cols * g.rows != n) {
        if (g.cols * (g.rows + 1) == n)
            ++g.rows;
        else if ((g.cols + 1) * g.rows == n)
            ++g.cols;
    }
    if (g.cols * g.rows > bound) {
        --g.cols;
        --g.rows;
    }
    // A cell narrower than two pixels would lie wholly on its own outline and give a piece with nothing in it.
    g.cols = std::clamp(g.cols, 1, std::max(1, w / 2));
    g.rows = std::clamp(g.rows, 1, std::max(1, h / 2));
    // A side rounded to nothing and raised to one leaves the other unchecked (1 x 1549 for a thread of a picture):
    // the cell table must still hold the grid.
    if (g.cols * g.rows > bound) {
        g.cols = std::min(g.cols, bound);
        g.rows = bound / g.cols;
    }
    return g;
}

FittedSize fitted_size(int32_t w, int32_t h, int32_t stretch_size) {
    if (stretch_size <= 0) return {w, h};
    const double f = double(stretch_size) / (h <= w ? w : h);
    return {fitted_side(w, f), fitted_side(h, f)};
}

int32_t Jig::stretch(const std::string& path) {
    trace("stretch start\n");
    file_colours = FileColours{};
    MemDC loaded;
    int32_t type = 0;
    const int32_t got = read_picture(loaded, path, type);
    if (!got) {
        trace("stretch end\n");
        return 0;
    }
    picture_damaged = got == 2;
    const int32_t w = loaded.width(), h = loaded.height();
    picture = new MemDC;
    if (settings.stretch_size <= 0) {
        file_colours.path = path;
        picture->create(BIT_SCREEN, 1, 1);
        picture->take_pixels(loaded);  // the picture as loaded, never held twice
        pic_w = w;
        pic_h = h;
    } else {
        const FittedSize fitted = fitted_size(w, h, settings.stretch_size);
        pic_w = fitted.w;
        pic_h = fitted.h;
        picture->create(BIT_SCREEN, pic_w, pic_h);
        picture->stretch_blit(0, 0, pic_w, pic_h, loaded, 0, 0, w, h, SRCCOPY);
        fine_scale = ws::screen_device_scale();
        fine_picture = finer_picture(loaded, pic_w, pic_h, fine_scale);
    }
    loaded.destroy();
    if (std::min(pic_w, pic_h) < min_fitted_side) {
        ws::message_box(0, ws::tr("puzzle", too_thin_text), picture_caption, ws::MB_OK);
        delete picture;
        delete fine_picture;
        picture = fine_picture = nullptr;
        pic_w = pic_h = 0;
        file_colours = FileColours{};
        trace("stretch end\n");
        return 0;
    }
    picture_type = type;
    trace("stretch end\n");
    return 1;
}

void Jig::replace_black_white() {
    if (!picture) return;
    const uint32_t black = colour_to_word(desk.near_black), white = colour_to_word(desk.near_white);
    uint32_t* words = picture->words();
    const size_t count = size_t(picture->width()) * size_t(picture->height());
    FileColours& file = file_colours;
    file.black = black;
    file.white = white;
    file.already.clear();
    bool kept = !file.path.empty() && black != white;
    // A word with a top byte could not be given back from the colour left, so it ends the record as a crowd of
    // near words does.
    const auto note = [&](size_t i, bool plain) {
        file.already.push_back(uint32_t(i));
        return plain && file.already.size() <= count / most_already_per;
    };
    // The top byte of a piece's pixel is its seam mark, so the picture keeps colours only.
    for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = words[i] & 0xFFFFFFu;
        if (kept && (words[i] != colour || colour == black || colour == white)) kept = note(i, words[i] == colour);
        words[i] = colour == 0 ? black : colour == 0xFFFFFFu ? white : colour;
    }
    if (!kept) file = FileColours{};
    if (fine_picture) free_black_white(*fine_picture, black, white);
}

void Jig::restore_black_white(MemDC& fitted, int32_t w, int32_t h) const {
    if (!picture || file_colours.path.empty() || w < 1 || h < 1) return;
    const FileColours& file = file_colours;
    const int32_t pw = picture->width(), ph = picture->height();
    const int32_t cols = std::min(w, fitted.width()), rows = std::min(h, fitted.height());
    for (int32_t y = 0; y < rows; ++y) {
        uint32_t* row = fitted.words() + size_t(fitted.height() - 1 - y) * size_t(fitted.width());
        // Picture rows lie bottom-up in memory as the fitted ones do.
        const size_t from = size_t(ph - 1 - raster::stretch_index(y, ph, h, true)) * size_t(pw);
        for (int32_t x = 0; x < cols; ++x) {
            if (row[x] != file.black && row[x] != file.white) continue;
            const auto at = uint32_t(from + size_t(raster::stretch_index(x, pw, w, false)));
            if (!std::binary_search(file.already.begin(), file.already.end(), at))
                row[x] = row[x] == file.black ? 0u : 0xFFFFFFu;
        }
    }
}

void Jig::make_grid() {
    if (settings.piece_num > max_cells) settings.piece_num = max_cells;
    const GridSize g = grid_size(pic_w, pic_h, settings.piece_num);
    cols = g.cols;
    rows = g.rows;
    if (cols < 1 || rows < 1 || pic_w < 2 * cols || pic_h < 2 * rows) {
        // Too small a picture to hold even one cell with an inside: the game cannot be played.
        cols = rows = item_count = 0;
        size_tables(0);
        return;
    }
    pic_w = cols * (pic_w / cols);
    pic_h = rows * (pic_h / rows);
    item_count = cols * rows;
    size_tables(item_count);
}
