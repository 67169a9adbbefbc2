// The layout of a saved game (".zlt"): encoding its blocks, and a reader that checks a whole file before use.
//
// A saved game is a 48-byte header, one block per grid cell (its owner and the points of its four edges), one
// 80-byte block per display item (bottom first), then the picture file the puzzle was cut from, byte for byte.
// Integers are 32-bit little-endian, the angle an 8-byte IEEE double; there is no magic number and no version,
// and the edges are stored with the game's current number of points per edge. The reader therefore trusts
// nothing: a file is taken only when its picture offset agrees with its own counts and those points, its counts
// fit the game's tables, its groups are whole (every group owns its own cell, every cell belongs to a group), and
// its picture decodes whole (the pieces were cut from the whole picture; a file cut short inside its picture has
// right counts and gives pieces of grey or black).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/geometry.h"
#include "puzzle/jig.h"

namespace save_format {

inline constexpr int64_t header_bytes = 48;
inline constexpr int64_t item_bytes = 80;
// Offsets of single header fields, for readers that need only one.
inline constexpr int64_t picture_type_at = 4;
inline constexpr int64_t item_count_at = 32;

// Bytes of one cell block for edges of `points` points.
inline int64_t cell_bytes(int32_t points) { return 4 + 32 * int64_t(points); }
// Where the picture begins in a file of `cells` cells and `items` items.
inline int64_t picture_offset_for(int64_t cells, int64_t items, int32_t points) {
    return header_bytes + cells * cell_bytes(points) + items * item_bytes;
}

struct Header {
    int32_t picture_offset = 0;
    int32_t picture_type = 0;  // 0 = BMP, 1 = JPEG, 2 = another format's own file bytes
    int32_t piece_num = 0;     // the settings the game was built with
    int32_t stretch_size = 0;
    int32_t pic_w = 0, pic_h = 0;
    int32_t cols = 0, rows = 0;
    int32_t item_count = 0;
    int32_t play_seconds = 0;
    int32_t view_x = 0, view_y = 0;
};

// One display item as stored: the item's offsets and its piece's placement.
struct SavedItem {
    int32_t id = 0;
    int32_t home_dx = 0, home_dy = 0, join_dx = 0, join_dy = 0;
    int32_t width = 0, height = 0, view_width = 0, view_height = 0;
    int32_t cx = 0, cy = 0, grab_x = 0, grab_y = 0;
    double angle = 0;
    int32_t turned = 0;
    Rect rect;
};

// A whole saved game as read, checked and not yet applied to any game.
struct SavedGame {
    Header header;
    std::vector<Cell> cells;  // cols x rows, row-major; points beyond the stored ones are zero
    std::vector<SavedItem> items;
    int64_t file_size = 0;
};

enum class Check { ok, unreadable, malformed };

// ---- writing ----
void put_header(std::vector<uint8_t>& out, const Header& h);
void put_cell(std::vector<uint8_t>& out, const Cell& cell, int32_t points);
void put_item(std::vector<uint8_t>& out, const SavedItem& item);

// ---- reading ----
// Reads the header from the start of `file` and checks it on its own and against the file's length: known
// picture type, grid and item counts within the tables, a picture size of whole cells of at least 2 x 2 pixels,
// no negative play time, and a picture offset equal to the layout's and followed by at least one picture byte.
// unreadable: there is no file; malformed: it is shorter than a header, cannot be read, or a check failed.
Check read_header(std::FILE* file, int32_t points, Header& out, int64_t& file_size);
// read_header, then every cell and item block, checked: owners and ids inside the grid, ids distinct, each id
// the owner of its own cell, every cell owned by a live id, edge points near the picture, turned 0 or 1, the
// angle finite and placements within the desk's reach. `out` is complete only when ok is returned.
Check read_saved_game(std::FILE* file, int32_t points, SavedGame& out);

// Whether the picture of a file whose header read_header took (from its picture offset to the end of the file,
// `file_size` bytes in all) decodes whole as its type says: every row, and no warning or error of the decoder.
// Quiet: nothing is shown or printed.
bool picture_whole(std::FILE* file, const Header& h, int64_t file_size);

// Copies `file` from byte `from` to its end into `to`. False on a read or write error.
bool copy_tail(std::FILE* file, int64_t from, std::FILE* to);

}  // namespace save_format
