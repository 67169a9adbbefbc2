// write_settings: the exact lines of the file, and write-then-read giving back the same record and the same bytes.
#include <filesystem>
#include <string>

#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using SettingsWrite = ShellFiles;

// The file of a first run, as a person checked it line by line.
const std::string kDefaultFile =
    "win_left   0\n"
    "win_top    0\n"
    "win_width  0\n"
    "win_height 0\n"
    "desk_w     0\n"
    "desk_h     0\n"
    "click_time 300\n"
    "click_dxdy 2\n"
    "line_num   10\n"
    "line 0 {0,0} {24,-12} {108,-24} {74,24} {49,78} {168,78} {143,24} {108,-24} {191,-12} {216,0}\n"
    "line 1 {0,0} {24,-12} {119,-23} {79,24} {64,78} {172,80} {150,24} {120,-23} {191,-12} {216,0}\n"
    "line 2 {0,0} {35,0} {132,-26} {92,23} {79,77} {168,78} {143,18} {129,-25} {191,3} {216,0}\n"
    "line 3 {0,0} {24,-12} {112,-4} {81,24} {54,86} {158,82} {133,25} {108,-14} {190,-3} {216,0}\n"
    "edge_n\t5\n"
    "edge_v\t {0,0} {-33,0} {-66,0} {-101,0} {0,0} {33,0} {66,0} {101,0}\n"
    "piece_num\t20\n"
    "stretch_size\t300\n"
    "kaiten\t90\n"
    "hanten\tTRUE\n"
    "mmove\tTRUE\t50\t0.700000\n"
    "image\tTRUE\n"
    "view\tTRUE\tTRUE\tdata\n"
    "guide\t0\n"
    "back_type\t2\n"
    "back_color\t{128,128,128}\n"
    "back_img\tbkimg\\\x83\x5E\x83\x43\x83\x8B\x82\x50.BMP\n"
    "back_gazou\tFALSE 0.100000 0.000000 0.500000 50.000000 1.000000 0.000000\n"
    "dtsave\t\tTRUE\n"
    "web\t0\t_readme\\readme.htm\n"
    "web\t1\thttps://www.qt.io/\n"
    "web\t2\thttps://en.wikipedia.org/wiki/Jigsaw_puzzle\n"
    "web\t3\tnone\n"
    "web\t4\tnone\n"
    "web\t5\tnone\n"
    "web\t6\tnone\n"
    "web\t7\tnone\n"
    "web\t8\tnone\n"
    "web\t9\tnone\n"
    "kage\tTRUE\n"
    "seiretu\tFALSE\n"
    "ddraw\tTRUE\n"
    "smooth\tTRUE\n"
    "nokosu\tFALSE\n"
    "tray\tFALSE\n"
    "sound\tFALSE\n"
    "skin\tFALSE\n"
    "trace\tFALSE\n";

TEST_F(SettingsWrite, DefaultsGiveTheFirstRunFile) {
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists("ZELTORC.TXT.new"));
}

TEST_F(SettingsWrite, ChoicesAndFlagsChooseTheirWords) {
    settings.line_num = 4;
    settings.kaiten = 234;
    settings.back_type = 245;
    settings.back_gazou = true;
    settings.back_gazou_line = true;
    settings.view = false;
    settings.mmove = false;
    settings.mmove_rate = 1.0 / 3;
    settings.back_color = 0x123456;
    write_settings("ZELTORC.TXT");
    const std::string text = read_file("ZELTORC.TXT");
    EXPECT_NE(text.find("line_num   4\nline 0 {0,0} {24,-12} {108,-24} {74,24}\nline 1"), std::string::npos);
    EXPECT_NE(text.find("\nkaiten\tTRUE\n"), std::string::npos);
    EXPECT_NE(text.find("\nback_type\t3\n"), std::string::npos);
    EXPECT_NE(text.find("\nback_gazou\tLINE 0.100000"), std::string::npos);
    EXPECT_NE(text.find("\nview\tFALSE\tTRUE\tdata\n"), std::string::npos);
    EXPECT_NE(text.find("\nmmove\tFALSE\t50\t0.333333\n"), std::string::npos);
    EXPECT_NE(text.find("\nback_color\t{86,52,18}\n"), std::string::npos);
    settings.back_gazou = false;  // LINE needs both
    settings.kaiten = 237;
    settings.back_type = 242;
    write_settings("ZELTORC.TXT");
    const std::string other = read_file("ZELTORC.TXT");
    EXPECT_NE(other.find("\nback_gazou\tFALSE 0.100000"), std::string::npos);
    EXPECT_EQ(other.find("kaiten"), std::string::npos);
    EXPECT_EQ(other.find("back_type"), std::string::npos);
}

