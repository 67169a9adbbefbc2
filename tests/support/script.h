// The one interpreter of test scripts (read_scripts): actions and probes by name, each fixture adding its own.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "desk/state.h"
#include "support/cases.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "ws/ddbase.h"

namespace testsupport {

// Each script line is an action, or "expect WHAT ARGS... = WORDS... [~TOLERANCE]": the words the probe WHAT gives
// must be the words after "=", numbers (or names of numbers) within the tolerance (1e-9 if none given).
class Interpreter : public ::testing::WithParamInterface<Script> {
public:
    using Args = std::vector<std::string>;
    void run() {
        for (const Fields& f : GetParam().lines) {
            SCOPED_TRACE(joined(f));
            const Args a(f.begin() + 1, f.end());
            if (f[0] == "expect") expect(a);
            else if (actions_.count(f[0])) actions_.at(f[0])(a);
            else ADD_FAILURE() << "no action " << f[0];
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    static std::string name(const ::testing::TestParamInfo<Script>& info) { return info.param.name; }

protected:
    void expect(Args a) {
        double tolerance = 1e-9;
        if (a.back()[0] == '~') tolerance = std::stod(a.back().substr(1)), a.pop_back();
        const auto eq = std::find(a.begin(), a.end(), "=");
        ASSERT_TRUE(eq != a.end() && probes_.count(a[0])) << "no probe " << a[0];
        const std::string got = probes_.at(a[0])(Args(a.begin() + 1, eq));
        std::istringstream in(got);
        Args words, want(eq + 1, a.end());
        for (std::string w; in >> w;) words.push_back(w);
        bool same = words.size() == want.size();
        for (size_t i = 0; same && i < words.size(); ++i)
            same = words[i] == want[i] || std::abs(value(words[i]) - value(want[i])) <= tolerance;
        EXPECT_TRUE(same) << "got " << got;
    }
    // A number word (decimal or 0x hexadecimal) or a name given in names_; NaN for any other word.
    double value(const std::string& s) const {
        if (names_.count(s)) return names_.at(s);
        char* end = nullptr;
        const double v = std::strtod(s.c_str(), &end);
        return s.empty() || *end ? std::nan("") : v;
    }
    static std::string n(int64_t v) { return std::to_string(v); }
    static std::string rest(const Args& a, size_t from) {
        return joined(Args(a.begin() + std::ptrdiff_t(from), a.end()));
    }
    static std::string list(const std::vector<double>& values) {
        std::ostringstream out;
        out.precision(17);
        for (double v : values) out << v << " ";
        return out.str();
    }
    static const ws::test::BoxRecord& box(const Args& a) { return ws::test::messages().at(size_t(std::stoi(a[0]))); }
    static Jig& g() { return *::display.current_game; }
    int32_t i(const Args& a, size_t k) const { return int32_t(value(a.at(k))); }
    // Settings from a data file; every sound event names a file of its own, so the recorded plays tell them apart.
    static void read_settings(const std::string& file) {
        const std::string text = read_file(std::string(ZELTO_SOURCE_DIR) + "/tests/" + file);
        if (text.empty()) throw std::runtime_error("no settings file " + file);
        read_text(text, read_settings_from);
        for (int32_t e = 1; e <= kSoundEvents; ++e)
            ::play.sound_list[size_t(e - 1)].file = "ev" + std::to_string(e) + ".wav";
    }
    static Point on_screen(Point client) { return ws::client_to_screen(::display.game_window, client); }

    std::map<std::string, double> names_;
    std::map<std::string, std::function<void(const Args&)>> actions_ = {
        {"setting", [](const Args& a) { read_text(joined(a) + "\n", read_settings_from); }},
        {"saved", [](const Args& a) { ::play.game_saved = std::stoi(a[0]); }},
        {"advance", [](const Args& a) { ws::test::advance(uint32_t(std::stoi(a[0]))); }},
        {"pump", [](const Args&) { ws::test::pump(); }},
        {"clock", [this](const Args& a) {  // the layer's clock moved on to T ms, so that a game's edges are known
            ASSERT_LE(ws::tick_count(), uint32_t(value(a[0])));
            ws::test::advance(uint32_t(value(a[0])) - ws::tick_count());
        }},
        {"colour_answer", [this](const Args& a) { ws::test::push_colour_answer(int64_t(value(a[0]))); }},
    };
    std::map<std::string, std::function<std::string(const Args&)>> probes_ = {
        {"saved", [](const Args&) { return n(::play.game_saved); }},
        {"selected", [](const Args&) { return n(::play.last_selected); }},
        {"capture", [](const Args&) { return n(int64_t(ws::get_capture())) + " " + n(::play.captured); }},
        {"holding", [](const Args&) { return n(::display.current_game->holding); }},
        {"surfaces", [](const Args&) { return n(DDBase::live_surfaces()); }},
        {"plays", [this](const Args& a) {  // how often each event's sound was asked for
            std::string out;
            for (const std::string& e : a) out += n(count_played(int32_t(value(e)))) + " ";
            return out;
        }},
        {"messages", [](const Args&) { return n(int64_t(ws::test::messages().size())); }},
        {"message", [](const Args& a) { return box(a).text; }},
        {"message_has", [](const Args& a) { return n(box(a).text.find(a[1]) != std::string::npos); }},
        {"box", [](const Args& a) {  // caption, buttons, owner
            const ws::Hwnd owner = box(a).owner;
            return box(a).caption + " " + n(box(a).type & 0xF) + " " +
                   (owner == ::display.game_window ? "game" : owner ? "other" : "none");
        }},
    };
};

}  // namespace testsupport
