// The picture list's thumbnail loader: the file list of a folder, thumbnails made from pictures and saved games,
// and the worker thread that makes them one at a time, handing each over through two semaphores.
#pragma once
#include <atomic>
#include <cstdint>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "graphics/memdc.h"

inline constexpr int32_t kThumbSide = 80;               // thumbnails are 80 x 80
inline constexpr Colour kListBackground = 0xD3FAF5;     // (245, 250, 211): the strip's background
inline constexpr int32_t kListMaxFiles = 1000;          // files listed at most
inline constexpr int32_t kHalveAbove = 1500;            // pictures this wide or high are halved before the stretch

// The files of `folder` (a game path, "data\" or "data"), as paths that open: the pictures (is_picture_name) and,
// unless `pictures_only`, the saved games (".ZLT"), in the desktop's name order. Only "." and ".."
// are skipped; names of four characters or fewer never name such a file. At most kListMaxFiles are taken, in the
// order the folder gives them; `over_limit` tells whether any were left out. A folder that cannot be read is empty.
std::vector<std::string> list_folder(const std::string& folder, bool pictures_only, bool& over_limit);

// The thumbnail of the w x h picture into `out` (square, created by the caller: kThumbSide, or the device pixels of
// that many client pixels): the background, then the picture fitted with its proportions and centred; a picture
// 1500 pixels wide or high or more is first halved until both sides are below 1500, so the last stretch skips fewer
// pixels.
void make_thumbnail(MemDC& picture, MemDC& out);
// What a file that cannot be read shows instead: the background crossed in grey (drawn to the size of `out`).
void make_placeholder(MemDC& out);
// The thumbnail of one listed file: its picture, or that of a saved game; the placeholder when neither can be
// read. Reads quietly (never a message box): safe on the worker thread.
void thumbnail_of_file(const std::string& path, MemDC& out);

// The worker. Exactly one side holds the turn: the worker from taking `go` to releasing `done`, the window from
// taking `done` to releasing `go`; `out` belongs to whoever holds it.
class ThumbLoader {
public:
    enum class Poll { nothing, thumbnail, finished };
    ThumbLoader() = default;
    ~ThumbLoader() { stop(); }
    ThumbLoader(const ThumbLoader&) = delete;
    ThumbLoader& operator=(const ThumbLoader&) = delete;

    // Starts the worker on its own copy of the file list, making thumbnails `side` pixels square (the device
    // pixels of a kThumbSide cell); it makes the first thumbnail at once.
    void start(std::vector<std::string> files, int32_t side);
    // The window's poll, never blocking: `thumbnail` when the next one is in `out` (copy it, then call next()),
    // `finished` when no file is left (the worker has then ended and been joined).
    Poll poll();
    MemDC& out() { return out_; }
    void next() {
        window_turn_ = false;
        go_.release();
    }
    // Ends the worker after the thumbnail it is making and joins it; harmless when it is not running.
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run();
    void end_worker();

    std::vector<std::string> files_;
    MemDC out_;
    std::binary_semaphore go_{1}, done_{0};
    std::atomic<bool> all_loaded_{false}, quit_{false};
    bool window_turn_ = false;  // the window took a thumbnail and has not asked for the next one yet
    std::thread thread_;
};
