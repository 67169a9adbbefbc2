// The picture list's state (one list at a time) and the drawing of its strip, shared by its window and drawing
// files; tests read it too.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/memdc.h"
#include "ws/ws.h"
#include "windows/viewer_loader.h"

inline constexpr int32_t kStripW = 400, kStripH = 103;  // the window's client area
inline constexpr int32_t kSlots = 5;                     // thumbnails shown at once
inline constexpr int32_t kHoverLeft = 10, kHoverRight = 20;

// The window itself is play.list_window.
struct Viewer {
    ws::Hwnd parent = 0;                        // receives IDM_VIEW_END
    std::vector<std::string> names;             // listed files, in list order
    std::vector<std::unique_ptr<MemDC>> thumbs; // thumbs[i] shows names[i] (device pixels); fewer while loading
    std::vector<int32_t> labels;                // joins still missing of a saved game, -1 for a picture
    MemDC strip;                                // the window's image, in its device pixels
    MemDC buttons[6];                           // arrows left, left lit, right, right lit; "読込中", "終了"
    ThumbLoader loader;
    int32_t first_shown = 0;
    int32_t hover = 0;       // 0 none, 1..5 slot, kHoverLeft / kHoverRight arrows
    int32_t menu_index = -1;
    int32_t blink = 0;
    int32_t scroll_dir = 0;
    bool loading = false;
    bool notice_due = false;  // more than kListMaxFiles files: the notice waits for the window's timer

    // Back to the start values: the loader's worker is stopped and the thumbnails and surfaces destroyed (none of
    // them can be copied over).
    void reset() {
        loader.stop();
        parent = 0;
        names.clear();
        thumbs.clear();
        labels.clear();
        strip.destroy();
        for (MemDC& b : buttons) b.destroy();
        first_shown = hover = blink = scroll_dir = 0;
        menu_index = -1;
        loading = notice_due = false;
    }
};
extern Viewer viewer;

// Draws the six button images (once per list).
void make_button_images();
// Draws the shown thumbnails from first_shown with frames and labels, and both arrows; keeps the highlight.
void draw_strip();
// Lights slot or arrow h (see Viewer::hover); 0 turns the highlight off, -1 lights the current one again.
void set_hover(int32_t h);
// One tick of the loading indicator (every 400 ms); false when it has nothing more to show.
bool blink_indicator();
