// Trace log ring and fatal_error: the 502nd line at the top, blank-padded milliseconds, where a report is written.
#include <gtest/gtest.h>

#include <optional>
#include <regex>

#include "graphics/hooks.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "support/temp_dir.h"
#include "ws/ws.h"

namespace {

namespace fs = std::filesystem;
using testsupport::read_file;

constexpr std::size_t kLineBytes = 26;  // every line of these tests is as long as a filler line
constexpr std::size_t kRing = 501 * kLineBytes;

// The event part of ring line i (after the 12-column tick prefix).
std::string event_of(const std::string& text, std::size_t i) { return text.substr(i * kLineBytes + 12, 13); }

// A folder of the test's own made current. A death test's child runs the test again from its start: it finds its
// parent's folder in the environment, so both look at the same files.
struct TraceFolder {
    TraceFolder() {
        if (!std::getenv("ZELTO_TRACE_TEST_DIR")) setenv("ZELTO_TRACE_TEST_DIR", own.emplace().string().c_str(), 1);
        fs::current_path(std::getenv("ZELTO_TRACE_TEST_DIR"));
        graphics.reset();
    }
    ~TraceFolder() {
        trace_close();
        graphics.reset();
        unsetenv("ZELTO_TRACE_TEST_DIR");
        fs::current_path(old);
    }
    fs::path old = fs::current_path();
    std::optional<testsupport::TempDir> own;
};

TEST(TraceLog, PrefixAndRing) {
    TraceFolder folder;
    trace_start();
    trace_line("jig", "cut start\n");
    trace_close();
    EXPECT_FALSE(fs::exists("ZELTOTR.TXT")) << "tracing off writes no file";

    graphics.trace_switch = 1;
    trace_open("w");
    ws::test::advance(1000 + (1007 - ws::tick_count() % 1000) % 1000);  // milliseconds 7, a whole second at least
    const std::string seconds = std::to_string(ws::tick_count() / 1000);
    trace_line("desk", "disp end\n");
    ws::test::advance(38);
    trace_line("CUT", "cut start\n");
    trace_close();
    EXPECT_EQ(read_file("ZELTOTR.TXT"), std::string(7 - seconds.size(), ' ') + seconds + ".  7 desk disp end\n" +
                                              std::string(7 - seconds.size(), ' ') + seconds + ". 45 CUT cut start\n");

    trace_start();
    std::string text = read_file("ZELTOTR.TXT");
    ASSERT_EQ(text.size(), kRing);
    EXPECT_EQ(text.substr(11, 15), " MAIN         \n");
    for (int i = 0; i <= 501; ++i)  // the 502nd line goes back to the top
        trace_line("jig", ("cut " + std::to_string(100000 + i).substr(1) + "\n").c_str());
    text = read_file("ZELTOTR.TXT");
    ASSERT_EQ(text.size(), kRing);
    EXPECT_EQ(std::tuple(event_of(text, 0), event_of(text, 1), event_of(text, 500)),
              std::tuple("jig cut 00501", "jig cut 00001", "jig cut 00500"));
}

const std::string kReport =
    "◆内部エラーが発生しました。\nglapi line=42 BitBlt errno=6\n強制終了します。\nこのメッセージはZELTOTR.TXTに書いています。\n";

void expect_date_and_build_lines(const std::string& text, std::size_t from) {
    static const std::regex lines("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 123][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n"
                                  "コンパイル [A-Z][a-z]{2} [ 123][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\n");
    const std::size_t end = text.find('\n', from + 25);
    ASSERT_NE(end, std::string::npos);
    EXPECT_TRUE(std::regex_match(text.substr(from, end + 1 - from), lines)) << text.substr(from, end + 1 - from);
}

TEST(FatalError, WithTracingOnTheReportGoesWhereTheRingStands) {
    TraceFolder folder;
    EXPECT_EXIT(
        {
            graphics.trace_switch = 1;
            trace_start();
            trace_line("jig", "cut start\n");
            trace_line("jig", "cut 00001\n");
            fatal_error("glapi", 42, "BitBlt", 6);
        },
        ::testing::ExitedWithCode(1), "");
    const std::string text = read_file("ZELTOTR.TXT");
    ASSERT_EQ(text.size(), kRing) << "the report must not be appended at the end";
    EXPECT_EQ(text.substr(2 * kLineBytes, kReport.size()), kReport);
    expect_date_and_build_lines(text, 2 * kLineBytes + kReport.size());
    EXPECT_EQ(event_of(text, 1), "jig cut 00001");
}

// Ends the program (in a child) with tracing off, the log holding `earlier` and `hook` installed; returns the log.
std::string die_with(const char* earlier, void (*hook)()) {
    EXPECT_EXIT(
        {
            if (*earlier) std::ofstream("ZELTOTR.TXT") << earlier;
            hooks.emergency_save = hook;
            fatal_error("glapi", 42, "BitBlt", 6);
        },
        ::testing::ExitedWithCode(1), "");
    const std::string text = read_file("ZELTOTR.TXT");
    EXPECT_EQ(text.substr(0, std::string(earlier).size() + kReport.size()), earlier + kReport);
    return text;
}

// With tracing off the report is appended; the game is saved before it, and a failing save reports once more
// without recursing.
TEST(FatalError, WithTracingOffTheGameIsSavedFirstAndTheReportAppended) {
    TraceFolder folder;
    const auto save_marker = [] {  // says whether the report was written before the save
        std::ofstream("saved") << (read_file("ZELTOTR.TXT").find("◆") == std::string::npos ? "before" : "after");
    };
    expect_date_and_build_lines(die_with("earlier run\n", save_marker), 12 + kReport.size());
    EXPECT_EQ(read_file("saved"), "before");
    fs::remove("ZELTOTR.TXT");
    const std::string text = die_with("", [] {
        std::ofstream("saved") << "tried";
        fatal_error("save", 7, "fopen", 2);
    });
    EXPECT_EQ(read_file("saved"), "tried");
    const std::size_t second = text.find("◆内部エラーが発生しました。\nsave line=7 fopen errno=2\n");
    EXPECT_NE(second, std::string::npos);
    EXPECT_EQ(std::pair(text.find("◆", 1), text.find("◆", second + 1)), std::pair(second, std::string::npos));
}

}  // namespace
