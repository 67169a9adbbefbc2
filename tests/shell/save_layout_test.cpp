// The saved-game file byte by byte, the offered file name, and the readers that look only at the header.
#include "desk/state.h"
#include "pieces/desk.h"
#include "play/state.h"
#include "shell/save_support.h"

using namespace save_test;

namespace {

class SaveLayout : public SaveTest {};

TEST_F(SaveLayout, FourCellsOfTenPointsPutThePictureAt1664) {
    write_pattern_bmp(file("sq.bmp"), 64, 64);
    auto game = cut_game(file("sq.bmp"), 4);
    ASSERT_EQ(game->cols * game->rows, 4);
    ASSERT_EQ(game->item_count, 4);
    display.play_seconds = 125;
    desk.view_x = 17;
    desk.view_y = -3;
    ASSERT_EQ(save_game(*game, file("sq.zlt")), 1);

    const Bytes saved = read_bytes(file("sq.zlt"));
    const Bytes picture = read_bytes(file("sq.bmp"));
    ASSERT_EQ(le32(saved, 0), 1664);
    ASSERT_EQ(saved.size(), 1664 + picture.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), saved.begin() + 1664));
    const int32_t header[11] = {0, play.game_piece_num, play.game_stretch_size, 64, 64, 2, 2, 4, 125, 17, -3};
    for (int f = 0; f < 11; ++f) EXPECT_EQ(le32(saved, 4 + 4 * size_t(f)), header[f]) << "field " << f + 1;

    // Cells: owner, then for each point the left, top, right and bottom edge's x and y.
    for (int32_t k = 0; k < 4; ++k) {
        const Cell& c = game->cells[k];
        EXPECT_EQ(le32(saved, cell_at(k, 10)), c.owner);
        for (int32_t j = 0; j < 10; ++j)
            for (int32_t side = 0; side < 4; ++side) {
                const size_t at = cell_at(k, 10) + 4 + 32 * size_t(j) + 8 * size_t(side);
                EXPECT_EQ(le32(saved, at), c.edges[side][j].x) << k << " " << j << " " << side;
                EXPECT_EQ(le32(saved, at + 4), c.edges[side][j].y) << k << " " << j << " " << side;
            }
    }
    // Items, bottom first: five item fields, eight placement integers, the angle, turned and the rectangle.
    for (int32_t i = 0; i < 4; ++i) {
        const Item& it = game->items[i];
        const Piece& p = *it.piece;
        const size_t at = item_at(i, 4, 10);
        const int32_t before_angle[13] = {it.id, it.home_dx, it.home_dy, it.join_dx, it.join_dy, p.width,
                                          p.height, p.view_width, p.view_height, p.cx, p.cy, p.grab_x, p.grab_y};
        for (int f = 0; f < 13; ++f) EXPECT_EQ(le32(saved, at + 4 * size_t(f)), before_angle[f]) << i << " " << f;
        EXPECT_EQ(le_double(saved, at + 52), p.angle);
        const int32_t after_angle[5] = {p.turned, p.rect.left, p.rect.top, p.rect.right, p.rect.bottom};
        for (int f = 0; f < 5; ++f) EXPECT_EQ(le32(saved, at + 60 + 4 * size_t(f)), after_angle[f]) << i << " " << f;
    }
}

TEST_F(SaveLayout, PictureTypeFollowsThePictureName) {
    const std::string mountains = source_root() + "/data/data/mountains.jpg";
    ASSERT_TRUE(fs::exists(mountains));
    settings.stretch_size = 200;
    for (const char* name : {"m.JPG", "m.jpeg", "m.bmp.jpg"}) {
        fs::copy_file(mountains, file(name), fs::copy_options::overwrite_existing);
        auto game = cut_game(file(name), 4);
        ASSERT_GT(game->item_count, 0) << name;
        ASSERT_EQ(save_game(*game, file("m.zlt")), 1);
        EXPECT_EQ(le32(read_bytes(file("m.zlt")), 4), 1) << name;
    }
    write_pattern_bmp(file("p.BmP"), 64, 48);
    auto game = cut_game(file("p.BmP"), 4);
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);
    EXPECT_EQ(le32(read_bytes(file("p.zlt")), 4), 0);
}