// Every value away from its default, including texts that need references to survive the file.
void change_everything() {
    Settings& s = settings;
    s.win_left = -20, s.win_top = 15, s.win_width = 1024, s.win_height = 700;
    s.desk_w = 3000, s.desk_h = 2000, s.click_time = 250, s.click_dxdy = 4, s.line_num = 7;
    for (int n = 0; n < kLineTemplates; ++n)
        for (int i = 0; i < 7; ++i) s.line[n][i] = Point{n * 100 + i, -i};
    s.edge_n = 3;
    for (int i = 0; i < 8; ++i) s.edge_v[i] = Point{i, -2 * i};
    s.piece_num = 150, s.stretch_size = 800, s.kaiten = 234, s.hanten = false;
    s.mmove = false, s.mmove_size = 30, s.mmove_rate = 0.5, s.image = false;
    s.view = false, s.view_follow = false, s.view_dir = "  #1 café\tphotos &x41; ¥ end  ";
    s.guide = 1, s.back_type = 245, s.back_color = 0x0A141E;
    s.back_img = "bkimg\\😀 #1.bmp";
    s.back_gazou = true, s.back_gazou_line = true;
    for (int i = 0; i < 6; ++i) s.back_gazou_v[i] = 0.25 * i - 0.5;
    s.dtsave = false;
    for (int n = 0; n < 10; ++n) s.web[n] = "https://example.org/" + std::to_string(n);
    s.web[7] = "\xE3\x80\x80全角 blank first";
    s.kage = false, s.seiretu = true, s.ddraw = false, s.smooth = false, s.nokosu = true;
    s.tray = true, s.sound = true, s.skin = true, s.trace = true;
}

// Every value was changed, so a value the reader missed would stay at its default and change the second file.
TEST_F(SettingsWrite, WriteThenReadGivesTheSameRecordAndTheSameBytes) {
    write_file("bkimg/😀 #1.bmp", "BM");
    change_everything();
    const Settings written = settings;
    write_settings("ZELTORC.TXT");
    const std::string first = read_file("ZELTORC.TXT");
    settings = Settings{};
    read_settings("ZELTORC.TXT");
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), first);
    EXPECT_EQ(settings.view_dir, written.view_dir);
    EXPECT_EQ(settings.back_img, written.back_img);
    EXPECT_EQ(settings.web[7], written.web[7]);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[5], 0.75);
    // The texts that needed it are held by references, on single lines.
    EXPECT_NE(first.find("view\tFALSE\tFALSE\t&x20;&x20;&x23;1 caf&xE9;\tphotos &x26;x41; &xA5; end  \n"),
              std::string::npos);
    EXPECT_NE(first.find("back_img\tbkimg\\&x1F600; &x23;1.bmp\n"), std::string::npos);
    EXPECT_NE(first.find("web\t7\t&x3000;\x91\x53\x8A\x70 blank first\n"), std::string::npos);
}

TEST_F(SettingsWrite, TheFirstRunFileReadsBackToTheDefaults) {
    write_file("bkimg/タイル１.BMP", "BM");
    write_file("ZELTORC.TXT", kDefaultFile);
    change_everything();
    read_settings("ZELTORC.TXT");
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), kDefaultFile);
}

TEST_F(SettingsWrite, OverlongTextsAreCutAsTheReaderWouldCutThem) {
    std::string accents, cut;
    for (int i = 0; i < 200; ++i) accents += "é";
    for (int i = 0; i < 51; ++i) cut += "é";  // 51 references of 5 bytes fill 255 of 259 bytes
    settings.view_dir = accents;
    settings.web[2] = std::string(600, 'w');
    write_settings("ZELTORC.TXT");
    const std::string text = read_file("ZELTORC.TXT");
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LT(end - start, 519u) << "a line the reader would split";
    settings = Settings{};
    read_settings("ZELTORC.TXT");
    EXPECT_EQ(settings.view_dir, cut);
    EXPECT_EQ(settings.web[2], std::string(255, 'w'));
    EXPECT_EQ(settings.web[3], "none");
}

TEST_F(SettingsWrite, AnUnwritablePlaceLeavesNothingBehind) {
    write_settings("no_such_folder/ZELTORC.TXT");
    EXPECT_FALSE(std::filesystem::exists("no_such_folder"));
    write_settings("");
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

TEST_F(SettingsWrite, AnExistingFileOfOtherCaseIsReplaced) {
    write_file("zeltorc.txt", "piece_num 4\n");
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("zeltorc.txt"), kDefaultFile);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
