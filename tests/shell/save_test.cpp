// Saving and resuming: the file byte by byte, groups back where they lay, games at the extremes, the emergency
// save, the offered name and the header readers.
#include <numbers>
#include <span>
#include <tuple>

#include "desk/state.h"
#include "graphics/orientation.h"
#include "puzzle/settings.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using Save = SaveTest;

// What the desk shows of each group once its view is rendered at its angle, and what no saved field holds; the
// saved fields are compared by saving the game again.
auto snapshot(Jig& g) {
    std::vector<std::vector<uint32_t>> out;
    for (int32_t i = 0; i < g.item_count; ++i) {
        Piece& p = *g.items[i].piece;
        p.set_angle(p.angle, settings_shading());
        out.push_back(testsupport::image_words(p)), out.push_back(testsupport::view_words(p));
        out.push_back({uint32_t(g.items[i].merged)});
    }
    return out;
}

TEST_F(Save, FourCellsOfTenPointsLayTheFileOutAndPutThePictureAt1664) {
    Jig& g = cut_game("sq.bmp", 64, 64, 4);
    display.play_seconds = 125, desk.view_x = 17, desk.view_y = -3;
    ASSERT_EQ(save_game(g, file("sq.zlt")), 1);
    const std::string saved = read_file(file("sq.zlt")), picture = read_file(file("sq.bmp"));
    // The header; the cells: owner, then for each point the left, top, right and bottom edge's x and y; the items,
    // bottom first: five item fields, eight placement integers, the angle (as two words), turned and the rectangle.
    std::vector<int32_t> want = {1664, 0, play.game_piece_num, play.game_stretch_size, 64, 64, 2, 2, 4, 125, 17, -3};
    for (const Cell& c : std::span(g.cells.data(), 4)) {
        want.push_back(c.owner);
        for (int32_t j = 0; j < 40; ++j) want.insert(want.end(), {c.edges[j % 4][j / 4].x, c.edges[j % 4][j / 4].y});
    }
    for (const Item& it : std::span(g.items.data(), 4)) {
        const Piece& p = *it.piece;
        int32_t angle[2];
        std::memcpy(angle, &p.angle, sizeof angle);
        want.insert(want.end(), {it.id, it.home_dx, it.home_dy, it.join_dx, it.join_dy, p.width, p.height, p.view_width,
                                 p.view_height, p.cx, p.cy, p.grab_x, p.grab_y, angle[0], angle[1], p.turned,
                                 p.rect.left, p.rect.top, p.rect.right, p.rect.bottom});
    }
    ASSERT_EQ(saved.size(), 4 * want.size() + picture.size());
    EXPECT_EQ(saved.substr(4 * want.size()), picture);
    for (size_t f = 0; f < want.size(); ++f) EXPECT_EQ(le32(saved, 4 * f), want[f]) << "field " << f;
}

TEST_F(Save, GroupsComeBackWhereTheyLayTurnedAndRotated) {
    settings.kage = true;
    Jig& g = cut_game("p.bmp", 120, 90, 12);
    const int32_t pieces = g.item_count;
    join(g, 0, 1), join(g, 0, 1), join(g, 3, 5), join(g, -1, 0);
    g.items[3].piece->set_angle(std::numbers::pi / 2, settings_shading());
    g.items[2].piece->set_angle(1.2345, settings_shading());
    g.items[1].piece->grab_x = 7, g.items[1].piece->grab_y = 9;  // where the player last took it
    display.play_seconds = 125, desk.view_x = 40, desk.view_y = 25;
    const auto before = snapshot(g);
    ASSERT_EQ(save_game(g, file("p.zlt")), 1);
    desk.view_x = desk.view_y = display.play_seconds = 0;
    Jig* back = resume(file("p.zlt"));
    ASSERT_TRUE(back);
    EXPECT_EQ(play.picture_path, kResumedPictureBmp);
    EXPECT_EQ(std::pair(back->item_count, back->cut_count), std::pair(pieces - 3, pieces - 3));
    EXPECT_EQ(std::tuple(display.clock_carry, desk.view_x, desk.view_y), std::tuple(125, 40, 25));
    EXPECT_TRUE(snapshot(*back) == before) << "a group's picture differs";
    // Saved again from its temporary picture, under its own name, it is the same file: cells and edges included.
    EXPECT_EQ(default_save_name(), file("p.zlt"));
    ASSERT_EQ(save_game(*back, file("again.zlt")), 1);
    EXPECT_EQ(read_file(file("again.zlt")), read_file(file("p.zlt")));
    EXPECT_TRUE(ws::test::messages().empty());
}

