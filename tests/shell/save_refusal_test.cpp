// Damaged saved games are refused with a message and leave the game in play as it was; failed saves keep the
// previous file and the game.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <limits>
#include <map>
#include <tuple>

#include "shell/shell_test.h"

using namespace shelltest;

namespace {

// The parts of a game that a refused load must leave alone.
auto state_of(const Jig& g) {
    std::vector<int32_t> owners, ids;
    std::vector<const Piece*> pieces;
    for (const Cell& c : g.cells) owners.push_back(c.owner);
    for (const Item& i : g.items) ids.push_back(i.id), pieces.push_back(i.piece);
    return std::tuple(g.item_count, g.cut_count, g.cols, g.rows, g.pic_w, owners, ids, pieces, display.clock_carry,
                      desk.view_x);
}

constexpr int32_t kCells = 4;

class SaveRefusal : public SaveTest {
protected:
    // A 2 x 2 game with one join saved to "p.zlt", and a game built on the same picture to load into.
    void SetUp() override {
        SaveTest::SetUp();
        Jig& g = cut_game("p.bmp", 64, 64, 4);
        join(g, 2, 3);
        ASSERT_EQ(save_game(g, "p.zlt"), 1);
        good_ = read_file("p.zlt");
        target_ = &cut_game("p.bmp", 0, 0, 4);
    }
    // A damaged file is refused by every reader, each saying so; one whole in itself but not of the game in play
    // only on loading; a missing one is not mentioned until loading.
    enum Kind { broken, usable, missing };
    // Writes `bytes` as "bad.zlt" (removes it when `missing`) and expects the readers to refuse it as `kind` says,
    // the game in play untouched.
    void expect_refused(const std::string& bytes, const std::string& why, Kind kind = broken) {
        SCOPED_TRACE(why);
        kind == missing ? void(fs::remove("bad.zlt")) : write_file("bad.zlt", bytes);
        const auto before = state_of(*target_);
        const size_t boxes = ws::test::messages().size();
        EXPECT_EQ(saved_game_usable("bad.zlt"), int32_t(kind == usable));
        play.save_path = "kept.zlt";
        std::string picture = play.picture_path, listed = "bad.zlt";
        play.game_piece_num = -5;
        if (kind != usable) {
            EXPECT_EQ(begin_resume("bad.zlt", [] { ADD_FAILURE() << "the game in play was ended"; return false; }), 0);
            EXPECT_EQ(extract_picture("bad.zlt", picture), 0);
        }
        // The list's header readers, which neither tell nor decode, refuse a file that ends before its picture.
        int32_t count = -1;
        const int32_t list = peek_item_count("bad.zlt", count) + extract_picture_for_list(listed, listed);
        if (bytes.size() < 48 || bytes.size() <= size_t(uint32_t(le32(bytes, 0)))) {
            EXPECT_EQ(list + count, -1);
        }
        const auto kept = std::tuple(play.save_path, picture, play.game_piece_num);
        EXPECT_EQ(kept, std::tuple("kept.zlt", play.picture_path, -5));
        EXPECT_EQ(load_game(*target_, "bad.zlt"), 0);
        EXPECT_TRUE(state_of(*target_) == before);
        ASSERT_EQ(ws::test::messages().size(), boxes + (kind == broken ? 4 : 1));
        char told[1200];
        std::snprintf(told, sizeof told, kind == missing ? kSaveMissingText : kSaveBrokenText, "bad.zlt");
        EXPECT_EQ(ws::test::messages().back().text, told);
        EXPECT_EQ(ws::test::messages().back().caption, kSaveNoticeTitle);
    }

