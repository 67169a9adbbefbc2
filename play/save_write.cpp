// Writing a saved game (save_game, the emergency save) and the name offered for it.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "desk/state.h"
#include "desk/title.h"
#include "graphics/durable.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/companions.h"
#include "play/save.h"
#include "play/save_format.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "ws/picture.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

using namespace save_format;

bool path_exists(const std::string& path) {
    struct stat st;
    return ::stat(resolve_path(path).c_str(), &st) == 0;
}

void tell(const char* text, const std::string& path) {
    char buf[1200];
    std::snprintf(buf, sizeof buf, ws::tr("play", text).c_str(), path.c_str());
    ws::message_box(0, buf, ws::tr("play", kSaveNoticeTitle), ws::MB_OK | ws::MB_ICONWARNING);
}

// A game whose every piece is cut and whose tables hold what its counts say.
bool savable(const Jig& jig) {
    return jig.cols >= 1 && jig.rows >= 1 && int64_t(jig.cols) * jig.rows <= max_cells && jig.item_count >= 1 &&
           jig.item_count <= jig.cols * jig.rows && jig.cut_count >= jig.item_count;
}

SavedItem saved_item(const Item& item) {
    SavedItem s;
    s.id = item.id;
    s.home_dx = item.home_dx;
    s.home_dy = item.home_dy;
    s.join_dx = item.join_dx;
    s.join_dy = item.join_dy;
    if (const Piece* p = item.piece) {
        s.width = p->width;
        s.height = p->height;
        s.view_width = p->view_width;
        s.view_height = p->view_height;
        s.cx = p->cx;
        s.cy = p->cy;
        s.grab_x = p->grab_x;
        s.grab_y = p->grab_y;
        s.angle = p->angle;
        s.turned = p->turned;
        s.rect = p->rect;
    }
    return s;
}

// Header, cell blocks and item blocks: everything before the picture.
std::vector<uint8_t> game_tables(const Jig& jig, int32_t points) {
    const int32_t cells = jig.cols * jig.rows;
    Header h;
    h.picture_offset = int32_t(picture_offset_for(cells, jig.item_count, points));
    h.picture_type = jig.picture_damaged ? 0 : jig.picture_type;  // see save_game
    h.piece_num = play.game_piece_num;
    h.stretch_size = play.game_stretch_size;
    h.pic_w = jig.pic_w;
    h.pic_h = jig.pic_h;
    h.cols = jig.cols;
    h.rows = jig.rows;
    h.item_count = jig.item_count;
    h.play_seconds = display.play_seconds;
    h.view_x = desk.view_x;
    h.view_y = desk.view_y;
    std::vector<uint8_t> out;
    out.reserve(size_t(h.picture_offset));
    put_header(out, h);
    for (int32_t k = 0; k < cells; ++k) put_cell(out, jig.cells[k], points);
    for (int32_t i = 0; i < jig.item_count; ++i) put_item(out, saved_item(jig.items[i]));
    return out;
}

bool write_bytes(std::FILE* out, const std::vector<uint8_t>& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

// The tables and the picture (the file `picture`, or the bytes `rewritten` when it is null), through a temporary
// file that replaces `target` only once it is whole on the disk.
bool write_file(const std::string& target, const std::vector<uint8_t>& tables, std::FILE* picture,
                const std::vector<uint8_t>& rewritten) {
    return durable_write(target, [&](std::FILE* out) {
        return write_bytes(out, tables) && (picture ? copy_tail(picture, 0, out) : write_bytes(out, rewritten));
    });
}

}  // namespace

// A saved game is resumed only when its picture decodes whole. The picture of a game cut from a file that ended
// early (or was damaged) would not, so the game keeps instead what it was cut from, the file's pixels as they
// were read, as a whole BMP of the file's size: the resumed game fits it to the same size and grid.
int32_t save_game(const Jig& jig, const std::string& path, SaveReport report) {
    if (!savable(jig)) return 0;
    const std::vector<uint8_t> tables = game_tables(jig, line_points());
    std::vector<uint8_t> rewritten;
    std::FILE* picture = nullptr;
    if (jig.picture_damaged)
        rewritten = picture_as_bmp(play.picture_path.c_str());
    else
        picture = open_file(play.picture_path, "rb");
    bool ok = false;
    if (picture || !rewritten.empty()) ok = !path.empty() && write_file(resolve_path(path), tables, picture, rewritten);
    if (picture) std::fclose(picture);
    if (!ok && report == SaveReport::message) tell(kSaveFailedText, path);
    if (ok && report == SaveReport::message) tell_forget_recovery();  // the player's own file now holds the game
    return ok ? 1 : 0;
}

void emergency_save() {
    static bool running = false;
    if (running || !display.current_game || !savable(*display.current_game)) return;
    running = true;
    save_game(*display.current_game, kEmergencySaveName, SaveReport::quiet);
    running = false;
}

// A new game is offered the picture's name with ".zlt"; should a saved game lie there already (the same picture
// started again), the first free "name1.zlt", "name2.zlt", ... instead, so an earlier game is never replaced.
// Only the game's own file (save_path: resumed from or last saved to) is offered although it exists.
std::string default_save_name() {
    if (!play.save_path.empty()) return play.save_path;
    std::string stem;
    for (size_t i = play.picture_path.size(); i-- > 1;)
        if (play.picture_path[i] == '.') {
            stem = play.picture_path.substr(0, i);
            break;
        }
    std::string name = stem + ".zlt";
    for (int n = 1; n < 100000 && path_exists(name); ++n) name = stem + std::to_string(n) + ".zlt";
    return name;
}
