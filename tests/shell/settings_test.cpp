// The settings file: how each key's line is read, the exact file written, write-then-read giving back the same
// record and bytes, and files that are garbage, enormous, not code page 932 or not files at all.
#include <random>

#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using Settings_ = ShellTest;

std::string rewritten(const std::string& text) {
    write_file("ZELTORC.TXT", text);
    read_settings("ZELTORC.TXT");
    write_settings("OUT.TXT");
    return read_file("OUT.TXT");
}

TEST_F(Settings_, EachKeyReadsAsItsRuleSays) {
    write_file("bkimg/my tile.bmp", "BM");
    write_file("bkimg/タイル１.BMP", "BM");
    // Each row: text read over the defaults, then the lines the rewritten file must hold.
    for (const auto& row : golden("settings_read")) {
        settings = Settings{};
        const std::string out = rewritten(row[0]);
        for (size_t i = 1; i < row.size(); ++i)
            EXPECT_NE(out.find(row[i]), std::string::npos) << "reading\n" << row[0] << "\nshould write\n" << row[i];
    }
}

// Files as a person checked them line by line against the file's format, written once by the program: a first
// run's from the defaults, and one with every value away from its default, texts held by references included.
std::string data_file(const std::string& name) { return read_file(ZELTO_SOURCE_DIR "/tests/shell/data/" + name); }

TEST_F(Settings_, TheDefaultsGiveTheFirstRunFileAndEveryValueComesBack) {
    write_file("zeltorc.txt", "piece_num 4\n");  // an existing file of other case is replaced
    write_file("bkimg/タイル１.BMP", "BM");
    write_file("bkimg/😀 #1.bmp", "BM");
    ASSERT_TRUE(write_settings("ZELTORC.TXT"));
    EXPECT_EQ(read_file("zeltorc.txt"), data_file("first_run_ZELTORC.TXT"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2) << "a file was left beside the settings";
    // A value the reader missed would stay at its default and change the file written back.
    const std::string every = data_file("every_value_ZELTORC.TXT");
    EXPECT_EQ(rewritten(every), every);
    EXPECT_EQ(std::tuple(settings.view_dir, settings.back_img, settings.web[7], settings.back_gazou_v[5]),
              std::tuple("  #1 café\tphotos &x41; ¥ end  ", "bkimg\\😀 #1.bmp", "\xE3\x80\x80全角 blank first", 0.75));
    EXPECT_EQ(std::tuple(settings.win_left, settings.back_color, settings.kaiten), std::tuple(-20, 0x0A141E, 234));
    // Menu choices no key can name leave their line out.
    settings.kaiten = 237, settings.back_type = 242;
    write_settings("OUT.TXT");
    for (const char* key : {"kaiten", "back_type"}) EXPECT_EQ(read_file("OUT.TXT").find(key), std::string::npos);
    // Keys added later stand only away from their defaults: a zoom of 100 % leaves the first run's file.
    settings = Settings{};
    EXPECT_EQ(rewritten("zoom 100\n"), data_file("first_run_ZELTORC.TXT"));
}

TEST_F(Settings_, OverlongTextsAreCutAsTheReaderWouldCutThem) {
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "é";
    settings.view_dir = accents;
    settings.web[2] = std::string(600, 'w');
    write_settings("ZELTORC.TXT");
    const std::string text = read_file("ZELTORC.TXT");
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LT(end - start, 519u) << "a line the reader would split";
    settings = Settings{};
    write_file("ZELTORC.TXT", text + "web 3 " + std::string(300, 'v') + "\n");  // one written by hand
    read_settings("ZELTORC.TXT");
    EXPECT_EQ(settings.view_dir, accents.substr(0, 51 * 2));  // 51 references of 5 bytes fill 255 of 259 bytes
    EXPECT_EQ(std::pair(settings.web[2], settings.web[3]), std::pair(std::string(255, 'w'), std::string(255, 'v')));
}

TEST_F(Settings_, TheSoundListFollowsAndTheSkinFileOnlyWithSkinOn) {
    static int skin_reads;
    skin_reads = 0;
    shell.read_skin_file = [](std::FILE* f) { skin_reads += std::fgetc(f) == 'w'; };
    write_file("sound/sound.txt", "joint 0 0 0 SOUND\\joint.wav\n");
    write_file("SKIN/SKIN.TXT", "win 0 0 640 480\n");
    read_settings("ZELTORC.TXT");  // no settings file: nothing else is read either
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "none");
    rewritten("skin FALSE\n");
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "SOUND\\joint.wav");
    EXPECT_EQ(skin_reads, 0);
    rewritten("skin TRUE\n");
    EXPECT_EQ(skin_reads, 1);
}

TEST_F(Settings_, GarbageAndHugeLinesLeaveTheDefaultsAndTheLinesAfterThem) {
    write_file("bkimg/タイル１.BMP", "BM");
    std::mt19937 gen(1);
    std::string garbage(64 * 1024, '\0');
    for (char& c : garbage) c = char(gen());
    write_file("SOUND/SOUND.TXT", garbage);
    EXPECT_EQ(rewritten(garbage), data_file("first_run_ZELTORC.TXT"));
    for (const SoundEntry& e : play.sound_list) EXPECT_EQ(e.file, "none");
    write_file("SOUND/SOUND.TXT", std::string(10 << 20, '#') + "\njoint 0 0 0 j.wav\n");
    rewritten("piece_num 50\n" + std::string(10 << 20, 'x') + "\nstretch_size 700\n");
    EXPECT_EQ(std::pair(settings.piece_num, settings.stretch_size), std::pair(50, 700));
    EXPECT_EQ(play.sound_list[SOUND_JOINT - 1].file, "j.wav");
}

TEST_F(Settings_, AFolderInPlaceOfTheFilesIsNoFile) {
    fs::create_directories("ZELTORC.TXT");
    fs::create_directories("SOUND/SOUND.TXT");
    read_settings("ZELTORC.TXT");
    read_settings(nullptr);
    read_sound_list(nullptr);
    EXPECT_EQ(settings.piece_num, 20);
    write_file("ZELTORC.TXT2", "back_img SOUND\n");
    read_settings("ZELTORC.TXT2");
    EXPECT_EQ(settings.back_img, "none");  // a folder is no background picture
}

}  // namespace
