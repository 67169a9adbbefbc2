// Drawing surfaces: context objects, pixel access, colour/monochrome transfers, the zoomed copy and its rectangles;
// the presenter's image ownership; the fatal errors of surfaces and the presenter.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "graphics/zoom.h"
#include "support/interpreter.h"
#include "ws/ddbase.h"
#include "ws/ws.h"

namespace {

constexpr Colour red = 0x0000FF, green = 0x00FF00, white = 0xFFFFFF;

// The surfaces and presenters of data/surfaces.txt, named by the scripts (its opening lines tell the actions and
// probes).
class SurfaceScript : public ::testing::Test, public testsupport::BasicInterpreter {
protected:
    MemDC& s(const std::string& name) { return surfaces_[name]; }
    DDBase& d(const std::string& name) { return *presenters_.at(name); }
    Colour c(const Args& a, size_t k) const { return Colour(value(a.at(k))); }
    Rect rect(const Args& a, size_t k) const { return {i(a, k), i(a, k + 1), i(a, k + 2), i(a, k + 3)}; }
    std::map<std::string, MemDC> surfaces_;
    std::map<std::string, std::unique_ptr<DDBase>> presenters_;  // after the surfaces: they go first
    std::map<std::string, uint64_t> writes_seen_;                 // each presenter's writes at its last probe
    MemDC* kept_ = nullptr;                                       // what save_back keeps
    int32_t objects_ = 0, images_ = 0;

public:
    ~SurfaceScript() override { delete kept_; }
    SurfaceScript() {
        names_ = {{"red", red}, {"green", green}, {"white", white}, {"grey", 0x808080}, {"dib", BIT_DIB},
                  {"mono", BIT_MONO}, {"screen", BIT_SCREEN}, {"SRCCOPY", SRCCOPY}, {"NOTSRCCOPY", NOTSRCCOPY},
                  {"PATCOPY", PATCOPY}, {"border", FLOODFILLBORDER}, {"surface", FLOODFILLSURFACE}};
        actions_ = {
            {"mark", [this](const Args&) { objects_ = MemDC::live_objects(), images_ = DDBase::live_surfaces(); }},
            {"create", [this](const Args& a) { s(a[0]).create(i(a, 1), i(a, 2), i(a, 3)); }},
            {"fill", [this](const Args& a) { s(a[0]).fill(i(a, 1), i(a, 2), i(a, 3), i(a, 4), c(a, 5)); }},
            {"pen", [this](const Args& a) { s(a[0]).set_pen(c(a, 1), i(a, 2)); }},
            {"pen1", [this](const Args& a) { s(a[0]).set_pen1(c(a, 1)); }},
            {"brush", [this](const Args& a) { s(a[0]).set_brush(c(a, 1)); }},
            {"bk", [this](const Args& a) { s(a[0]).set_bk_colour(c(a, 1)); }},
            {"text", [this](const Args& a) { s(a[0]).set_text_colour(c(a, 1)); }},
            {"text_bk", [this](const Args& a) {
                ws::text_bk(s(a[0]), i(a, 1), i(a, 2), rest(a, 5).c_str(), -1, c(a, 3), c(a, 4));
            }},
            {"release", [this](const Args& a) { s(a[0]).release_dc(); }},
            {"destroy", [this](const Args& a) { s(a[0]).destroy(); }},
            {"flood", [this](const Args& a) { s(a[0]).flood_fill(i(a, 1), i(a, 2), c(a, 3), i(a, 4)); }},
            {"set", [this](const Args& a) { s(a[0]).set_pixel(i(a, 1), i(a, 2), c(a, 3)); }},
            {"word", [this](const Args& a) { s(a[0]).pixels()[i(a, 1)] = c(a, 2); }},
            {"noise", [this](const Args& a) {  // every word another colour, its top byte set
                for (int32_t k = 0; k < s(a[0]).width() * s(a[0]).height(); ++k)
                    s(a[0]).pixels()[k] = uint32_t(k * 0x9E3779B1u) | 0xFF000000u;
            }},
            {"line", [this](const Args& a) { s(a[0]).line(i(a, 1), i(a, 2), i(a, 3), i(a, 4)); }},
            {"bezier", [this](const Args& a) {
                std::vector<Point> p;
                for (size_t k = 1; k + 1 < a.size(); k += 2) p.push_back({i(a, k), i(a, k + 1)});
                s(a[0]).bezier(p.data(), int32_t(p.size()));
            }},
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
            {"ddbase", [this](const Args& a) { (presenters_[a[0]] = std::make_unique<DDBase>(i(a, 1)))->init(0); }},
            {"set_img", [this](const Args& a) { d(a[0]).set_img(i(a, 1), a[2] == "none" ? nullptr : &s(a[2])); }},
            {"table_count", [this](const Args& a) { d(a[0]).table_count = i(a, 1); }},
            {"copy_table", [this](const Args& a) { d(a[0]).copy_table(d(a[1])); }},
            {"clear_table", [this](const Args& a) { d(a[0]).clear_table(); }},
            {"finish", [this](const Args& a) { d(a[0]).finish(); }},
            {"draw", [this](const Args& a) {
                const Rect r = a.size() > 2 ? rect(a, 2) : Rect{};
                d(a[0]).draw(a.size() > 2 ? &r : nullptr, i(a, 1), 0, 0);
            }},
            {"back_clear", [this](const Args& a) {
                const Rect r = a.size() > 2 ? rect(a, 2) : Rect{};
                d(a[0]).back_clear(a.size() > 2 ? &r : nullptr, a.size() > 1 ? &s(a[1]) : nullptr, 0, 0);
            }},
            {"set_frame", [this](const Args& a) {
                d(a[0]).set_frame(i(a, 1), i(a, 2), i(a, 3), i(a, 4), i(a, 5), 0, a.size() > 6 ? i(a, 6) : 1000);
            }},
            {"save_back", [this](const Args& a) { d(a[0]).save_back(rect(a, 1), kept_); }},
            {"restore_back", [this](const Args& a) { d(a[0]).restore_back(rect(a, 1), *kept_); }},
        };
        probes_ = {
            {"objects", [this](const Args&) { return n(MemDC::live_objects() - objects_); }},
            {"images", [this](const Args&) { return n(DDBase::live_surfaces() - images_); }},
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
            {"black_white", [this](const Args& a) {  // words neither black nor white; whether both hold over 50
                int32_t black = 0, white = 0, other = 0;
                for (int32_t k = 0; k < s(a[0]).width() * s(a[0]).height(); ++k)
                    (s(a[0]).words()[k] == 0 ? black : s(a[0]).words()[k] == 0xFFFFFF ? white : other) += 1;
                return n(other) + " " + n(std::min(black, white) > 50);
            }},
            {"table_count", [this](const Args& a) { return n(d(a[0]).table_count); }},
            {"back", [this](const Args& a) {  // NAME X Y...: the back buffer's colours there
                std::string out;
                for (size_t k = 1; k + 1 < a.size(); k += 2)
                    out += n(d(a[0]).get_pixel(-1, i(a, k), i(a, k + 1))) + " ";
                return out;
            }},
            {"changed", [this](const Args& a) {  // NAME: whether its writes moved since the last probe of it
                const uint64_t now = d(a[0]).writes;
                return n(std::exchange(writes_seen_[a[0]], now) != now);
            }},
            {"kept", [this](const Args&) { return n(kept_->width()) + " " + n(kept_->height()); }},
            {"slots", [this](const Args& a) {  // NAME OTHER: slots 0 and 1 empty, shared with OTHER's, or its own
                std::string out;
                for (int32_t k : {0, 1}) {
                    const MemDC* image = d(a[0]).surfaces[k];
                    out += !image ? "none " : image == d(a[1]).surfaces[k] ? "shared " : "own ";
                }
                return out;
            }},
            {"fatal", [this](const Args& a) {  // ACTION...: the action ends the program; the module and step reported
                // Beside the test program (a death test's child runs it again), so builds tested side by side keep
                // apart.
                const std::string f = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "surface_fatal");
                std::remove(f.c_str());
                const Args misuse(a.begin() + 1, a.end());
                EXPECT_EXIT((std::strcpy(graphics.trace_file_name, f.c_str()), actions_.at(a[0])(misuse)),
                            testing::ExitedWithCode(1), "");
                std::ostringstream read;
                read << std::ifstream(f).rdbuf();
                std::remove(f.c_str());
                std::string report = read.str();  // the report's second line: MODULE line=N STEP errno=E
                report = report.substr(report.find('\n') + 1);
                report.resize(std::min(report.find(" errno="), report.size()));
                const size_t line = report.find(" line=");
                return line == std::string::npos ? report : report.erase(line, report.find(' ', line + 1) - line);
            }},
        };
    }
};
TEST_P(SurfaceScript, Runs) { run(); }
INSTANTIATE_TEST_SUITE_P(MemDC, SurfaceScript,
                         ::testing::ValuesIn(testsupport::read_scripts("graphics/data/surfaces.txt")),
                         SurfaceScript::name);

}  // namespace
