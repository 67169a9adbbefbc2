// Play with the mouse on pieces laid by hand: the click rule and its quarter turns, and the scripts of
// data/moves.txt (turning over, picking up, dragging plain, turning, at the margins, the Ctrl sweep, into a tray,
// the desk drag, ranges and the jump to unseen groups).
#include "play/state.h"
#include "support/desk_script.h"

namespace {

using namespace testsupport;

constexpr Point kAt{100, 100};

class Moves : public DeskWindow {
protected:
    // One 40 x 20 piece centred at kAt lying at `degrees`, the desk drawn.
    static Piece& one_piece(double degrees) {
        Jig& g = new_blank_game();
        Piece& p = add_piece(g, kAt.x, kAt.y, 40, 20, [](int32_t, int32_t) { return 0x3366CCu; });
        p.set_angle(degrees * kPi / 180);
        draw_desk(g);
        return p;
    }
    static double degrees(const Piece& p) { return p.angle * 180 / kPi; }
};

// Each click turns a quarter in its direction with its sound, marks the game changed and redraws desk and window;
// switched-off turns leave only the drop.
TEST_F(Moves, ClicksTurnByQuartersInTheirDirection) {
    for (const Fields& c : read_cases("play/data/clicks.txt")) {
        SCOPED_TRACE(joined(c));
        const char button = c[1][0];
        const double to = std::stod(c[2]);
        settings.kaiten = button == 'm' ? KAITEN_NONE : KAITEN_QUARTER;
        settings.hanten = button != 'm';
        Piece& p = one_piece(std::stod(c[0]));
        play.game_saved = 1;
        const auto sounds = [] { return std::vector{count_played(SOUND_LEFT), count_played(SOUND_RIGHT), count_played(SOUND_HANTEN)}; };
        const std::vector<int32_t> before = sounds();
        for (char b : button == 'm' ? std::string("lrm") : std::string(1, button)) click(kAt, b);
        EXPECT_NEAR(degrees(p), to, 1e-9);
        EXPECT_EQ(sounds(), (std::vector{before[0] + (button == 'l'), before[1] + (button == 'r'), before[2]}));
        EXPECT_EQ((std::vector{play.game_saved, p.turned, play.current_game->holding}),
                  (std::vector<int32_t>{button == 'm', 0, 0}));
        EXPECT_EQ(play.current_game->under_cache, nullptr);
        EXPECT_EQ(desk_faults(*play.current_game), 0);
        EXPECT_EQ(shown(kAt.x, kAt.y - 15), int64_t(to) % 180 ? 0x3366CCu : kBack) << "the piece lies as turned";
    }
}

TEST_F(Moves, TheClickRuleCountsTimeAndTravel) {
    for (const Fields& c : read_cases("play/data/click_rule.txt")) {
        SCOPED_TRACE(joined(c));
        Piece& p = one_piece(0);
        press(kAt);
        drag({std::stoi(c[1]), std::stoi(c[2])});
        drag(kAt);
        wait(uint32_t(std::stoi(c[0])));
        release(kAt);
        EXPECT_NEAR(degrees(p), c[3] == "1" ? 90 : 0, 1e-9);
        EXPECT_EQ(play.moved_far, 0);
    }
}

class MoveScripts : public ScriptedDesk {};
TEST_P(MoveScripts, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Moves, MoveScripts, ::testing::ValuesIn(read_scripts("play/data/moves.txt")), ScriptedDesk::name);

}  // namespace
