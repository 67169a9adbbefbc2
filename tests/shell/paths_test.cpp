// The path resolver: backslashes, names matched without regard to case, and what is kept as written.
#include <filesystem>
#include <string>

#include "graphics/paths.h"
#include "shell_fixture.h"

namespace {

using Paths = ShellFiles;

TEST_F(Paths, BackslashesBecomeSlashes) {
    write_file("bkimg/タイル１.BMP", "BM");
    EXPECT_EQ(resolve_path("bkimg\\タイル１.BMP"), "bkimg/タイル１.BMP");
    EXPECT_EQ(resolve_path("bkimg/タイル１.BMP"), "bkimg/タイル１.BMP");
    EXPECT_EQ(resolve_path(""), "");
}

TEST_F(Paths, EachComponentIsMatchedWithoutRegardToCase) {
    write_file("Skin/Parts/Button_1.bmp", "BM");
    EXPECT_EQ(resolve_path("SKIN\\parts\\button_1.BMP"), "Skin/Parts/Button_1.bmp");
    // Full-width letters have case too.
    write_file("ＡＢ.bmp", "BM");
    EXPECT_EQ(resolve_path("ａｂ.BMP"), "ＡＢ.bmp");
    const std::string absolute = (dir_ / "SKIN" / "PARTS" / "BUTTON_1.BMP").string();
    EXPECT_EQ(resolve_path(absolute), (dir_ / "Skin/Parts/Button_1.bmp").string());
}

TEST_F(Paths, AnExactNameWinsAndSeveralMatchesPickTheFirstByName) {
    write_file("a.txt", "1");
    write_file("A.TXT", "2");
    write_file("A.txt", "3");
    EXPECT_EQ(resolve_path("a.txt"), "a.txt");
    EXPECT_EQ(resolve_path("A.TXT"), "A.TXT");
    EXPECT_EQ(resolve_path("a.TXT"), "A.TXT");
}

TEST_F(Paths, WhatDoesNotExistIsKeptAsWritten) {
    write_file("Data/x.bmp", "BM");
    EXPECT_EQ(resolve_path("data\\New Picture.JPG"), "Data/New Picture.JPG");
    EXPECT_EQ(resolve_path("nothing\\DATA\\x.bmp"), "nothing/DATA/x.bmp");
    EXPECT_EQ(resolve_path("data\\x.bmp\\below"), "Data/x.bmp/below");
    EXPECT_EQ(resolve_path("data\\sub\\"), "Data/sub/");
}

TEST_F(Paths, OpeningGoesThroughTheResolver) {
    write_file("Sound/Sound.txt", "joint");
    std::FILE* f = open_file("SOUND\\SOUND.TXT", "rb");
    ASSERT_NE(f, nullptr);
    char buf[8] = {};
    EXPECT_EQ(std::fread(buf, 1, 5, f), 5u);
    EXPECT_STREQ(buf, "joint");
    std::fclose(f);
    // A new file is made in the folder that matched.
    f = open_file("SOUND\\new.txt", "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(std::filesystem::exists("Sound/new.txt"));
    EXPECT_EQ(open_file("", "rb"), nullptr);
    EXPECT_EQ(open_file("missing.txt", "rb"), nullptr);
}

TEST_F(Paths, OnlyFilesThatOpenCount) {
    write_file("Sound/Sound.txt", "joint");
    EXPECT_TRUE(file_opens("sound\\sound.TXT"));
    EXPECT_FALSE(file_opens("sound"));
    EXPECT_FALSE(file_opens("sound\\missing.txt"));
    EXPECT_FALSE(file_opens(""));
    EXPECT_FALSE(file_opens("none"));
}

}  // namespace
