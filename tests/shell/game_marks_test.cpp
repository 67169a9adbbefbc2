// What the shell keeps of a game in play: which moves make it unsaved, the name a close saves it under, the move
// sound's loop, and the seed its cutting lines are laid from.
#include "play/jigwin.h"
#include "play/play.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/save_support.h"
#include "shell/sound.h"

using namespace save_test;

namespace {

class GameMarks : public SaveTest {
protected:
    std::unique_ptr<Jig> game_;
    void SetUp() override {
        SaveTest::SetUp();
        write_pattern_bmp(file("cat.bmp"), 64, 64);
        game_ = cut_game(file("cat.bmp"), 4);
        play.game_saved = 1;
    }
    void TearDown() override {
        play.game_saved = 0;
        SaveTest::TearDown();
    }
};

// Every move that changes the desk leaves the game unsaved, so that closing offers to save it.
TEST_F(GameMarks, MovesClearTheSavedMark) {
    const struct {
        const char* name;
        void (*move)(Jig&);
        int32_t saved_after;
    } moves[] = {
        {"range drag", [](Jig& g) { g.mark_range(-5000, -5000, 5000, 5000), g.move_range(7, 3); }, 0},
        {"range drag of nothing", [](Jig& g) { g.mark_range(0, 0, 1, 1), g.move_range(7, 3); }, 1},
        {"range held still", [](Jig& g) { g.mark_range(-5000, -5000, 5000, 5000), g.move_range(0, 0); }, 1},
        {"turn over", [](Jig&) { play.current_game->holding = 1, on_rev(0); }, 0},
        {"quarter turn", [](Jig&) { play.current_game->holding = 1, on_p90_kaiten(0); }, 0},
    };
    play.current_game = game_.get();
    for (const auto& m : moves) {
        play.game_saved = 1;
        m.move(*game_);
        EXPECT_EQ(play.game_saved, m.saved_after) << m.name;
    }
}

// A new game on a picture whose saved game exists is offered the next free name; the earlier file stays.
TEST_F(GameMarks, ClosingNeverReplacesAnotherGamesSave) {
    write_bytes(file("cat.zlt"), {1, 2, 3});
    write_bytes(file("cat1.zlt"), {4});
    play.game_saved = 0;
    play.current_game = game_.release();
    EXPECT_EQ(confirm_close(0), 1);  // answered with the first button: save
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_NE(ws::test::messages()[0].text.find(file("cat2.zlt")), std::string::npos);
    EXPECT_EQ(saved_game_usable(file("cat2.zlt")), 1);
    EXPECT_EQ(read_bytes(file("cat.zlt")), (Bytes{1, 2, 3}));
    EXPECT_EQ(play.save_path, file("cat2.zlt"));
    EXPECT_EQ(default_save_name(), file("cat2.zlt"));  // its own file from now on
    play.save_path.clear();
    play.picture_path = file("dog.jpg");
    EXPECT_EQ(default_save_name(), file("dog.zlt"));
}

TEST_F(GameMarks, ALoopingMoveSoundStartsOncePerDrag) {
    settings.sound = true;
    const SoundEntry kept = play.sound_list[SOUND_MOVE - 1];
    write_bytes(file("move.wav"), {});
    for (int32_t loop : {1, 0}) {
        play.sound_list[SOUND_MOVE - 1] = {0, 0, loop, file("move.wav")};
        ws::test::reset();
        play.sound_looping = 0;
        play.current_game = game_.get();
        game_->holding = 1;
        for (int32_t step = 0; step < 3; ++step) on_draw(0, ws::make_lparam(10 + step, 10));
        EXPECT_EQ(ws::test::sounds().size(), loop ? 1u : 3u) << "loop " << loop;
    }
    play.sound_list[SOUND_MOVE - 1] = kept;
    play.sound_looping = 0;
}

// The layer's clock starts at zero with every run; outside test mode the seed comes from the wall clock.
TEST(GameSeed, DiffersFromRunToRunOutsideTestMode) {
    EXPECT_EQ(game_seed(true, 1234, 99), 1234u);
    EXPECT_EQ(game_seed(true, 1234, 100), 1234u);
    EXPECT_NE(game_seed(false, 1234, 1765000000000), game_seed(false, 1234, 1765000000001));
    EXPECT_EQ(game_seed(), ws::tick_count());  // the tests run in test mode
}

}  // namespace