// The photo with an EXIF block naming `orientation` laid right after its start of image.
std::string with_orientation(std::string jpeg, size_t at, char orientation) {
    const char app1[] = "\xFF\xE1\x00\x22" "Exif\0\0" "II*\0\x08\0\0\0" "\x01\0" "\x12\x01\x03\0\x01\0\0\0" "?\0\0\0" "\0\0\0\0";
    std::string block(app1, sizeof app1 - 1);
    block[28] = orientation;
    return jpeg.insert(at + 2, block);
}

// A photo that its camera marks as held upright (orientation 6) plays turned, and resumes turned. A game saved
// before photos were turned was cut from the photo as stored: it resumes that way, not refused.
TEST_F(Save, SidewaysPhotosResumeTheWayTheirGameWasCut) {
    settings.stretch_size = 200;
    const std::string photo = read_file(ZELTO_SOURCE_DIR "/data/data/mountains.jpg");  // 800 x 600
    write_file("upright.jpg", with_orientation(photo, 0, 6));
    ASSERT_EQ(save_game(cut_game("upright.jpg", 0, 0, 12), "upright.zlt"), 1);
    EXPECT_EQ(std::pair(display.current_game->pic_w, display.current_game->pic_h), std::pair(150, 200));
    expect_resumes("upright.zlt", 12, 150);
    write_file("stored.jpg", photo);
    ASSERT_EQ(save_game(cut_game("stored.jpg", 0, 0, 12), "old.zlt"), 1);
    const std::string old = read_file("old.zlt");
    write_file("old.zlt", with_orientation(old, size_t(le32(old, 0)), 5));  // 5 to 8 all lay it on its side
    expect_resumes("old.zlt", 12, 200);
    const std::string taken_out = read_file(kResumedPictureJpg);
    EXPECT_EQ(jpeg_shape(std::vector<uint8_t>(taken_out.begin(), taken_out.end())).orientation, 1);
    EXPECT_TRUE(ws::test::messages().empty());
}

// A picture that ends early plays as far as it goes (grey or black rows), but its bytes would not resume: the save
// holds instead the whole BMP of the pixels the game was cut from, and the game comes back on the same grid with
// the same pieces; saved again, it is the same file.
TEST_F(Save, APictureThatEndsEarlyIsSavedAsTheWholeBmpTheGameWasCutFrom) {
    settings.stretch_size = 200;
    ASSERT_TRUE(testsupport::write_picture(file("whole.bmp"), 90, 60, testsupport::pattern_word));
    const std::string jpeg = read_file(ZELTO_SOURCE_DIR "/data/data/mountains.jpg"), bmp = read_file(file("whole.bmp"));
    for (const auto& [name, bytes] : {std::pair{"cut.jpg", jpeg.substr(0, jpeg.size() * 3 / 5)},
                                      {"short.bmp", bmp.substr(0, bmp.size() - 1000)}}) {
        SCOPED_TRACE(name);
        write_file(file(name), bytes);
        Jig& g = cut_game(name, 0, 0, 12);
        join(g, 0, 1);
        const auto before = snapshot(g);
        const auto grid = std::tuple(g.pic_w, g.pic_h, g.cols, g.rows, g.item_count);
        ASSERT_EQ(save_game(g, file("cut.zlt")), 1);
        const std::string saved = read_file(file("cut.zlt"));
        EXPECT_EQ(std::pair(le32(saved, 4), saved.substr(size_t(le32(saved, 0)), 2)), std::pair(0, std::string("BM")));
        Jig* back = resume(file("cut.zlt"));
        ASSERT_TRUE(back);
        EXPECT_EQ(std::tuple(back->pic_w, back->pic_h, back->cols, back->rows, back->item_count), grid);
        EXPECT_TRUE(snapshot(*back) == before) << "a group's picture differs";
        ASSERT_EQ(save_game(*back, file("again.zlt")), 1);
        EXPECT_EQ(read_file(file("again.zlt")), saved);
    }
    EXPECT_TRUE(ws::test::messages().empty());
}

