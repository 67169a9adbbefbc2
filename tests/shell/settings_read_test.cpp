// read_settings: how each key's line is read, what is ignored, and the files read after the settings file.
#include <string>

#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using SettingsRead = ShellFiles;

TEST_F(SettingsRead, NumbersKeepTheirValueWhenNotOfTheirForm) {
    read_settings_text(
        "win_left -20\nwin_top 2x\nwin_width 1.5\nwin_height\nstretch_size +\ndesk_w 640 480\n"
        "click_time 250\nclick_dxdy -3\npiece_num 75\nPIECE_NUM 99\nedge_n 9\n");
    EXPECT_EQ(settings.win_left, -20);
    EXPECT_EQ(settings.win_top, 0);
    EXPECT_EQ(settings.win_width, 0);
    EXPECT_EQ(settings.win_height, 0);
    EXPECT_EQ(settings.stretch_size, 0);  // a lone sign is 0
    EXPECT_EQ(settings.desk_w, 640);
    EXPECT_EQ(settings.desk_h, 0);
    EXPECT_EQ(settings.click_time, 250);
    EXPECT_EQ(settings.click_dxdy, -3);
    EXPECT_EQ(settings.piece_num, 75);  // keys are case-sensitive
    EXPECT_EQ(settings.edge_n, 9);
}

TEST_F(SettingsRead, TheLastLineOfAKeyWinsAndBlanksMayBeFullWidth) {
    read_settings_text("piece_num 50\npiece_num 100\nhanten\x81\x40" "FALSE\n\x81\x40image\tFALSE\n");
    EXPECT_EQ(settings.piece_num, 100);
    EXPECT_FALSE(settings.hanten);
    EXPECT_FALSE(settings.image);
}

TEST_F(SettingsRead, MmoveTakesUpToThreeValues) {
    read_settings_text("mmove   TRUE    30   0.5   # quicker\n");
    EXPECT_TRUE(settings.mmove);
    EXPECT_EQ(settings.mmove_size, 30);
    EXPECT_DOUBLE_EQ(settings.mmove_rate, 0.5);
    settings.mmove = false;
    read_settings_text("mmove TRUE\n");
    EXPECT_TRUE(settings.mmove);
    EXPECT_EQ(settings.mmove_size, 30);
    EXPECT_DOUBLE_EQ(settings.mmove_rate, 0.5);
}

TEST_F(SettingsRead, UnreadableFlagsFallBackAsEachKeySays) {
    settings.kage = false;
    settings.tray = true;
    settings.sound = true;
    settings.seiretu = true;
    read_settings_text("kage maybe\ntray maybe\nsound maybe\nseiretu\nddraw FALSE\n");
    EXPECT_TRUE(settings.kage);
    EXPECT_FALSE(settings.tray);
    EXPECT_TRUE(settings.sound);  // unchanged
    EXPECT_FALSE(settings.seiretu);
    EXPECT_FALSE(settings.ddraw);
    settings.sound = false;
    read_settings_text("sound maybe\nsmooth FALSE\nnokosu TRUE\nskin TRUE\ntrace TRUE\ndtsave FALSE\n");
    EXPECT_FALSE(settings.sound);
    EXPECT_FALSE(settings.smooth);
    EXPECT_TRUE(settings.nokosu);
    EXPECT_TRUE(settings.skin);
    EXPECT_TRUE(settings.trace);
    EXPECT_FALSE(settings.dtsave);
}

TEST_F(SettingsRead, MenuChoicesMapToTheirCommandNumbers) {
    read_settings_text("kaiten TRUE\nback_type 1\n");
    EXPECT_EQ(settings.kaiten, 234);
    EXPECT_EQ(settings.back_type, 243);
    read_settings_text("kaiten FALSE\nback_type 3\n");
    EXPECT_EQ(settings.kaiten, 235);
    EXPECT_EQ(settings.back_type, 245);
    read_settings_text("kaiten 90\nback_type 2\n");
    EXPECT_EQ(settings.kaiten, 236);
    EXPECT_EQ(settings.back_type, 244);
    read_settings_text("kaiten 45\nback_type 4\nkaiten\nback_type x\n");
    EXPECT_EQ(settings.kaiten, 236);
    EXPECT_EQ(settings.back_type, 244);
}

