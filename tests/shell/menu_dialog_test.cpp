// The extension and folder rules of the file dialogs, and web entries opened through the desktop.
#include <fstream>

#include "play/jigwin_support.h"
#include "play/state.h"
#include "shell/file_dialogs.h"
#include "shell/menu.h"

using namespace jigwintest;

namespace {

TEST(MenuDialog, ExtensionsAreAddedOnlyWhenMissingAndFoldersCutAtTheLastSeparator) {
    const struct { const char *path, *ext, *want; } extensions[] = {
        {"cat", ".bmp", "cat.bmp"}, {"cat.jpg", ".bmp", "cat.jpg.bmp"}, {"a/cat.Bmp", ".bmp", "a/cat.Bmp"},
        {".zlt", ".zlt", ".zlt.zlt"}, {"game.ZLT", ".zlt", "game.ZLT"}};
    for (const auto& c : extensions) EXPECT_EQ(ensure_extension(c.path, c.ext), c.want) << c.path;
    const struct { const char *path, *want; } folders[] = {
        {"/home/p/cat.jpg", "/home/p"}, {"D:\\pics\\cat.jpg", "D:\\pics"}, {"a\\b/c.bmp", "a\\b"},
        {"/cat.jpg", "/"}, {"cat.jpg", "kept"}};
    for (const auto& c : folders) EXPECT_EQ(folder_of(c.path, "kept"), c.want) << c.path;
}

class MenuWeb : public GameWindowTest {};

TEST_F(MenuWeb, ADocumentBesideTheProgramOpensAndAMissingOneIsReported) {
    fs::create_directories("_readme");
    std::ofstream("_readme/readme.htm") << "<html></html>";
    settings.web[0] = "_readme\\README.HTM";
    settings.web[1] = "missing\\page.htm";
    open("pic.bmp");
    ws::send_message(::play.main_window, ws::WM_COMMAND, IDM_WEB_FIRST, 0);
    ws::send_message(::play.main_window, ws::WM_COMMAND, IDM_WEB_FIRST + 1, 0);
    ASSERT_EQ(ws::test::opened().size(), 1u);
    EXPECT_EQ(ws::test::opened()[0], "_readme/readme.htm");
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "ファイルを開けませんでした");
}

}  // namespace
