// The game record: the Jig record (cells with their cutting lines, the display list, the fitted picture) and Item,
// with what fits, cuts and joins a game. The operations of play and of the desk's display take the record as their
// first argument and live in those folders (play/play.h, play/jig.h, desk/display.h, desk/title.h, desk/background.h).
//
// Terms: a cell is one rectangle of the grid laid over the picture; a group is a set of cells joined into one
// piece on the desk; a display item is one group's entry in the z-ordered display list (bottom first).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/geometry.h"
#include "pieces/shading.h"

class MemDC;
class DDBase;
class DeskIndex;
struct Piece;

// The most cells a grid has. A game asking for no more than classic_cells keeps to that bound, so every such game
// cuts exactly as it always did; the tables of a game are sized by its own grid.
inline constexpr int32_t max_cells = 10000;
inline constexpr int32_t classic_cells = 1000;
// A cutting line holds at most this many points (1 + 3 x 6 Bezier segments).
inline constexpr int32_t max_line_points = 19;

// Sides of a cell, in the order its edges are stored.
enum : int32_t { SIDE_LEFT = 0, SIDE_TOP = 1, SIDE_RIGHT = 2, SIDE_BOTTOM = 3 };

// One grid cell: its outline in picture pixels and the group it belongs to.
// Left and right edges run top to bottom, top and bottom edges left to right; each uses its first `line_num`
// points. Two neighbouring cells hold the very same points for the edge they share.
struct Cell {
    Point edges[4][max_line_points] = {};
    int32_t owner = 0;  // id of the group holding this cell; starts as the cell's own index
};

// One display item: a group's piece and where its picture sits relative to the whole picture.
struct Item {
    Piece* piece = nullptr;  // owned
    int32_t id = 0;          // group id (a single piece's cell index); -1 while not yet cut
    int32_t home_dx = 0;     // from the centre of the group's upright bitmap to the picture's centre
    int32_t home_dy = 0;     //   (for a group lying turned over: pic_w - that x)
    int32_t join_dx = 0;     // copy of home_dx/home_dy read by the join test
    int32_t join_dy = 0;
    int32_t merged = 0;      // 1 = a joined group, 0 = a single piece
    int32_t seen = 0;        // mark of the unseen-pieces sweep
    int32_t hidden = 0;      // 1 = put into a tray
    int32_t banded = 0;      // 1 = centre inside the range selection
};

// What a reader of the picture file needs to have the file's own pixels from a game's picture kept at the file's
// size: pure black and white were moved to two near words for the cut, and only pixels that already held one of
// those words in the file cannot be told from them.
struct FileColours {
    std::string path;               // the file whose pixels the picture holds; empty = it holds no file's own
    uint32_t black = 0, white = 0;  // the words pure black and pure white became
    std::vector<uint32_t> already;  // sorted word indices of the pixels that held one of those words in the file
};

// Tag for a cleared game record with no picture (tests and tools that lay a game by hand).
struct blank_game_t {
    explicit blank_game_t() = default;
};
inline constexpr blank_game_t blank_game{};

struct Jig {
    std::vector<Cell> cells;       // the grid's cells, row by row (size_tables)
    std::vector<Item> items;       // the display list, as many entries as cells
    MemDC* picture = nullptr;      // the fitted picture, owned
    // The picture again at fine_scale thousandths of the fitted one's size (owned), fitted from the file at once,
    // for a screen of more pixels than the fitted picture has: none when the screen has no more or the file had
    // nothing finer to give.
    MemDC* fine_picture = nullptr;
    int32_t fine_scale = 1000;
    MemDC* under_cache = nullptr;  // the desk under the held item without it, owned (the drag's save-under)
    // Presenter path: where under_cache was taken (desk coordinates), and the presenter's write count once the held
    // item was drawn over it; any write since means the two no longer agree.
    Rect under_rect;
    uint64_t under_writes = 0;
    int32_t pic_w = 0, pic_h = 0;  // picture size, trimmed to whole cells
    int32_t cols = 0, rows = 0;
    int32_t item_count = 0;        // live display items; 0 = the picture could not be read
    int32_t cut_count = 0;         // pieces cut so far
    int32_t holding = 0;
    int32_t two_buttons = 0;
    int32_t sweep_reset = 0;
    int32_t picture_type = 0;      // what the picture file holds: 0 = BMP, 1 = JPEG, 2 = another format
    bool on_desk = true;           // false for a record only fitted, which owns nothing of the desk yet
    bool picture_damaged = false;  // the picture file ended early or was damaged: a save rewrites it whole

    // A game on `path`: the picture fitted and its grid chosen (item_count 0: unusable), with nothing outside the
    // record touched, so that the game to come can be checked while the game in play still stands. A record
    // destroyed before it is laid out (lay_out in play/jig.h) leaves the desk, the windows and the temporary
    // pictures to the game in play.
    explicit Jig(const std::string& path);
    // A cleared record whose tables hold `cells` cells and items.
    explicit Jig(blank_game_t, int32_t cells = classic_cells);
    // A record laid on the desk (on_desk) ends as the game in play through hooks.end_of_laid_game, then frees its
    // pieces and pictures.
    ~Jig();
    Jig(const Jig&) = delete;
    Jig& operator=(const Jig&) = delete;

