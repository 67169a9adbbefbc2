// Reading saved games: the check before resuming, taking the picture out, reading a game back, peeking at a file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "desk/state.h"
#include "desk/title.h"
#include "graphics/orientation.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "play/save.h"
#include "play/save_format.h"
#include "play/state.h"
#include "puzzle/fit.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "ws/picture_reader.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

using namespace save_format;

// A stream closed when the holder goes out of scope.
struct Stream {
    std::FILE* f = nullptr;
    explicit Stream(std::FILE* file) : f(file) {}
    ~Stream() {
        if (f) std::fclose(f);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
};

void tell(const char* text, const std::string& path) {
    char buf[1200];
    std::snprintf(buf, sizeof buf, ws::tr("play", text).c_str(), path.c_str());
    ws::message_box(0, buf, ws::tr("play", kSaveNoticeTitle), ws::MB_OK | ws::MB_ICONWARNING);
}

void trace(const char* event) {
    if (graphics.trace_switch) trace_line("save", event);
}

// Writes the picture part of `saved` (from `offset` on) to the file `name`; a half-written file is removed.
int32_t write_picture(std::FILE* saved, int64_t offset, const std::string& name) {
    const std::string target = resolve_path(name);
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (!out) return 0;
    bool ok = copy_tail(saved, offset, out);
    ok = std::fclose(out) == 0 && ok;
    if (!ok) std::remove(target.c_str());
    return ok ? 1 : 0;
}

const char* picture_name_for(int32_t type, const char* bmp, const char* jpeg, const char* own) {
    return type == kPictureJpeg ? jpeg : type == kPictureOwnBytes ? own : bmp;
}

// Whether a picture fitted to `f` trims to the saved picture size: by less than one cell each way.
bool trims_to(const Header& h, FittedSize f) {
    return f.w >= h.pic_w && f.w - h.pic_w < h.cols && f.h >= h.pic_h && f.h - h.pic_h < h.rows;
}

// A game saved before photos were turned upright was cut from a sideways photo as it is stored. When only that way
// matches the saved grid, the copy taken out loses its orientation tag, so the game resumes on the very picture
// its pieces were cut from. Where both ways match (a nearly square photo) the upright one stands.
void keep_cut_orientation(const std::string& name, const Header& h) {
    const std::string path = resolve_path(name);
    std::vector<uint8_t> bytes;
    {
        Stream in(std::fopen(path.c_str(), "rb"));
        if (!in.f || std::fseek(in.f, 0, SEEK_END) != 0) return;
        bytes.resize(size_t(std::max(0L, std::ftell(in.f))));
        if (std::fseek(in.f, 0, SEEK_SET) != 0 || std::fread(bytes.data(), 1, bytes.size(), in.f) != bytes.size()) return;
    }
    const JpegShape s = jpeg_shape(bytes);
    if (s.orientation < 5 || !trims_to(h, fitted_size(s.width, s.height, h.stretch_size)) ||
        trims_to(h, fitted_size(s.height, s.width, h.stretch_size)) || !clear_jpeg_orientation(bytes))
        return;
    Stream out(std::fopen(path.c_str(), "wb"));
    if (out.f) std::fwrite(bytes.data(), 1, bytes.size(), out.f);
}

// The saved game must lie on the grid the new game was built with: the same picture, piece count and stretch
// size give the same grid, and the picture's name gives the same type, so any difference means the file does not
// belong to this picture.
bool fits(const Jig& jig, const Header& h) {
    return jig.picture && jig.pic_w == h.pic_w && jig.pic_h == h.pic_h && jig.cols == h.cols && jig.rows == h.rows &&
           jig.picture_type == h.picture_type;
}

// The whole saved game in `file`: its tables, and the picture its pieces are to be cut from.
Check read_whole_game(std::FILE* file, SavedGame& g) {
    const Check check = read_saved_game(file, line_points(), g);
    if (check == Check::ok && !picture_whole(file, g.header, g.file_size)) return Check::malformed;
    return check;
}

void clear_items(Jig& jig) {
    for (Item& item : jig.items) {
        delete item.piece;
        item = Item{};
    }
}

// Puts the checked file into the game: grid, cells, display items with fresh pieces, play time, view origin.
void apply(Jig& jig, const SavedGame& g) {
    const Header& h = g.header;
    clear_items(jig);
    jig.picture_type = h.picture_type;
    jig.pic_w = h.pic_w;
    jig.pic_h = h.pic_h;
    jig.cols = h.cols;
    jig.rows = h.rows;
    jig.item_count = h.item_count;
    jig.holding = jig.two_buttons = 0;
    display.clock_carry = h.play_seconds;
    desk.view_x = h.view_x;
    desk.view_y = h.view_y;
    for (size_t k = 0; k < g.cells.size(); ++k) jig.cells[k] = g.cells[k];
    for (size_t i = 0; i < g.items.size(); ++i) {
        const SavedItem& s = g.items[i];
        Item& item = jig.items[i];
        item.id = s.id;
        item.home_dx = s.home_dx;
        item.home_dy = s.home_dy;
        item.join_dx = s.join_dx;
        item.join_dy = s.join_dy;
        Piece* p = item.piece = new Piece;
        p->width = s.width;
        p->height = s.height;
        p->view_width = s.view_width;
        p->view_height = s.view_height;
        p->cx = s.cx;
        p->cy = s.cy;
        p->grab_x = s.grab_x;
        p->grab_y = s.grab_y;
        p->angle = s.angle;
        p->turned = s.turned;
        p->rect = s.rect;
    }
}

// Cuts every group's picture again: a single cell with cut_piece, a joined group with joint_piece. A single piece
// lets its image go until its view is made: thousands of them held at once would outweigh the desk.
void rebuild(Jig& jig) {
    const int32_t cells = jig.cols * jig.rows;
    std::vector<int32_t> owned(size_t(cells), 0);
    for (int32_t k = 0; k < cells; ++k) ++owned[size_t(jig.cells[k].owner)];
    for (int32_t i = 0; i < jig.item_count; ++i) {
        const int32_t id = jig.items[i].id;
        if (owned[size_t(id)] == 1) {
            jig.cut_piece(id, i);
            jig.items[i].piece->drop_image();
        } else {
            jig.joint_piece(id, i);
        }
    }
    jig.cut_count = jig.item_count;
}

}  // namespace

