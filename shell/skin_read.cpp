// Reading the skin file "SKIN\SKIN.TXT": one element per line, its pictures loaded from "skin\<name>_<n>.bmp".
#include <algorithm>
#include <string>

#include "graphics/paths.h"
#include "resources/menu_ids.h"
#include "shell/cp932.h"
#include "shell/line_parser.h"
#include "shell/settings.h"
#include "shell/skin.h"
#include "shell/skin_table.h"
#include "shell/state.h"
#include "ws/picture.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {


template <std::size_t N>
bool in_menu(const int32_t (&menu)[N], int32_t v) {
    return std::find(std::begin(menu), std::end(menu), v) != std::end(menu);
}

// Positions and sizes are kept within a range where their sums cannot overflow.
constexpr int32_t kSkinCoordMax = 1 << 20;
int32_t read_coord(LineParser& p) { return std::clamp(p.get_int(0), -kSkinCoordMax, kSkinCoordMax); }

void tell(const std::string& text) { ws::message_box(0, text, "zelto", ws::MB_OK); }

// A text in the player's language with a file's or an element's name in it.
std::string naming(const std::string& format, const std::string& name) {
    char text[1024];
    std::snprintf(text, sizeof text, format.c_str(), name.c_str());
    return text;
}

// Loads picture k of `e` from the file numbered value. False (with the message) when the file is missing or
// unreadable; the line is then given up.
bool load_picture(SkinElement& e, const std::string& name, int32_t k, int32_t value) {
    const std::string file = "skin\\" + name + "_" + std::to_string(value) + ".bmp";
    if (!file_opens(file)) {
        tell(naming(ws::tr("shell", "%sが見つかりません。"), file));
        return false;
    }
    auto picture = std::make_unique<MemDC>();
    picture->create(BIT_SCREEN, 1, 1);
    if (!ws::load_picture(*picture, resolve_path(file).c_str())) return false;  // the reader told the player
    picture->release_dc();
    if (k == 0) {
        e.width = picture->width();
        e.height = picture->height();
        e.right = e.left + e.width;
        e.bottom = e.top + e.height;
    }
    e.images[size_t(k)] = std::move(picture);
    e.values[size_t(k)] = value;
    return true;
}

// The tooltip: one token, cut between characters to what its buffer holds.
std::string tooltip_text(LineParser& p) {
    const std::string raw = p.next_token("");
    return cp932_to_utf8(std::string_view(raw).substr(0, cp932_fit(raw, kSkinTextBytes - 1)));
}

// A number display: "name x y n a1 .. an text". Values beyond the table are read past and dropped.
bool read_display(SkinElement& e, int32_t slot, const std::string& name, LineParser& p) {
    const int32_t n = p.get_int(0);
    e.count = std::clamp(n, 0, kSkinPictures);
    for (int32_t k = 0; k < n && k < 1000; ++k) {
        const int32_t v = p.get_int(-1);
        if (k < kSkinPictures) e.values[size_t(k)] = v;
    }
    const bool num = slot == SKIN_NUM;
    for (int32_t k = 0; k < e.count; ++k) {
        const int32_t v = e.values[size_t(k)];
        if (num ? in_menu(kPieceCounts, v) : in_menu(kStretchSizes, v)) continue;
        tell(naming(num ? ws::tr("shell", "%sのピース数はメニューで選択可能な値を指定してください。")
                        : ws::tr("shell", "%sの拡大縮小サイズはメニューで選択可能な値を指定してください。"),
                    name));
        return false;
    }
    if (e.count < 1) return false;  // a display with nothing to show is no display
    for (int32_t k = 0; k < e.count; ++k)
        if (!load_picture(e, name, k, e.values[size_t(k)])) return false;
    e.text = tooltip_text(p);
    // The display shows the setting when it can; otherwise the setting follows the display.
    int32_t& setting = num ? settings.piece_num : settings.stretch_size;
    const auto* first = e.values.data();
    const auto* found = std::find(first, first + e.count, setting);
    e.current = found == first + e.count ? 0 : int32_t(found - first);
    setting = e.values[size_t(e.current)];
    return true;
}

// Reads the rest of a line for `slot` into `e`. False when the element stays undefined.
bool read_element(SkinElement& e, int32_t slot, LineParser& p) {
    const std::string name = kSkinNames[slot];
    e.left = read_coord(p);
    e.top = read_coord(p);
    if (slot == SKIN_GAME || slot == SKIN_GUIDE) {
        e.width = read_coord(p);
        e.height = read_coord(p);
        e.right = e.left + e.width;
        e.bottom = e.top + e.height;
        return true;
    }
    if (slot == SKIN_NUM || slot == SKIN_SZ) return read_display(e, slot, name, p);
    const bool button = slot >= kFirstButton && slot <= kLastButton;
    e.count = button ? 3 : 1;
    for (int32_t k = 0; k < e.count; ++k)
        if (!load_picture(e, name, k, k)) return false;
    if (slot != SKIN_WIN) e.text = tooltip_text(p);
    return true;
}

int32_t slot_of(const std::string& name) {
    for (int32_t slot = 0; slot < kSkinSlots; ++slot)
        if (name == kSkinNames[slot]) return slot;
    return -1;
}

}  // namespace

void read_skin(std::FILE* file) {
    clear_skin();
    if (!file) return;
    LineParser p(520, '#');
    std::string line;
    while (read_text_line(file, line, 520)) {
        p.set_line(line);
        const std::string name = p.next_token("");
        if (name == "/end") break;
        const int32_t slot = slot_of(name);
        if (slot < 0 || name.empty()) continue;  // unknown names, blank and comment lines
        SkinElement e;
        if (!read_element(e, slot, p)) continue;
        e.defined = 1;
        shell.skin_elements[slot] = std::move(e);
    }
}