    // ---- fitting and grid (puzzle/fit.cpp) ----
    // Loads the picture file and fits it to stretch_size; 0 when it cannot be read or is too thin to cut into
    // pieces (told to the player; nothing is kept).
    int32_t stretch(const std::string& path);
    // Moves pure black and pure white picture pixels to near_black / near_white, keeping white for the cut.
    void replace_black_white();
    // Sets cols, rows, item_count from piece_num (lowering a setting above max_cells), trims pic_w, pic_h and sizes
    // the tables.
    // A picture too small for one cell with an inside gives item_count 0 (the game is unusable).
    void make_grid();
    // Set by stretch and replace_black_white while they keep the file's pixels with few near words among them.
    FileColours file_colours;
    // Gives back pure black and pure white to a w x h stretch of the whole picture drawn at (0, 0) of `fitted`
    // (clipped to it), wherever file_colours tells that the file had them.
    void restore_black_white(MemDC& fitted, int32_t w, int32_t h) const;

    // ---- cutting lines (puzzle/lines.cpp) ----
    // Seeds the game's random generator from the clock and lays every cell's four edges; owner = own index.
    void line_init();
    // Owner of the neighbouring cell on that side, or -1 on that border of the grid.
    int32_t left_owner(int32_t col, int32_t row) const;
    int32_t top_owner(int32_t col, int32_t row) const;
    int32_t right_owner(int32_t col, int32_t row) const;
    int32_t bottom_owner(int32_t col, int32_t row) const;

    // ---- groups (puzzle/groups.cpp) ----
    // The cells of group g, ascending. A live group holds its own cell g and hangs together along shared edges
    // (groups join only there), so it is walked from that cell through the owner table: the walk meets the group
    // and its border, never the rest of the grid. None when cell g is not group g's.
    std::vector<int32_t> group_cells(int32_t g) const;
    // The groups owning a cell that shares an edge with a cell of group g, each once, ascending.
    std::vector<int32_t> neighbour_groups(int32_t g) const;

    // ---- cutting (puzzle/cut.cpp) ----
    // Makes the next piece, lays it on the desk, draws it and gives its desk rectangle. client_w, client_h: the
    // game window's client size, over whose left and upper part the pieces are scattered (those of a game of more
    // than classic_cells are spread over the whole desk).
    Rect cut(int32_t client_w, int32_t client_h);
    // Cuts the picture of one cell into items[item].piece (which exists and has `turned` set).
    void cut_piece(int32_t cell, int32_t item);

    // ---- joining (puzzle/joint.cpp) ----
    // Cuts group g afresh from the picture into items[k].piece (fresh, `turned` set by the caller).
    void joint_piece(int32_t g, int32_t k);

    // ---- the finer cut (puzzle/fine.cpp) ----
    // Item k's piece as cut from the finer picture, turned and shaded as it lies and centred on its centre times
    // the scale: what a screen of `device` thousandths shows of it at full size. Made when first asked for and
    // again when the piece turns; none without a finer picture of that scale or without a piece.
    Piece* fine_piece(int32_t k, int32_t device);

    // ---- where the items lie (puzzle/desk_order.cpp) ----
    // Each asks the desk index, which files every piece of the display list and follows their moves, so that a
    // desk of many groups is not searched item by item. A piece put into an item by hand is filed when the number
    // of items or of cut pieces changes, or by refile.
    // The display index of group id's item; -1 when no live item holds it.
    int32_t item_of(int32_t id);
    // The top-most item not in a tray whose piece holds (x, y) on its shape; -1 when none does.
    int32_t top_item_at(int32_t x, int32_t y);
    // The items with a piece whose rect meets r, bottom first (those in a tray included).
    void items_over(const Rect& r, std::vector<int32_t>& out);
    // Moves item k to the top of the display list.
    void raise_item(int32_t k);
    // Files item k's piece afresh (a new piece in an old item).
    void refile(int32_t k);

    // ---- housekeeping (puzzle/jig.cpp) ----
    // Makes both tables hold n cleared entries (n below 0: none). Pieces still in the display list are the
    // caller's to free first.
    void size_tables(int32_t n);
    // The display items the tables hold, and the cells of the grid they hold.
    int32_t live_items() const;
    int32_t live_cells() const;
    // Releases the device contexts of the pieces' surfaces (the pixels stay).
    void free_dc();
    void reset_sweep() { sweep_reset = 1; }

private:
    void sync_index();
    void rebuild_index();
    void file_item(int32_t k);
    Piece* attach(int32_t k);  // item k's piece, told where it is filed
    std::unique_ptr<DeskIndex> index_;
    Shading fine_look_;  // how the finer views were shaded
    std::vector<int32_t> place_;  // group id -> display index, checked before use
    int32_t indexed_items_ = -1, indexed_cut_ = 0;
};

