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

Jig::Jig(blank_game_t) {}

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
    if (!on_desk) {  // the clock, the guide, the presenter and the temporary pictures are the game in play's
        delete picture;
        trace("~Jig end\n");
        return;
    }
    // The end of the game in play deletes the pieces itself, between its steps; whatever it left is freed here.
    if (hooks.end_of_laid_game) hooks.end_of_laid_game(*this);
    const int32_t live = std::clamp(item_count, 0, max_items);
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
    const int32_t n = std::clamp(std::min(cut_count, item_count), 0, max_items);
    for (int32_t i = 0; i < n; ++i)
        if (items[i].piece) items[i].piece->release();
    trace("free_dc end\n");
}
