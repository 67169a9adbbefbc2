// The main menu "IDM_MAIN_MENU" and the accelerators: the entries' order is what menu_check's positions count on.
#include <string>

#include "resources/menu_ids.h"
#include "resources/resources.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace {

using ws::MenuDesc;
using ws::MenuItemDesc;

// Every text is translated as the menu is built (after the layer has chosen the language); the entries stay in
// the same places in every language.
MenuItemDesc item(const std::string& text, uint32_t id) { return MenuItemDesc{text, id, {}, false, false, false, false}; }
MenuItemDesc separator() { return MenuItemDesc{"", 0, {}, false, true, false, false}; }
MenuItemDesc popup(const std::string& text, MenuDesc children) {
    return MenuItemDesc{text, 0, std::move(children), true, false, false, false};
}

MenuItemDesc export_menu() {
    return popup(ws::tr("menu", "BMP出力"), {item(ws::tr("menu", "ウィンドウ..."), IDM_BMP_WIN),
                                              item(ws::tr("menu", "デスク全体..."), IDM_BMP_DESK),
                                              item(ws::tr("menu", "選択したピース..."), IDM_BMP_PIECE),
                                              item(ws::tr("menu", "全ピース"), IDM_BMP_PIECE_ALL)});
}

MenuItemDesc file_menu() {
    return popup(ws::tr("menu", "ﾌｧｲﾙ(&F)"),
                 {item(ws::tr("menu", "開く...\tCtrl+O"), IDM_FOPEN),
                  item(ws::tr("menu", "一覧から選ぶ..."), IDM_ICHIRAN),
                  item(ws::tr("menu", "始めからやり直し"), IDM_RESTART), separator(),
                  item(ws::tr("menu", "ゲームを再開..."), IDM_LOAD),
                  item(ws::tr("menu", "ゲームを保存..."), IDM_SAVE), separator(),
                  item(ws::tr("menu", "クリップボードから開く"), IDM_PASTE), export_menu(), separator(),
                  item(ws::tr("menu", "バージョン情報"), IDM_COMP_DATE), separator(),
                  item(ws::tr("menu", "終了\tCtrl+X"), IDM_EXIT)});
}

MenuItemDesc piece_menu() {
    MenuDesc entries;
    for (int32_t i = 0; i < int32_t(std::size(kPieceCounts)); ++i)
        entries.push_back(item(std::to_string(kPieceCounts[i]), piece_command(i)));
    return popup(ws::tr("menu", "ﾋﾟｰｽ"), std::move(entries));
}

MenuItemDesc stretch_menu() {
    MenuDesc entries{item(ws::tr("menu", "伸縮しない"), IDM_STRETCH_FIRST)};
    for (uint32_t id = IDM_STRETCH_FIRST + 1; id <= IDM_STRETCH_LAST; ++id)
        entries.push_back(item(std::to_string((id - IDM_STRETCH_FIRST + 1) * 100), id));
    return popup(ws::tr("menu", "画像伸縮"), std::move(entries));
}

MenuItemDesc finished_picture_menu() {
    return popup(ws::tr("menu", "完成画像"), {item(ws::tr("menu", "表示する"), IDM_BACK_IMG_ON),
                                               item(ws::tr("menu", "画像＋線"), IDM_BACK_IMG_LINE),
                                               item(ws::tr("menu", "表示しない"), IDM_BACK_IMG_OFF)});
}

MenuItemDesc background_menu() {
    return popup(ws::tr("menu", "背景"), {item(ws::tr("menu", "単一色"), IDM_BACK_RGB),
                                           item(ws::tr("menu", "画像（並べる）"), IDM_BACK_IMG_REN),
                                           item(ws::tr("menu", "画像（中央配置）"), IDM_BACK_IMG_CEN),
                                           item(ws::tr("menu", "クリップボードの画像"), IDM_PASTE_BACK),
                                           finished_picture_menu()});
}

MenuItemDesc guide_menu() {
    return popup(ws::tr("menu", "ガイド表示"), {item(ws::tr("menu", "完成画像を表示"), IDM_IMAGE_ON),
                                                 item(ws::tr("menu", "位置表示"), IDM_IMAGE_GUIDE),
                                                 item(ws::tr("menu", "SHIFT-KEYで位置表示"), IDM_IMAGE_GUIDE_SHIFT),
                                                 item(ws::tr("menu", "表示しない"), IDM_IMAGE_OFF)});
}

MenuItemDesc zoom_menu() {
    return popup(ws::tr("menu", "表示倍率"), {item(ws::tr("menu", "拡大\tCtrl++"), IDM_ZOOM_IN),
                                               item(ws::tr("menu", "縮小\tCtrl+-"), IDM_ZOOM_OUT),
                                               item(ws::tr("menu", "100%\tCtrl+0"), IDM_ZOOM_FULL),
                                               item(ws::tr("menu", "机全体"), IDM_ZOOM_WHOLE_DESK)});
}

// Positions 0 .. 8 are fixed: pieces, stretch, rotation, turning over, (the shape chooser), guide, seams,
// background, sound; the zoom came later, at the end.
MenuItemDesc settings_menu() {
    return popup(ws::tr("menu", "設定(&O)"),
                 {piece_menu(), stretch_menu(),
                  popup(ws::tr("menu", "回転"), {item(ws::tr("menu", "自由回転"), IDM_KAITEN),
                                                 item(ws::tr("menu", "回転なし"), IDM_KAITEN_NASI),
                                                 item(ws::tr("menu", "90度ずつ回転"), IDM_KAITEN_90)}),
                  popup(ws::tr("menu", "裏返し"), {item(ws::tr("menu", "あり"), IDM_HANTEN),
                                                   item(ws::tr("menu", "なし"), IDM_HANTEN_NASI)}),
                  item(ws::tr("menu", "ピース形状"), IDM_KATACHI), guide_menu(),
                  popup(ws::tr("menu", "ピース境界線"), {item(ws::tr("menu", "残す"), IDM_NOKOSU_ON),
                                                         item(ws::tr("menu", "残さない"), IDM_NOKOSU_OFF)}),
                  background_menu(),
                  popup(ws::tr("menu", "効果音"), {item(ws::tr("menu", "鳴らす"), IDM_SOUND_ON),
                                                   item(ws::tr("menu", "鳴らさない"), IDM_SOUND_OFF)}),
                  zoom_menu()});
}

}  // namespace

void register_resources() {
    ws::register_menu_resource("IDM_MAIN_MENU", {file_menu(), settings_menu()});
    // Ctrl with plus or = (one key on most layouts, so plus may come with Shift; the keypad's plus is the same code).
    constexpr uint8_t ctrl = ws::FVIRTKEY | ws::FCONTROL;
    ws::register_accelerator_resource("IDM_ACCEL", {{ctrl, 'O', uint16_t(IDM_FOPEN)},
                                                   {ctrl, 'X', uint16_t(IDM_EXIT)},
                                                   {ctrl, ws::VK_OEM_PLUS, uint16_t(IDM_ZOOM_IN)},
                                                   {ctrl | ws::FSHIFT, ws::VK_OEM_PLUS, uint16_t(IDM_ZOOM_IN)},
                                                   {ctrl, ws::VK_OEM_MINUS, uint16_t(IDM_ZOOM_OUT)},
                                                   {ctrl, '0', uint16_t(IDM_ZOOM_FULL)}});
}
