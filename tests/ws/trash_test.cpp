// Moving files to the trash: into the home trash, made with its missing folders, or nowhere at all; never into
// files/ of the current folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/cases.h"
#include "support/temp_dir.h"
#include "ws/ws.h"

namespace {

namespace fs = std::filesystem;

// HOME is the test's folder, which holds the picture folder (the home trash on the same volume, as Qt wants it)
// and the game's folder, the current one; XDG_DATA_HOME as each case sets it.
class Trash : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.ok());
        for (const char* name : {"HOME", "XDG_DATA_HOME"})
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
        setenv("HOME", dir_.string().c_str(), 1);
        fs::create_directories(dir_ / "game");
        fs::create_directories(dir_ / "pictures");
        old_dir_ = fs::current_path();
        fs::current_path(dir_ / "game");
    }
    void TearDown() override {
        fs::current_path(old_dir_);
        unsetenv("HOME");
        unsetenv("XDG_DATA_HOME");
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }
    testsupport::TempDir dir_;
    fs::path old_dir_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

// The data homes of data/trashes.txt, given in XDG_DATA_HOME below the test's folder or as they are, with where the
// file must land (or none: it stays).
TEST_F(Trash, FilesGoIntoATrashOrStayWhereTheyAre) {
    testsupport::write_file(dir_.file("blocked"), "a file, not a folder");
    testsupport::write_file(dir_.file("trash_is_a_file/Trash"), "a file, not a folder");
    for (const testsupport::Fields& k : testsupport::read_cases("ws/data/trashes.txt")) {
        SCOPED_TRACE(k[0]);
        const std::string data_home = k[0] == "-" ? "" : k[0];
        const std::optional<std::string> trash = k[2] == "-" ? std::nullopt : std::optional(k[2]);
        if (!data_home.empty()) setenv("XDG_DATA_HOME", k[1] == "1" ? dir_.file(data_home).c_str() : k[0].c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        const std::string picture = dir_.file("pictures/a.bmp");
        testsupport::write_file(picture, "picture bytes");
        EXPECT_EQ(ws::move_to_trash(picture), trash.has_value());
        EXPECT_EQ(fs::exists(picture), !trash);
        if (trash) {
            EXPECT_EQ(testsupport::read_file(dir_.file(*trash + "/files/a.bmp")), "picture bytes");
            EXPECT_TRUE(fs::exists(dir_.file(*trash + "/info/a.bmp.trashinfo")));
            fs::remove_all(dir_.file(*trash));
        }
        EXPECT_TRUE(fs::is_empty(dir_ / "game")) << "nothing lands in the current folder";
    }
    EXPECT_FALSE(ws::move_to_trash(""));
    EXPECT_FALSE(ws::move_to_trash(dir_.file("pictures/missing.bmp")));
    EXPECT_TRUE(fs::is_empty(dir_ / "game"));
}

}  // namespace
