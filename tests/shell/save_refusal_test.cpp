// Damaged saved games are refused with a message and leave the game in play as it was; failed saves keep the
// previous file and the game.
#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "shell/save_support.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace save_test;

namespace {

// The parts of a game that a refused load must leave alone.
struct GameState {
    int32_t item_count, cut_count, cols, rows, pic_w, pic_h;
    std::vector<int32_t> owners, ids;
    std::vector<const Piece*> pieces;
    int32_t clock_carry, view_x, view_y;
    bool operator==(const GameState&) const = default;
};

GameState state_of(const Jig& g) {
    GameState s{g.item_count, g.cut_count,         g.cols,      g.rows,     g.pic_w, g.pic_h, {}, {},
                {},           display.clock_carry, desk.view_x, desk.view_y};
    for (int32_t k = 0; k < max_cells; ++k) s.owners.push_back(g.cells[k].owner);
    for (int32_t i = 0; i < max_items; ++i) {
        s.ids.push_back(g.items[i].id);
        s.pieces.push_back(g.items[i].piece);
    }
    return s;
}

// A loaded game is whole: every item's id owns its own cell, every cell belongs to an item, all pieces are cut.
void expect_whole(const Jig& g) {
    ASSERT_GE(g.item_count, 1);
    ASSERT_LE(g.item_count, g.cols * g.rows);
    EXPECT_EQ(g.cut_count, g.item_count);
    std::vector<int> live(size_t(g.cols * g.rows), 0);
    for (int32_t i = 0; i < g.item_count; ++i) {
        const int32_t id = g.items[i].id;
        ASSERT_TRUE(id >= 0 && id < g.cols * g.rows) << id;
        EXPECT_EQ(g.cells[id].owner, id);
        ASSERT_NE(g.items[i].piece, nullptr);
        EXPECT_NE(g.items[i].piece->image, nullptr);
        live[size_t(id)] = 1;
    }
    for (int32_t k = 0; k < g.cols * g.rows; ++k) EXPECT_TRUE(live.at(size_t(g.cells[k].owner))) << k;
}

class SaveRefusal : public SaveTest {
protected:
    // A 2 x 2 game with one join saved to "p.zlt", and a game built on the same picture to load into.
    void SetUp() override {
        SaveTest::SetUp();
        write_pattern_bmp(file("p.bmp"), 64, 64);
        auto game = cut_game(file("p.bmp"), 4);
        join_items(*game, 2, 3);
        ASSERT_EQ(save_game(*game, file("p.zlt")), 1);
        good_ = read_bytes(file("p.zlt"));
        target_ = cut_game(file("p.bmp"), 4);
    }

    std::string broken_text(const std::string& path) const {
        char buf[1200];
        std::snprintf(buf, sizeof buf, kSaveBrokenText, path.c_str());
        return buf;
    }

    // Writes `bytes` as "bad.zlt" and expects every reader to refuse it, the game in play untouched.
    void expect_refused(const Bytes& bytes, const std::string& why) {
        SCOPED_TRACE(why);
        write_bytes(file("bad.zlt"), bytes);
        const GameState before = state_of(*target_);
        const size_t told = ws::test::messages().size();
        bool ended = false;
        play.save_path = "kept.zlt";
        EXPECT_EQ(begin_resume(file("bad.zlt"), [&] { ended = true; }), 0);
        EXPECT_FALSE(ended);
        EXPECT_EQ(play.save_path, "kept.zlt");
        std::string picture = play.picture_path;
        play.game_piece_num = -5;
        EXPECT_EQ(extract_picture(file("bad.zlt"), picture), 0);
        EXPECT_EQ(picture, play.picture_path);
        EXPECT_EQ(play.game_piece_num, -5);
        EXPECT_EQ(load_game(*target_, file("bad.zlt")), 0);
        EXPECT_TRUE(state_of(*target_) == before);
        const auto& boxes = ws::test::messages();
        ASSERT_EQ(boxes.size(), told + 3);
        EXPECT_EQ(boxes.back().text, broken_text(file("bad.zlt")));
        EXPECT_EQ(boxes.back().caption, kSaveNoticeTitle);
    }

