// Trace log ring and fatal_error: the 502nd line at the top, blank-padded milliseconds, where a report is written.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "graphics/where.h"
#include "ws/ws.h"

namespace {

namespace fs = std::filesystem;

// Every trace line of these tests is 26 bytes long, like the filler lines, so the ring keeps its shape.
constexpr std::size_t kLineBytes = 26;
constexpr std::size_t kRingLines = 501;

std::vector<std::string> lines_of(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string contents_of(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder made current. A death test's child runs the test again from its start: it finds the folder of its
// parent in the environment, so both look at the same files.
class TraceFolder {
public:
    TraceFolder() : old_(fs::current_path()) {
        if (const char* inherited = std::getenv("ZELTO_TRACE_TEST_DIR")) {
            dir_ = inherited;
        } else {
            char pattern[] = "/tmp/zelto-trace-XXXXXX";
            if (mkdtemp(pattern) != nullptr) dir_ = pattern;
            setenv("ZELTO_TRACE_TEST_DIR", dir_.c_str(), 1);
        }
        fs::current_path(dir_);
        graphics.trace_switch = 0;
        graphics.emergency_save_hook = nullptr;
    }
    ~TraceFolder() {
        trace_close();
        graphics.trace_switch = 0;
        unsetenv("ZELTO_TRACE_TEST_DIR");
        fs::current_path(old_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

private:
    fs::path old_, dir_;
};

// Moves the virtual clock on until its milliseconds read `ms`.
void clock_to_millis(uint32_t ms) { ws::test::advance((1000 + ms - ws::tick_count() % 1000) % 1000); }

TEST(TraceLog, OffWritesNoFile) {
    TraceFolder folder;
    trace_start();
    trace_line("jig", "cut start\n");
    trace_close();
    EXPECT_FALSE(fs::exists("ZELTOTR.TXT"));
}

TEST(TraceLog, PrefixHasSevenColumnSecondsAndBlankPaddedMilliseconds) {
    TraceFolder folder;
    graphics.trace_switch = 1;
    trace_open("w");
    ws::test::advance(1000);  // at least one whole second
    clock_to_millis(7);
    const uint32_t seconds = ws::tick_count() / 1000;
    trace_line("desk", "disp end\n");
    clock_to_millis(45);
    trace_line("CUT", "cut start\n");
    trace_close();
    const std::vector<std::string> lines = lines_of("ZELTOTR.TXT");
    ASSERT_EQ(lines.size(), 2u);
    std::string sec = std::to_string(seconds);
    sec.insert(0, 7 - sec.size(), ' ');
    EXPECT_EQ(lines[0], sec + ".  7 desk disp end");
    EXPECT_EQ(lines[1].substr(7), ". 45 CUT cut start");
}

TEST(TraceLog, StartFillsTheRingAndThe502ndLineLandsAtTheTop) {
    TraceFolder folder;
    graphics.trace_switch = 1;
    trace_start();
    const std::string filled = contents_of("ZELTOTR.TXT");
    ASSERT_EQ(filled.size(), kRingLines * kLineBytes);
    EXPECT_EQ(filled.substr(11, 15), " MAIN         \n");
    trace_line("jig", "cut start\n");
    std::vector<std::string> lines = lines_of("ZELTOTR.TXT");
    ASSERT_EQ(lines.size(), kRingLines);
    EXPECT_EQ(lines[0].substr(12), "jig cut start");
    EXPECT_EQ(lines[1].substr(12), "MAIN         ");
    // 500 more fill the ring once again; the next goes back to the top.
    for (int i = 1; i <= 500; ++i) {
        char event[16];
        std::snprintf(event, sizeof event, "cut %05d\n", i);
        trace_line("jig", event);
    }
    trace_line("jig", "cut again\n");
    lines = lines_of("ZELTOTR.TXT");
    ASSERT_EQ(lines.size(), kRingLines);
    EXPECT_EQ(contents_of("ZELTOTR.TXT").size(), kRingLines * kLineBytes);
    EXPECT_EQ(lines[0].substr(12), "jig cut again");
    EXPECT_EQ(lines[1].substr(12), "jig cut 00001");
    EXPECT_EQ(lines[500].substr(12), "jig cut 00500");
}

TEST(TraceLog, ModuleNameIsTheSourceFileWithoutExtension) {
    EXPECT_STREQ(module_name(Where::current()), "trace_test");
    const char* a = module_name(Where::current());
    EXPECT_EQ(a, module_name(Where::current()));  // one lasting text per module
}

const char* const kReport =
    "◆内部エラーが発生しました。\n"
    "glapi line=42 BitBlt errno=6\n"
    "強制終了します。\n"
    "このメッセージはZELTOTR.TXTに書いています。\n";

void expect_date_and_build_lines(const std::string& text, std::size_t from) {
    static const std::regex date("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 123][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n");
    static const std::regex build("コンパイル [A-Z][a-z]{2} [ 123][0-9] [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\n");
    ASSERT_LE(from + 25, text.size());
    EXPECT_TRUE(std::regex_match(text.substr(from, 25), date)) << text.substr(from, 25);
    const std::size_t next = from + 25;
    const std::size_t end = text.find('\n', next);
    ASSERT_NE(end, std::string::npos);
    EXPECT_TRUE(std::regex_match(text.substr(next, end + 1 - next), build)) << text.substr(next, end + 1 - next);
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
    const std::string text = contents_of("ZELTOTR.TXT");
    ASSERT_EQ(text.size(), kRingLines * kLineBytes) << "the report must not be appended at the end";
    const std::size_t at = 2 * kLineBytes;
    EXPECT_EQ(text.substr(at, std::string(kReport).size()), kReport);
    expect_date_and_build_lines(text, at + std::string(kReport).size());
    EXPECT_EQ(text.substr(kLineBytes + 12, 13), "jig cut 00001");
}

TEST(FatalError, WithTracingOffTheReportIsAppended) {
    TraceFolder folder;
    EXPECT_EXIT(
        {
            std::ofstream("ZELTOTR.TXT") << "earlier run\n";
            fatal_error("glapi", 42, "BitBlt", 6);
        },
        ::testing::ExitedWithCode(1), "");
    const std::string text = contents_of("ZELTOTR.TXT");
    const std::string start = std::string("earlier run\n") + kReport;
    ASSERT_EQ(text.substr(0, start.size()), start);
    expect_date_and_build_lines(text, start.size());
}

void save_marker() {
    // The report must not be in the log yet when the game is saved.
    std::ofstream("saved") << (fs::exists("ZELTOTR.TXT") ? "after" : "before");
}

void failing_save() {
    std::ofstream("saved") << "tried";
    fatal_error("save", 7, "fopen", 2);
}

TEST(FatalError, TheGameIsSavedFirst) {
    TraceFolder folder;
    EXPECT_EXIT(
        {
            graphics.emergency_save_hook = save_marker;
            fatal_error("glapi", 42, "BitBlt", 6);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(contents_of("saved"), "before");
    EXPECT_EQ(contents_of("ZELTOTR.TXT").substr(0, std::string(kReport).size()), kReport);
}

TEST(FatalError, AFailingEmergencySaveDoesNotRecurse) {
    TraceFolder folder;
    EXPECT_EXIT(
        {
            graphics.emergency_save_hook = failing_save;
            fatal_error("glapi", 42, "BitBlt", 6);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(contents_of("saved"), "tried");
    const std::string text = contents_of("ZELTOTR.TXT");
    ASSERT_EQ(text.substr(0, std::string(kReport).size()), kReport);
    EXPECT_NE(text.find("◆内部エラーが発生しました。\nsave line=7 fopen errno=2\n"), std::string::npos);
    EXPECT_EQ(text.find("◆", 1), text.find("◆内部エラーが発生しました。\nsave"));  // exactly two reports
    EXPECT_EQ(text.find("◆", text.find("save line=7")), std::string::npos);
}

}  // namespace
