// write_settings: the exact lines of the file, and write-then-read giving back the same record and the same bytes.
#include <filesystem>
#include <string>

#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using SettingsWrite = ShellFiles;

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

// The file of a first run, as a person checked it line by line (tests/shell/data/first_run_ZELTORC.TXT, written
// once from the defaults and read through against the file's format).
std::string first_run_file() { return read_file(ZELTO_SOURCE_DIR "/tests/shell/data/first_run_ZELTORC.TXT"); }

TEST_F(SettingsWrite, DefaultsGiveTheFirstRunFileAndItReadsBackToThem) {
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), first_run_file());
    EXPECT_FALSE(std::filesystem::exists("ZELTORC.TXT.new"));
    write_file("bkimg/タイル１.BMP", "BM");
    change_everything();
    read_settings("ZELTORC.TXT");
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), first_run_file());
}

// Menu choices no key can name leave their line out.
TEST_F(SettingsWrite, UnknownChoicesAreLeftOut) {
    settings.kaiten = 237;
    settings.back_type = 242;
    write_settings("ZELTORC.TXT");
    const std::string text = read_file("ZELTORC.TXT");
    EXPECT_EQ(text.find("kaiten"), std::string::npos);
    EXPECT_EQ(text.find("back_type"), std::string::npos);
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
    EXPECT_EQ(read_file("zeltorc.txt"), first_run_file());
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
