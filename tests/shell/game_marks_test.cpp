// What the shell keeps of a game in play: the move sound's loop and the seed its cutting lines are laid from.
#include "play/jigwin.h"
#include "play/play.h"
#include "play/state.h"
#include "puzzle/random.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

using GameMarks = SaveTest;

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
