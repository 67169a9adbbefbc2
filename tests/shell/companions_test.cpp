// The companion windows as window scripts: the guide (where it opens, how small it may be, the held group's
// outline, the overview, its fitting and close box) and the piece shape chooser (dragging a point, "キャンセル",
// closing) in data/companions.txt; the picture list (thumbnails and names in step, clicks that start or resume
// exactly their file, the notice for too many files, deleting asked first and into a trash or for good, deleting
// while loading, the loader thread ended however the list goes) in data/viewer.txt; and the guide's fit of the
// game's lent picture against that of the file read again.
#include <cstdlib>
#include <optional>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "support/temp_dir.h"
#include "windows/viewer.h"
#include "windows/viewer_state.h"
#include "shell/windows_support.h"

namespace {

// The companion scripts' actions and probes with the picture list's own.
class Companions : public windowstest::CompanionScript {
protected:
    void SetUp() override {
        const char* home = std::getenv("HOME");
        home_ = home ? std::optional<std::string>(home) : std::nullopt;
        CompanionScript::SetUp();
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        if (home_) setenv("HOME", home_->c_str(), 1);
        CompanionScript::TearDown();
    }
    static std::string pixel(const Args& a) {
        const Colour c = viewer.thumbs.at(size_t(num(a[0])))->get_pixel(num(a[1]), num(a[2]));
        return c == kListBackground ? "back" : c == 0x808080 ? "grey" : "picture";
    }
    static bool valid(int32_t k) { return k < int32_t(viewer.thumbs.size()); }
    static int32_t own_thumbs() {
        int32_t same = 0;
        for (size_t i = 0; i < viewer.thumbs.size(); ++i) {
            MemDC own;
            own.create(BIT_SCREEN, kThumbSide, kThumbSide);
            thumbnail_of_file(viewer.names[i], own);
            int32_t y = 0;
            while (y < kThumbSide && viewer.thumbs[i]->get_pixel(40, y) == own.get_pixel(40, y)) ++y;
            same += y == kThumbSide;
        }
        return same;
    }

public:
    Companions() {
        actions_.insert({
            {"files", [](const Args& a) {
                for (int32_t i = 0; i < num(a[0]); ++i) std::ofstream("pictures/p" + n(1000 + i) + ".bmp");
            }},
            {"list", [this](const Args& a) { viewer_create(a.empty() ? ::display.game_window : parent_); }},
            {"click", [](const Args& a) {
                const uint32_t msg = a.size() > 1 ? ws::WM_RBUTTONUP : ws::WM_LBUTTONUP;
                ws::send_message(::play.list_window, msg, 0, ws::make_lparam(num(a[0]), 40));
                ws::test::pump();
            }},
            {"press", [](const Args& a) {  // X Y [held]
                const intptr_t at = ws::make_lparam(num(a[0]), num(a[1]));
                ws::send_message(::play.list_window, ws::WM_LBUTTONDOWN, 0, at);
                if (a.size() < 3) ws::send_message(::play.list_window, ws::WM_LBUTTONUP, 0, at);
            }},
            {"menu", [](const Args& a) { ws::test::push_menu_answer(num(a[0])); }},
            {"trash", [this](const Args& a) {
                setenv("HOME", dir_.string().c_str(), 1);
                setenv("XDG_DATA_HOME", dir_.file(a[0]).c_str(), 1);
            }},
            {"close_list", [](const Args&) { ws::send_message(::play.list_window, ws::WM_CLOSE, 0, 0); }},
            {"parent", [this](const Args&) {
                ws::register_class({"ViewerTestParent", ws::def_window_proc});
                parent_ = ws::create_window("ViewerTestParent", "", 0, 0, 0, 200, 200, 0, 0);
            }},
            {"destroy_parent", [this](const Args&) { ws::destroy_window(parent_); }},
        });
        probes_.insert({
            {"names", [](const Args&) { return testsupport::joined(viewer.names); }},
            {"first", [](const Args&) { return n(viewer.first_shown); }},
            {"listed", [](const Args&) { return n(int64_t(viewer.names.size())); }},
            {"pixel", pixel},
            {"label", [](const Args& a) { return n(viewer.labels.at(size_t(num(a[0])))); }},
            {"list_open", [](const Args&) { return n(::play.list_window != 0); }},
            {"backgrounds", [](const Args&) {
                bool over_limit = true;
                const size_t count = list_folder("pictures\\", true, over_limit).size();
                return n(int64_t(count)) + " " + n(over_limit);
            }},
            {"loading", [](const Args&) { return n(viewer.loader.running()); }},
            {"own_thumbs", [](const Args&) { return n(own_thumbs()); }},
            {"strip", [](const Args& a) {  // the list window's pixels (X, Y)... after a paint
                ws::paint_at_once(::play.list_window, nullptr);
                std::string words;
                for (size_t k = 0; k + 1 < a.size(); k += 2)
                    words += n(ws::client_surface(::play.list_window)->get_pixel(num(a[k]), num(a[k + 1]))) + " ";
                return words;
            }},
            {"strip_shows", [](const Args&) {  // shown slots whose inside is their thumbnail, the frame left out
                ws::paint_at_once(::play.list_window, nullptr);
                MemDC& win = *ws::client_surface(::play.list_window);
                int32_t same = 0;
                for (int32_t k = viewer.first_shown; k < viewer.first_shown + kSlots && valid(k); ++k) {
                    bool whole = true;
                    for (int32_t y = 2; y < kThumbSide - 2; ++y)
                        for (int32_t x = 2; x < kThumbSide - 2; ++x)
                            whole &= win.get_pixel(kThumbSide * (k - viewer.first_shown) + x, y) ==
                                     viewer.thumbs[size_t(k)]->get_pixel(x, y);
                    same += whole;
                }
                return n(same);
            }},
        });
    }

private:
    ws::Hwnd parent_ = 0;
    std::optional<std::string> home_;
};

std::vector<testsupport::Script> scripts() {
    std::vector<testsupport::Script> all = testsupport::read_scripts("shell/data/companions.txt");
    for (const testsupport::Script& s : testsupport::read_scripts("shell/data/viewer.txt")) all.push_back(s);
    return all;
}

TEST_P(Companions, Run) { run(); }

// The guide fits the game's own picture, whose pure black and white went to the near greys for the cut, exactly as
// it fits the file read again, at thumb sides of one and two pixels, odd and larger than the picture (which shows
// every picture pixel, so that each picture's pure and near colours are compared). A picture crowded with near
// greys is read again; a game of another file does not lend.
TEST(Guide, LentPictureFitsAsTheFileDoes) {
    testsupport::Guard guard;
    testsupport::TempDir dir;
    settings.stretch_size = 0;
    int32_t crowd = 0;  // near greys in the first 4 x crowd columns of rows 1, 31, 61
    const testsupport::PixelAt pixel = [&](int32_t x, int32_t y) {
        const uint32_t near = x % 2 ? 0x010101u : 0xFEFEFEu, stripe[] = {0, 0xFFFFFF, testsupport::pattern_word(x, y)};
        return x / 4 < crowd && y % 30 == 1 ? near : stripe[(x / 3 + y / 2) % 3];
    };
    const auto fitted = [](int32_t side) {
        take_picture();
        guide.thumb_w = guide.thumb_h = side;
        fit_picture();
        size_thumb(guide.thumb_w, guide.thumb_h);
        draw_thumb();
        return std::pair{guide.lender && !guide.picture.created(), testsupport::top_down(guide.thumb)};
    };
    // width, height, crowd (10 is too many), whether picture_path names another file
    const int32_t pictures[][4] = {{45, 71, 1, 0}, {200, 24, 1, 0}, {40, 40, 10, 0}, {120, 90, 4, 1}};
    for (const auto& [w, h, near, other] : pictures) {
        ASSERT_TRUE(testsupport::write_picture(dir.file("other.bmp"), w, h, (crowd = near + 1, pixel)));
        ASSERT_TRUE(testsupport::write_picture(dir.file("p.bmp"), w, h, (crowd = near, pixel)));
        Jig& game = testsupport::new_blank_game();
        ASSERT_EQ(game.stretch(dir.file("p.bmp")), 1);
        game.replace_black_white();
        play.picture_path = dir.file(other ? "other.bmp" : "p.bmp");
        for (const int32_t side : {1, 2, 37, 250}) {
            const auto [lent, thumb] = fitted(side);
            EXPECT_EQ(lent, near < 10 && !other);
            display.current_game = nullptr;  // the file read again
            EXPECT_EQ(thumb, fitted(side).second) << w << "x" << h << " at " << side;
            display.current_game = &game;
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Windows, Companions, ::testing::ValuesIn(scripts()), Companions::name);

}  // namespace
