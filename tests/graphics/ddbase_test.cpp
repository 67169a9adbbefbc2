// The presenter: clipping of background and item copies, the white key, image ownership, borrowed tables and
// presenting into a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "graphics/ddbase.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "picture_test_util.h"
#include "ws/ws.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBackground = 0x203040;

// The item picture, 10 x 8: a distinct colour per pixel, with a white column at x = 4 and a white pixel at (0, 0).
uint32_t item_pixel(int32_t x, int32_t y) {
    if (x == 4 || (x == 0 && y == 0)) return kWhite;
    return uint32_t(0x100000 * (x + 1) + 0x1000 * (y + 1) + 7);
}

// Back-buffer word at (x, y), top-down.
uint32_t back_at(const DDBase& dd, int32_t x, int32_t y) {
    return dd.back->words()[size_t(dd.back->height() - 1 - y) * size_t(dd.back->width()) + size_t(x)];
}

class Presenter : public ::testing::Test {
protected:
    void SetUp() override {
        dd.init(0);
        dd.table_count = dd.count;
        pictest::fill_surface(desk, dd.screen_width, dd.screen_height, [](int32_t, int32_t) { return kBackground; });
        dd.back_clear(nullptr, &desk, 0, 0);
        pictest::fill_surface(view, 10, 8, item_pixel);
        dd.set_img(1, &view);
    }

    // Checks that the rectangle (x, y, w, h) of the back buffer shows the item from (sx, sy) with white left out,
    // and that the pixels just outside it on the left and top still show the background.
    void expect_item_at(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy) {
        for (int32_t r = 0; r < h; ++r)
            for (int32_t c = 0; c < w; ++c) {
                const uint32_t want = item_pixel(sx + c, sy + r) == kWhite ? kBackground : item_pixel(sx + c, sy + r);
                ASSERT_EQ(back_at(dd, x + c, y + r), want) << "at " << x + c << "," << y + r;
            }
        if (x > 0) {
            EXPECT_EQ(back_at(dd, x - 1, y), kBackground);
        }
        if (y > 0) {
            EXPECT_EQ(back_at(dd, x, y - 1), kBackground);
        }
        if (x + w < dd.screen_width) {
            EXPECT_EQ(back_at(dd, x + w, y), kBackground);
        }
        if (y + h < dd.screen_height) {
            EXPECT_EQ(back_at(dd, x, y + h), kBackground);
        }
    }

    DDBase dd{4};
    MemDC desk, view;
};

TEST_F(Presenter, DrawWithWhiteAsKey) {
    const Rect r{20, 30, 40, 50};
    dd.draw(&r, 1, 0, 0);
    // The rectangle is larger than the item: only the item's 10 x 8 pixels are drawn.
    expect_item_at(20, 30, 10, 8, 0, 0);
    EXPECT_EQ(back_at(dd, 24, 33), kBackground);  // the white column
    EXPECT_EQ(back_at(dd, 25, 33), item_pixel(5, 3));
}

TEST_F(Presenter, DrawClipsAtTheBackBufferEdgesAndTakesTheMatchingPartOfTheItem) {
    // Starting left of and above the back buffer: the visible part comes from (3, 2) of the item.
    const Rect left_top{-3, -2, 7, 6};
    dd.draw(&left_top, 1, 0, 0);
    expect_item_at(0, 0, 7, 6, 3, 2);

    // Past the right and bottom edges: only what fits.
    const int32_t w = dd.screen_width, h = dd.screen_height;
    const Rect far{w - 4, h - 3, w + 6, h + 5};
    dd.draw(&far, 1, 0, 0);
    expect_item_at(w - 4, h - 3, 4, 3, 0, 0);

    // A negative offset in the item moves the destination on instead.
    const Rect mid{100, 100, 120, 120};
    dd.draw(&mid, 1, -2, -1);
    expect_item_at(102, 101, 10, 8, 0, 0);

    // An offset at or past the item's edge, or an empty rectangle, draws nothing.
    const Rect spot{200, 200, 210, 210};
    dd.draw(&spot, 1, 10, 0);
    const Rect empty{300, 300, 300, 310};
    dd.draw(&empty, 1, 0, 0);
    EXPECT_EQ(back_at(dd, 201, 201), kBackground);
    EXPECT_EQ(back_at(dd, 300, 301), kBackground);
}

