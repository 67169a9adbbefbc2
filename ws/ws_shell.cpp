// Desktop services: the clipboard (bitmaps, file lists), dropped files, opening documents and moving files to trash.
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

#include <map>

#include "ws/ws_widget.h"

namespace ws {
namespace detail {
namespace {

struct Drop {
    std::vector<std::string> paths;
    Point at;
};

struct Drops {
    std::map<uintptr_t, Drop> live;
    uintptr_t next = 1;
};

Drops& drops() {
    static Drops d;
    return d;
}

const QMimeData* clipboard_data() {
    QClipboard* c = qApp ? QGuiApplication::clipboard() : nullptr;
    return c ? c->mimeData() : nullptr;
}

// A scheme of two letters or more makes an address ("C:" is a drive, not a scheme).
bool looks_like_address(const std::string& s) {
    size_t colon = s.find(':');
    if (colon == std::string::npos || colon < 2) return s.rfind("www.", 0) == 0;
    for (size_t i = 0; i < colon; ++i)
        if (!std::isalnum(static_cast<unsigned char>(s[i])) && s[i] != '+' && s[i] != '-' && s[i] != '.') return false;
    return true;
}

// The home trash: Trash in the desktop's data folder ($XDG_DATA_HOME, else ~/.local/share), where Qt looks too.
QString home_trash() {
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash");
}

bool is_own_folder(const QString& path) {
    const QFileInfo f(path);
    return f.isDir() && f.isWritable() && f.ownerId() == ::getuid();
}

// Makes the home trash with its files/ and info/ and the folders above it. Qt gives up on a trash whose parent is
// missing and then moves the file into files/ of the current folder, which would be the game's own.
bool make_home_trash() {
    const QString trash = home_trash();
    if (!QDir::isAbsolutePath(trash)) return false;  // a relative data folder would lie in the current folder
    const QFileInfo at(trash);
    QDir above = at.dir();
    if (!above.exists() && !QDir().mkpath(above.path())) return false;
    if (!at.exists()) above.mkdir(at.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir dir(trash);
    dir.mkdir("files");
    dir.mkdir("info");
    return is_own_folder(trash) && is_own_folder(dir.filePath("files")) && is_own_folder(dir.filePath("info"));
}

// Whether `moved` lies in the files/ of a trash: the home trash, or a volume's .Trash-UID or .Trash/UID.
bool in_a_trash(const QString& moved) {
    const QDir files = QFileInfo(moved).absoluteDir();
    if (moved.isEmpty() || files.dirName() != "files") return false;
    const QFileInfo trash(QFileInfo(files.absolutePath()).absolutePath());
    const QString uid = QString::number(::getuid());
    if (trash.canonicalFilePath() == QFileInfo(home_trash()).canonicalFilePath()) return true;
    if (trash.fileName() == ".Trash-" + uid) return true;
    return trash.fileName() == uid && trash.dir().dirName() == ".Trash";
}

}  // namespace

uintptr_t new_drop(std::vector<std::string> paths, Point client) {
    uintptr_t h = drops().next++;
    drops().live[h] = {std::move(paths), client};
    return h;
}

void reset_drops() { drops().live.clear(); }

}  // namespace detail

using namespace detail;

// ---- clipboard ----

bool clipboard_has_bitmap() {
    const QMimeData* d = clipboard_data();
    return d && d->hasImage();
}

bool clipboard_get_bitmap(MemDC& out) {
    const QMimeData* d = clipboard_data();
    if (!d || !d->hasImage()) return false;
    QImage img = qvariant_cast<QImage>(d->imageData());
    if (img.isNull() || img.width() <= 0 || img.height() <= 0) return false;
    // Surfaces have no transparency: what is transparent in the picture shows white.
    QImage flat(img.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, img);
    }
    if (out.created()) out.destroy();
    out.create(BIT_SCREEN, flat.width(), flat.height());
    for (int y = 0; y < flat.height(); ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(flat.constScanLine(y));
        uint32_t* dst = out.words() + size_t(flat.height() - 1 - y) * size_t(flat.width());
        for (int x = 0; x < flat.width(); ++x) dst[x] = src[x] & 0x00FFFFFFu;
    }
    out.release_dc();
    return true;
}

bool clipboard_has_files() { return !clipboard_files().empty(); }

std::vector<std::string> clipboard_files() {
    std::vector<std::string> paths;
    const QMimeData* d = clipboard_data();
    if (!d || !d->hasUrls()) return paths;
    for (const QUrl& u : d->urls())
        if (u.isLocalFile()) paths.push_back(u.toLocalFile().toStdString());
    return paths;
}

bool clipboard_set_bitmap(MemDC& src) {
    if (!qApp || !src.created() || src.width() <= 0 || src.height() <= 0) return false;
    QImage img(src.width(), src.height(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const uint32_t* from = src.words() + size_t(src.height() - 1 - y) * size_t(src.width());
        auto* to = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) to[x] = from[x] | 0xFF000000u;
    }
    QGuiApplication::clipboard()->setImage(img);
    return true;
}

// ---- dropped files ----

void drag_accept_files(Hwnd hwnd, bool accept) {
    Window* w = find_window(hwnd);
    if (!w) return;
    w->accept_drops = accept;
    w->client->setAcceptDrops(accept);
}

uint32_t drag_query_file_count(Hdrop drop) {
    auto it = drops().live.find(drop);
    return it == drops().live.end() ? 0 : uint32_t(it->second.paths.size());
}

std::string drag_query_file(Hdrop drop, uint32_t index) {
    auto it = drops().live.find(drop);
    if (it == drops().live.end() || index >= it->second.paths.size()) return {};
    return it->second.paths[index];
}

Point drag_query_point(Hdrop drop) {
    auto it = drops().live.find(drop);
    return it == drops().live.end() ? Point{} : it->second.at;
}

void drag_finish(Hdrop drop) { drops().live.erase(drop); }

// ---- documents and trash ----

bool open_document(const std::string& path_or_url) {
    if (path_or_url.empty()) return false;
    QUrl url;
    if (looks_like_address(path_or_url)) {
        url = QUrl::fromUserInput(QString::fromStdString(path_or_url));
    } else {
        QString local = QString::fromStdString(path_or_url).replace('\\', '/');
        if (!QFileInfo::exists(local)) return false;
        url = QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath());
    }
    if (!url.isValid()) return false;
    if (layer().test) {
        script().opened.push_back(path_or_url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

bool move_to_trash(const std::string& path) {
    const QString from = QString::fromStdString(path);
    if (path.empty() || !QFileInfo::exists(from) || !make_home_trash()) return false;
    QString moved;
    if (!QFile::moveToTrash(from, &moved)) return false;
    if (in_a_trash(moved)) return true;
    // Somewhere that is no trash: the file goes back where it was, and the note of its deletion goes.
    const QFileInfo went(moved);
    QFile::remove(went.dir().filePath("../info/" + went.fileName() + ".trashinfo"));
    QFile::rename(moved, from);
    return false;
}

namespace test {

void drop_files(Hwnd hwnd, const std::vector<std::string>& paths, Point client) {
    Window* w = find_window(hwnd);
    if (!w || !w->accept_drops || paths.empty()) return;  // a window that does not accept files refuses the drop
    enqueue({hwnd, WM_DROPFILES, new_drop(paths, client), 0, tick_count()});
}

void set_clipboard_files(const std::vector<std::string>& paths) {
    auto* data = new QMimeData();
    QList<QUrl> urls;
    for (const std::string& p : paths) urls << QUrl::fromLocalFile(QFileInfo(QString::fromStdString(p)).absoluteFilePath());
    data->setUrls(urls);
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace test
}  // namespace ws
