// Helpers of the companion-window tests: the game window fixture with the companions installed, and a bounded
// wait for the picture list's loader thread (the list's timer runs on the virtual clock, the thread in real time).
#pragma once
#include <chrono>
#include <thread>

#include "play/jigwin_support.h"
#include "play/state.h"
#include "windows/companions.h"
#include "windows/viewer_state.h"

namespace windowstest {

namespace fs = std::filesystem;

class CompanionTest : public jigwintest::GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        install_companions();
        fs::create_directories("pictures");
    }
};

// Runs the list's timers until its loader has finished (at most ten real seconds).
inline bool load_all() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (viewer.loading && std::chrono::steady_clock::now() < until) {
        ws::test::advance(100);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !viewer.loading;
}

inline void click_slot(int32_t slot, uint32_t msg = ws::WM_LBUTTONUP) {
    ws::send_message(::play.list_window, msg, 0, ws::make_lparam(80 * slot + 40, 40));
}

}  // namespace windowstest
