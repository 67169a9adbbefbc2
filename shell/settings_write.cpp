// write_settings: the settings record as the lines of ZELTORC.TXT, in code page 932.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <utility>

#include "graphics/durable.h"
#include "graphics/paths.h"
#include "graphics/zoom.h"
#include "shell/cp932.h"
#include "shell/settings.h"

namespace {

const char* tf(bool b) { return b ? "TRUE" : "FALSE"; }

// "%f" without the locale: the toolkit may have switched the process to one with a decimal comma.
std::string fixed6(double v) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0.000000");
}

std::string format(const char* fmt, long a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

std::string point(const Point& p) { return " {" + std::to_string(p.x) + "," + std::to_string(p.y) + "}"; }

// A text as it must stand in the file to read back unchanged: code page 932, with the comment mark and line ends
// as references, and leading blanks too (the reader skips blanks before a value). It is cut where the reader would
// cut it, so no line grows past the reader's buffer and spills into a line of its own.
std::string disk_text(const std::string& utf8, std::size_t buffer_bytes) {
    const std::string bytes = utf8_to_cp932(utf8, "#\n\r");
    std::string out;
    std::size_t i = 0;
    for (;; ++i) {
        if (i < bytes.size() && bytes[i] == ' ') out += "&x20;";
        else if (i < bytes.size() && bytes[i] == '\t') out += "&x9;";
        else if (i + 1 < bytes.size() && (unsigned char)bytes[i] == 0x81 && (unsigned char)bytes[i + 1] == 0x40)
            out += "&x3000;", ++i;
        else break;
    }
    out += bytes.substr(i);
    out.resize(cp932_fit(out, buffer_bytes - 1));
    return out;
}

void write_window_and_lines(std::string& out) {
    const Settings& s = settings;
    out += format("win_left   %ld\n", s.win_left) + format("win_top    %ld\n", s.win_top);
    out += format("win_width  %ld\n", s.win_width) + format("win_height %ld\n", s.win_height);
    out += format("desk_w     %ld\n", s.desk_w) + format("desk_h     %ld\n", s.desk_h);
    out += format("click_time %ld\n", s.click_time) + format("click_dxdy %ld\n", s.click_dxdy);
    out += format("line_num   %ld\n", s.line_num);
    const int32_t points = std::clamp(s.line_num, 0, kLinePointsMax);
    for (int32_t n = 0; n < kLineTemplates; ++n) {
        out += format("line %ld", n);
        for (int32_t i = 0; i < points; ++i) out += point(s.line[n][i]);
        out += "\n";
    }
    out += format("edge_n\t%ld\n", s.edge_n) + "edge_v\t";
    for (const Point& p : s.edge_v) out += point(p);
    out += "\n";
    out += format("piece_num\t%ld\n", s.piece_num) + format("stretch_size\t%ld\n", s.stretch_size);
}

void write_play_and_view(std::string& out) {
    const Settings& s = settings;
    if (s.kaiten == 234) out += "kaiten\tTRUE\n";
    else if (s.kaiten == 235) out += "kaiten\tFALSE\n";
    else if (s.kaiten == 236) out += "kaiten\t90\n";
    out += std::string("hanten\t") + tf(s.hanten) + "\n";
    out += std::string("mmove\t") + tf(s.mmove) + "\t" + std::to_string(s.mmove_size) + "\t" + fixed6(s.mmove_rate) +
           "\n";
    out += std::string("image\t") + tf(s.image) + "\n";
    out += std::string("view\t") + tf(s.view) + "\t" + tf(s.view_follow) + "\t";
    out += disk_text(s.view_dir, kPathBytes) + "\n";
    out += format("guide\t%ld\n", s.guide);
}

void write_background(std::string& out) {
    const Settings& s = settings;
    if (s.back_type >= 243 && s.back_type <= 245) out += format("back_type\t%ld\n", s.back_type - 242);
    char colour[64];
    std::snprintf(colour, sizeof colour, "back_color\t{%u,%u,%u}\n", unsigned(s.back_color & 0xFF),
                  unsigned((s.back_color >> 8) & 0xFF), unsigned((s.back_color >> 16) & 0xFF));
    out += colour;
    out += "back_img\t" + disk_text(s.back_img, kPathBytes) + "\n";
    out += "back_gazou\t";
    out += !s.back_gazou ? "FALSE" : s.back_gazou_line ? "LINE" : "TRUE";
    for (double v : s.back_gazou_v) out += " " + fixed6(v);
    out += "\n";
}

void write_switches(std::string& out) {
    const Settings& s = settings;
    out += std::string("dtsave\t\t") + tf(s.dtsave) + "\n";
    for (int n = 0; n < 10; ++n) out += format("web\t%ld\t", n) + disk_text(s.web[n], kWebBytes) + "\n";
    const std::pair<const char*, bool> flags[] = {
        {"kage", s.kage},     {"seiretu", s.seiretu}, {"ddraw", s.ddraw}, {"smooth", s.smooth}, {"nokosu", s.nokosu},
        {"tray", s.tray},     {"sound", s.sound},     {"skin", s.skin},   {"trace", s.trace},
    };
    for (const auto& [key, on] : flags) out += std::string(key) + "\t" + tf(on) + "\n";
}

// Keys the program added later stand only when they differ from their defaults, so a first run writes the file
// as it always did.
void write_later_keys(std::string& out) {
    const int32_t zoom = settings.zoom;
    if (zoom == kZoomFull) return;
    out += "zoom\t" + std::to_string(zoom / 10) + (zoom % 10 ? "." + std::to_string(zoom % 10) : "") + "\n";
}

std::string settings_text() {
    std::string out;
    write_window_and_lines(out);
    write_play_and_view(out);
    write_background(out);
    write_switches(out);
    write_later_keys(out);
    return out;
}

bool write_all(std::FILE* f, const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return written && std::fflush(f) == 0 && std::ferror(f) == 0;
}

}  // namespace

void write_settings_to(std::FILE* file) {
    if (file != nullptr) write_all(file, settings_text());
}

bool write_settings(const char* path) {
    if (path == nullptr || *path == '\0') return false;
    const std::string text = settings_text();
    return durable_write(resolve_path(path), [&](std::FILE* f) { return write_all(f, text); });
}