    std::string good_;
    Jig* target_ = nullptr;
};

TEST_F(SaveRefusal, EveryTruncationUpToThePictureIsRefusedAndTheWholeFileLoads) {
    const size_t offset = size_t(le32(good_, 0));
    ASSERT_EQ(offset, item_at(3));
    for (size_t n = 0; n <= offset && !HasFatalFailure(); n += n < 60 || n > offset - 90 ? 1 : 7)
        expect_refused(good_.substr(0, n), "length " + std::to_string(n));
    EXPECT_EQ(saved_game_usable("p.zlt"), 1);
    EXPECT_EQ(load_game(*target_, "p.zlt"), 1);
    EXPECT_EQ(target_->item_count, 3);
}

TEST_F(SaveRefusal, FieldsThatContradictTheTablesEachOtherOrTheGameInPlayAreRefused) {
    // The joined group owns two cells: its own and the cell whose id went away with the join.
    int32_t owner[kCells], gone = -1, single = -1;
    for (int32_t k = 0; k < kCells; ++k) owner[k] = le32(good_, cell_at(k));
    for (int32_t k = 0; k < kCells; ++k) {
        if (owner[k] != k) gone = k;
        else if (std::count(owner, owner + kCells, k) == 1) single = k;
    }
    ASSERT_TRUE(gone >= 0 && single >= 0);
    // The fields of data/refused_fields.txt: AT OFFSET VALUE KIND WHY, places and values by these names or as numbers.
    const std::map<std::string, int64_t> named = {{"item0", item_at(0)}, {"item1", item_at(1)}, {"cell1", cell_at(1)},
        {"cells_end", cell_at(kCells)}, {"cell_gone", cell_at(gone)}, {"cell_single", cell_at(single)},
        {"id0", le32(good_, item_at(0))}, {"owner_gone", owner[gone]}, {"gone", gone}, {"cells", kCells},
        {"max", std::numeric_limits<int32_t>::max()}};
    const auto num = [&](const std::string& w) { return named.count(w) ? named.at(w) : std::stoll(w, nullptr, 0); };
    for (const testsupport::Fields& f : testsupport::read_cases("shell/data/refused_fields.txt"))
        expect_refused(with_le(good_, size_t(num(f[0]) + std::stoll(f[1])), int32_t(num(f[2]))),
                       testsupport::joined({f.begin() + 4, f.end()}), f[3] == "usable" ? usable : broken);
    for (double angle : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        expect_refused(with_le(good_, item_at(1) + 52, angle), "angle " + std::to_string(angle));
    expect_refused(good_.substr(0, size_t(le32(good_, 0))), "no picture bytes");
    // Grids beyond the largest game, each with a matching offset and a picture byte after it.
    for (const auto& [cols, rows] : {std::pair{101, 100}, {10001, 1}}) {
        const int32_t end = 48 + cols * rows * 324 + 80;
        std::string huge(size_t(end) + 1, '\0');
        for (auto [at, v] : {std::pair{0, end}, {8, 4}, {16, 2 * cols}, {20, 2 * rows}, {24, cols}, {28, rows}, {32, 1}})
            huge = with_le(huge, size_t(at), v);
        expect_refused(huge, std::to_string(cols) + " x " + std::to_string(rows) + " cells");
    }
    settings.line_num = 13;  // the file's edges were laid with 10 points
    line_const_init();
    expect_refused(good_, "another number of points per edge");
    expect_refused("", "a missing file", missing);
    Jig unusable(blank_game);  // an unreadable picture gives no game to load into
    EXPECT_EQ(load_game(unusable, "p.zlt") + unusable.item_count, 0);
}

// A game's pieces are cut from its whole picture, so a saved game on a BMP, a JPEG or a GIF is refused when it is cut
// short anywhere up to the end of its picture's data, or when a byte is flipped in any part where its counts,
// its ranges or the picture's decoder can tell (a flipped pixel byte cannot be told: the file has no checksum).
TEST_F(SaveRefusal, AGameCutShortOrFlippedInAnyPartIsRefused) {
    settings.stretch_size = 200;
    fs::copy_file(ZELTO_SOURCE_DIR "/data/data/mountains.jpg", "m.jpg");
    ASSERT_EQ(save_game(cut_game("m.jpg", 0, 0, kCells), "m.zlt"), 1);
    const std::string jpeg = read_file("m.zlt");
    fs::copy_file(ZELTO_SOURCE_DIR "/tests/ws/data/quadrants.gif", "q.gif");
    ASSERT_EQ(save_game(cut_game("q.gif", 0, 0, kCells), "q.zlt"), 1);
    const std::string gif = read_file("q.zlt");
    target_ = &cut_game("p.bmp", 0, 0, kCells);
    const size_t at_bmp = size_t(le32(good_, 0)), at_jpeg = size_t(le32(jpeg, 0));
    // The picture's own fields: the BMP's width and height; the JPEG's height, its scan's marker, its end mark.
    const struct { const std::string& whole; std::vector<size_t> picture_flips; } games[] = {
        {good_, {at_bmp + 19, at_bmp + 22}},
        {jpeg, {jpeg.find("\xFF\xC0", at_jpeg) + 5, jpeg.find("\xFF\xDA", at_jpeg) + 1, jpeg.size() - 1}},
        {gif, {gif.size() - 1}}};
    for (const auto& [whole, picture_flips] : games) {
        const size_t end = whole.size(), picture = size_t(le32(whole, 0));
        // Cut inside the header, a cell, an item, the picture's header and its data, and by one or two bytes.
        std::vector<size_t> cuts = {30, cell_at(2) + 101, item_at(1) + 55, picture + 1, picture + 40, end - 2, end - 1};
        for (size_t k = 1; k < 16; ++k) cuts.push_back(end * k / 16);
        for (size_t n : cuts) expect_refused(whole.substr(0, n), "cut to " + std::to_string(n) + " of the game");
        // The picture's offset, the grid's columns, a cell's edge point, an item's id and its turned mark, the
        // picture's first two bytes.
        std::vector<size_t> flips = {1, 26, cell_at(1) + 6, item_at(1) + 1, item_at(0) + 62, picture, picture + 1};
        flips.insert(flips.end(), picture_flips.begin(), picture_flips.end());
        for (size_t at : flips) {
            std::string flipped = whole;
            flipped.at(at) = char(flipped.at(at) ^ 0x35);
            expect_refused(flipped, "flipped at " + std::to_string(at) + " of " + std::to_string(end));
        }
    }
    EXPECT_EQ(saved_game_usable("m.zlt") + saved_game_usable("p.zlt"), 2);
}

// Files the program replaces stay whole when the disk fills up or no temporary file can be made beside them: the
// old version is kept, nothing is left beside it, and a failed save is told.
TEST_F(SaveRefusal, AFullDiskOrNoFreeFileKeepsTheOldFileWhole) {
    const struct { const char* file; std::function<bool()> write; size_t told; } writers[] = {
        {"ZELTORC.TXT", [] { return write_settings("ZELTORC.TXT"); }, 0},
        {"game.zlt", [this] { return save_game(*target_, "game.zlt") == 1; }, 1},
        {"desk.bmp",
         [] { return std::snprintf(graphics.bmp_name, 9, "desk.bmp") && save_bmp(*desk.desk_image, 0, 0, 0, 0); }, 0}};
    signal(SIGXFSZ, SIG_IGN);  // past the limit a write fails instead of ending the process
    for (auto [limit, value] : {std::pair{RLIMIT_FSIZE, 512}, {RLIMIT_NOFILE, 3}})
        for (const auto& w : writers) {
            SCOPED_TRACE(w.file + std::string(limit == RLIMIT_FSIZE ? " full disk" : " no free file"));
            write_file(w.file, "old");
            const auto files = std::distance(fs::directory_iterator("."), {});
            const size_t told = ws::test::messages().size();
            rlimit normal{};
            getrlimit(limit, &normal);
            const rlimit low{rlim_t(value), normal.rlim_max};
            setrlimit(limit, &low);
            const bool written = w.write();
            setrlimit(limit, &normal);
            EXPECT_FALSE(written);
            EXPECT_EQ(read_file(w.file), "old");
            EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), files) << "a partial file was left";
            EXPECT_EQ(ws::test::messages().size(), told + w.told);
            EXPECT_TRUE(w.write());
            EXPECT_GT(read_file(w.file).size(), 512u);
        }
    signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
