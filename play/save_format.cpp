// Encoding and checked decoding of saved-game blocks.
#include "play/save_format.h"

#include <cmath>
#include <cstring>
#include <new>

#include "graphics/jpeg_reader.h"
#include "ws/bmp_reader.h"
#include "ws/picture_reader.h"

namespace save_format {

namespace {

// Bounds that no game reaches: a fitted picture (the largest surface there is), a desk position, a piece's size.
// Values beyond them are damage, and refusing them keeps every later sum and conversion inside int32. The piece
// count and stretch size are whatever the settings held (the grid, checked against the rebuilt game, is what they
// led to), and a free turn may pile up any angle, so any value of those is taken.
constexpr int64_t max_picture_words = int64_t(1) << 28;
constexpr int32_t desk_reach = 1 << 29;
constexpr int32_t max_piece_side = 1 << 30;

void put_i32(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t u = uint32_t(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(u >> shift));
}

void put_f64(std::vector<uint8_t>& out, double v) {
    uint64_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    for (int shift = 0; shift < 64; shift += 8) out.push_back(uint8_t(u >> shift));
}

// Little-endian fields from a buffer; a read past its end gives 0 and marks the reader failed.
class Fields {
public:
    Fields(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int32_t i32() {
        if (pos_ > size_ || size_ - pos_ < 4) return fail();
        uint32_t u = 0;
        for (int k = 3; k >= 0; --k) u = (u << 8) | data_[pos_ + size_t(k)];
        pos_ += 4;
        return int32_t(u);
    }
    double f64() {
        if (pos_ > size_ || size_ - pos_ < 8) return fail();
        uint64_t u = 0;
        for (int k = 7; k >= 0; --k) u = (u << 8) | data_[pos_ + size_t(k)];
        pos_ += 8;
        double v = 0;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
    bool failed() const { return failed_; }

private:
    int32_t fail() {
        failed_ = true;
        pos_ = size_;
        return 0;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};

bool within(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }

bool read_exact(std::FILE* file, int64_t at, uint8_t* out, size_t n) {
    if (std::fseek(file, long(at), SEEK_SET) != 0) return false;
    return std::fread(out, 1, n, file) == n;
}

int64_t length_of(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    return int64_t(std::ftell(file));
}

Header decode_header(const uint8_t* bytes) {
    Fields f(bytes, size_t(header_bytes));
    Header h;
    h.picture_offset = f.i32();
    h.picture_type = f.i32();
    h.piece_num = f.i32();
    h.stretch_size = f.i32();
    h.pic_w = f.i32();
    h.pic_h = f.i32();
    h.cols = f.i32();
    h.rows = f.i32();
    h.item_count = f.i32();
    h.play_seconds = f.i32();
    h.view_x = f.i32();
    h.view_y = f.i32();
    return h;
}

bool header_sound(const Header& h, int32_t points, int64_t file_size) {
    if (h.picture_type != kPictureBmp && h.picture_type != kPictureJpeg && h.picture_type != kPictureOwnBytes)
        return false;
    if (!within(h.cols, 1, max_cells) || !within(h.rows, 1, max_cells)) return false;
    const int64_t cells = int64_t(h.cols) * h.rows;
    if (cells > max_cells || !within(h.item_count, 1, cells)) return false;
    if (h.pic_w < 2 * int64_t(h.cols) || h.pic_w % h.cols != 0) return false;
    if (h.pic_h < 2 * int64_t(h.rows) || h.pic_h % h.rows != 0) return false;
    if (int64_t(h.pic_w) * h.pic_h > max_picture_words) return false;
    if (h.play_seconds < 0) return false;
    if (!within(h.view_x, -desk_reach, desk_reach) || !within(h.view_y, -desk_reach, desk_reach)) return false;
    return h.picture_offset == picture_offset_for(cells, h.item_count, points) && file_size > h.picture_offset;
}

// Owner and edges of cell k. Laying the edges puts every point of a cell within three cell sides of its own square
// (a template point lies at most two edge lengths off its edge, and mirroring adds one), so anything farther is
// damage; the bound also keeps the area cut around the cell a few cells wide.
bool decode_cell(Fields& f, const Header& h, int32_t points, int64_t k, Cell& cell) {
    const int64_t cw = h.pic_w / h.cols, ch = h.pic_h / h.rows;
    const int64_t x0 = (k % h.cols) * cw, y0 = (k / h.cols) * ch;
    cell.owner = f.i32();
    for (int32_t j = 0; j < points; ++j)
        for (auto& edge : cell.edges) {
            edge[j].x = f.i32();
            edge[j].y = f.i32();
            if (!within(edge[j].x, x0 - 3 * cw - 2, x0 + 4 * cw + 2) ||
                !within(edge[j].y, y0 - 3 * ch - 2, y0 + 4 * ch + 2))
                return false;
        }
    return within(cell.owner, 0, int64_t(h.cols) * h.rows - 1);
}

bool decode_item(Fields& f, SavedItem& it) {
    it.id = f.i32();
    it.home_dx = f.i32();
    it.home_dy = f.i32();
    it.join_dx = f.i32();
    it.join_dy = f.i32();
    it.width = f.i32();
    it.height = f.i32();
    it.view_width = f.i32();
    it.view_height = f.i32();
    it.cx = f.i32();
    it.cy = f.i32();
    it.grab_x = f.i32();
    it.grab_y = f.i32();
    it.angle = f.f64();
    it.turned = f.i32();
    it.rect.left = f.i32();
    it.rect.top = f.i32();
    it.rect.right = f.i32();
    it.rect.bottom = f.i32();
    for (int32_t side : {it.width, it.height, it.view_width, it.view_height})
        if (!within(side, 0, max_piece_side)) return false;
    for (int32_t v : {it.cx, it.cy, it.grab_x, it.grab_y, it.rect.left, it.rect.top, it.rect.right, it.rect.bottom,
                      it.home_dx, it.home_dy, it.join_dx, it.join_dy})
        if (!within(v, -desk_reach, desk_reach)) return false;
    return (it.turned == 0 || it.turned == 1) && std::isfinite(it.angle);
}

// Groups are whole: ids distinct, each id the owner of its own cell, every cell owned by a live id. Together
// these make the cells of every item's group non-empty and leave no cell outside all groups.
bool groups_whole(const SavedGame& g) {
    const size_t cells = g.cells.size();
    std::vector<char> live(cells, 0);
    for (const SavedItem& it : g.items) {
        if (!within(it.id, 0, int64_t(cells) - 1) || live[size_t(it.id)]) return false;
        if (g.cells[size_t(it.id)].owner != it.id) return false;
        live[size_t(it.id)] = 1;
    }
    for (const Cell& c : g.cells)
        if (!live[size_t(c.owner)]) return false;
    return true;
}

}  // namespace

void put_header(std::vector<uint8_t>& out, const Header& h) {
    for (int32_t v : {h.picture_offset, h.picture_type, h.piece_num, h.stretch_size, h.pic_w, h.pic_h, h.cols,
                      h.rows, h.item_count, h.play_seconds, h.view_x, h.view_y})
        put_i32(out, v);
}

void put_cell(std::vector<uint8_t>& out, const Cell& cell, int32_t points) {
    put_i32(out, cell.owner);
    for (int32_t j = 0; j < points; ++j)
        for (const auto& edge : cell.edges) {
            put_i32(out, edge[j].x);
            put_i32(out, edge[j].y);
        }
}

void put_item(std::vector<uint8_t>& out, const SavedItem& it) {
    for (int32_t v : {it.id, it.home_dx, it.home_dy, it.join_dx, it.join_dy, it.width, it.height, it.view_width,
                      it.view_height, it.cx, it.cy, it.grab_x, it.grab_y})
        put_i32(out, v);
    put_f64(out, it.angle);
    for (int32_t v : {it.turned, it.rect.left, it.rect.top, it.rect.right, it.rect.bottom}) put_i32(out, v);
}

Check read_header(std::FILE* file, int32_t points, Header& out, int64_t& file_size) {
    if (!file) return Check::unreadable;
    file_size = length_of(file);
    uint8_t bytes[header_bytes];
    if (!within(points, 1, max_line_points) || file_size < header_bytes || !read_exact(file, 0, bytes, sizeof bytes))
        return Check::malformed;
    const Header h = decode_header(bytes);
    if (!header_sound(h, points, file_size)) return Check::malformed;
    out = h;
    return Check::ok;
}

Check read_saved_game(std::FILE* file, int32_t points, SavedGame& out) {
    SavedGame g;
    const Check head = read_header(file, points, g.header, g.file_size);
    if (head != Check::ok) return head;
    const Header& h = g.header;
    // The tables lie between the header and the picture; read_header made their length agree with the counts.
    std::vector<uint8_t> tables(size_t(h.picture_offset - header_bytes));
    if (!read_exact(file, header_bytes, tables.data(), tables.size())) return Check::malformed;
    Fields f(tables.data(), tables.size());
    g.cells.resize(size_t(h.cols) * size_t(h.rows));
    for (size_t k = 0; k < g.cells.size(); ++k)
        if (!decode_cell(f, h, points, int64_t(k), g.cells[k])) return Check::malformed;
    g.items.resize(size_t(h.item_count));
    for (SavedItem& it : g.items)
        if (!decode_item(f, it)) return Check::malformed;
    if (f.failed() || !groups_whole(g)) return Check::malformed;
    out = std::move(g);
    return Check::ok;
}

bool picture_whole(std::FILE* file, const Header& h, int64_t file_size) {
    if (h.picture_type == kPictureJpeg) {  // the decoder reads the file itself from the picture on
        JpegPicture picture;
        return std::fseek(file, long(h.picture_offset), SEEK_SET) == 0 &&
               read_jpeg(file, picture, kJpegMaxPixels, Damage::refused);
    }
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(size_t(file_size - h.picture_offset));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!read_exact(file, h.picture_offset, bytes.data(), bytes.size())) return false;
    if (h.picture_type == kPictureOwnBytes) {
        Picture picture;
        return read_picture_bytes(bytes.data(), bytes.size(), picture);
    }
    BmpPicture picture;
    return read_bmp(bytes.data(), bytes.size(), picture, kBmpMaxPixels, Damage::refused);
}

bool copy_tail(std::FILE* file, int64_t from, std::FILE* to) {
    if (std::fseek(file, long(from), SEEK_SET) != 0) return false;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
        if (n > 0 && std::fwrite(buffer.data(), 1, n, to) != n) return false;
        if (n < buffer.size()) return !std::ferror(file);
    }
}

}  // namespace save_format
