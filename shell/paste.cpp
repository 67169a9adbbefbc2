// Pictures from the clipboard: a copied bitmap written as a BMP file, or a copied BMP or JPEG file copied beside
// the others, as a new puzzle or as the desk background.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "desk/background.h"
#include "graphics/memdc.h"
#include "graphics/paths.h"
#include "graphics/state.h"
#include "play/jigwin.h"
#include "play/lifecycle.h"
#include "play/state.h"
#include "shell/commands.h"
#include "shell/menu.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "ws/bmpsave.h"
#include "ws/picture_reader.h"
#include "ws/tr.h"

namespace {

constexpr const char* kNoticeTitle = ZT_NOOP("shell", "通知");
constexpr const char* kNothingCopied = ZT_NOOP("shell", "クリップボードにコピーされていません。");
constexpr const char* kNoPictureCopied = ZT_NOOP("shell", "クリップボードに画像がコピーされていません。");
constexpr const char* kNotAPicture = ZT_NOOP("shell", "クリップボードにコピーされていません。（bmpまたはjpgファイルでない）");
constexpr const char* kNotWritten = ZT_NOOP("shell", "貼り付けた画像を保存できませんでした。\n（保存先 : %s）");
constexpr int32_t kPasteNames = 1000;  // paste_0 .. paste_999

// The extension a copied picture file is kept under: "bmp" and "jpg" (for ".jpeg" too) as the game always named
// them, the newer formats their own in lower case; empty when the file is no picture.
std::string paste_extension(const std::string& source) {
    switch (picture_name(source)) {
    case PictureName::bmp: return "bmp";
    case PictureName::jpeg: return "jpg";
    case PictureName::by_content: break;
    case PictureName::none: return "";
    }
    std::string ext = source.substr(source.rfind('.') + 1);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// "<folder>\paste_<n>.<ext>", with a folder given as "bkimg\" joined by one separator only.
std::string paste_name(std::string folder, int32_t n, const char* ext) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    char name[kPathBytes + 32];
    std::snprintf(name, sizeof name, "%s\\paste_%d.%s", folder.c_str(), int(n), ext);
    return name;
}

// The picture (bitmap or file) on the clipboard into `out_path`; 0 after telling the player why not.
// `no_files` is the text for a clipboard that holds neither.
int32_t paste_picture(std::string& out_path, const std::string& folder, const char* no_files) {
    if (ws::clipboard_has_bitmap()) {
        if (paste_bitmap(out_path, folder)) return 1;
        char text[kPathBytes + 128];
        std::snprintf(text, sizeof text, ws::tr("shell", kNotWritten).c_str(), folder.c_str());
        notice(text, ws::tr("shell", kNoticeTitle));
        return 0;
    }
    if (!ws::clipboard_has_files()) {
        notice(ws::tr("shell", no_files), ws::tr("shell", kNoticeTitle));
        return 0;
    }
    if (paste_file(out_path, folder)) return 1;
    notice(ws::tr("shell", kNotAPicture), ws::tr("shell", kNoticeTitle));
    return 0;
}

}  // namespace

int32_t paste_bitmap(std::string& out_path, const std::string& folder) {
    MemDC picture;
    if (!ws::clipboard_get_bitmap(picture)) return 0;
    int32_t written = 0;
    for (int32_t n = 0; n < kPasteNames; ++n) {
        const std::string name = paste_name(folder, n, "bmp");
        if (file_opens(name)) continue;
        std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "%s", name.c_str());
        written = save_bmp(picture, 0, 0, 0, 0);
        if (written) out_path = name;
        break;  // the first free name is the one: a write that fails there would fail under the next as well
    }
    picture.destroy();
    return written;
}

int32_t paste_file(std::string& out_path, const std::string& folder) {
    namespace fs = std::filesystem;
    const std::vector<std::string> files = ws::clipboard_files();
    if (files.empty()) return 0;
    const std::string& source = files.front();
    const std::string ext = paste_extension(source);
    if (ext.empty() || !file_opens(source)) return 0;
    for (int32_t n = 0; n < kPasteNames; ++n) {
        const std::string name = paste_name(folder, n, ext.c_str());
        std::error_code ec;
        if (fs::copy_file(resolve_path(source), resolve_path(name), fs::copy_options::none, ec)) {
            out_path = name;
            return 1;
        }
        if (ec != std::errc::file_exists) return 0;  // the folder cannot take it under any name
    }
    return 0;
}

void command_paste() {
    std::string pasted;
    if (!paste_picture(pasted, settings.view_dir, kNothingCopied)) return;
    // The file was written for this game only: when the game in play stays, it goes again.
    if (!start_game_on(pasted)) std::remove(resolve_path(pasted).c_str());
}

void command_paste_back() {
    close_list_window();
    std::string pasted;
    if (!paste_picture(pasted, "bkimg\\", kNoPictureCopied)) return;
    settings.back_img = pasted;
    settings.back_type = IDM_BACK_IMG_REN;
    backimg(1);
    repaint_game_window();
    menu_check();
}
