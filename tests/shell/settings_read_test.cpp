// read_settings: how each key's line is read, seen through the file the writer makes of what was read.
#include <string>
#include <vector>

#include "play/state.h"
#include "shell/settings.h"
#include "shell/state.h"
#include "shell_fixture.h"

namespace {

using SettingsRead = ShellFiles;

std::string repeat(const std::string& s, int n) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}

// 写真\フォルダ and あ in code page 932.
const std::string kFolderCp932 = "\x8E\xCA\x90\x5E\\\x83\x74\x83\x48\x83\x8B\x83\x5F", kA = "\x82\xA0";

// Each row: a settings file read over the defaults, and lines the rewritten file must hold (hand-checked against
// the reading rules of each key).
struct Row {
    std::string file;
    std::vector<std::string> written;
};

const Row kRows[] = {
    // Numbers keep their value when not of their form; a lone sign is 0; keys are case-sensitive.
    {"win_left -20\nwin_top 2x\nwin_width 1.5\nwin_height\nstretch_size +\ndesk_w 640 480\nclick_time 250\n"
     "click_dxdy -3\npiece_num 75\nPIECE_NUM 99\nedge_n 9\n",
     {"win_left   -20\n", "win_top    0\n", "win_width  0\n", "win_height 0\n", "stretch_size\t0\n",
      "desk_w     640\n", "desk_h     0\n", "click_time 250\n", "click_dxdy -3\n", "piece_num\t75\n", "edge_n\t9\n"}},
    // The last line of a key wins; blanks may be full-width; a long line is read in pieces.
    {"piece_num 50\npiece_num 100\nhanten\x81\x40" "FALSE\n\x81\x40image\tFALSE\n#" + std::string(518, 'x') +
         "stretch_size 7\n",
     {"piece_num\t100\n", "hanten\tFALSE\n", "image\tFALSE\n", "stretch_size\t7\n"}},
    {"mmove   TRUE    30   0.5   # quicker\nmmove FALSE\n", {"mmove\tFALSE\t30\t0.500000\n"}},
    // Unreadable flags fall back as each key says.
    {"kage FALSE\nkage maybe\ntray TRUE\ntray maybe\nsound TRUE\nsound maybe\nseiretu TRUE\nseiretu\nddraw FALSE\n"
     "smooth FALSE\nnokosu TRUE\nskin TRUE\ntrace TRUE\ndtsave FALSE\n",
     {"kage\tTRUE\n", "tray\tFALSE\n", "sound\tTRUE\n", "seiretu\tFALSE\n", "ddraw\tFALSE\n", "smooth\tFALSE\n",
      "nokosu\tTRUE\n", "skin\tTRUE\n", "trace\tTRUE\n", "dtsave\t\tFALSE\n"}},
    {"kaiten TRUE\nback_type 1\n", {"kaiten\tTRUE\n", "back_type\t1\n"}},
    {"kaiten FALSE\nback_type 3\nkaiten 45\nback_type 4\nkaiten\nback_type x\n", {"kaiten\tFALSE\n", "back_type\t3\n"}},
    {"guide 2\nguide 3\nguide -1\nweb 3 C:\\docs\\my page.htm\nweb 10 x\nweb -1 x\nweb 4\nweb 9 a\n",
     {"guide\t2\n", "web\t3\tC:\\docs\\my page.htm\n", "web\t4\tnone\n", "web\t9\ta\n", "web\t2\thttps://en.wiki"}},
    // Templates read line_num points; a token that does not match leaves the rest of its point.
    {"line_num 4\nline 2 {1,2} {3,4} {5,-6} {7,8} {9,10}\nline 0 junk {5,x} {,7} {8,9}junk\nline 4 {1,1}\n",
     {"line_num   4\n", "line 0 {0,0} {5,-12} {108,-24} {8,9}\n", "line 1 {0,0} {24,-12} {119,-23} {79,24}\n",
      "line 2 {1,2} {3,4} {5,-6} {7,8}\n"}},
    // line_num is 3k + 1, from 4 (one Bezier segment) to 19 (the tables).
    {"line_num 7\nline_num 0\nline_num 1\nline_num 5\nline_num 20\nline_num 22\nline_num -2\nline_num x\n",
     {"line_num   7\n"}},
    {"line_num 19\nline 3 {0,0} {1,-1} {2,-2} {3,-3} {4,-4} {5,-5} {6,-6} {7,-7} {8,-8} {9,-9} {10,-10} {11,-11} "
     "{12,-12} {13,-13} {14,-14} {15,-15} {16,-16} {17,-17} {18,-18}\n",
     {"line_num   19\n", " {17,-17} {18,-18}\n"}},
    {"edge_v {1,2} {3,4} {5,6} {7,8} {9,10} {11,12} {13,14} {15,16} {17,18}\n",
     {"edge_v\t {1,2} {3,4} {5,6} {7,8} {9,10} {11,12} {13,14} {15,16}\n"}},
    {"back_color {255,0,256}\n", {"back_color\t{255,0,0}\n"}},
    {"back_color {-1,2,3}\nback_color {1,2}\nback_color (1,2,3)\nback_color {a,2,3}\nback_color\n",
     {"back_color\t{255,2,3}\n"}},
    {"back_gazou LINE 0.2 -1 0.25 40 2.5 180\n",
     {"back_gazou\tLINE 0.200000 -1.000000 0.250000 40.000000 2.500000 180.000000\n"}},
    {"back_gazou LINE 0.2 -1 0.25 40 2.5 180\nback_gazou TRUE\nback_gazou maybe 7 x\n",
     {"back_gazou\tTRUE 7.000000 -1.000000 0.250000 40.000000 2.500000 180.000000\n"}},
    {"back_gazou LINE\nback_gazou FALSE\n", {"back_gazou\tFALSE 0.100000"}},
    {"view FALSE TRUE " + kFolderCp932 + "\n", {"view\tFALSE\tTRUE\t" + kFolderCp932 + "\n"}},
    {"view FALSE FALSE pics\r\nview TRUE\r\nhanten FALSE\r\n", {"view\tTRUE\tFALSE\tpics\n", "hanten\tFALSE\n"}},
    // Long texts are cut between characters: 258 of the 259 bytes a 260-byte buffer holds, 254 of 255.
    {"view TRUE TRUE " + repeat(kA, 250) + "\nweb 5 " + repeat(kA, 250) + "\n",
     {"\t" + repeat(kA, 129) + "\n", "web\t5\t" + repeat(kA, 127) + "\n"}},
    // The background picture is the rest of the line and must open; found without regard to case, kept as written.
    {"back_img bkimg\\my tile.bmp\n", {"back_img\tbkimg\\my tile.bmp\n", "back_type\t2\n"}},
    {"back_img BKIMG\\My Tile.BMP\n", {"back_img\tBKIMG\\My Tile.BMP\n", "back_type\t2\n"}},
    {"back_img bkimg\\missing.bmp\n", {"back_img\tnone\n", "back_type\t1\n"}},
    {"back_type 2\nback_img bkimg\\" + kTileCp932 + ".BMP\n", {"back_img\tbkimg\\" + kTileCp932 + ".BMP\n"}},
};

