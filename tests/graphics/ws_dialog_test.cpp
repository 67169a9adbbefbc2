// Window layer: message boxes, file dialogs and the colour chooser answer from the test's script and are recorded;
// shell services are recorded too.
#include "support/ws_support.h"

using namespace wstest;

namespace {

class Dialogs : public WsTest {};

TEST_F(Dialogs, MessageBoxesTakeScriptedAnswersInOrder) {
    ws::test::push_answer(ws::IDCANCEL);
    ws::test::push_answer(ws::IDNO);
    ws::Hwnd w = top();
    EXPECT_EQ(ws::message_box(w, "ゲーム中のデータを保存しますか？", "保存確認", ws::MB_YESNOCANCEL), ws::IDCANCEL);
    EXPECT_EQ(ws::message_box(0, "始めからやり直しますか？", "確認", ws::MB_YESNO), ws::IDNO);
    // Unscripted: the first button, as Enter would choose.
    EXPECT_EQ(ws::message_box(0, "a", "b", ws::MB_YESNO), ws::IDYES);
    EXPECT_EQ(ws::message_box(0, "画像が読み込めません。", "zelto", ws::MB_OK), ws::IDOK);
    const auto& m = ws::test::messages();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].owner, w);
    EXPECT_EQ(m[0].text, "ゲーム中のデータを保存しますか？");
    EXPECT_EQ(m[0].caption, "保存確認");
    EXPECT_EQ(m[0].type, uint32_t(ws::MB_YESNOCANCEL));
    EXPECT_EQ(m[1].answer, ws::IDNO);
    EXPECT_EQ(m[3].caption, "zelto");
}

TEST_F(Dialogs, AMessageBoxNeedsNoWindow) {
    ws::test::reset();
    EXPECT_EQ(ws::message_box(0, "内部エラー", "glapi", ws::MB_OK | ws::MB_ICONERROR), ws::IDOK);
    ASSERT_EQ(ws::test::messages().size(), 1u);
}

TEST_F(Dialogs, FileDialogsAnswerFromTheScriptAndRecordWhatWasAsked) {
    ws::FileDialog d;
    d.title = "選択";
    d.folder = "data";
    d.filters = {{"ビットマップ(*.bmp)", "*.bmp"}, {"ｊｐｅｇ(*.jpg)", "*.jpg;*.jpeg"}};
    d.filter_index = 1;
    d.must_exist = true;
    ws::test::push_file_answer("/pics/cat.jpg");
    ws::test::push_file_answer("");
    EXPECT_EQ(ws::open_file_dialog(d), "/pics/cat.jpg");
    EXPECT_EQ(ws::open_file_dialog(d), "") << "scripted cancel";
    d.file_name = "game.zlt";
    EXPECT_EQ(ws::save_file_dialog(d), "") << "unscripted dialogs are cancelled";
    const auto& r = ws::test::dialogs();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].kind, "open");
    EXPECT_EQ(r[0].title, "選択");
    EXPECT_EQ(r[0].folder, "data");
    ASSERT_EQ(r[0].filters.size(), 2u);
    EXPECT_EQ(r[0].filters[1].patterns, "*.jpg;*.jpeg");
    EXPECT_EQ(r[0].filter_index, 1);
    EXPECT_EQ(r[2].kind, "save");
    EXPECT_EQ(r[2].file_name, "game.zlt");
}

TEST_F(Dialogs, TheColourChooserChangesTheColourOnlyOnOk) {
    Colour c = 0x00336699;
    ws::test::push_colour_answer(-1);
    EXPECT_FALSE(ws::choose_colour(0, c, nullptr));
    EXPECT_EQ(c, 0x00336699u);
    ws::test::push_colour_answer(0x00FF8000);
    EXPECT_TRUE(ws::choose_colour(0, c, nullptr));
    EXPECT_EQ(c, 0x00FF8000u);
    EXPECT_FALSE(ws::choose_colour(0, c, nullptr)) << "unscripted: cancelled";
    EXPECT_EQ(ws::test::dialogs().back().kind, "colour");
}

TEST_F(Dialogs, DocumentsAndAddressesAreHandedOver) {
    EXPECT_TRUE(ws::open_document("https://example.org/zelto"));
    EXPECT_TRUE(ws::open_document("www.example.org"));
    EXPECT_FALSE(ws::open_document("/no/such/folder/readme.txt")) << "a missing file cannot be opened";
    EXPECT_FALSE(ws::open_document(""));
    ASSERT_EQ(ws::test::opened().size(), 2u);
    EXPECT_EQ(ws::test::opened()[0], "https://example.org/zelto");
}

TEST_F(Dialogs, ResetForgetsAnswersAndRecords) {
    ws::test::push_answer(ws::IDNO);
    ws::message_box(0, "x", "y", ws::MB_OK);
    ws::test::push_answer(ws::IDNO);
    ws::test::reset();
    EXPECT_TRUE(ws::test::messages().empty());
    EXPECT_EQ(ws::message_box(0, "x", "y", ws::MB_YESNO), ws::IDYES) << "the unused answer is gone";
}

}  // namespace
