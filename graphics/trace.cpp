// The trace log ring in ZELTOTR.TXT and fatal_error, the report that ends the program after a failure.
#include "graphics/trace.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/texts.h"

Graphics graphics;

namespace {

std::FILE* trace_file = nullptr;
int32_t line_count = 0;
// Lines written before the log goes back to its top: with the line that wraps it, the ring holds 501.
constexpr int32_t kLineLimit = 500;
constexpr const char* kFillerModule = "MAIN";
constexpr uint32_t kMbOk = 0;  // the message box with one OK button (ws::MB_OK)

void write_prefix(std::FILE* f, const char* module) {
    const unsigned long tick = hooks.tick_count != nullptr ? hooks.tick_count() : 0;
    std::fprintf(f, "%7ld.%3ld %s ", long(tick / 1000), long(tick % 1000), module != nullptr ? module : "");
}

// Cuts a trailing, incomplete UTF-8 character left by a truncating snprintf.
void trim_partial_utf8(std::string& s) {
    std::size_t i = s.size();
    std::size_t back = 0;
    while (i > 0 && back < 4 && ((unsigned char)s[i - 1] & 0xC0) == 0x80) --i, ++back;
    if (i == 0) return;
    const unsigned char lead = (unsigned char)s[i - 1];
    const std::size_t need = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (need != back) s.resize(lead >= 0xC0 ? i - 1 : s.size());
}

// The report's form: the log keeps it as written, the box shows it in the player's language (same conversions).
constexpr const char* kReportForm =
    ZT_NOOP("graphics", "内部エラーが発生しました。\n%s line=%d %s errno=%ld\n強制終了します。\nこのメッセージは%sに書いています。");

std::string report_text(const char* form, const char* source, int line, const char* step, long error_number) {
    char buf[1000];
    std::snprintf(buf, sizeof buf, form, source != nullptr ? source : "", line, step != nullptr ? step : "",
                  error_number, graphics.trace_file_name);
    std::string text(buf);
    trim_partial_utf8(text);
    return text;
}

// The local time in the 24-character calendar form, "Wed May 12 09:58:59 2004", with the C locale's names.
std::string calendar_time() {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kDays[t.tm_wday % 7], kMonths[t.tm_mon % 12],
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
    return buf;
}

// Writes the reports into the log: where the ring stands when tracing is on, appended to the file otherwise.
void write_report(const std::string& first, const std::string& second) {
    if (graphics.trace_switch != 1) {
        graphics.trace_switch = 1;
        trace_open("a");
    } else if (trace_file == nullptr) {
        trace_open("a");  // tracing was on but the log is closed: the reason must still be kept
    }
    if (trace_file == nullptr) return;
    std::fprintf(trace_file, "◆%s\n", first.c_str());
    if (!second.empty()) std::fprintf(trace_file, "◆%s\n", second.c_str());
    std::fprintf(trace_file, "%s\n", calendar_time().c_str());
    std::fprintf(trace_file, "コンパイル %s %s\n", __DATE__, __TIME__);
    trace_close();
}

}  // namespace

void trace_open(const char* mode) {
    if (graphics.trace_switch != 1) return;
    if (trace_file != nullptr) std::fclose(trace_file);
    trace_file = open_file(graphics.trace_file_name, mode);
    line_count = 0;
}

void trace_close() {
    if (graphics.trace_switch != 1 || trace_file == nullptr) return;
    std::fclose(trace_file);
    trace_file = nullptr;
}

void trace_line(const char* module, const char* event) {
    if (graphics.trace_switch != 1 || trace_file == nullptr) return;
    write_prefix(trace_file, module);
    std::fputs(event != nullptr ? event : "", trace_file);
    std::fflush(trace_file);
    if (++line_count > kLineLimit) {
        trace_close();
        trace_open("r+");
        line_count = 0;
    }
}

void trace_start() {
    trace_open("w");
    for (int32_t i = 0; i <= kLineLimit; ++i) trace_line(kFillerModule, "        \n");
}

namespace {

std::atomic<std::thread::id> reporter{};  // the thread making the one report of this process
// How long a worker's failure waits for the UI thread to take up the report before making it alone.
constexpr auto kWorkerGrace = std::chrono::seconds(2);

// A failure on a worker thread: the UI thread makes the full report (emergency save, log, box), since only it
// may touch the game and the toolkit. If it does not within the grace time (it may be waiting for this very
// worker), the report is written to the log without the save or the box and the process ends.
[[noreturn]] void report_from_worker(const char* source, int line, const char* step, long error_number) {
    const std::string src = source != nullptr ? source : "", st = step != nullptr ? step : "";
    if (hooks.run_on_ui_thread != nullptr)
        hooks.run_on_ui_thread([=] { fatal_error(src.c_str(), line, st.c_str(), error_number); });
    std::this_thread::sleep_for(kWorkerGrace);
    std::thread::id none{};
    if (!reporter.compare_exchange_strong(none, std::this_thread::get_id()))
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    write_report(report_text(kReportForm, src.c_str(), line, st.c_str(), error_number), "");
    std::fflush(nullptr);
    std::_Exit(1);
}

}  // namespace

[[noreturn]] void fatal_error(const char* source, int line, const char* step, long error_number) {
    if (hooks.is_ui_thread != nullptr && !hooks.is_ui_thread()) report_from_worker(source, line, step, error_number);
    // One report per process. A failure inside the emergency save comes back here on the same thread: it is logged
    // beside the first one, which is what the player is shown. Another thread waits for the report to end it all.
    static std::string first_report, first_shown;
    static int depth = 0;
    std::thread::id none{};
    const std::thread::id me = std::this_thread::get_id();
    const bool first = reporter.compare_exchange_strong(none, me);
    if (!first && none != me)
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    if (++depth > 2) std::_Exit(1);  // the report itself keeps failing: give up quietly

    const std::string text = report_text(kReportForm, source, line, step, error_number);
    if (first) {
        first_report = text;
        const std::string form = hooks.translate != nullptr ? hooks.translate("graphics", kReportForm) : kReportForm;
        first_shown = report_text(form.c_str(), source, line, step, error_number);
        if (hooks.emergency_save != nullptr) hooks.emergency_save();
        write_report(text, "");
    } else {
        write_report(first_report, text);
    }
    if (hooks.message_box != nullptr) hooks.message_box(0, first_shown, "glapi", kMbOk);
    std::fflush(nullptr);
    std::_Exit(1);
}

const char* module_name(const Where& where) {
    static std::mutex lock;
    static std::set<std::string> names;  // nodes never move, so the pointers handed out stay valid
    std::string name = where.file_name();
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    const std::lock_guard<std::mutex> hold(lock);
    return names.insert(std::move(name)).first->c_str();
}
