// The scripts' actions and probes on the whole game (support/interpreter.h runs them).
#pragma once
#include <gtest/gtest.h>

#include "desk/state.h"
#include "support/interpreter.h"
#include "support/game_builder.h"
#include "support/temp_dir.h"
#include "ws/ddbase.h"

namespace testsupport {

// The game's own actions and probes, for the scripts of the folders that stand on the whole game.
class Interpreter : public BasicInterpreter {
protected:
    static const ws::test::BoxRecord& box(const Args& a) { return ws::test::messages().at(size_t(std::stoi(a[0]))); }
    static Jig& g() { return *::display.current_game; }
    // Settings from a data file; every sound event names a file of its own, so the recorded plays tell them apart.
    static void read_settings(const std::string& file) {
        const std::string text = read_file(std::string(ZELTO_SOURCE_DIR) + "/tests/" + file);
        if (text.empty()) throw std::runtime_error("no settings file " + file);
        read_text(text, read_settings_from);
        for (int32_t e = 1; e <= kSoundEvents; ++e)
            ::play.sound_list[size_t(e - 1)].file = "ev" + std::to_string(e) + ".wav";
    }
    static Point on_screen(Point client) { return ws::client_to_screen(::display.game_window, client); }

public:
    Interpreter() {
        actions_ = {
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
        probes_ = {
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
    }
};

}  // namespace testsupport