TEST_F(Presenter, BackClearClipsLikeDraw) {
    MemDC source;
    pictest::fill_surface(source, 50, 40,
                          [](int32_t x, int32_t y) { return uint32_t(0x010000 * x + 0x000100 * y + 1); });
    const Rect r{-5, -6, 20, 20};
    dd.back_clear(&r, &source, 0, 0);
    EXPECT_EQ(back_at(dd, 0, 0), 0x050601u);    // from (5, 6) of the source
    EXPECT_EQ(back_at(dd, 19, 19), 0x181901u);  // (24, 25)
    EXPECT_EQ(back_at(dd, 20, 19), kBackground);

    // The whole back buffer from (10, 0): the source runs out after 40 columns and 40 rows.
    dd.back_clear(nullptr, &source, 10, 0);
    EXPECT_EQ(back_at(dd, 39, 39), 0x312701u);
    EXPECT_EQ(back_at(dd, 40, 0), kBackground);
    EXPECT_EQ(back_at(dd, 0, 40), kBackground);

    // A negative source offset moves the destination on.
    const Rect at{100, 100, 110, 110};
    dd.back_clear(&at, &source, -3, 0);
    EXPECT_EQ(back_at(dd, 102, 100), kBackground);
    EXPECT_EQ(back_at(dd, 103, 100), 0x000001u);
}

TEST_F(Presenter, SetImgTwiceLeavesOneImage) {
    const int32_t before = DDBase::live_surfaces();
    MemDC bigger;
    pictest::fill_surface(bigger, 12, 9, [](int32_t, int32_t) { return 0x00AA00u; });
    dd.set_img(1, &bigger);
    EXPECT_EQ(DDBase::live_surfaces(), before);
    EXPECT_EQ(dd.widths[1], 12);
    EXPECT_EQ(dd.surface_heights[1], 9);
    EXPECT_EQ(dd.get_pixel(1, 11, 8), word_to_colour(0x00AA00));
    // The presenter keeps its own copy: the view may go.
    bigger.destroy();
    EXPECT_EQ(dd.get_pixel(1, 0, 0), word_to_colour(0x00AA00));

    dd.release_img(1);
    EXPECT_EQ(DDBase::live_surfaces(), before - 1);
    EXPECT_EQ(dd.surfaces[1], nullptr);
    EXPECT_EQ(dd.widths[1], 0);
    const Rect r{0, 0, 20, 20};
    dd.draw(&r, 1, 0, 0);  // an id without image draws nothing
    EXPECT_EQ(back_at(dd, 1, 1), kBackground);
    dd.finish();
    EXPECT_EQ(DDBase::live_surfaces(), before - 1);
}

TEST_F(Presenter, GetPixelReadsImagesAndTheBackBuffer) {
    EXPECT_EQ(dd.get_pixel(1, 2, 3), word_to_colour(item_pixel(2, 3)));
    EXPECT_EQ(dd.get_pixel(-1, 5, 5), word_to_colour(kBackground));
    // Outside the image, an id without image and an id out of range read as white.
    EXPECT_EQ(dd.get_pixel(1, 10, 0), kWhite);
    EXPECT_EQ(dd.get_pixel(2, 0, 0), kWhite);
    EXPECT_EQ(dd.get_pixel(99, 0, 0), kWhite);
}

TEST_F(Presenter, BorrowedTablesShareImagesAndClearingReleasesNothing) {
    const int32_t before = DDBase::live_surfaces();
    {
        DDBase tray(8);
        tray.init(0);
        tray.copy_table(dd);
        EXPECT_EQ(tray.table_count, dd.table_count);
        EXPECT_EQ(tray.surfaces[1], dd.surfaces[1]);
        tray.back_clear(nullptr, &desk, 0, 0);
        const Rect r{0, 0, 10, 8};
        tray.draw(&r, 1, 0, 0);
        EXPECT_EQ(tray.get_pixel(-1, 5, 3), word_to_colour(item_pixel(5, 3)));
        tray.clear_table();
        EXPECT_EQ(tray.surfaces[1], nullptr);
        tray.finish();
    }
    EXPECT_EQ(DDBase::live_surfaces(), before);
    EXPECT_EQ(dd.get_pixel(1, 2, 3), word_to_colour(item_pixel(2, 3)));
}