TEST(SaveName, OfferedNameFollowsSavePathOrThePicture) {
    const std::string old_save = play.save_path, old_picture = play.picture_path;
    play.save_path = "/games/mine.zlt";
    play.picture_path = "/pics/cat.jpg";
    EXPECT_EQ(default_save_name(), "/games/mine.zlt");
    play.save_path.clear();
    EXPECT_EQ(default_save_name(), "/pics/cat.zlt");
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\pics\\cat.jpg", "D:\\pics\\cat.zlt"},
        {"/a/my.pics/cat.jpeg", "/a/my.pics/cat.zlt"},
        {"a.b.c", "a.b.zlt"},
        {"x.", "x.zlt"},
        {"cat", ".zlt"},
        {".jpg", ".zlt"},  // a dot in the first place does not count
        {"", ".zlt"},
        {"写真.JPG", "写真.zlt"},
    };
    for (const auto& [picture, offered] : cases) {
        play.picture_path = picture;
        EXPECT_EQ(default_save_name(), offered) << picture;
    }
    play.save_path = old_save;
    play.picture_path = old_picture;
}

class SavePeek : public SaveTest {};

TEST_F(SavePeek, ListPictureAndItemCountComeFromTheHeader) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);

    int32_t count = -1;
    EXPECT_EQ(peek_item_count(file("p.zlt"), count), 1);
    EXPECT_EQ(count, 4);

    play.game_piece_num = 77;
    std::string name = file("p.zlt");  // the list passes one buffer as both arguments
    ASSERT_EQ(extract_picture_for_list(name, name), 1);
    EXPECT_EQ(name, "zelto_temp2.bmp");
    EXPECT_EQ(read_bytes(file("zelto_temp2.bmp")), read_bytes(file("p.bmp")));
    EXPECT_EQ(play.game_piece_num, 77);  // the list leaves the game's values alone

    std::string out = "unchanged";
    EXPECT_EQ(peek_item_count(file("none.zlt"), count), 0);
    EXPECT_EQ(extract_picture_for_list(file("none.zlt"), out), 0);
    Bytes cut = read_bytes(file("p.zlt"));
    cut.resize(30);
    write_bytes(file("short.zlt"), cut);
    count = -1;
    EXPECT_EQ(peek_item_count(file("short.zlt"), count), 0);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(extract_picture_for_list(file("short.zlt"), out), 0);
    EXPECT_EQ(out, "unchanged");
    EXPECT_TRUE(ws::test::messages().empty());  // the list never talks
}

TEST_F(SavePeek, ResumedPictureIsTakenOutUnderItsTypesName) {
    write_pattern_bmp(file("p.bmp"), 64, 64);
    auto game = cut_game(file("p.bmp"), 4);
    play.game_piece_num = 4;
    play.game_stretch_size = 0;
    ASSERT_EQ(save_game(*game, file("p.zlt")), 1);
    // A JPEG type in the header names the temporary picture .jpg; the bytes are copied as they stand.
    Bytes as_jpeg = read_bytes(file("p.zlt"));
    set_le32(as_jpeg, 4, 1);
    set_le32(as_jpeg, 8, 20);
    set_le32(as_jpeg, 12, 300);
    write_bytes(file("j.zlt"), as_jpeg);

    std::string name = file("j.zlt");
    ASSERT_EQ(extract_picture(name, name), 1);
    EXPECT_EQ(name, "zelto_temp.jpg");
    EXPECT_EQ(play.game_piece_num, 20);
    EXPECT_EQ(play.game_stretch_size, 300);
    EXPECT_EQ(read_bytes(file("zelto_temp.jpg")), read_bytes(file("p.bmp")));
    ASSERT_EQ(extract_picture(file("p.zlt"), play.picture_path), 1);
    EXPECT_EQ(play.picture_path, "zelto_temp.bmp");
    EXPECT_EQ(play.game_piece_num, 4);
}

}  // namespace
