// Drawing surfaces: context objects, pixel access, colour/monochrome transfers, the zoomed copy and its rectangles;
// the presenter's image ownership; the fatal errors of surfaces and the presenter.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "graphics/zoom.h"
#include "support/interpreter.h"
#include "ws/ddbase.h"

namespace {

constexpr Colour red = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF;

// The surfaces of data/surfaces.txt, named by the scripts (its opening lines tell the actions and probes).
class SurfaceScript : public ::testing::Test, public testsupport::BasicInterpreter {
protected:
    MemDC& s(const std::string& name) { return surfaces_[name]; }
    Colour c(const Args& a, size_t k) const { return Colour(value(a.at(k))); }
    Rect rect(const Args& a, size_t k) const { return {i(a, k), i(a, k + 1), i(a, k + 2), i(a, k + 3)}; }
    std::string sides(const Rect& r) const { return n(r.left) + " " + n(r.top) + " " + n(r.right) + " " + n(r.bottom); }
    std::map<std::string, MemDC> surfaces_;
    int32_t objects_ = 0;

public:
    SurfaceScript() {
        names_ = {{"red", red}, {"green", green}, {"white", white}, {"grey", 0x808080}, {"dib", BIT_DIB},
                  {"mono", BIT_MONO}, {"screen", BIT_SCREEN}, {"SRCCOPY", SRCCOPY}, {"NOTSRCCOPY", NOTSRCCOPY},
                  {"PATCOPY", PATCOPY}, {"border", FLOODFILLBORDER}, {"surface", FLOODFILLSURFACE}};
        actions_ = {
            {"mark", [this](const Args&) { objects_ = MemDC::live_objects(); }},
            {"create", [this](const Args& a) { s(a[0]).create(i(a, 1), i(a, 2), i(a, 3)); }},
            {"fill", [this](const Args& a) { s(a[0]).fill(i(a, 1), i(a, 2), i(a, 3), i(a, 4), c(a, 5)); }},
            {"pen", [this](const Args& a) { s(a[0]).set_pen(c(a, 1), i(a, 2)); }},
            {"pen1", [this](const Args& a) { s(a[0]).set_pen1(c(a, 1)); }},
            {"brush", [this](const Args& a) { s(a[0]).set_brush(c(a, 1)); }},
            {"bk", [this](const Args& a) { s(a[0]).set_bk_colour(c(a, 1)); }},
            {"text", [this](const Args& a) { s(a[0]).set_text_colour(c(a, 1)); }},
            {"release", [this](const Args& a) { s(a[0]).release_dc(); }},
            {"destroy", [this](const Args& a) { s(a[0]).destroy(); }},
            {"flood", [this](const Args& a) { s(a[0]).flood_fill(i(a, 1), i(a, 2), c(a, 3), i(a, 4)); }},
            {"set", [this](const Args& a) { s(a[0]).set_pixel(i(a, 1), i(a, 2), c(a, 3)); }},
            {"word", [this](const Args& a) { s(a[0]).pixels()[i(a, 1)] = c(a, 2); }},
            {"line", [this](const Args& a) { s(a[0]).line(i(a, 1), i(a, 2), i(a, 3), i(a, 4)); }},
            {"frame", [this](const Args& a) { s(a[0]).frame(i(a, 1), i(a, 2), i(a, 3), i(a, 4)); }},
            {"ellipse", [this](const Args& a) { s(a[0]).ellipse(i(a, 1), i(a, 2), i(a, 3), i(a, 4)); }},
            {"blit", [this](const Args& a) {
                s(a[0]).blit(i(a, 1), i(a, 2), i(a, 3), i(a, 4), s(a[5]), i(a, 6), i(a, 7), c(a, 8));
            }},
            {"stretch", [this](const Args& a) {
                s(a[0]).stretch_blit(i(a, 1), i(a, 2), i(a, 3), i(a, 4), s(a[5]), i(a, 6), i(a, 7), i(a, 8), i(a, 9),
                                     c(a, 10));
            }},
            {"zoom", [this](const Args& a) {
                zoom_copy(s(a[0]), rect(a, 1), s(a[5]), i(a, 6), i(a, 7), i(a, 8), uint32_t(value(a.at(9))));
            }},
        };
        probes_ = {
            {"objects", [this](const Args&) { return n(MemDC::live_objects() - objects_); }},
            {"get", [this](const Args& a) {  // NAME X Y...: the colours there
                std::string out;
                for (size_t k = 1; k + 1 < a.size(); k += 2) out += n(s(a[0]).get_pixel(i(a, k), i(a, k + 1))) + " ";
                return out;
            }},
            {"word", [this](const Args& a) { return n(s(a[0]).pixels()[i(a, 1)]); }},
            {"zoomed", [this](const Args& a) { return sides(zoomed_rect(rect(a, 0), i(a, 4))); }},
            {"unzoomed", [this](const Args& a) { return sides(unzoomed_rect(rect(a, 0), i(a, 4))); }},
            {"info", [this](const Args& a) {  // width, height, bytes a row, bits a pixel, bits (own, none)
                BitmapInfo info;
                s(a[0]).get_info(info);
                const bool own = info.bits && info.bits == s(a[0]).pixels();
                return n(info.width) + " " + n(info.height) + " " + n(info.width_bytes) + " " + n(info.bits_pixel) +
                       " " + (own ? "own" : info.bits ? "other" : "none");
            }},
        };
    }
};
TEST_P(SurfaceScript, Runs) { run(); }
INSTANTIATE_TEST_SUITE_P(MemDC, SurfaceScript,
                         ::testing::ValuesIn(testsupport::read_scripts("graphics/data/surfaces.txt")),
                         SurfaceScript::name);

// Whatever is drawn on a monochrome surface, by every operation and in any colour (the nearer of black and white
// is taken), it holds only pure black and pure white words: marked colour words become white, smoothed text edges
// snap to one of the two.
TEST(MemDC, MonochromeSurfacesHoldOnlyBlackAndWhite) {
    MemDC colour, m;
    colour.create(BIT_DIB, 40, 30);
    for (int32_t i = 0; i < 40 * 30; ++i) colour.pixels()[i] = uint32_t(i * 0x9E3779B1u) | 0xFF000000u;
    m.create(BIT_MONO, 80, 40);
    m.blit(0, 0, 40, 30, colour, 0, 0, SRCCOPY);
    m.stretch_blit(40, 0, 40, 40, colour, 0, 0, 40, 30, NOTSRCCOPY);
    ws::text_bk(m, 2, 2, "モノクロ mono", -1, 0x00E0E0, 0x202080);
    m.set_pen(0x7F8080, 3);
    const Point curve[4] = {{0, 39}, {20, 0}, {60, 39}, {79, 0}};
    m.bezier(curve, 4);
    m.set_brush(0x30C030);
    m.ellipse(50, 10, 75, 35);
    m.flood_fill(1, 38, 0x00FFFF, FLOODFILLSURFACE);
    m.set_pixel(79, 39, 0xC0C0C0);
    int32_t black = 0, white = 0, other = 0;
    for (size_t i = 0; i < 80 * 40; ++i) {
        const uint32_t w = m.words()[i];
        (w == 0 ? black : w == 0xFFFFFF ? white : other) += 1;
    }
    EXPECT_EQ(other, 0);
    EXPECT_GT(std::min(black, white), 50);
}

// Replacing an image releases the old one; a presenter that borrowed another's table releases none of its images
// when it clears the table or finishes.
TEST(Presenter, ImagesAreReleasedOnceAndBorrowedTablesNever) {
    DDBase owner(4), tray(8);
    owner.init(0);
    tray.init(0);
    MemDC item;
    item.create(BIT_SCREEN, 10, 8);
    for (int32_t id : {0, 1}) owner.set_img(id, &item);
    owner.table_count = 2;
    const int32_t before = DDBase::live_surfaces();
    owner.set_img(1, &item);
    EXPECT_EQ(DDBase::live_surfaces(), before);
    tray.copy_table(owner);
    EXPECT_EQ(std::pair(tray.table_count, tray.surfaces[1]), std::pair(2, owner.surfaces[1]));
    tray.clear_table();
    EXPECT_EQ(std::pair(tray.surfaces[0], tray.surfaces[1]), std::pair((MemDC*)nullptr, (MemDC*)nullptr));
    tray.finish();
    EXPECT_EQ(DDBase::live_surfaces(), before);
}

// A 4 x 4 surface of the given type and a presenter of two slots, for the fatal cases below to misuse.
MemDC& made(int32_t type) {
    static MemDC s;
    s.create(type, 4, 4);
    return s;
}
DDBase& presenter() {
    static DDBase d(2);
    d.init(0);
    return d;
}

// Death tests: the fatal report writes its step text into the trace file, which each child points elsewhere.
TEST(SurfaceDeathTest, FatalErrorsNameTheCallerAndTheStep) {
    const std::tuple<void (*)(), const char*, const char*> cases[] = {  // the misuse, the module named, the step
        {[] { made(3); }, "surface_test", "bit_type error"},
        {[] { MemDC().create(BIT_MONO, -1, 4); }, "surface_test", "CreateBitmap"},
        {[] { MemDC().create(BIT_DIB, 4, -1); }, "surface_test", "CreateDIBSection"},
        {[] { MemDC().create(BIT_DIB, 1 << 15, (1 << 13) + 1); }, "surface_test", "CreateDIBSection"},  // > 2^28
        {[] { made(BIT_SCREEN).pixels(); }, "surface_test", "NOT DIB FORMAT"},
        {[] { made(BIT_DIB).bezier(std::array<Point, 2>{}.data(), 2); }, "surface_test", "PolyBezier"},
        {[] { MemDC().fill(0, 0, 1, 1, 0); }, "surface_test", "SelectObject"},
        {[] { presenter().set_img(2, &made(BIT_SCREEN)); }, "ddbase", "set_img noが不正 no=2"},
        {[] { presenter().set_img(1, nullptr); }, "ddbase", "set_img ビットマップポインタが不正(NULL) no=1"},
        {[] { presenter().draw(nullptr, -1, 0, 0); }, "ddbase", "draw noが不正 no=-1"},
        {[] { presenter().back_clear(nullptr, nullptr, 0, 0); }, "ddbase",
         "back_clear ビットマップポインタが不正(NULL)"},
    };
    // Beside the test program (a death test's child runs it again), so builds tested side by side keep apart.
    const std::string f = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "surface_fatal").string();
    for (const auto& [run, who, step] : cases) {
        std::remove(f.c_str());
        EXPECT_EXIT((std::strcpy(graphics.trace_file_name, f.c_str()), run()), testing::ExitedWithCode(1), "") << step;
        std::ostringstream read;
        read << std::ifstream(f).rdbuf();
        const std::string text = read.str();
        EXPECT_NE(text.find(step), std::string::npos) << text;
        EXPECT_EQ(text.find(std::string(who) + " line="), text.find('\n') + 1) << text;
    }
    std::remove(f.c_str());
}

}  // namespace