    Bytes with(size_t at, int32_t value) const {
        Bytes b = good_;
        set_le32(b, at, value);
        return b;
    }

    Bytes good_;
    std::unique_ptr<Jig> target_;
    static constexpr int32_t cells = 4, points = 10;
};

TEST_F(SaveRefusal, TheUntouchedFileLoads) {
    EXPECT_EQ(saved_game_usable(file("p.zlt")), 1);
    ASSERT_EQ(load_game(*target_, file("p.zlt")), 1);
    expect_whole(*target_);
    EXPECT_EQ(target_->item_count, 3);
}

TEST_F(SaveRefusal, EveryTruncationUpToThePictureIsRefused) {
    const size_t offset = size_t(le32(good_, 0));
    ASSERT_EQ(offset, size_t(48 + 4 * 324 + 3 * 80));
    for (size_t length = 0; length <= offset; length += (length < 60 || length > offset - 90) ? 1 : 7) {
        Bytes cut(good_.begin(), good_.begin() + std::ptrdiff_t(length));
        expect_refused(cut, "length " + std::to_string(length));
        if (HasFatalFailure()) return;
    }
}

TEST_F(SaveRefusal, CountsAndOffsetMustAgreeWithTheTables) {
    expect_refused(with(28, -2), "negative rows");
    expect_refused(with(32, 0), "no items");
    expect_refused(with(4, 2), "unknown picture type");
    expect_refused(with(36, -1), "negative play time");
    expect_refused(with(16, 65), "width not of whole cells");
    // A grid beyond the tables with a matching offset and a picture byte after it.
    Bytes huge(48, 0);
    const int32_t big_offset = 48 + 1200 * 324 + 80;
    for (auto [at, v] : {std::pair{0, big_offset}, {8, 4}, {16, 80}, {20, 60}, {24, 40}, {28, 30}, {32, 1}})
        set_le32(huge, size_t(at), v);
    huge.resize(size_t(big_offset) + 1, 0);
    expect_refused(huge, "1200 cells");
}

TEST_F(SaveRefusal, GroupsMustBeWhole) {
    const size_t id0 = item_at(0, cells, points), id1 = item_at(1, cells, points);
    expect_refused(with(id1, le32(good_, id0)), "two items with one id");
    expect_refused(with(id0, -1), "an id not yet cut");
    // The joined group owns two cells: its own and the cell whose id went away with the join.
    int32_t owner[cells];
    for (int32_t k = 0; k < cells; ++k) owner[k] = le32(good_, cell_at(k, points));
    int32_t gone = -1, single = -1;
    for (int32_t k = 0; k < cells; ++k) {
        if (owner[k] != k) gone = k;
        else if (std::count(owner, owner + cells, k) == 1) single = k;
    }
    ASSERT_GE(gone, 0);
    ASSERT_GE(single, 0);
    expect_refused(with(cell_at(gone, points), cells), "owner outside the grid");
    expect_refused(with(cell_at(gone, points), gone), "owner that is no item");
    expect_refused(with(cell_at(single, points), owner[gone]), "an item whose id owns no cell");
}

TEST_F(SaveRefusal, PlacementsMustBeSane) {
    const size_t at = item_at(1, cells, points);
    expect_refused(with(at + 60, 2), "turned 2");
    for (double angle : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Bytes b = good_;
        set_le_double(b, at + 52, angle);
        expect_refused(b, "angle " + std::to_string(angle));
    }
    expect_refused(with(at + 36, std::numeric_limits<int32_t>::max()), "centre far off the desk");
    expect_refused(with(cell_at(1, points) + 4, -100000), "edge point far off the picture");
}

TEST_F(SaveRefusal, AFileWithoutItsPictureOrForOtherPointsIsRefused) {
    expect_refused(Bytes(good_.begin(), good_.begin() + le32(good_, 0)), "no picture bytes");
    settings.line_num = 13;  // the file's edges were laid with 10 points
    line_const_init();
    expect_refused(good_, "another number of points per edge");
}

TEST_F(SaveRefusal, AGridThatIsNotTheNewGamesIsRefusedOnLoading) {
    // Whole in itself, but for a picture 32 pixels wider than the one it carries.
    const Bytes other = with(16, 96);
    write_bytes(file("other.zlt"), other);
    EXPECT_EQ(saved_game_usable(file("other.zlt")), 1);
    const GameState before = state_of(*target_);
    EXPECT_EQ(load_game(*target_, file("other.zlt")), 0);
    EXPECT_TRUE(state_of(*target_) == before);
    ASSERT_FALSE(ws::test::messages().empty());
    EXPECT_EQ(ws::test::messages().back().text, broken_text(file("other.zlt")));
}

TEST_F(SaveRefusal, FlippedBitsAreRefusedOrLoadAWholeGame) {
    const size_t offset = size_t(le32(good_, 0));
    // Offset, picture type, grid and item count: any change breaks the agreement with the tables or the picture.
    // An item's id changed leaves two items with one id, or an id outside the grid, or one whose cell is another's.
    const std::pair<size_t, size_t> must_refuse[] = {
        {0, 8}, {16, 36}, {item_at(0, cells, points), item_at(0, cells, points) + 4}};
    int refused = 0, loaded = 0;
    for (size_t byte = 0; byte < offset; ++byte)
        for (int bit : {0, 3, 7}) {
            Bytes b = good_;
            b[byte] ^= uint8_t(1u << bit);
            write_bytes(file("flip.zlt"), b);
            const GameState before = state_of(*target_);
            const int32_t r = load_game(*target_, file("flip.zlt"));
            SCOPED_TRACE("byte " + std::to_string(byte) + " bit " + std::to_string(bit));
            if (r == 1) {
                ++loaded;
                for (const auto& [from, to] : must_refuse) EXPECT_FALSE(byte >= from && byte < to);
                expect_whole(*target_);
            } else {
                ++refused;
                EXPECT_TRUE(state_of(*target_) == before);
            }
            if (HasFailure()) return;
        }
    EXPECT_GT(refused, 0);
    EXPECT_GT(loaded, 0);
}

TEST_F(SaveRefusal, AMissingFileIsNotResumed) {
    std::string picture = "kept.bmp";
    EXPECT_EQ(saved_game_usable(file("gone.zlt")), 0);
    EXPECT_EQ(extract_picture(file("gone.zlt"), picture), 0);
    EXPECT_EQ(picture, "kept.bmp");
    EXPECT_TRUE(ws::test::messages().empty());  // nothing to say: the resume just does not start
    const GameState before = state_of(*target_);
    EXPECT_EQ(load_game(*target_, file("gone.zlt")), 0);
    EXPECT_TRUE(state_of(*target_) == before);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, file("gone.zlt") + "が見つかりません。");
}

