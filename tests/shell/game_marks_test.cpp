// What the shell keeps of a game in play: which moves make it unsaved, the move sound's loop, and the seed its
// cutting lines are laid from.
#include "play/jigwin.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/random.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using GameMarks = SaveTest;

// Every range move that changes the desk leaves the game unsaved, so that closing offers to save it (the turns'
// marks are checked with the turns).
TEST_F(GameMarks, MovesClearTheSavedMark) {
    const struct {
        const char* name;
        void (*move)(Jig&);
        int32_t saved_after;
    } moves[] = {
        {"range drag down", [](Jig& g) { g.mark_range(-5000, -5000, 5000, 5000), g.move_range(0, 3); }, 0},
        {"range drag of nothing", [](Jig& g) { g.mark_range(0, 0, 1, 1), g.move_range(7, 3); }, 1},
        {"range held still", [](Jig& g) { g.mark_range(-5000, -5000, 5000, 5000), g.move_range(0, 0); }, 1},
    };
    Jig& g = cut_game("cat.bmp", 64, 64, 4);
    for (const auto& m : moves) {
        play.game_saved = 1;
        m.move(g);
        EXPECT_EQ(play.game_saved, m.saved_after) << m.name;
    }
}

TEST_F(GameMarks, ALoopingMoveSoundStartsOncePerDrag) {
    settings.sound = true;
    write_file("move.wav", "");
    Jig& g = cut_game("cat.bmp", 64, 64, 4);
    for (int32_t loop : {1, 0}) {
        play.sound_list[SOUND_MOVE - 1] = {0, 0, loop, file("move.wav")};
        ws::test::reset();
        play.sound_looping = 0;
        g.holding = 1;
        for (int32_t step = 0; step < 3; ++step) on_draw(0, ws::make_lparam(10 + step, 10));
        EXPECT_EQ(ws::test::sounds().size(), loop ? 1u : 3u) << "loop " << loop;
    }
}

// The layer's clock starts at zero with every run; outside test mode the seed comes from the wall clock.
TEST(GameSeed, DiffersFromRunToRunOutsideTestMode) {
    EXPECT_EQ(game_seed(true, 1234, 99), 1234u);
    EXPECT_NE(game_seed(false, 1234, 1765000000000), game_seed(false, 1234, 1765000000001));
    EXPECT_EQ(game_seed(), ws::tick_count());  // the tests run in test mode
}

}  // namespace
