// The skin's tooltip: a white box with a black frame and the button's text, laid into main_back near the pointer
// over what it hides, which it gives back when it goes.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "desk/state.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/skin_table.h"
#include "shell/state.h"
#include "ws/ws.h"

namespace {

struct Tooltip {
    Rect rect;                     // in main_back, frame included
    std::unique_ptr<MemDC> under;  // main_back as it was there
};
Tooltip tip;

// "\n" written as a backslash and an n breaks the line.
std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            lines.emplace_back();
            ++i;
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

}  // namespace

void show_tooltip(const std::string& text, int32_t x, int32_t y) {
    hide_tooltip();
    if (!shell.main_back || !display.main_window) return;
    const std::vector<std::string> lines = split_lines(text);
    const ws::TextMetrics m = ws::text_metrics();
    const int32_t line_h = m.height + m.external_leading;
    int32_t w = 0;
    for (const std::string& line : lines) w = std::max(w, ws::text_extent(line).cx);
    const int32_t h = int32_t(lines.size()) * line_h - m.external_leading;
    const Rect client = ws::get_client_rect(display.main_window);
    const int32_t left = x + w + 12 > client.right ? std::max(client.right - w - 12, 0) : x + 10;
    // Near the bottom it goes up to y - 10, and higher still where a tall box would pass the window's bottom.
    const int32_t top = y + h + 12 > client.bottom ? std::max(std::min(y - 10, client.bottom - h - 2), 0) : y + 10;
    tip.rect = Rect{left, top, left + w + 2, top + h + 2};
    tip.under = std::make_unique<MemDC>();
    tip.under->create(BIT_SCREEN, w + 2, h + 2);
    tip.under->blit(0, 0, w + 2, h + 2, *shell.main_back, left, top, SRCCOPY);
    tip.under->release_dc();
    MemDC box;
    box.create(BIT_SCREEN, w + 2, h + 2);
    box.fill(0, 0, w + 2, h + 2, 0xFFFFFF);
    box.set_pen1(0x000000);
    box.frame(0, 0, w + 1, h + 1);
    for (size_t i = 0; i < lines.size(); ++i)
        ws::text(box, 1, 1 + int32_t(i) * line_h, lines[i].c_str(), int32_t(lines[i].size()), 0x000000);
    shell.main_back->blit(left, top, w + 2, h + 2, box, 0, 0, SRCCOPY);
    shell.main_back->release_dc();
    box.destroy();
    ws::invalidate_rect(display.main_window, &tip.rect, false);
}

void hide_tooltip() {
    if (!tip.under) return;
    if (shell.main_back) {
        shell.main_back->blit(tip.rect.left, tip.rect.top, tip.rect.width(), tip.rect.height(), *tip.under, 0, 0,
                              SRCCOPY);
        shell.main_back->release_dc();
    }
    tip.under.reset();
    if (display.main_window) ws::invalidate_rect(display.main_window, &tip.rect, false);
}
