// The file dialogs: filters, title and start folder, the extension rule and the picture folder following a choice.
#include "shell/file_dialogs.h"

#include <cctype>
#include <vector>

#include "desk/state.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "graphics/trace.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "ws/picture_reader.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

constexpr const char* kTitle = ZT_NOOP("shell", "選択");
// The filters' descriptions are translated as a dialog opens (ws::tr("shell", description)).
constexpr const char* kPictures = ZT_NOOP("shell", "画像ファイル");
const ws::FileFilter kBitmap{ZT_NOOP("shell", "ビットマップ(*.bmp)"), "*.bmp"};
const ws::FileFilter kJpeg{ZT_NOOP("shell", "ｊｐｅｇ(*.jpg)"), "*.jpg;*.jpeg"};
const ws::FileFilter kSaved{ZT_NOOP("shell", "zeltoデータ(*.zlt)"), "*.zlt"};

void trace(const char* name, const char* event) {
    if (!graphics.trace_switch) return;
    const std::string line = std::string(name) + " " + event + "\n";
    trace_line("win98", line.c_str());
}

// Runs one dialog; the choice goes into `path` only when the player confirmed. A path the game cannot hold
// (longer than 259 bytes) counts as a cancel.
int32_t run(const char* name, bool save, std::vector<ws::FileFilter> filters, int32_t preselected, std::string& path) {
    trace(name, "start");
    ws::FileDialog d;
    d.owner = display.main_window;
    d.title = ws::tr("shell", kTitle);
    d.filters = std::move(filters);
    for (ws::FileFilter& f : d.filters) f.description = ws::tr("shell", f.description);
    d.filter_index = preselected;
    d.folder = resolve_path(settings.view_dir);
    d.file_name = path;
    d.must_exist = !save;
    const std::string chosen = save ? ws::save_file_dialog(d) : ws::open_file_dialog(d);
    const bool ok = !chosen.empty() && chosen.size() < kPathBytes;
    if (ok) path = chosen;
    trace(name, ok ? "end (TRUE)" : "end (FALSE)");
    return ok ? 1 : 0;
}

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Every extension the game reads, as one filter: "*.bmp;*.jpg;...".
ws::FileFilter every_picture() {
    std::string patterns;
    for (const std::string& ext : picture_extensions()) patterns += (patterns.empty() ? "*" : ";*") + ext;
    return {kPictures, patterns};
}

}  // namespace

std::string ensure_extension(const std::string& path, const std::string& lower_ext) {
    if (path.size() > 4 && upper(path.substr(path.size() - 4)) == upper(lower_ext)) return path;
    return path + lower_ext;
}

std::string folder_of(const std::string& path, const std::string& fallback) {
    const size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos) return fallback;
    return cut == 0 ? path.substr(0, 1) : path.substr(0, cut);  // a file in the root keeps the root
}

int32_t file_select(std::string& path) {
    path.clear();
    if (!run("file_select", false, {every_picture(), kBitmap, kJpeg}, 0, path)) return 0;
    settings.view_dir = folder_of(path, settings.view_dir);
    return 1;
}

int32_t out_file_select(std::string& path) {
    if (!run("out_file_select", true, {kBitmap}, 0, path)) return 0;
    path = ensure_extension(path, ".bmp");
    return 1;
}

int32_t save_file_select(std::string& path) {
    if (!run("save_file_select", true, {kSaved}, 0, path)) return 0;
    path = ensure_extension(path, ".zlt");
    return 1;
}

int32_t load_file_select(std::string& path) {
    path.clear();
    return run("load_file_select", false, {kSaved}, 0, path);
}
