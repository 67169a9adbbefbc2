// The main window's menu: every entry in order with its command, none grayed or checked (golden table
// menu_entries).
#include "resources/resources.h"
#include "shell/shell_test.h"

namespace {

// Each entry of `menu` as "path<TAB>id", the path being the texts from the menu bar down joined by " > ", a
// separator written "---".
void list_entries(ws::Hmenu menu, const std::string& path, std::vector<std::vector<std::string>>& out) {
    for (int32_t k = 0; k < ws::get_menu_item_count(menu); ++k) {
        const ws::Hmenu sub = ws::get_sub_menu(menu, k);  // (a pop-up's state holds its entry count, not flags)
        const uint32_t state = sub ? 0 : ws::get_menu_state(menu, uint32_t(k), ws::MF_BYPOSITION);
        const std::string text =
            state & ws::MF_SEPARATOR ? "---" : ws::get_menu_string(menu, uint32_t(k), ws::MF_BYPOSITION);
        const std::string here = path.empty() ? text : path + " > " + text;
        // No entry starts grayed or checked: the marks are set by the settings in force, not by the resource.
        EXPECT_EQ(state & (ws::MF_GRAYED | ws::MF_CHECKED), 0u) << here;
        out.push_back({here, sub ? "popup" : std::to_string(ws::get_menu_item_id(menu, k))});
        if (sub) list_entries(sub, here, out);
    }
}

// Golden table menu_entries: texts, order and commands of the whole menu.
TEST(MainMenu, EveryEntryHasItsTextPlaceAndCommand) {
    register_resources();
    const ws::Hmenu menu = ws::load_menu("IDM_MAIN_MENU");
    std::vector<std::vector<std::string>> got;
    list_entries(menu, "", got);
    ws::destroy_menu(menu);
    EXPECT_EQ(got, shelltest::golden("menu_entries"));
}

}  // namespace
