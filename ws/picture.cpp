// Loading a picture file into a surface, failures told to the player; a picture rewritten whole.
#include "ws/picture.h"

#include <string>
#include <utility>

#include "ws/picture_reader.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

const char* const kCaption = "glapi";
const char* const kUnreadable = ZT_NOOP("ws", "画像が読み込めません。");
const char* const kBadExtension = ZT_NOOP("ws", "画像が読み込めません。\n(拡張子が.BMP .JPG .JPEGでない)");
const char* const kJpegOpenError = ZT_NOOP("ws", "画像が読み込めません。(jpeg open error)");

void tell_player(const char* text) { ws::message_box(0, ws::tr("ws", text), kCaption, ws::MB_OK); }

void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// A plain 24-bit BMP of w x h words stored bottom-up, as the file keeps its rows.
std::vector<uint8_t> bmp_of(int32_t w, int32_t h, const std::vector<uint32_t>& words) {
    const uint32_t row_bytes = (uint32_t(w) * 3 + 3) / 4 * 4, data = row_bytes * uint32_t(h);
    std::vector<uint8_t> out = {'B', 'M'};
    out.reserve(54 + size_t(data));
    for (const auto& [v, n] : std::initializer_list<std::pair<uint32_t, int>>{
             {54 + data, 4}, {0, 4}, {54, 4}, {40, 4}, {uint32_t(w), 4}, {uint32_t(h), 4}, {1, 2}, {24, 2}, {0, 4},
             {data, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}})
        put_le(out, v, n);
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* row = words.data() + size_t(y) * size_t(w);
        for (int32_t x = 0; x < w; ++x) put_le(out, row[x], 3);
        out.resize(out.size() + row_bytes - uint32_t(w) * 3, 0);
    }
    return out;
}

}  // namespace

int32_t ws::load_picture(MemDC& surface, const char* file_name, Where w, int32_t* picture_type) {
    surface.attach(w);
    const std::string name = file_name ? file_name : "";
    Picture picture;
    switch (read_picture_file(name, picture)) {
    case PictureRead::bad_name:
        tell_player(kBadExtension);
        return 0;
    case PictureRead::open_error:
        tell_player(picture_name(name) == PictureName::jpeg ? kJpegOpenError : kUnreadable);
        return 0;
    case PictureRead::unreadable:
        tell_player(kUnreadable);
        return 0;
    case PictureRead::loaded:
        break;
    }
    if (picture_type) *picture_type = picture.type;
    const int32_t whole = picture.damaged ? 2 : 1;
    surface.replace_pixels(picture.width, picture.height, std::move(picture.words));
    return whole;
}

std::vector<uint8_t> picture_as_bmp(const char* file_name) {
    Picture picture;
    if (!file_name || read_picture_file(file_name, picture) != PictureRead::loaded) return {};
    return bmp_of(picture.width, picture.height, picture.words);
}
