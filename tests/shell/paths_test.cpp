// The path resolver: backslashes, names matched without regard to case, and what is kept as written.
#include <filesystem>
#include <string>

#include "graphics/paths.h"
#include "shell_fixture.h"

namespace {

using Paths = ShellFiles;

TEST_F(Paths, ResolvesEachComponentWithoutRegardToCase) {
    for (const char* f : {"bkimg/タイル１.BMP", "Skin/Parts/Button_1.bmp", "ＡＢ.bmp", "a.txt", "A.TXT", "A.txt"})
        write_file(f, "BM");
    const std::pair<const char*, const char*> cases[] = {
        {"bkimg\\タイル１.BMP", "bkimg/タイル１.BMP"},
        {"", ""},
        {"SKIN\\parts\\button_1.BMP", "Skin/Parts/Button_1.bmp"},
        {"ａｂ.BMP", "ＡＢ.bmp"},  // full-width letters have case too
        {"a.txt", "a.txt"},        // an exact name wins; several matches take the first by name
        {"a.TXT", "A.TXT"},
        {"skin\\New Picture.JPG", "Skin/New Picture.JPG"},  // what does not exist is kept as written
        {"nothing\\SKIN\\x.bmp", "nothing/SKIN/x.bmp"},
        {"a.txt\\below", "a.txt/below"},
        {"skin\\sub\\", "Skin/sub/"},
    };
    for (const auto& [path, resolved] : cases) EXPECT_EQ(resolve_path(path), resolved) << path;
    EXPECT_EQ(resolve_path((dir_ / "SKIN/PARTS/BUTTON_1.BMP").string()), (dir_ / "Skin/Parts/Button_1.bmp").string());
}

TEST_F(Paths, OpeningGoesThroughTheResolver) {
    write_file("Sound/Sound.txt", "joint");
    std::FILE* f = open_file("SOUND\\SOUND.TXT", "rb");
    ASSERT_NE(f, nullptr);
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, 5, f), 5u);
    std::fclose(f);
    EXPECT_STREQ(buf, "joint");
    f = open_file("SOUND\\new.txt", "wb");  // a new file is made in the folder that matched
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(std::filesystem::exists("Sound/new.txt"));
    EXPECT_EQ(open_file("", "rb"), nullptr);
    EXPECT_TRUE(file_opens("sound\\sound.TXT"));
    for (const char* no : {"sound", "sound\\missing.txt", "", "none"}) EXPECT_FALSE(file_opens(no)) << no;
}

}  // namespace
