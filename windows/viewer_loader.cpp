// The thumbnail loader of the picture list: the folder's file list, making thumbnails, and the worker thread.
#include "windows/viewer_loader.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "graphics/paths.h"
#include "play/jigwin.h"
#include "play/save.h"
#include "ws/picture_reader.h"
#include "ws/ws.h"

namespace {

constexpr Colour kCrossColour = 0x808080;

// Reads a picture file without telling the player anything; false when it cannot be read.
bool read_picture_quietly(const std::string& path, MemDC& picture) {
    Picture read;
    if (read_picture_file(path, read) != PictureRead::loaded) return false;
    picture.create(BIT_DIB, 1, 1);
    picture.replace_pixels(read.width, read.height, std::move(read.words));
    return true;
}

// The worker yields to the game: a nice value above the process's own, for this thread only.
void lower_own_priority() {
    const pid_t tid = pid_t(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, id_t(tid), getpriority(PRIO_PROCESS, id_t(tid)) + 5);
}

}  // namespace

std::vector<std::string> list_folder(const std::string& folder, bool pictures_only, bool& over_limit) {
    namespace fs = std::filesystem;
    over_limit = false;
    std::string dir = resolve_path(folder);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::vector<std::string> taken;
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const FileKind kind = file_kind(name);
        if (name.size() <= 4 || kind == FileKind::other) continue;
        if (pictures_only && kind != FileKind::picture) continue;
        if (int32_t(taken.size()) >= kListMaxFiles) {
            over_limit = true;
            break;
        }
        taken.push_back(name);
    }
    std::sort(taken.begin(), taken.end(),
              [](const std::string& a, const std::string& b) { return ws::compare_names(a, b) < 0; });
    for (std::string& name : taken) name = (dir.empty() ? "" : dir + "/") + name;
    return taken;
}

void make_thumbnail(MemDC& picture, MemDC& out) {
    const int32_t w = picture.width(), h = picture.height(), side = out.width();
    int32_t x = 0, y = 0, tw = side, th = side;
    if (w > h) {
        th = std::max<int32_t>(int32_t(int64_t(h) * side / w), 1);
        y = (side - th) / 2;
    } else {
        tw = std::max<int32_t>(int32_t(int64_t(w) * side / h), 1);
        x = (side - tw) / 2;
    }
    out.fill(0, 0, side, side, kListBackground);
    MemDC half[2];
    MemDC* work = &picture;
    for (int32_t i = 0; work->width() >= kHalveAbove || work->height() >= kHalveAbove; i ^= 1) {
        const int32_t hw = std::max(work->width() / 2, 1), hh = std::max(work->height() / 2, 1);
        half[i].create(BIT_SCREEN, hw, hh);
        half[i].stretch_blit(0, 0, hw, hh, *work, 0, 0, work->width(), work->height(), SRCCOPY);
        if (work != &picture) work->destroy();
        work = &half[i];
    }
    out.stretch_blit(x, y, tw, th, *work, 0, 0, work->width(), work->height(), SRCCOPY);
    out.release_dc();
}

void make_placeholder(MemDC& out) {
    const int32_t side = out.width();
    const auto at = [side](int32_t v) { return v * side / kThumbSide; };  // drawn for 80 pixels, scaled to the side
    out.fill(0, 0, side, side, kListBackground);
    out.set_pen(kCrossColour, (side + kThumbSide / 2) / kThumbSide);
    out.line(at(8), at(8), at(kThumbSide - 8), at(kThumbSide - 8));
    out.line(at(kThumbSide - 9), at(8), at(7), at(kThumbSide - 8));
    out.release_dc();
}

void thumbnail_of_file(const std::string& path, MemDC& out) {
    std::string picture_file = path;
    MemDC picture;
    bool read = true;
    if (file_kind(path) == FileKind::saved_game) read = extract_picture_for_list(path, picture_file) == 1;
    read = read && read_picture_quietly(picture_file, picture) && picture.width() > 0 && picture.height() > 0;
    if (read) {
        make_thumbnail(picture, out);
    } else {
        make_placeholder(out);
    }
    picture.destroy();
}

void ThumbLoader::start(std::vector<std::string> files, int32_t side) {
    stop();
    files_ = std::move(files);
    out_.create(BIT_SCREEN, side, side);
    out_.release_dc();
    all_loaded_ = quit_ = false;
    while (done_.try_acquire()) {
    }
    go_.try_acquire();
    go_.release();  // the worker makes the first thumbnail at once
    thread_ = std::thread([this] { run(); });
}

void ThumbLoader::run() {
    lower_own_priority();
    for (size_t i = 0;;) {
        go_.acquire();
        if (quit_) {
            all_loaded_ = true;
            done_.release();
            return;
        }
        if (i >= files_.size()) {
            all_loaded_ = true;
        } else {
            thumbnail_of_file(files_[i++], out_);
        }
        done_.release();
    }
}

ThumbLoader::Poll ThumbLoader::poll() {
    if (!thread_.joinable() || !done_.try_acquire()) return Poll::nothing;
    window_turn_ = true;
    if (!all_loaded_) return Poll::thumbnail;
    end_worker();
    return Poll::finished;
}

// Called while the window holds the turn: the worker is waiting for `go` and ends on it.
void ThumbLoader::end_worker() {
    quit_ = true;
    go_.release();
    done_.acquire();  // its last signal
    thread_.join();
    window_turn_ = false;
    out_.destroy();
}

void ThumbLoader::stop() {
    if (!thread_.joinable()) return;
    // The worker's turn first ends: the thumbnail it is making, or its "all loaded". (Setting quit_ before this
    // wait would let a worker that was just asked for the next thumbnail end at once, and its last signal would
    // then be taken for this one.)
    if (!window_turn_) done_.acquire();
    end_worker();
}
