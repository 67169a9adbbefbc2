// The background styles: the colour fill, the repeated and the centred picture, and the redraw that follows them.
#include "desk/background.h"

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "desk/display.h"
#include "desk/state.h"
#include "graphics/paths.h"
#include "graphics/trace.h"
#include "pieces/desk.h"
#include "pieces/view.h"
#include "puzzle/jig.h"
#include "puzzle/settings.h"
#include "ws/picture.h"
#include "ws/ws.h"

namespace {

// What identifies one version of a picture file: its path, and its time and size on disk (none when missing).
struct FileStamp {
    std::string path;
    bool exists = false;
    int64_t time = 0;
    int64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stamp_of(const std::string& path) {
    FileStamp s;
    s.path = path;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return s;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec) return s;
    s.exists = true;
    s.size = int64_t(size);
    s.time = int64_t(time.time_since_epoch().count());
    return s;
}

// The decoded background picture and, for the repeated style, the same picture four times in a 2w x 2h square,
// from which any shift of the pattern is one block copy.
struct BackPicture {
    bool filled = false;
    FileStamp stamp;
    std::unique_ptr<MemDC> picture;  // nullptr when the file could not be read
    std::unique_ptr<MemDC> square;
};
BackPicture back_picture;

// Decodes back_img when it changed since the last rendering. A file that cannot be read is reported by the
// picture loader; remembering the failure tells the player once instead of on every redraw.
MemDC* background_picture() {
    const FileStamp stamp = stamp_of(resolve_path(settings.back_img));
    if (back_picture.filled && back_picture.stamp == stamp) return back_picture.picture.get();
    back_picture = BackPicture{};
    back_picture.filled = true;
    back_picture.stamp = stamp;
    auto picture = std::make_unique<MemDC>();
    picture->create(BIT_SCREEN, 1, 1);
    if (!ws::load_picture(*picture, stamp.path.c_str()) || picture->width() < 1 || picture->height() < 1) return nullptr;
    const int32_t w = picture->width(), h = picture->height();
    auto square = std::make_unique<MemDC>();
    square->create(BIT_SCREEN, 2 * w, 2 * h);
    for (int32_t k = 0; k < 4; ++k) square->blit((k % 2) * w, (k / 2) * h, w, h, *picture, 0, 0, SRCCOPY);
    picture->release_dc();
    square->release_dc();
    back_picture.picture = std::move(picture);
    back_picture.square = std::move(square);
    return back_picture.picture.get();
}

// How far into the picture a row or column of the pattern starts: the view origin modulo the picture's size.
int32_t pattern_start(int64_t origin, int32_t size) {
    int32_t start = int32_t(std::fmod(double(origin), double(size)));
    if (start < 0) start += size;
    return start;
}

// The repeated style: whole copies of the picture from the desk's top-left corner, each starting at the same
// point of the picture, so that the pattern stands still on the desk as the view moves.
void tile_desk_back(MemDC& square, int32_t w, int32_t h) {
    const Point origin = background_origin();
    const int32_t ox = pattern_start(origin.x, w);
    const int32_t oy = pattern_start(origin.y, h);
    for (int32_t y = 0; y < desk.desk_height; y += h)
        for (int32_t x = 0; x < desk.desk_width; x += w) desk.desk_back->blit(x, y, w, h, square, ox, oy, SRCCOPY);
}

// The centred style: the picture once, in the middle of what the window shows.
void centre_on_desk_back(MemDC& picture) {
    const Rect client = display.game_window ? ws::get_client_rect(display.game_window) : Rect{};
    const int32_t w = picture.width(), h = picture.height();
    const Point origin = background_origin();
    const int32_t x = (client.width() / 2 - w / 2) + origin.x;
    const int32_t y = (client.height() / 2 - h / 2) + origin.y;
    desk.desk_back->blit(x, y, w, h, picture, 0, 0, SRCCOPY);
}

void fill_desk_back() {
    desk.desk_back->fill(0, 0, desk.desk_back->width(), desk.desk_back->height(), settings.back_color);
}

// The finished picture on top, then the whole background becomes the bare desk.
void finish_desk_back() {
    if (settings.back_gazou) draw_faint_picture();
    desk.desk_image->blit(0, 0, desk.desk_image->width(), desk.desk_image->height(), *desk.desk_back, 0, 0, SRCCOPY);
    desk.desk_image->release_dc();
    desk.desk_back->release_dc();
}

// After a background change: the game's items are drawn again over it; without a game the presenter (if any)
// shows the bare background.
void redraw_desk() {
    if (display.current_game) {
        disp(*display.current_game, nullptr);
    } else if (desk.presenter) {
        dd_back(nullptr, 0, 0);
    }
}

}  // namespace

int32_t backrgb(int32_t choose, int32_t redraw) {
    trace_line("desk", "backrgb start\n");
    if (choose == 1) {
        Colour chosen = settings.back_color;
        if (!ws::choose_colour(display.game_window, chosen, display.custom_colours)) {
            trace_line("desk", "backrgb end\n");
            return 0;
        }
        settings.back_color = chosen & 0x00FFFFFF;
    }
    if (desk.desk_back && desk.desk_image) {
        fill_desk_back();
        finish_desk_back();
    }
    if (redraw == 1) redraw_desk();
    trace_line("desk", "backrgb end\n");
    return 1;
}

int32_t backimg(int32_t redraw) {
    trace_line("desk", "backimg start\n");
    if (desk.desk_back && desk.desk_image) {
        const bool tiled = settings.back_type == IDM_BACK_IMG_REN, centred = settings.back_type == IDM_BACK_IMG_CEN;
        // Only the picture styles read the picture: the colour style never asks for a file it does not show.
        MemDC* picture = tiled || centred ? background_picture() : nullptr;
        // Whole copies of the pattern cover the desk, so only the other cases need the colour underneath.
        if (!picture || !tiled) fill_desk_back();
        if (picture && tiled) tile_desk_back(*back_picture.square, picture->width(), picture->height());
        if (picture && centred) centre_on_desk_back(*picture);
        finish_desk_back();
    }
    if (redraw == 1) redraw_desk();
    trace_line("desk", "backimg end\n");
    return 1;
}

Point background_origin() {
    if (desk.zoom != kZoomFull) return {};
    return {desk.view_x + desk.scroll_dx, desk.view_y + desk.scroll_dy};
}

void render_background() {
    if (settings.back_type == IDM_BACK_RGB) {
        backrgb(0, 0);
    } else {
        backimg(0);
    }
}

void forget_background_pictures() {
    back_picture = BackPicture{};
    forget_faint_picture();
}
