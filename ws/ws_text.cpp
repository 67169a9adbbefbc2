// Text on surfaces: the game's font, text extents and drawing a line of text onto a surface's pixel words, and the
// surfaces' text operations.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "ws/ws_state.h"

namespace ws {
namespace {

// One font for every text the game draws itself. Glyphs are drawn without smoothing so that a text's pixels are
// exactly its colour or the background: pure white is the key colour of pieces, and a half-white edge pixel
// would be neither key nor picture.
const QFont& game_font() {
    static const QFont& f = *[] {  // kept to the end: a font must not outlive Qt's font database
        auto* font = new QFont(QStringLiteral("IPAGothic"));
        font->setPixelSize(12);
        font->setStyleHint(QFont::SansSerif, QFont::NoAntialias);
        font->setStyleStrategy(QFont::NoAntialias);
        return font;
    }();
    return f;
}

// The game's font at `scale` thousandths of its size, for surfaces of device pixels; each size is made once and
// kept to the end, as the font itself is.
const QFont& font_at(int32_t scale) {
    if (scale == 1000) return game_font();
    static std::map<int32_t, QFont*>& sizes = *new std::map<int32_t, QFont*>;
    QFont*& f = sizes[scale];
    if (!f) {
        f = new QFont(game_font());
        f->setPixelSize(std::max(1, int(std::lround(12.0 * scale / 1000))));
    }
    return *f;
}

QColor to_qcolor(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

}  // namespace

Size text_extent(const std::string& utf8) {
    QFontMetrics m(game_font());
    return {int32_t(m.horizontalAdvance(QString::fromStdString(utf8))), int32_t(m.height())};
}

TextMetrics text_metrics() {
    QFontMetrics m(game_font());
    return {int32_t(m.height()), int32_t(m.ascent()), int32_t(m.descent()), int32_t(m.leading())};
}

void draw_text(uint32_t* words, int32_t width, int32_t height, int32_t x, int32_t y, const std::string& utf8,
               Colour colour, Colour bk, bool opaque, int32_t scale) {
    if (!words || width <= 0 || height <= 0 || utf8.empty()) return;
    const QFont& font = font_at(scale);
    const QFontMetrics metrics(font);
    const Size ext{int32_t(metrics.horizontalAdvance(QString::fromStdString(utf8))), int32_t(metrics.height())};
    // The text box, clipped to the surface: nothing outside it is read or written.
    int32_t left = std::max(x, 0), top = std::max(y, 0);
    int32_t right = std::min<int64_t>(int64_t(x) + ext.cx, width), bottom = std::min<int64_t>(int64_t(y) + ext.cy, height);
    if (right <= left || bottom <= top) return;
    int32_t w = right - left, h = bottom - top;

    // Surfaces keep their rows bottom-up and Qt top-down: copy the box over row by row, reversed.
    QImage box(w, h, QImage::Format_RGB32);
    for (int32_t r = 0; r < h; ++r) {
        const uint32_t* src = words + size_t(height - 1 - (top + r)) * size_t(width) + left;
        auto* dst = reinterpret_cast<uint32_t*>(box.scanLine(r));
        for (int32_t c = 0; c < w; ++c) dst[c] = src[c] | 0xFF000000u;
    }
    {
        QPainter p(&box);
        p.setFont(font);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        if (opaque) p.fillRect(QRect(0, 0, w, h), to_qcolor(bk));
        p.setPen(to_qcolor(colour));
        p.drawText(x - left, y - top + metrics.ascent(), QString::fromStdString(utf8));
    }
    for (int32_t r = 0; r < h; ++r) {
        uint32_t* dst = words + size_t(height - 1 - (top + r)) * size_t(width) + left;
        const auto* src = reinterpret_cast<const uint32_t*>(box.constScanLine(r));
        for (int32_t c = 0; c < w; ++c) dst[c] = src[c] & 0x00FFFFFFu;
    }
}

int32_t text(MemDC& surface, int32_t x, int32_t y, const char* utf8, int32_t length, Colour colour, Where w) {
    surface.set_text_colour(colour, w);
    if (!utf8) return 1;
    const std::string s(utf8, length < 0 ? std::strlen(utf8) : size_t(length));
    const bool mono = surface.bit_type == BIT_MONO;
    const Colour fore = mono ? surface.held_colour(surface.text_colour()) : surface.text_colour();
    const Colour back = mono ? surface.held_colour(surface.bk_colour()) : surface.bk_colour();
    draw_text(surface.words(), surface.width(), surface.height(), x, y, s, fore, back, true);
    if (mono) {
        // Smoothed glyph edges are snapped back to black and white.
        const Size box = text_extent(s);
        surface.snap_to_held(x, y, box.cx, box.cy);
    }
    return 1;
}

void text_scaled(MemDC& surface, int32_t x, int32_t y, const std::string& utf8, Colour colour, Colour background,
                 int32_t scale) {
    draw_text(surface.words(), surface.width(), surface.height(), x, y, utf8, colour, background, true, scale);
}

int32_t text_bk(MemDC& surface, int32_t x, int32_t y, const char* utf8, int32_t length, Colour colour,
                Colour background, Where w) {
    surface.set_bk_colour(background, w);
    return text(surface, x, y, utf8, length, colour, w);
}

}  // namespace ws
