// read_settings: ZELTORC.TXT line by line into the settings record, then the sound list and the skin file.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <string_view>

#include "graphics/paths.h"
#include "pieces/view.h"
#include "shell/cp932.h"
#include "shell/line_parser.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/state.h"

namespace {

constexpr std::size_t kLineBytes = 520;

// Reads "{int,int,...}" the way a scanf pattern would: values are taken one after another until the first that
// does not match. Returns how many were read.
int scan_braced(std::string_view t, int32_t* values, int count) {
    std::size_t i = 0;
    if (t.empty() || t[0] != '{') return 0;
    ++i;
    for (int k = 0; k < count; ++k) {
        if (k > 0) {
            if (i >= t.size() || t[i] != ',') return k;
            ++i;
        }
        while (i < t.size() && std::isspace((unsigned char)t[i])) ++i;
        if (i < t.size() && t[i] == '+' && ++i < t.size() && t[i] == '-') return k;
        const auto r = std::from_chars(t.data() + i, t.data() + t.size(), values[k]);
        if (r.ec != std::errc()) return k;
        i = std::size_t(r.ptr - t.data());
    }
    return count;
}

void read_point(LineParser& p, Point& pt) {
    int32_t v[2];
    const int n = scan_braced(p.next_token(""), v, 2);
    if (n >= 1) pt.x = v[0];
    if (n >= 2) pt.y = v[1];
}

// A text value of the file: cut to its buffer between characters, then turned into UTF-8.
std::string file_text(const std::string& raw, std::size_t buffer_bytes) {
    return cp932_to_utf8(std::string_view(raw).substr(0, cp932_fit(raw, buffer_bytes - 1)));
}

void read_rest_as_text(LineParser& p, std::string& value, std::size_t buffer_bytes) {
    const std::string raw = p.rest_of_line("");
    if (!raw.empty()) value = file_text(raw, buffer_bytes);
}

void read_int(LineParser& p, int32_t& value) { value = p.get_int(value); }

// Template tables hold 19 points; an edge is a chain of whole Bezier segments, which needs 3k + 1 points, and at
// least one segment (1 point would be no curve, and cutting would use 4 while the file kept 1).
void read_line_num(LineParser& p) {
    const int32_t n = p.get_int(settings.line_num);
    if (n >= 4 && n <= kLinePointsMax && (n - 1) % 3 == 0) settings.line_num = n;
}

void read_line(LineParser& p) {
    const int32_t n = p.get_int(-1);
    if (n < 0 || n >= kLineTemplates) return;
    const int32_t points = std::clamp(settings.line_num, 0, kLinePointsMax);
    for (int32_t i = 0; i < points; ++i) read_point(p, settings.line[n][i]);
}

void read_edge_v(LineParser& p) {
    for (Point& pt : settings.edge_v) read_point(p, pt);
}

void read_kaiten(LineParser& p) {
    const std::string t = p.next_token("");
    if (t == "TRUE") settings.kaiten = 234;
    else if (t == "FALSE") settings.kaiten = 235;
    else if (t == "90") settings.kaiten = 236;
}

void read_mmove(LineParser& p) {
    settings.mmove = p.get_bool(settings.mmove);
    settings.mmove_size = p.get_int(settings.mmove_size);
    settings.mmove_rate = p.get_float(settings.mmove_rate);
}

void read_view(LineParser& p) {
    settings.view = p.get_bool(settings.view);
    settings.view_follow = p.get_bool(settings.view_follow);
    read_rest_as_text(p, settings.view_dir, kPathBytes);
}

void read_guide(LineParser& p) {
    const int32_t n = p.get_int(-1);
    if (n >= 0 && n <= 2) settings.guide = n;
}

void read_back_type(LineParser& p) {
    const int32_t n = p.get_int(0);
    if (n >= 1 && n <= 3) settings.back_type = 242 + n;
}

// Only a token that gives all three components sets the colour; each component keeps its low 8 bits.
void read_back_color(LineParser& p) {
    int32_t v[3];
    if (scan_braced(p.next_token(""), v, 3) != 3) return;
    settings.back_color = uint32_t(v[0] & 0xFF) | uint32_t(v[1] & 0xFF) << 8 | uint32_t(v[2] & 0xFF) << 16;
}

void read_back_img(LineParser& p) {
    read_rest_as_text(p, settings.back_img, kPathBytes);
    if (!file_opens(settings.back_img)) {
        settings.back_type = 243;
        settings.back_img = "none";
    }
}

void read_back_gazou(LineParser& p) {
    const std::string t = p.next_token("");
    if (t == "TRUE") settings.back_gazou = true, settings.back_gazou_line = false;
    else if (t == "FALSE") settings.back_gazou = false, settings.back_gazou_line = false;
    else if (t == "LINE") settings.back_gazou = true, settings.back_gazou_line = true;
    for (double& v : settings.back_gazou_v) v = p.get_float(v);
}

void read_web(LineParser& p) {
    const int32_t n = p.get_int(-1);
    if (n >= 0 && n <= 9) read_rest_as_text(p, settings.web[n], kWebBytes);
}

template <bool Settings::*Field, bool Default>
void read_flag_with_default(LineParser& p) {
    settings.*Field = p.get_bool(Default);
}

template <bool Settings::*Field>
void read_flag(LineParser& p) {
    settings.*Field = p.get_bool(settings.*Field);
}

template <int32_t Settings::*Field>
void read_int_field(LineParser& p) {
    read_int(p, settings.*Field);
}

// The zoom in percent, as written (12.5 for the smallest level); any value comes to the nearest level.
void read_zoom(LineParser& p) {
    const double percent = p.get_float(settings.zoom / 10.0);
    settings.zoom = nearest_zoom(int32_t(std::clamp(percent * 10, 0.0, 1e6)));
}

struct KeyReader {
    const char* key;
    void (*read)(LineParser&);
};

constexpr KeyReader kReaders[] = {
    {"win_left", read_int_field<&Settings::win_left>},
    {"win_top", read_int_field<&Settings::win_top>},
    {"win_width", read_int_field<&Settings::win_width>},
    {"win_height", read_int_field<&Settings::win_height>},
    {"desk_w", read_int_field<&Settings::desk_w>},
    {"desk_h", read_int_field<&Settings::desk_h>},
    {"click_time", read_int_field<&Settings::click_time>},
    {"click_dxdy", read_int_field<&Settings::click_dxdy>},
    {"line_num", read_line_num},
    {"line", read_line},
    {"edge_n", read_int_field<&Settings::edge_n>},
    {"edge_v", read_edge_v},
    {"piece_num", read_int_field<&Settings::piece_num>},
    {"stretch_size", read_int_field<&Settings::stretch_size>},
    {"kaiten", read_kaiten},
    {"hanten", read_flag<&Settings::hanten>},
    {"mmove", read_mmove},
    {"image", read_flag<&Settings::image>},
    {"view", read_view},
    {"guide", read_guide},
    {"back_type", read_back_type},
    {"back_color", read_back_color},
    {"back_img", read_back_img},
    {"back_gazou", read_back_gazou},
    {"dtsave", read_flag<&Settings::dtsave>},
    {"web", read_web},
    {"kage", read_flag_with_default<&Settings::kage, true>},
    {"seiretu", read_flag_with_default<&Settings::seiretu, false>},
    {"ddraw", read_flag_with_default<&Settings::ddraw, true>},
    {"smooth", read_flag_with_default<&Settings::smooth, true>},
    {"nokosu", read_flag_with_default<&Settings::nokosu, false>},
    {"tray", read_flag_with_default<&Settings::tray, false>},
    {"sound", read_flag<&Settings::sound>},
    {"skin", read_flag<&Settings::skin>},
    {"trace", read_flag<&Settings::trace>},
    {"zoom", read_zoom},
};

void read_optional_file(const char* path, void (*reader)(std::FILE*)) {
    std::FILE* f = open_file(path, "rb");
    if (f == nullptr) return;
    reader(f);
    std::fclose(f);
}

}  // namespace

void read_settings_from(std::FILE* file) {
    if (file == nullptr) return;
    LineParser parser(kLineBytes, '#');
    std::string piece;
    while (read_text_line(file, piece, kLineBytes)) {
        parser.set_line(piece);
        const std::string key = parser.next_token("");
        for (const KeyReader& r : kReaders) {
            if (key == r.key) {
                r.read(parser);
                break;
            }
        }
    }
}

void read_settings(const char* path) {
    std::FILE* f = path != nullptr ? open_file(path, "rb") : nullptr;
    if (f == nullptr) return;
    read_settings_from(f);
    std::fclose(f);
    read_optional_file("SOUND\\SOUND.TXT", read_sound_list);
    if (settings.skin && shell.read_skin_file != nullptr) read_optional_file("SKIN\\SKIN.TXT", shell.read_skin_file);
}
