// The program icon: a surface turned into the application's window icon or a PNG file, white made transparent.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "ws/ws.h"

namespace ws {
namespace {

// Rows of the surface are bottom-up; the image is top-down with alpha.
QImage icon_image(const MemDC& icon) {
    const int32_t w = icon.width(), h = icon.height();
    QImage image(w, h, QImage::Format_ARGB32);
    const uint32_t* words = icon.words();
    for (int32_t y = 0; y < h && words; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint32_t* src = words + size_t(h - 1 - y) * size_t(w);
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t rgb = src[x] & 0xFFFFFF;
            line[x] = rgb == 0xFFFFFF ? 0u : (0xFF000000u | rgb);
        }
    }
    return image;
}

}  // namespace

void set_program_icon(const MemDC& icon) {
    if (icon.width() < 1 || icon.height() < 1) return;
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon_image(icon))));
}

bool save_icon_png(const MemDC& icon, const std::string& path) {
    if (icon.width() < 1 || icon.height() < 1 || path.empty()) return false;
    return icon_image(icon).save(QString::fromStdString(path), "PNG");
}

}  // namespace ws
