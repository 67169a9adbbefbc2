// Services that other threads may use: which thread runs the windows, handing work to it, name order and equality.
#include <QCollator>
#include <QCoreApplication>
#include <QString>
#include <QThread>

#include "ws/ws.h"
#include "ws/ws_state.h"

namespace ws {

int32_t compare_names(const std::string& a, const std::string& b) {
    // One collator per thread: a collator is not meant to be shared between threads.
    thread_local QCollator collator;
    const int r = collator.compare(QString::fromStdString(a), QString::fromStdString(b));
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

bool same_name(const std::string& a, const std::string& b) {
    return QString::compare(QString::fromUtf8(a.data(), qsizetype(a.size())),
                            QString::fromUtf8(b.data(), qsizetype(b.size())), Qt::CaseInsensitive) == 0;
}

bool is_ui_thread() {
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

bool run_on_ui_thread(std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !detail::layer().started) return false;
    // A queued call on the application object is delivered by the UI thread's next processEvents.
    return QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

}  // namespace ws
