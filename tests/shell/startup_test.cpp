// Start-up: the argument quote rule, the first run without settings, a settings file that cannot be written, and
// the seed of a run's games.
#include "shell/shell_test.h"
#include "windows/guide_state.h"
#include "windows/tray_strip.h"
#include "windows/viewer_state.h"

using namespace shelltest;

namespace {

TEST(StartupArguments, QuotesAreRemovedAndBlanksKept) {
    // Golden table arguments: the argument text and the picture path taken from it.
    for (const auto& row : golden("arguments")) EXPECT_EQ(picture_from_argument(row.at(0)), row.at(1)) << row[0];
    char a0[] = "zelto", a1[] = "my", a2[] = "picture.jpg";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(argument_text(3, argv), "my picture.jpg");
    EXPECT_EQ(argument_text(1, argv), "");
}

using Startup = ShellTest;

TEST_F(Startup, AFirstRunGivesDefaultsAndWritesTheFileAtTheEndWithoutTheTemporaryPictures) {
    startup(file("none"), "");  // a missing folder leaves the current one
    EXPECT_EQ(std::pair(fs::current_path().string(), play.picture_path), std::pair(dir_.string(), std::string()));
    fs::create_directories(file("prog"));
    startup(file("prog"), "\"x y.jpg\"");
    EXPECT_EQ(fs::current_path(), file("prog"));
    EXPECT_EQ(play.picture_path, "x y.jpg");
    for (const char* name : kTempPictures) write_file(name, "x");
    finish_run();
    EXPECT_TRUE(fs::exists(file("prog/ZELTORC.TXT")));
    for (const char* name : kTempPictures) EXPECT_FALSE(fs::exists(name)) << name;
}

// The end of a run says where the program was started when the settings cannot be written, and only then.
TEST_F(Startup, ASettingsFileThatCannotBeWrittenIsTold) {
    for (const bool writable : {true, false}) {
        if (!writable) fs::remove("ZELTORC.TXT"), fs::create_directories("ZELTORC.TXT");
        testing::internal::CaptureStderr();
        finish_run();
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(told.find("ZELTORC.TXT を書き込めませんでした。") != std::string::npos, !writable) << told;
        EXPECT_EQ(fs::is_regular_file("ZELTORC.TXT"), writable);
    }
}

// The layer's clock starts at zero with every run; outside test mode the seed comes from the wall clock.
TEST(GameSeed, DiffersFromRunToRunOutsideTestMode) {
    EXPECT_NE(game_seed(false, 1234, 1765000000000), game_seed(false, 1234, 1765000000001));
    EXPECT_EQ(std::pair(game_seed(true, 1234, 99), game_seed()), std::pair(1234u, ws::tick_count()));  // in test mode
}

// One call puts every folder's records back as a new run has them, which every test's start relies on.
TEST(ProgramReset, OneCallPutsEveryFoldersRecordsBack) {
    graphics.trace_switch = 1, desk.view_x = 5, puzzle.game_random.seed(9), display.range_state = 2;
    play.last_selected = 3, settings.piece_num = 7, guide.line_color = 0xFF, viewer.first_shown = 4;
    trays.tray_cell = 9, shell.skin_hover_slot = 2;
    reset_shell_state();
    GameRandom fresh;
    EXPECT_EQ(std::tuple(graphics.trace_switch, desk.view_x, display.range_state, play.last_selected,
                         settings.piece_num, guide.line_color, viewer.first_shown, trays.tray_cell,
                         shell.skin_hover_slot, puzzle.game_random.next()),
              std::tuple(0, 0, 0, -1, Settings{}.piece_num, Guide{}.line_color, 0, 0, -1, fresh.next()));
}

}  // namespace
