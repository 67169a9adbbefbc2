// The path resolver: backslashes, names matched without regard to case, and what is kept as written.
#include "graphics/paths.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using Paths = ShellTest;

TEST_F(Paths, ResolvesEachComponentWithoutRegardToCaseAndOpensThroughIt) {
    for (const char* f : {"bkimg/タイル１.BMP", "Skin/Parts/Button_1.bmp", "ＡＢ.bmp", "a.txt", "A.TXT", "A.txt"})
        write_file(f, "BM");
    for (const auto& row : golden("resolved_paths")) EXPECT_EQ(resolve_path(row.at(0)), row.at(1)) << row[0];
    EXPECT_EQ(resolve_path(file("SKIN/PARTS/BUTTON_1.BMP")), file("Skin/Parts/Button_1.bmp"));
    write_file("Sound/Sound.txt", "joint");
    std::FILE* f = open_file("SOUND\\SOUND.TXT", "rb");
    ASSERT_NE(f, nullptr);
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, 7, f), 5u);
    std::fclose(f);
    EXPECT_STREQ(buf, "joint");
    f = open_file("SOUND\\new.txt", "wb");  // a new file is made in the folder that matched
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(fs::exists("Sound/new.txt"));
    EXPECT_TRUE(open_file("", "rb") == nullptr && file_opens("sound\\sound.TXT"));
    for (const char* no : {"sound", "sound\\missing.txt", "", "none"}) EXPECT_FALSE(file_opens(no)) << no;
}

}  // namespace
