// Signals that end a session (the desktop logging out, kill, Ctrl+C) and the program losing the focus, turned
// into messages of the loop.
#include <QGuiApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "ws/ws_state.h"

namespace ws {
namespace {

// A signal handler may do almost nothing: it writes the signal's number into a pipe that the toolkit's loop
// watches, and the loop's own thread does the rest.
int signal_pipe[2] = {-1, -1};
std::atomic<int> signals_caught{0};  // lock-free, so a handler may count with it

extern "C" void on_end_signal(int sig) {
    const int saved = errno;
    if (++signals_caught >= 3) {
        // The orderly end has not come after two requests: end the way the signal always would.
        signal(sig, SIG_DFL);
        raise(sig);
    }
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] const ssize_t n = write(signal_pipe[1], &byte, 1);
    errno = saved;
}

void post_for_loop(uint32_t msg, uintptr_t wparam) { detail::enqueue({0, msg, wparam, 0, tick_count()}); }

void take_signals() {
    unsigned char buf[16];
    ssize_t n;
    while ((n = read(signal_pipe[0], buf, sizeof buf)) > 0)
        for (ssize_t i = 0; i < n; ++i) post_for_loop(WM_ENDSESSION, buf[i]);
}

}  // namespace

bool catch_session_events() {
    static bool caught = false;
    if (caught) return true;
    if (!qApp || pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] { take_signals(); });
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
        post_for_loop(WM_ACTIVATEAPP, state == Qt::ApplicationActive ? 1 : 0);
    });
    struct sigaction sa {};
    sa.sa_handler = on_end_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) sigaction(sig, &sa, nullptr);
    caught = true;
    return true;
}

}  // namespace ws
