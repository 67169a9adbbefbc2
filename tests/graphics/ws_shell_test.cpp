// Window layer: the clipboard (bitmaps and file lists) and moving files to the trash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ws/ws.h"

namespace fs = std::filesystem;

namespace {

class Shell : public testing::Test {
protected:
    void SetUp() override { ws::test::reset(); }
    void TearDown() override { ws::test::reset(); }
};

TEST_F(Shell, ABitmapGoesToTheClipboardAndComesBackRowForRow) {
    EXPECT_FALSE(ws::clipboard_has_bitmap());
    MemDC none;
    EXPECT_FALSE(ws::clipboard_get_bitmap(none));
    MemDC src;
    src.create(BIT_SCREEN, 7, 5);
    for (int32_t i = 0; i < 35; ++i) src.words()[i] = uint32_t(i * 0x010203);  // every pixel its own colour
    ASSERT_TRUE(ws::clipboard_set_bitmap(src));
    EXPECT_TRUE(ws::clipboard_has_bitmap());
    EXPECT_FALSE(ws::clipboard_has_files());
    MemDC out;
    out.create(BIT_SCREEN, 2, 2);  // an existing surface is replaced
    ASSERT_TRUE(ws::clipboard_get_bitmap(out));
    ASSERT_EQ(out.width(), 7);
    ASSERT_EQ(out.height(), 5);
    for (int32_t i = 0; i < 35; ++i) EXPECT_EQ(out.words()[i], uint32_t(i * 0x010203)) << i;
}

TEST_F(Shell, FileListsKeepTheirOrderAndNames) {
    ws::test::set_clipboard_files({"/tmp/絵 1.jpg", "/tmp/b.BMP"});
    EXPECT_TRUE(ws::clipboard_has_files());
    EXPECT_FALSE(ws::clipboard_has_bitmap());
    EXPECT_EQ(ws::clipboard_files(), (std::vector<std::string>{"/tmp/絵 1.jpg", "/tmp/b.BMP"}));
    ws::test::reset();
    EXPECT_FALSE(ws::clipboard_has_files());
}

TEST_F(Shell, MovingToTheTrashRemovesTheFileFromItsFolder) {
    fs::path root = fs::path(testing::TempDir()) / "ws_trash_test";
    fs::remove_all(root);
    fs::create_directories(root / "data");
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);  // a trash of our own, never the user's
    fs::path victim = root / "サムネイル.jpg";
    std::ofstream(victim) << "x";
    EXPECT_TRUE(ws::move_to_trash(victim.string()));
    EXPECT_FALSE(fs::exists(victim));
    EXPECT_TRUE(fs::exists(root / "data" / "Trash" / "files" / "サムネイル.jpg"));
    EXPECT_FALSE(ws::move_to_trash((root / "gone.jpg").string()));
    EXPECT_FALSE(ws::move_to_trash(""));
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(root);
}

}  // namespace
