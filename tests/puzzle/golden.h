// Golden files of the cutting tests: expected lines kept as text beside the tests, and the fingerprints
// (FNV-1a over every word of a piece's frames) that let a line stand for a whole picture.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/ddbase.h"
#include "pieces/desk.h"
#include "pieces/piece.h"
#include "puzzle/jig.h"

namespace golden {

// Compares `lines` with tests/<name>. With ZELTO_WRITE_GOLDEN set the file is written afresh instead and the
// test fails, so that a rewritten file is always looked at before it is kept.
inline void expect_lines(const std::string& name, const std::vector<std::string>& lines) {
    const std::string path = std::string(ZELTO_SOURCE_DIR) + "/tests/" + name;
    if (std::getenv("ZELTO_WRITE_GOLDEN")) {
        std::ofstream out(path);
        for (const std::string& l : lines) out << l << '\n';
        ADD_FAILURE() << "wrote " << path << ": check it by hand";
        return;
    }
    std::ifstream in(path);
    std::vector<std::string> want;
    for (std::string l; std::getline(in, l);) want.push_back(l);
    ASSERT_EQ(want.size(), lines.size()) << path;
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(lines[i], want[i]) << path << " line " << i + 1;
}

template <typename Word>
uint64_t frame_hash(int32_t w, int32_t h, Word word) {
    uint64_t hash = 1469598103934665603ull;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) hash = (hash ^ word(x, y)) * 1099511628211ull;
    return hash;
}

inline uint64_t surface_hash(const MemDC& s) {
    return frame_hash(s.width(), s.height(), [&](int32_t x, int32_t y) { return s.words()[size_t(y) * s.width() + x]; });
}

// One line for an item: its cell or group, side, angle, place, offsets and the fingerprints of its image and view
// frames (marks included; the presenter's copy of the view once it was handed over), so that no pixel of the piece
// can change unseen.
inline std::string item_line(const Item& it) {
    const Piece& p = *it.piece;
    const uint64_t image = frame_hash(p.width, p.height, [&](int32_t x, int32_t y) { return p.image_at(x, y); });
    const uint64_t view = frame_hash(p.view_width, p.view_height, [&](int32_t x, int32_t y) {
        return p.view || !desk.presenter ? p.view_at(x, y) : desk.presenter->get_pixel(it.id, x, y);
    });
    char line[300];
    std::snprintf(line, sizeof line, "id=%d turned=%d angle=%.17g centre=%d,%d rect=%d,%d home=%d,%d image=%dx%d:%016llx view=%dx%d:%016llx",
                  it.id, p.turned, p.angle, p.cx, p.cy, p.rect.left, p.rect.top, it.home_dx, it.home_dy, p.width, p.height,
                  (unsigned long long)image, p.view_width, p.view_height, (unsigned long long)view);
    return line;
}

}  // namespace golden
