// End to end: the benchmark's robot (bench/robot.h) solves small puzzles through mouse messages on the real game
// window alone, on both drawing paths, with quarter turns and pieces face down, as the scripts of data/robot.txt.
#include "bench/robot.h"
#include "desk/state.h"
#include "shell/jigwin_support.h"

namespace {

using testsupport::at;

class RobotScript : public jigwintest::WindowScript {
    Point centre_{};
    robot::Stats stats_;

public:
    RobotScript() {
        names_.insert({{"start", SOUND_START}, {"complete", SOUND_GM_END}, {"joint", SOUND_JOINT}});
        actions_.insert({{"robot", [this](const Args&) {  // the finished picture to lie at the window's lower right
            const Rect client = ws::get_client_rect(::display.game_window);
            centre_ = {client.right - g().pic_w / 2 - 50, client.bottom - g().pic_h / 2 - 50};
            robot::Robot player(centre_);
            ASSERT_TRUE(player.solve(12 * g().item_count)) << player.why() << ", groups left " << g().item_count;
            stats_ = player.stats();
        }}});
        probes_.insert({
            {"face_down", [](const Args&) {
                int32_t down = 0;
                for (int32_t k = 0; k < g().item_count; ++k) down += g().items[k].piece->turned;
                return n(down > 0);
            }},
            {"robot", [this](const Args&) {  // it turned over, turned upright, and dragged most joins (not all)
                return n(stats_.middle_clicks > 0) + " " + n(stats_.left_clicks > 0) + " " +
                       n(stats_.joins > (g().cols * g().rows) / 2);
            }},
            {"title_has", [](const Args& a) { return n(title().find(a[0]) != std::string::npos); }},
            {"picture_shown", [this](const Args&) {  // window pixels, every 7th of the picture's middle, unlike it
                ws::paint_at_once(::display.game_window, nullptr);
                const MemDC& shown = *ws::client_surface(::display.game_window);
                const int32_t w = g().pic_w, h = g().pic_h, left = centre_.x - w / 2, top = centre_.y - h / 2;
                int32_t bad = 0;
                for (int32_t y = h / 4; y < h * 3 / 4; y += 7)
                    for (int32_t x = w / 4; x < w * 3 / 4; x += 7)
                        bad += ((at(*g().picture, x, y) ^ at(shown, left + x, top + y)) & 0xFFFFFF) != 0;
                return n(bad);
            }},
        });
    }
};
TEST_P(RobotScript, Run) { run(); }
INSTANTIATE_TEST_SUITE_P(Robot, RobotScript, ::testing::ValuesIn(testsupport::read_scripts("shell/data/robot.txt")),
                         RobotScript::name);

}  // namespace
