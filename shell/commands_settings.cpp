// The menu's setting commands: piece count, stretch, rotation, turning over, guide, background, sound, seams, web.
#include "desk/background.h"
#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/paths.h"
#include "play/companions.h"
#include "play/jigwin.h"
#include "play/state.h"
#include "shell/commands.h"
#include "shell/menu.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/skin.h"
#include "shell/sound.h"
#include "shell/startup.h"
#include "windows/guide.h"
#include "windows/viewer.h"
#include "ws/tr.h"

namespace {

constexpr const char* kNextTime = ZT_NOOP("shell", "次回より有効となります。");
constexpr const char* kNextTimeTitle = ZT_NOOP("shell", "設定");
constexpr const char* kCannotOpen = ZT_NOOP("shell", "ファイルを開けませんでした");

// A piece count or stretch size chosen from the menu: it changes nothing when the display already shows it, and
// during a game in progress it waits for the next game.
void choose_number(int32_t& setting, int32_t value, int32_t shown) {
    if (shown == setting) return;
    setting = value;
    menu_check();
    if (game_in_progress()) notice(ws::tr("shell", kNextTime), ws::tr("shell", kNextTimeTitle));
}

void choose_guide(int32_t guide) {
    settings.guide = guide;
    if (!settings.image) {
        close_guide_window();
        if (!play.picture_path.empty()) play.guide_window = guide_create(display.game_window);
        settings.image = true;
    }
    menu_check();
}

void guide_off() {
    if (!settings.image) return;
    close_guide_window();
    settings.image = false;
    settings.guide = 0;
    menu_check();
}

// The background in its current style, without the colour chooser, and the window shows it.
void render_and_show_background() {
    if (settings.back_type == IDM_BACK_RGB) {
        backrgb(0, 1);
    } else {
        backimg(1);
    }
    repaint_game_window();
}

// The style is the single colour before the desk is drawn again: the presenter's full redraw renders the
// background by its style, and would bring back the picture that the colour replaces.
void choose_colour_background() {
    if (!backrgb(1, 0)) return;
    settings.back_type = IDM_BACK_RGB;
    render_and_show_background();
    menu_check();
}

// The picture list opens on the background folder; the picture chosen there becomes the background.
void choose_picture_background(int32_t style) {
    close_list_window();
    play.view_folder = "bkimg\\";
    play.view_title = kViewBackground;
    play.view_result.clear();
    play.list_window = viewer_create(display.game_window);
    const bool changed = settings.back_type != style;
    settings.back_type = style;
    if (changed) render_and_show_background();
    menu_check();
}

void finished_picture(bool on, bool lines) {
    settings.back_gazou = on;
    settings.back_gazou_line = lines;
    render_and_show_background();
    menu_check();
}

// Turning the sound off silences a sound that loops first: once off, nothing could stop it any more.
void set_sound(bool on) {
    if (!on && settings.sound && play.sound_looping) {
        play_sound(SOUND_STOP);
        play.sound_looping = 0;
    }
    settings.sound = on;
    menu_check();
}

void set_flag(bool& flag, bool value) {
    if (flag == value) return;
    flag = value;
    menu_check();
}

void set_value(int32_t& setting, int32_t value) {
    setting = value;
    menu_check();
}

}  // namespace

bool settings_command(uint32_t id) {
    if (const int32_t entry = piece_entry(id); entry >= 0) {
        const int32_t count = kPieceCounts[entry];
        choose_number(settings.piece_num, count, skin_show_num(count));
    } else if (id >= IDM_STRETCH_FIRST && id <= IDM_STRETCH_LAST) {
        const int32_t size = kStretchSizes[id - IDM_STRETCH_FIRST];
        choose_number(settings.stretch_size, size, skin_show_sz(size));
    } else if (id >= IDM_KAITEN && id <= IDM_KAITEN_90) {
        set_value(settings.kaiten, int32_t(id));
    } else if (id == IDM_HANTEN || id == IDM_HANTEN_NASI) {
        settings.hanten = id == IDM_HANTEN;
        menu_check();
    } else if (id >= IDM_IMAGE_ON && id <= IDM_IMAGE_GUIDE_SHIFT) {
        choose_guide(int32_t(id - IDM_IMAGE_ON));
    } else if (id == IDM_IMAGE_OFF) {
        guide_off();
    } else if (id == IDM_BACK_RGB) {
        choose_colour_background();
    } else if (id == IDM_BACK_IMG_REN || id == IDM_BACK_IMG_CEN) {
        choose_picture_background(int32_t(id));
    } else if (id >= IDM_BACK_IMG_ON && id <= IDM_BACK_IMG_OFF) {
        finished_picture(id != IDM_BACK_IMG_OFF, id == IDM_BACK_IMG_LINE);
    } else if (id == IDM_SOUND_ON || id == IDM_SOUND_OFF) {
        set_sound(id == IDM_SOUND_ON);
    } else if (id == IDM_NOKOSU_ON || id == IDM_NOKOSU_OFF) {
        set_flag(settings.nokosu, id == IDM_NOKOSU_ON);
    } else {
        return false;
    }
    return true;
}

namespace {

// A document in the player's language: in English, "_readme\readme_en.htm" beside "_readme\readme.htm" when it is
// there; the settings file keeps naming the document as it was written.
std::string document_in_language(const std::string& entry) {
    if (!ws::english()) return entry;
    const size_t dot = entry.find_last_of('.');
    const size_t folder = entry.find_last_of("\\/");
    if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return entry;
    const std::string english = entry.substr(0, dot) + "_en" + entry.substr(dot);
    return file_opens(english) ? english : entry;
}

}  // namespace

// A web address goes to the browser; anything else names a document beside the program, in the game's own path
// form ("_readme\readme.htm").
void command_web(int32_t n) {
    if (n < 0 || n >= kWebEntries) return;
    const std::string& entry = settings.web[n];
    const bool address = entry.find("://") != std::string::npos || entry.rfind("mailto:", 0) == 0;
    if (!ws::open_document(address ? entry : resolve_path(document_in_language(entry))))
        notice(ws::tr("shell", kCannotOpen), "zelto");
}