TEST_F(SaveRefusal, AnUnreadablePictureGivesNoGameToLoadInto) {
    Jig unusable(blank_game);
    EXPECT_EQ(load_game(unusable, file("p.zlt")), 0);
    EXPECT_EQ(unusable.item_count, 0);
}

class SaveFailure : public SaveTest {};

TEST_F(SaveFailure, AFileThatCannotBeWrittenIsReportedAndTheGameKept) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    const std::string nowhere = file("no_such_folder/g.zlt");
    EXPECT_EQ(save_game(*game, nowhere), 0);
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "ゲーム中のデータを保存できませんでした。\n（保存先 : " + nowhere + "）");
    EXPECT_EQ(ws::test::messages()[0].caption, "zelto 通知");
    EXPECT_EQ(game->item_count, 4);
    EXPECT_EQ(save_game(*game, nowhere, SaveReport::quiet), 0);
    EXPECT_EQ(ws::test::messages().size(), 1u);
}

TEST_F(SaveFailure, AMissingPictureKeepsThePreviousSave) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    ASSERT_EQ(save_game(*game, file("g.zlt")), 1);
    const Bytes previous = read_bytes(file("g.zlt"));
    join_items(*game, 0, 1);
    fs::remove(file("p.bmp"));
    EXPECT_EQ(save_game(*game, file("g.zlt")), 0);
    EXPECT_EQ(read_bytes(file("g.zlt")), previous);
    EXPECT_EQ(ws::test::messages().size(), 1u);
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}

}  // namespace
