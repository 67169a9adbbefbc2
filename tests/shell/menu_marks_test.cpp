// The main menu read back through the layer: radio marks from the settings, the entries added at creation, and
// the quick right-click pop-ups.
#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/menu.h"
#include "shell/state.h"

using namespace jigwintest;

namespace {

class MenuMarks : public GameWindowTest {};

// Checked positions of entry `pos` of "設定(&O)" (or of its entry `sub`).
std::vector<int32_t> checked(int32_t pos, int32_t sub = -1) {
    ws::Hmenu m = ws::get_sub_menu(ws::get_sub_menu(shell.main_menu, 1), pos);
    if (sub >= 0) m = ws::get_sub_menu(m, sub);
    std::vector<int32_t> out;
    for (int32_t i = 0; i < ws::get_menu_item_count(m); ++i)
        if (ws::get_menu_state(m, uint32_t(i), ws::MF_BYPOSITION) & ws::MF_CHECKED) out.push_back(i);
    return out;
}

TEST_F(MenuMarks, EachSettingMarksExactlyItsEntry) {
    using V = std::vector<int32_t>;
    struct Case {
        int32_t pieces, stretch, kaiten;
        bool hanten, image;
        int32_t guide;
        bool nokosu;
        int32_t back;
        bool gazou, line, sound;
        std::vector<V> marks;  // pieces, stretch, rotation, turning over, guide, seams, background, finished, sound
    };
    const Case cases[] = {
        {50, 0, 234, true, true, 2, true, 245, true, true, true, {{3}, {0}, {0}, {0}, {2}, {0}, {2}, {1}, {0}}},
        {600, 1000, 236, false, false, 1, false, 243, true, false, false, {{12}, {9}, {2}, {1}, {3}, {1}, {0}, {0}, {1}}},
        // Values no entry offers clear their pop-up; an unknown rotation leaves the last mark.
        {33, 250, 99, true, true, 0, false, 244, false, true, true, {{}, {}, {2}, {0}, {0}, {1}, {1}, {2}, {0}}},
    };
    open("pic.bmp");
    for (const Case& c : cases) {
        settings.piece_num = c.pieces, settings.stretch_size = c.stretch, settings.kaiten = c.kaiten;
        settings.hanten = c.hanten, settings.image = c.image, settings.guide = c.guide, settings.nokosu = c.nokosu;
        settings.back_type = c.back, settings.back_gazou = c.gazou, settings.back_gazou_line = c.line;
        settings.sound = c.sound;
        menu_check();
        const V got[] = {checked(SETTINGS_PIECES), checked(SETTINGS_STRETCH), checked(SETTINGS_KAITEN),
                         checked(SETTINGS_HANTEN), checked(SETTINGS_GUIDE), checked(SETTINGS_NOKOSU),
                         checked(SETTINGS_BACK), checked(SETTINGS_BACK, kBackFinishedPicture), checked(SETTINGS_SOUND)};
        for (size_t i = 0; i < c.marks.size(); ++i) EXPECT_EQ(got[i], c.marks[i]) << c.pieces << " pop-up " << i;
    }
}

TEST_F(MenuMarks, TrayStandsBeforeWebAndAnEmptyWebEntryEndsTheList) {
    for (bool tray : {false, true}) {
        settings.tray = tray;
        settings.web[0] = "https://a.example/", settings.web[1] = "none", settings.web[2] = "";
        settings.web[3] = "https://b.example/";
        open("pic.bmp");
        const int32_t web_at = tray ? 3 : 2;
        EXPECT_EQ(ws::get_menu_item_count(shell.main_menu), web_at + 1);
        if (tray) {
            EXPECT_EQ(ws::get_menu_item_id(shell.main_menu, 2), uint32_t(IDM_TRAY_ADD));
        }
        EXPECT_EQ(ws::get_menu_string(shell.main_menu, uint32_t(web_at), ws::MF_BYPOSITION), "Web");
        const ws::Hmenu web = ws::get_sub_menu(shell.main_menu, web_at);
        ASSERT_EQ(ws::get_menu_item_count(web), 1);
        EXPECT_EQ(ws::get_menu_item_id(web, 0), uint32_t(IDM_WEB_FIRST));
        ws::destroy_window(::play.main_window);
        ws::test::reset();
    }
}

TEST_F(MenuMarks, AQuickRightClickOpensTheFileMenuInTheCornerAndTheSettingsMenuElsewhere) {
    struct Case {
        Point at;
        uint32_t held;
        int32_t popup;  // -1: none
    } const cases[] = {{{3, 2}, 50, 0}, {{3, 7}, 50, 1}, {{3, 2}, 400, -1}};
    open("pic.bmp");
    for (const Case& c : cases) {
        const size_t before = ws::test::popups().size();
        ws::post_message(::play.main_window, ws::WM_RBUTTONDOWN, ws::MK_RBUTTON, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ws::test::advance(c.held);
        ws::post_message(::play.main_window, ws::WM_RBUTTONUP, 0, ws::make_lparam(c.at.x, c.at.y));
        ws::test::pump();
        ASSERT_EQ(ws::test::popups().size(), before + (c.popup < 0 ? 0 : 1));
        if (c.popup >= 0) {
            EXPECT_EQ(ws::test::popups().back().menu, ws::get_sub_menu(shell.main_menu, c.popup));
        }
    }
}

}  // namespace
