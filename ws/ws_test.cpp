// Test-mode housekeeping: putting the whole layer back to its starting state between tests.
#include <QClipboard>
#include <QGuiApplication>

#include "ws/ws_state.h"

namespace ws::test {

void reset() {
    detail::destroy_all_windows();
    detail::collect_garbage();
    detail::reset_queue();
    detail::reset_input();
    detail::reset_drops();
    detail::reset_sound();
    detail::script() = {};
    if (qApp) QGuiApplication::clipboard()->clear();
}

}  // namespace ws::test
