// The main menu "IDM_MAIN_MENU" and the accelerators: the entries' order is what menu_check's positions count on.
#include <string>

#include "resources/menu_ids.h"
#include "resources/resources.h"
#include "ws/ws.h"

namespace {

using ws::MenuDesc;
using ws::MenuItemDesc;

MenuItemDesc item(const std::string& text, uint32_t id) { return MenuItemDesc{text, id, {}, false, false, false, false}; }
MenuItemDesc separator() { return MenuItemDesc{"", 0, {}, false, true, false, false}; }
MenuItemDesc popup(const std::string& text, MenuDesc children) {
    return MenuItemDesc{text, 0, std::move(children), true, false, false, false};
}

MenuItemDesc file_menu() {
    return popup("ﾌｧｲﾙ(&F)",
                 {item("開く...\tCtrl+O", IDM_FOPEN), item("一覧から選ぶ...", IDM_ICHIRAN),
                  item("始めからやり直し", IDM_RESTART), separator(), item("ゲームを再開...", IDM_LOAD),
                  item("ゲームを保存...", IDM_SAVE), separator(), item("クリップボードから開く", IDM_PASTE),
                  popup("BMP出力", {item("ウィンドウ...", IDM_BMP_WIN), item("デスク全体...", IDM_BMP_DESK),
                                    item("選択したピース...", IDM_BMP_PIECE), item("全ピース", IDM_BMP_PIECE_ALL)}),
                  separator(), item("バージョン情報", IDM_COMP_DATE), separator(),
                  item("終了\tCtrl+X", IDM_EXIT)});
}

MenuItemDesc piece_menu() {
    static const char* const counts[] = {"4", "10", "20", "50", "75", "100", "150",
                                         "200", "250", "300", "400", "500", "600"};
    MenuDesc entries;
    for (uint32_t i = 0; i <= IDM_PIECE_LAST - IDM_PIECE_FIRST; ++i) entries.push_back(item(counts[i], IDM_PIECE_FIRST + i));
    return popup("ﾋﾟｰｽ", std::move(entries));
}

MenuItemDesc stretch_menu() {
    MenuDesc entries{item("伸縮しない", IDM_STRETCH_FIRST)};
    for (uint32_t id = IDM_STRETCH_FIRST + 1; id <= IDM_STRETCH_LAST; ++id)
        entries.push_back(item(std::to_string((id - IDM_STRETCH_FIRST + 1) * 100), id));
    return popup("画像伸縮", std::move(entries));
}

MenuItemDesc background_menu() {
    return popup("背景", {item("単一色", IDM_BACK_RGB), item("画像（並べる）", IDM_BACK_IMG_REN),
                          item("画像（中央配置）", IDM_BACK_IMG_CEN), item("クリップボードの画像", IDM_PASTE_BACK),
                          popup("完成画像", {item("表示する", IDM_BACK_IMG_ON), item("画像＋線", IDM_BACK_IMG_LINE),
                                             item("表示しない", IDM_BACK_IMG_OFF)})});
}

// Positions 0 .. 8 are fixed: pieces, stretch, rotation, turning over, (the shape chooser), guide, seams,
// background, sound.
MenuItemDesc settings_menu() {
    return popup("設定(&O)",
                 {piece_menu(), stretch_menu(),
                  popup("回転", {item("自由回転", IDM_KAITEN), item("回転なし", IDM_KAITEN_NASI),
                                 item("90度ずつ回転", IDM_KAITEN_90)}),
                  popup("裏返し", {item("あり", IDM_HANTEN), item("なし", IDM_HANTEN_NASI)}),
                  item("ピース形状", IDM_KATACHI),
                  popup("ガイド表示", {item("完成画像を表示", IDM_IMAGE_ON), item("位置表示", IDM_IMAGE_GUIDE),
                                       item("SHIFT-KEYで位置表示", IDM_IMAGE_GUIDE_SHIFT),
                                       item("表示しない", IDM_IMAGE_OFF)}),
                  popup("ピース境界線", {item("残す", IDM_NOKOSU_ON), item("残さない", IDM_NOKOSU_OFF)}),
                  background_menu(),
                  popup("効果音", {item("鳴らす", IDM_SOUND_ON), item("鳴らさない", IDM_SOUND_OFF)})});
}

}  // namespace

void register_resources() {
    ws::register_menu_resource("IDM_MAIN_MENU", {file_menu(), settings_menu()});
    ws::register_accelerator_resource("IDM_ACCEL", {{ws::FVIRTKEY | ws::FCONTROL, 'O', uint16_t(IDM_FOPEN)},
                                                   {ws::FVIRTKEY | ws::FCONTROL, 'X', uint16_t(IDM_EXIT)}});
}
