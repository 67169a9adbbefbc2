// The picture list: thumbnails and names in step, clicks that start or resume exactly their file, the notice
// for too many files, deleting while loading, and the loader thread ended however the list goes away.
#include <cstdlib>
#include <fstream>

#include "play/state.h"
#include "windows/viewer.h"
#include "windows/windows_support.h"

namespace {

using namespace windowstest;
using jigwintest::write_picture;

bool is_placeholder(MemDC& thumb) {  // the grey cross crosses the middle
    return thumb.get_pixel(40, 40) == 0x808080 && thumb.get_pixel(2, 2) == kListBackground;
}

class ViewerTest : public CompanionTest {
protected:
    void SetUp() override {
        CompanionTest::SetUp();
        settings.view = true;
    }
    void fill_folder() {
        write_picture("pictures/b_wide.bmp", 1600, 900);
        write_picture("pictures/a_square.bmp", 30, 30);
        std::ofstream("pictures/c_broken.jpg") << "not a picture";
        std::ofstream("pictures/notes.txt") << "text";
        fs::copy_file(std::string(ZELTO_SOURCE_DIR) + "/fuzz/corpus/load_game/bmp_fresh.zlt", "pictures/d_game.zlt");
    }
};

TEST_F(ViewerTest, ThumbnailsFollowTheSortedNamesAndClicksStartOrResumeThatFile) {
    fill_folder();
    open("");
    ASSERT_NE(::play.list_window, 0);
    ASSERT_TRUE(load_all());
    const std::vector<std::string> expected = {"pictures/a_square.bmp", "pictures/b_wide.bmp",
                                               "pictures/c_broken.jpg", "pictures/d_game.zlt"};
    ASSERT_EQ(viewer.names, expected);
    ASSERT_EQ(viewer.thumbs.size(), expected.size());
    for (const auto& m : ws::test::messages()) ADD_FAILURE() << "message: " << m.text;  // the loader is quiet
    // square fills the slot; 1600 x 900 gives 80 x 45 placed 17 from the top; unreadable ones show the cross
    const auto background = [](size_t i, int32_t x, int32_t y) { return viewer.thumbs[i]->get_pixel(x, y) == kListBackground; };
    EXPECT_EQ((std::vector{background(0, 0, 0), background(1, 40, 16), background(1, 40, 17), background(1, 40, 61),
                           background(1, 40, 62), is_placeholder(*viewer.thumbs[2]), is_placeholder(*viewer.thumbs[3]),
                           viewer.labels[3] >= 0}),
              (std::vector{false, true, false, false, true, true, false, true}));
    bool over_limit = true;  // a background is chosen among pictures only
    EXPECT_EQ(list_folder("pictures\\", true, over_limit).size(), 3u);
    EXPECT_FALSE(over_limit);

    for (int32_t slot : {1, 3, 0}) {
        if (!::play.list_window) viewer_create(::play.game_window);
        ASSERT_TRUE(load_all());
        click_slot(slot);
        ws::test::pump();
        EXPECT_EQ(::play.list_window, 0);
        ASSERT_NE(::play.current_game, nullptr);
        EXPECT_EQ(slot == 3 ? ::play.save_path : ::play.picture_path + "|" + ::play.save_path,
                  expected[size_t(slot)] + (slot == 3 ? "" : "|"));
    }
    viewer_create(::play.game_window);
    ws::send_message(::play.list_window, ws::WM_LBUTTONUP, 0, ws::make_lparam(0, 40));  // x = 0 is the frame
    ws::test::pump();
    EXPECT_NE(::play.list_window, 0);
}

TEST_F(ViewerTest, MoreThanAThousandFilesGiveOneNoticeOnTheWindowsThread) {
    open("");
    for (int32_t count : {1000, 1001}) {
        for (int32_t i = 0; i < count; ++i) std::ofstream("pictures/p" + std::to_string(1000 + i) + ".bmp");
        const size_t before = ws::test::messages().size();
        viewer_create(::play.game_window);
        for (int32_t i = 0; i < 5; ++i) ws::test::advance(100);
        int32_t notices = 0;
        for (size_t i = before; i < ws::test::messages().size(); ++i)
            notices += ws::test::messages()[i].text == "1000個以上のファイルは無視します。";
        EXPECT_EQ(notices, count > 1000 ? 1 : 0) << count;
        EXPECT_EQ(viewer.names.size(), 1000u);
        ws::send_message(::play.list_window, ws::WM_CLOSE, 0, 0);
        fs::remove_all("pictures");
        fs::create_directories("pictures");
    }
}

TEST_F(ViewerTest, DeletingWhileLoadingKeepsEveryThumbnailWithItsFile) {
    const std::string trash = (dir_ / "share").string();
    fs::create_directories(trash);
    setenv("XDG_DATA_HOME", trash.c_str(), 1);
    for (const char* n : {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp"}) write_picture("pictures/" + std::string(n), 300, 200 + n[0]);
    open("");
    for (int32_t i = 0; i < 200 && viewer.thumbs.size() < 2; ++i) {
        ws::test::advance(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ws::test::push_menu_answer(400);
    click_slot(1, ws::WM_RBUTTONUP);
    ws::test::pump();
    EXPECT_FALSE(fs::exists("pictures/b.bmp"));
    EXPECT_TRUE(fs::exists(trash + "/Trash/files/b.bmp"));
    ASSERT_TRUE(load_all());
    ASSERT_EQ(viewer.names.size(), 5u);
    // each thumbnail still shows its own file: the pictures differ in height, so in where they are placed
    for (size_t i = 0; i < viewer.names.size(); ++i) {
        MemDC expected;
        expected.create(BIT_SCREEN, kThumbSide, kThumbSide);
        thumbnail_of_file(viewer.names[i], expected);
        for (int32_t y = 0; y < kThumbSide; y += 3)
            ASSERT_EQ(viewer.thumbs[i]->get_pixel(40, y), expected.get_pixel(40, y)) << viewer.names[i];
    }
    unsetenv("XDG_DATA_HOME");
}

TEST_F(ViewerTest, TheLoaderEndsWhetherTheListIsClosedOrDestroyedWithItsParent) {
    write_picture("pictures/big.bmp", 4000, 3000);
    write_picture("pictures/small.bmp", 40, 30);
    ws::register_class({"ViewerTestParent", ws::def_window_proc});
    const int32_t before = MemDC::live_objects();
    for (bool close : {true, false}) {
        const ws::Hwnd parent = ws::create_window("ViewerTestParent", "", 0, 0, 0, 200, 200, 0, 0);
        viewer_create(parent);
        EXPECT_TRUE(viewer.loader.running());
        if (close) {
            ws::send_message(::play.list_window, ws::WM_CLOSE, 0, 0);
        } else {
            ws::destroy_window(parent);
        }
        EXPECT_FALSE(viewer.loader.running());
        EXPECT_EQ(::play.list_window, 0);
        if (close) ws::destroy_window(parent);
        EXPECT_EQ(MemDC::live_objects(), before);
    }
}

}  // namespace