TEST_F(SettingsRead, GuideAndWebCheckTheirRange) {
    read_settings_text("guide 3\n");
    EXPECT_EQ(settings.guide, 0);
    read_settings_text("guide -1\n");
    EXPECT_EQ(settings.guide, 0);
    read_settings_text("guide 2\nweb 3 C:\\docs\\my page.htm\nweb 10 ignored\nweb -1 ignored\nweb 4\n");
    EXPECT_EQ(settings.guide, 2);
    EXPECT_EQ(settings.web[3], "C:\\docs\\my page.htm");
    EXPECT_EQ(settings.web[4], "none");
    for (int n : {0, 1, 2, 5, 9}) EXPECT_EQ(settings.web[n], Settings{}.web[n]) << n;
}

TEST_F(SettingsRead, LineTemplatesReadLineNumPoints) {
    const Settings defaults;
    read_settings_text("line_num 4\nline 2 {1,2} {3,4} {5,-6} {7,8} {9,10}\n");
    EXPECT_EQ(settings.line_num, 4);
    EXPECT_EQ(settings.line[2][0], (Point{1, 2}));
    EXPECT_EQ(settings.line[2][2], (Point{5, -6}));
    EXPECT_EQ(settings.line[2][3], (Point{7, 8}));
    EXPECT_EQ(settings.line[2][4], defaults.line[2][4]);
    EXPECT_EQ(settings.line[1][0], defaults.line[1][0]);
    // A token that does not match leaves the rest of its point; templates 0..3 only.
    read_settings_text("line 0 junk {5,x} {,7} {8,9}junk\nline 4 {1,1}\nline -1 {1,1}\n");
    EXPECT_EQ(settings.line[0][0], defaults.line[0][0]);
    EXPECT_EQ(settings.line[0][1], (Point{5, -12}));
    EXPECT_EQ(settings.line[0][2], defaults.line[0][2]);
    EXPECT_EQ(settings.line[0][3], (Point{8, 9}));
    EXPECT_EQ(settings.line[3][0], defaults.line[3][0]);
}

TEST_F(SettingsRead, LineNumMustBeOneMoreThanAMultipleOfThreeUpTo19) {
    for (const char* bad : {"0", "5", "20", "22", "-2", "x"}) {
        read_settings_text(std::string("line_num ") + bad + "\n");
        EXPECT_EQ(settings.line_num, 10) << bad;
    }
    std::string nineteen = "line_num 19\nline 1";
    for (int i = 0; i < 19; ++i) nineteen += " {" + std::to_string(i) + "," + std::to_string(-i) + "}";
    read_settings_text(nineteen + "\n");
    EXPECT_EQ(settings.line_num, 19);
    EXPECT_EQ(settings.line[1][18], (Point{18, -18}));
    read_settings_text("line_num 1\n");
    EXPECT_EQ(settings.line_num, 1);
}

TEST_F(SettingsRead, EdgeVReadsEightPoints) {
    read_settings_text("edge_v {1,2} {3,4} {5,6} {7,8} {9,10} {11,12} {13,14} {15,16} {17,18}\n");
    EXPECT_EQ(settings.edge_v[0], (Point{1, 2}));
    EXPECT_EQ(settings.edge_v[7], (Point{15, 16}));
}

TEST_F(SettingsRead, BackColourNeedsAllThreeComponents) {
    read_settings_text("back_color {255,0,256}\n");
    EXPECT_EQ(settings.back_color, 0x0000FFu);
    read_settings_text("back_color {-1,2,3}\n");
    EXPECT_EQ(settings.back_color, 0x0302FFu);
    for (const char* bad : {"{1,2}", "(1,2,3)", "{a,2,3}", ""}) {
        read_settings_text(std::string("back_color ") + bad + "\n");
        EXPECT_EQ(settings.back_color, 0x0302FFu) << bad;
    }
}

TEST_F(SettingsRead, BackGazouWordAndSixNumbers) {
    read_settings_text("back_gazou LINE 0.2 -1 0.25 40 2.5 180\n");
    EXPECT_TRUE(settings.back_gazou);
    EXPECT_TRUE(settings.back_gazou_line);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[1], -1.0);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[5], 180.0);
    read_settings_text("back_gazou TRUE\n");
    EXPECT_TRUE(settings.back_gazou);
    EXPECT_FALSE(settings.back_gazou_line);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[0], 0.2);
    read_settings_text("back_gazou maybe 7 x\n");
    EXPECT_TRUE(settings.back_gazou);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[0], 7.0);
    EXPECT_DOUBLE_EQ(settings.back_gazou_v[1], -1.0);
    read_settings_text("back_gazou FALSE\n");
    EXPECT_FALSE(settings.back_gazou);
}