// Golden table save_extremes: any game the settings can build is saved and resumed.
TEST_F(Save, GamesAtTheExtremesResume) {
    const Settings plain = settings;
    for (const auto& row : golden("save_extremes")) {
        SCOPED_TRACE(row.at(0));
        const std::vector<int32_t> v = numbers(row[0]);
        ASSERT_EQ(v.size(), 6u);
        const struct { int32_t w, h, stretch, pieces, line_num, template_y; } c = {v[0], v[1], v[2], v[3], v[4], v[5]};
        settings = plain;
        settings.stretch_size = c.stretch, settings.line_num = c.line_num;
        for (auto& t : settings.line)
            for (int32_t i = 1; i < c.line_num - 1 && c.template_y; ++i) t[i].y = c.template_y * (i % 2 ? 1 : -1);
        line_const_init();
        Jig& g = cut_game("x.bmp", c.w, c.h, c.pieces);
        ASSERT_GT(g.item_count, 0);
        if (g.item_count > 1) join(g, 0, g.item_count - 1);
        ASSERT_EQ(save_game(g, file("x.zlt")), 1);
        expect_resumes(file("x.zlt"), g.item_count, g.pic_w);
        EXPECT_EQ(settings.stretch_size, c.stretch);
        EXPECT_EQ(settings.piece_num, std::min(c.pieces, max_cells));
    }
}

TEST_F(Save, TheEmergencySaveIsQuietAndNeedsAWholeGame) {
    emergency_save();  // no game
    cut_game("p.bmp", 64, 64, 4, 1);  // one piece of four cut
    emergency_save();
    EXPECT_FALSE(fs::exists(kEmergencySaveName));
    EXPECT_EQ(save_game(*display.current_game, file("cutting.zlt")), 0);
    EXPECT_FALSE(fs::exists(file("cutting.zlt")));
    cut_game("p.bmp", 0, 0, 4);
    emergency_save();
    EXPECT_EQ(saved_game_usable(kEmergencySaveName), 1);
    EXPECT_EQ(read_file(kEmergencySaveName).size(), 1664 + read_file("p.bmp").size());
    fs::remove(kEmergencySaveName);
    emergency_save();  // a later report saves again
    EXPECT_EQ(saved_game_usable(kEmergencySaveName), 1);
    // With its picture gone the save fails without a word; the earlier emergency save stays as it was.
    const std::string earlier = read_file(kEmergencySaveName);
    fs::remove("p.bmp");
    emergency_save();
    EXPECT_EQ(read_file(kEmergencySaveName), earlier);
    EXPECT_TRUE(ws::test::messages().empty());
}

TEST_F(Save, TheOfferedNameFollowsThePicture) {
    for (const auto& row : golden("save_names")) {  // written by hand: a picture path and the name offered for it
        play.picture_path = row.at(0);
        EXPECT_EQ(default_save_name(), row.at(1)) << row[0];
    }
}

// The picture's type follows what the file holds; the readers take the picture out under its type's name, the
// values of the game with it, and peek at the item count (the list passes one buffer as both arguments); the game
// resumes. A picture of a newer format travels as its own bytes (type 2) and comes out under a name of its own.
TEST_F(Save, TheHeaderReadersTakeOutThePictureUnderItsTypesName) {
    settings.stretch_size = 200;
    const std::string jpeg = ZELTO_SOURCE_DIR "/data/data/mountains.jpg", gif = ZELTO_SOURCE_DIR "/tests/ws/data/quadrants.gif";
    const std::tuple<const char*, std::string, int32_t, const char*> cases[] = {
        {"m.JPG", jpeg, 1, "jpg"}, {"m.jpeg", jpeg, 1, "jpg"}, {"m.bmp.jpg", jpeg, 1, "jpg"}, {"p.BmP", "", 0, "bmp"},
        {"q.gif", gif, 2, "png"},  {"q.webp", gif, 2, "png"},  {"m.heic", jpeg, 1, "jpg"}};
    for (const auto& [name, source, type, ext] : cases) {
        SCOPED_TRACE(name);
        if (!source.empty()) fs::copy_file(source, name, fs::copy_options::overwrite_existing);
        Jig& g = cut_game(name, source.empty() ? 64 : 0, 48, 4);
        join(g, 0, 1);
        ASSERT_EQ(save_game(g, "m.zlt"), 1);
        EXPECT_EQ(le32(read_file("m.zlt"), 4), type);
        play.game_piece_num = play.game_stretch_size = -1;
        std::string out = "m.zlt", list = "m.zlt";
        int32_t count = -1;
        ASSERT_EQ(extract_picture(out, out) + extract_picture_for_list(list, list), 2);
        ASSERT_EQ(peek_item_count("m.zlt", count), 1);
        EXPECT_EQ(out + " " + list, std::string("zelto_temp.") + ext + " zelto_temp2." + ext);
        EXPECT_EQ(read_file(out) + read_file(list), read_file(name) + read_file(name));
        EXPECT_EQ(std::tuple(play.game_piece_num, play.game_stretch_size, count), std::tuple(4, 200, 3));
        expect_resumes("m.zlt", count, g.pic_w);  // and the game comes back on it
    }
    EXPECT_TRUE(ws::test::messages().empty());
}

}  // namespace