int32_t saved_game_usable(const std::string& path) {
    Stream file(open_file(path, "rb"));
    if (!file.f) return 0;
    SavedGame g;
    if (read_whole_game(file.f, g) == Check::ok) return 1;
    tell(kSaveBrokenText, path);
    return 0;
}

int32_t begin_resume(const std::string& path, const std::function<bool()>& end_game_in_play) {
    const std::string chosen = path;  // the caller may pass save_path or picture_path itself
    if (!saved_game_usable(chosen)) return 0;
    if (end_game_in_play && !end_game_in_play()) return 0;
    play.save_path = chosen;
    return extract_picture(play.save_path, play.picture_path);
}

int32_t extract_picture(const std::string& path, std::string& out_name) {
    const std::string source = path;  // out_name may be the very same string
    Stream file(open_file(source, "rb"));
    if (!file.f) return 0;
    SavedGame g;
    if (read_whole_game(file.f, g) != Check::ok) {
        tell(kSaveBrokenText, source);
        return 0;
    }
    play.game_piece_num = g.header.piece_num;
    play.game_stretch_size = g.header.stretch_size;
    out_name = picture_name_for(g.header.picture_type, kResumedPictureBmp, kResumedPictureJpg, kResumedPictureOwn);
    if (!write_picture(file.f, g.header.picture_offset, out_name)) return 0;
    if (g.header.picture_type == kPictureJpeg) keep_cut_orientation(out_name, g.header);
    return 1;
}

int32_t load_game(Jig& jig, const std::string& path) {
    trace("load_game start\n");
    if (!jig.picture || jig.item_count < 1) {
        trace("load_game end\n");
        return 0;  // the picture could not be read; its loader has told the player
    }
    SavedGame g;
    Check check = Check::unreadable;
    {
        Stream file(open_file(path, "rb"));
        if (file.f) check = read_whole_game(file.f, g);
    }
    if (check == Check::ok && !fits(jig, g.header)) check = Check::malformed;
    if (check != Check::ok) {
        tell(check == Check::unreadable ? kSaveMissingText : kSaveBrokenText, path);
        trace("load_game end\n");
        return 0;
    }
    apply(jig, g);
    rebuild(jig);
    trace("load_game end\n");
    return 1;
}

int32_t extract_picture_for_list(const std::string& path, std::string& out_name) {
    const std::string source = path;
    Stream file(open_file(source, "rb"));
    if (!file.f) return 0;
    Header h;
    int64_t size = 0;
    if (read_header(file.f, line_points(), h, size) != Check::ok) return 0;
    out_name = picture_name_for(h.picture_type, kListPictureBmp, kListPictureJpg, kListPictureOwn);
    return write_picture(file.f, h.picture_offset, out_name);
}

int32_t peek_item_count(const std::string& path, int32_t& out_count) {
    Stream file(open_file(path, "rb"));
    if (!file.f) return 0;
    Header h;
    int64_t size = 0;
    if (read_header(file.f, line_points(), h, size) != Check::ok) return 0;
    out_count = h.item_count;
    return 1;
}
