// The game record's own life: fitting a picture into a fresh record, freeing what it owns, and releasing the
// pieces' device contexts. What ending a game laid on the desk does beyond that is the play folder's
// (hooks.end_of_laid_game).
#include "puzzle/jig.h"

#include <algorithm>

#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/piece.h"

namespace {

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("jig", event);
}

}  // namespace

Jig::Jig(blank_game_t, int32_t cells) { size_tables(cells); }

Jig::Jig(const std::string& path) : on_desk(false) {
    trace("Jig start\n");
    if (stretch(path)) {
        replace_black_white();
        make_grid();  // too small a picture for a single cell gives no items
    }
    if (item_count < 1) {
        item_count = 0;
        trace("Jig end (read error)\n");
    }
}

Jig::~Jig() {
    trace("~Jig start\n");
    delete fine_picture;
    if (!on_desk) {  // the clock, the guide, the presenter and the temporary pictures are the game in play's
        delete picture;
        trace("~Jig end\n");
        return;
    }
    // The end of the game in play deletes the pieces itself, between its steps; whatever it left is freed here.
    if (hooks.end_of_laid_game) hooks.end_of_laid_game(*this);
    const int32_t live = live_items();
    for (int32_t i = 0; i < live; ++i) {
        delete items[i].piece;
        items[i].piece = nullptr;
    }
    delete picture;
    delete under_cache;
    picture = under_cache = nullptr;
    trace("~Jig end\n");
}

void Jig::free_dc() {
    trace("free_dc start\n");
    const int32_t n = std::clamp(cut_count, 0, live_items());
    for (int32_t i = 0; i < n; ++i)
        if (items[i].piece) items[i].piece->release();
    trace("free_dc end\n");
}

void Jig::size_tables(int32_t n) {
    cells.assign(size_t(std::max(n, 0)), Cell{});
    items.assign(size_t(std::max(n, 0)), Item{});
}

int32_t Jig::live_items() const { return std::clamp(item_count, 0, int32_t(items.size())); }

int32_t Jig::live_cells() const {
    const int64_t grid = int64_t(std::max(cols, 0)) * std::max(rows, 0);
    return int32_t(std::min<int64_t>(grid, int64_t(cells.size())));
}