TEST_F(SettingsRead, BackImgIsTheRestOfTheLineAndMustOpen) {
    write_file("bkimg/my tile.bmp", "BM");
    read_settings_text("back_img bkimg\\my tile.bmp\n");
    EXPECT_EQ(settings.back_img, "bkimg\\my tile.bmp");
    EXPECT_EQ(settings.back_type, 244);
    // Found without regard to case, but kept as written.
    read_settings_text("back_img BKIMG\\My Tile.BMP\n");
    EXPECT_EQ(settings.back_img, "BKIMG\\My Tile.BMP");
    EXPECT_EQ(settings.back_type, 244);
    read_settings_text("back_img bkimg\\missing tile.bmp\n");
    EXPECT_EQ(settings.back_img, "none");
    EXPECT_EQ(settings.back_type, 243);
}

TEST_F(SettingsRead, TheDefaultTileIsFoundFromItsCodePageName) {
    write_file("bkimg/タイル１.BMP", "BM");
    read_settings_text("back_type 2\nback_img bkimg\\" + kTileCp932 + ".BMP\n");
    EXPECT_EQ(settings.back_img, "bkimg\\タイル１.BMP");
    EXPECT_EQ(settings.back_type, 244);
}

TEST_F(SettingsRead, ViewTakesTwoFlagsAndAFolder) {
    read_settings_text("view FALSE TRUE \x8E\xCA\x90\x5E\\\x83\x74\x83\x48\x83\x8B\x83\x5F\n");  // 写真\フォルダ
    EXPECT_FALSE(settings.view);
    EXPECT_TRUE(settings.view_follow);
    EXPECT_EQ(settings.view_dir, "写真\\フォルダ");
    read_settings_text("view TRUE\n");
    EXPECT_TRUE(settings.view);
    EXPECT_EQ(settings.view_dir, "写真\\フォルダ");
}

TEST_F(SettingsRead, LongTextsAreCutBetweenCharacters) {
    std::string a250;
    for (int i = 0; i < 250; ++i) a250 += "\x82\xA0";  // あ
    read_settings_text("view TRUE TRUE " + a250 + "\nweb 5 " + a250 + "\n");
    std::string a129, a127;
    for (int i = 0; i < 129; ++i) a129 += "あ";
    for (int i = 0; i < 127; ++i) a127 += "あ";
    EXPECT_EQ(settings.view_dir, a129);  // 258 of the 259 bytes a 260-byte buffer holds
    EXPECT_EQ(settings.web[5], a127);    // 254 of 255
}

TEST_F(SettingsRead, ALineLongerThanTheBufferIsReadInPieces) {
    // The comment ends with the first piece; what follows in the same line is read as a line of its own.
    read_settings_text("#" + std::string(518, 'x') + "piece_num 7\nstretch_size 500\n");
    EXPECT_EQ(settings.piece_num, 7);
    EXPECT_EQ(settings.stretch_size, 500);
}

TEST_F(SettingsRead, WindowsLineEndsReadLikeOurOwn) {
    read_settings_text("hanten FALSE\r\nview TRUE TRUE pics\r\nkaiten 90\r\n");
    EXPECT_FALSE(settings.hanten);
    EXPECT_EQ(settings.view_dir, "pics");
}

TEST_F(SettingsRead, TheSoundListFollowsAndTheSkinFileOnlyWithSkinOn) {
    static int skin_reads;
    static std::string skin_first_line;
    skin_reads = 0;
    read_skin_file = [](std::FILE* f) {
        ++skin_reads;
        char buf[64] = {};
        if (std::fgets(buf, sizeof buf, f)) skin_first_line = buf;
    };
    write_file("sound/sound.txt", "joint 0 0 0 SOUND\\joint.wav\n");
    write_file("SKIN/SKIN.TXT", "win 0 0 640 480\n");
    read_settings_text("skin FALSE\n");
    EXPECT_EQ(sound_list[SOUND_JOINT - 1].file, "SOUND\\joint.wav");
    EXPECT_EQ(skin_reads, 0);
    read_settings_text("skin TRUE\n");
    EXPECT_EQ(skin_reads, 1);
    EXPECT_EQ(skin_first_line, "win 0 0 640 480\n");
}

TEST_F(SettingsRead, AMissingSettingsFileReadsNothingElse) {
    write_file("SOUND/SOUND.TXT", "joint 0 0 0 SOUND\\joint.wav\n");
    settings.piece_num = 77;
    read_settings("ZELTORC.TXT");
    EXPECT_EQ(settings.piece_num, 77);
    EXPECT_EQ(sound_list[SOUND_JOINT - 1].file, "none");
}

}  // namespace