TEST_F(SettingsRead, EachKeyReadsAsItsRuleSays) {
    write_file("bkimg/my tile.bmp", "BM");
    write_file("bkimg/タイル１.BMP", "BM");
    for (const Row& row : kRows) {
        settings = Settings{};
        read_settings_text(row.file);
        write_settings("OUT.TXT");
        const std::string out = read_file("OUT.TXT");
        for (const std::string& line : row.written)
            EXPECT_NE(out.find(line), std::string::npos) << "reading\n" << row.file << "\nshould write\n" << line;
    }
}

TEST_F(SettingsRead, TheSoundListFollowsAndTheSkinFileOnlyWithSkinOn) {
    static int skin_reads;
    skin_reads = 0;
    shell.read_skin_file = [](std::FILE* f) { skin_reads += std::fgetc(f) == 'w'; };
    write_file("sound/sound.txt", "joint 0 0 0 SOUND\\joint.wav\n");
    write_file("SKIN/SKIN.TXT", "win 0 0 640 480\n");
    read_settings("ZELTORC.TXT");  // no settings file: nothing else is read either
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "none");
    read_settings_text("skin FALSE\n");
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "SOUND\\joint.wav");
    EXPECT_EQ(skin_reads, 0);
    read_settings_text("skin TRUE\n");
    EXPECT_EQ(skin_reads, 1);
}

}  // namespace