intptr_t plain_proc(ws::Hwnd h, uint32_t m, uintptr_t w, intptr_t l) { return ws::def_window_proc(h, m, w, l); }

class PresenterWindow : public Presenter {
protected:
    void SetUp() override {
        Presenter::SetUp();
        ws::test::reset();
        ws::WindowClass wc;
        wc.name = "ddbase_test";
        wc.proc = plain_proc;
        ws::register_class(wc);
        hwnd = ws::create_window("ddbase_test", "t", ws::WS_POPUP | ws::WS_VISIBLE, 0, 0, 64, 48, 0, 0);
        ASSERT_NE(hwnd, 0);
        client = ws::client_surface(hwnd);
        ASSERT_NE(client, nullptr);
        ASSERT_GE(client->width(), 30);
        client->fill(0, 0, client->width(), client->height(), 0x0000FF);  // red, as colour 0x00BBGGRR
    }
    void TearDown() override { ws::destroy_window(hwnd); }
    uint32_t client_at(int32_t x, int32_t y) { return colour_to_word(client->get_pixel(x, y)); }

    ws::Hwnd hwnd = 0;
    MemDC* client = nullptr;
};

TEST_F(PresenterWindow, FlipCopiesTheRectangleIntoTheWindow) {
    const Rect r{5, 6, 25, 16};
    dd.draw(&r, 1, 0, 0);
    EXPECT_EQ(dd.flip(hwnd, &r), 1);
    EXPECT_EQ(client_at(6, 7), item_pixel(1, 1));
    EXPECT_EQ(client_at(9, 7), kBackground);  // white in the item: the background came through
    EXPECT_EQ(client_at(4, 7), 0xFF0000u);     // outside the rectangle the window is as it was
    EXPECT_EQ(client_at(5, 16), 0xFF0000u);
    // No rectangle: the whole client area.
    EXPECT_EQ(dd.flip(hwnd, nullptr), 1);
    EXPECT_EQ(client_at(client->width() - 1, client->height() - 1), kBackground);
}

TEST_F(PresenterWindow, FlipOfAnEmptyRectangleDoesNothing) {
    const Rect empty{10, 10, 10, 30}, upside{10, 10, 30, 5};
    EXPECT_EQ(dd.flip(hwnd, &empty), 1);
    EXPECT_EQ(dd.flip(hwnd, &upside), 1);
    EXPECT_EQ(client_at(10, 10), 0xFF0000u);
    EXPECT_EQ(client_at(20, 7), 0xFF0000u);
}

// Death tests: the fatal report writes its step text into the trace file, which each child points elsewhere.
TEST(PresenterDeathTest, BadIdsAndMissingPicturesEndTheProgram) {
    const struct {
        const char* name;
        void (*run)();
        const char* step;
    } cases[] = {
        {"set_img_id", [] { DDBase d(2); d.init(0); MemDC v; v.create(BIT_SCREEN, 2, 2); d.set_img(2, &v); },
         "set_img noが不正 no=2"},
        {"set_img_null", [] { DDBase d(2); d.init(0); d.set_img(1, nullptr); },
         "set_img ビットマップポインタが不正(NULL) no=1"},
        {"draw_id", [] { DDBase d(2); d.init(0); d.draw(nullptr, -1, 0, 0); }, "draw noが不正 no=-1"},
        {"back_clear", [] { DDBase d(2); d.init(0); d.back_clear(nullptr, nullptr, 0, 0); },
         "back_clear ビットマップポインタが不正(NULL)"},
    };
    for (const auto& c : cases) {
        const std::string file =
            (std::filesystem::temp_directory_path() / (std::string("zelto_ddbase_") + c.name + ".txt")).string();
        std::remove(file.c_str());
        EXPECT_EXIT(
            (std::snprintf(graphics.trace_file_name, sizeof graphics.trace_file_name, "%s", file.c_str()), c.run()),
            testing::ExitedWithCode(1), "")
            << c.name;
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find(c.step), std::string::npos) << c.name << ": " << text.str();
        std::remove(file.c_str());
    }
}

}  // namespace
