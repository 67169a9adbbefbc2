// Settings and sound list files that are garbage, enormous or not code page 932: no crash, defaults kept, clean rewrite.
#include <iconv.h>

#include <cstdint>
#include <random>
#include <string>

#include "play/state.h"
#include "shell/settings.h"
#include "shell_fixture.h"

namespace {

using BadInput = ShellFiles;

std::string garbage(std::size_t size, uint32_t seed) {
    std::mt19937 gen(seed);
    std::string s(size, '\0');
    for (char& c : s) c = char(gen() & 0xFF);
    return s;
}

std::string settings_file_of_defaults() {
    const Settings kept = settings;
    settings = Settings{};
    write_settings("defaults.txt");
    settings = kept;
    return read_file("defaults.txt");
}

// True when every byte of `bytes` is code page 932 (iconv refuses anything else).
bool strict_cp932(const std::string& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    std::string out(bytes.size() * 3 + 16, '\0');
    char* op = out.data();
    std::size_t out_left = out.size();
    const bool ok = iconv(cd, &in, &in_left, &op, &out_left) != std::size_t(-1) && in_left == 0;
    iconv_close(cd);
    return ok;
}

TEST_F(BadInput, BinaryGarbageLeavesEveryDefault) {
    write_file("bkimg/タイル１.BMP", "BM");
    const std::string defaults = settings_file_of_defaults();
    write_file("ZELTORC.TXT", garbage(64 * 1024, 1));
    write_file("SOUND/SOUND.TXT", garbage(16 * 1024, 11));
    read_settings("ZELTORC.TXT");
    write_settings("ZELTORC.TXT");
    EXPECT_EQ(read_file("ZELTORC.TXT"), defaults);
    for (const SoundEntry& e : play.sound_list) EXPECT_EQ(e.file, "none");
}

TEST_F(BadInput, ATenMegabyteLineDoesNotHideTheLinesAfterIt) {
    write_file("bkimg/タイル１.BMP", "BM");
    write_file("ZELTORC.TXT", "piece_num 50\n" + std::string(10 * 1024 * 1024, 'x') + "\nstretch_size 700\n");
    write_file("SOUND/SOUND.TXT", std::string(10 * 1024 * 1024, '#') + "\njoint 0 0 0 j.wav\n");
    read_settings("ZELTORC.TXT");
    EXPECT_EQ(settings.piece_num, 50);
    EXPECT_EQ(settings.stretch_size, 700);
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "j.wav");
}

TEST_F(BadInput, InvalidCodePageBytesAreReplacedAndRewrittenCleanly) {
    write_file("ZELTORC.TXT",
               "view TRUE TRUE ab\xA0\xFD\x85\x40" "cd\x81\n"
               "web 4 \xFF\xFF\n"
               "pie\xA0" "ce_num 60\n"
               "piece_num 61\xA0\n");
    read_settings("ZELTORC.TXT");
    EXPECT_EQ(settings.view_dir, "ab\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" "cd\xEF\xBF\xBD");
    EXPECT_EQ(settings.web[4], "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(settings.piece_num, 20);
    write_settings("ZELTORC.TXT");
    const std::string rewritten = read_file("ZELTORC.TXT");
    EXPECT_TRUE(strict_cp932(rewritten));
    EXPECT_NE(rewritten.find("view\tTRUE\tTRUE\tab&xFFFD;&xFFFD;&xFFFD;cd&xFFFD;\n"), std::string::npos);
}

TEST_F(BadInput, AFolderInPlaceOfTheFilesIsNoFile) {
    std::filesystem::create_directories("ZELTORC.TXT");
    std::filesystem::create_directories("SOUND/SOUND.TXT");
    read_settings("ZELTORC.TXT");
    read_settings(nullptr);
    read_sound_list(nullptr);
    EXPECT_EQ(settings.piece_num, 20);
    write_file("ZELTORC.TXT2", "back_img SOUND\n");
    read_settings("ZELTORC.TXT2");
    EXPECT_EQ(settings.back_img, "none");  // a folder is no background picture
}

}  // namespace
