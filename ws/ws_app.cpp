// Start-up of the window-system layer: the Qt application, test mode, the clock and the screen size.
#include <QApplication>
#include <QFont>
#include <QScreen>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ws/ws_state.h"

namespace ws {
namespace detail {

Layer& layer() {
    static Layer l;
    return l;
}

TestScript& script() {
    static TestScript s;
    return s;
}

// Qt and the sound service want XDG_RUNTIME_DIR to be a folder only we can enter; without one (a bare session, a
// container) we make /tmp/zelto-runtime-<uid> with mode 0700.
static void ensure_runtime_dir() {
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (dir && *dir && stat(dir, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
        (st.st_mode & 077) == 0)
        return;
    std::string own = "/tmp/zelto-runtime-" + std::to_string(getuid());
    mkdir(own.c_str(), 0700);
    chmod(own.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
}

// The game's texts are Japanese or English: prefer IPA Gothic, which draws the Japanese ones in one weight with the
// Latin letters.
static void choose_font(QApplication* app) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(12);
    f.setStyleHint(QFont::SansSerif);
    app->setFont(f);
}

uint32_t input_time(uint64_t stamp) {
    // Input is stamped with the toolkit's time when it has one, so that a press and a release that waited together
    // behind a long piece of work keep their true distance; the offset ties that time to our clock and never lets
    // a stamp run ahead of it.
    static bool have_offset = false;
    static int64_t offset = 0;
    uint32_t now = tick_count();
    if (layer().test || stamp == 0) return now;
    int64_t t = int64_t(stamp) + offset;
    if (!have_offset || t > int64_t(now) || t < int64_t(now) - 60000) {
        offset = int64_t(now) - int64_t(stamp);
        have_offset = true;
        t = now;
    }
    return uint32_t(t);
}

}  // namespace detail

void init(int argc, char** argv, bool test_mode) {
    detail::Layer& l = detail::layer();
    if (l.started) return;
    l.started = true;
    l.test = test_mode;
    detail::ensure_runtime_dir();
    if (test_mode) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        l.virtual_now = 0;
    }
    // QApplication keeps a reference to argc for its whole life.
    static int app_argc = 0;
    static char* fallback[] = {const_cast<char*>("zelto"), nullptr};
    app_argc = argc > 0 && argv ? argc : 1;
    auto* app = new QApplication(app_argc, argc > 0 && argv ? argv : fallback);
    app->setQuitOnLastWindowClosed(false);
    detail::choose_language(app);
    detail::choose_font(app);
    l.clock.start();
}

bool test_mode() { return detail::layer().test; }

uint32_t tick_count() {
    const detail::Layer& l = detail::layer();
    if (l.test) return l.virtual_now;
    if (!l.clock.isValid()) return 0;
    return uint32_t(l.clock.elapsed());
}

uint32_t message_time() { return detail::layer().message_time; }

int32_t screen_width() {
    QScreen* s = qApp ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->geometry().width() : 0;
}

int32_t screen_height() {
    QScreen* s = qApp ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->geometry().height() : 0;
}

}  // namespace ws
