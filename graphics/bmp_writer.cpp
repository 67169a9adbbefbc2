// The 24-bit BMP writer behind the export commands.
#include "graphics/bmp_writer.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/durable.h"
#include "graphics/paths.h"
#include "graphics/state.h"

namespace {

constexpr uint32_t kHeaderSize = 54;
constexpr size_t kChunkBytes = size_t(1) << 16;  // rows go out in batches small enough to stay in cache

void put16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void put32(uint8_t* p, uint32_t v) { put16(p, v & 0xFFFF); put16(p + 2, v >> 16); }

bool write_header(std::FILE* file, uint32_t width, uint32_t height) {
    const uint32_t pad = width % 4;
    uint8_t h[kHeaderSize] = {'B', 'M'};
    put32(h + 2, kHeaderSize + height * (3 * width + pad));
    put32(h + 10, kHeaderSize);
    put32(h + 14, 40);
    put32(h + 18, width);
    put32(h + 22, height);  // positive: rows stored bottom-up
    put16(h + 26, 1);
    put16(h + 28, 24);
    return std::fwrite(h, 1, kHeaderSize, file) == kHeaderSize;  // compression, sizes and colours stay 0
}

// Blue, green, red of `count` words: four pixels at a time as three little-endian words where the machine is one.
void put_pixels(const uint32_t* words, int64_t count, uint8_t* p) {
    int64_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= count; i += 4, p += 12) {
            const uint32_t a = words[i] & 0xFFFFFF, b = words[i + 1] & 0xFFFFFF;
            const uint32_t c = words[i + 2] & 0xFFFFFF, d = words[i + 3] & 0xFFFFFF;
            const uint64_t low = uint64_t(a | b << 24) | uint64_t(b >> 8 | c << 16) << 32;
            const uint32_t high = c >> 16 | d << 8;
            std::memcpy(p, &low, 8);
            std::memcpy(p + 8, &high, 4);
        }
    }
    for (; i < count; ++i, p += 3) {
        const uint32_t w = words[i];  // 0x00RRGGBB: blue, green, red in file order
        p[0] = uint8_t(w);
        p[1] = uint8_t(w >> 8);
        p[2] = uint8_t(w >> 16);
    }
}

// One file row for picture row `r` (top-down) from column x: white outside the surface, then the zero pad.
void build_row(const MemDC& surface, int32_t r, int32_t x, int32_t width, uint8_t* out) {
    const size_t bytes = size_t(width) * 3;
    std::fill(out + bytes, out + bytes + size_t(width % 4), uint8_t(0));
    const int64_t first = std::max(x, 0), last = std::min(int64_t(x) + width, int64_t(surface.width()));
    if (r < 0 || r >= surface.height() || first >= last) {
        std::fill(out, out + bytes, uint8_t(0xFF));
        return;
    }
    // White before and after the part that lies on the surface.
    std::fill(out, out + size_t(first - x) * 3, uint8_t(0xFF));
    std::fill(out + size_t(last - x) * 3, out + bytes, uint8_t(0xFF));
    const uint32_t* words = surface.words() + size_t(surface.height() - 1 - r) * size_t(surface.width());
    put_pixels(words + first, last - first, out + size_t(first - x) * 3);
}

bool write_rows(std::FILE* file, const MemDC& surface, int32_t x, int32_t y, int32_t width, int32_t height) {
    const size_t row_bytes = size_t(width) * 3 + size_t(width % 4);
    if (row_bytes == 0 || height == 0) return true;
    const size_t rows_per_chunk = std::max<size_t>(1, kChunkBytes / row_bytes);
    std::vector<uint8_t> chunk(row_bytes * std::min(rows_per_chunk, size_t(height)));
    int32_t r = y + height - 1;  // the bottom row of the rectangle goes first
    while (r >= y) {
        size_t n = 0;
        for (; n < rows_per_chunk && r >= y; ++n, --r) build_row(surface, r, x, width, chunk.data() + n * row_bytes);
        if (std::fwrite(chunk.data(), row_bytes, n, file) != n) return false;
    }
    return true;
}

}  // namespace

int32_t write_bmp(MemDC& surface, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (width == 0) {
        BitmapInfo info;
        surface.get_info(info);
        x = y = 0;
        width = info.width;
        height = info.height;
    } else {
        surface.attach();
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    // An export that replaces a file never leaves it half written: the old picture stays until the new one is whole.
    return durable_write(resolve_path(graphics.bmp_name), [&](std::FILE* file) {
        return write_header(file, uint32_t(width), uint32_t(height)) && write_rows(file, surface, x, y, width, height);
    }) ? 1 : 0;
}
