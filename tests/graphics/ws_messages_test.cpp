// Window layer: posted and sent messages, their order and times, the loop, quitting and key translation.
#include "support/ws_support.h"

using namespace wstest;

namespace {

constexpr uint32_t MSG_A = 0xF400, MSG_B = 0xF401, MSG_C = 0xF402;

std::vector<uint32_t> program_messages() {
    std::vector<uint32_t> out;
    for (const Seen& s : seen())
        if (s.msg >= 0xF400) out.push_back(s.msg);
    return out;
}

class Messages : public WsTest {};

TEST_F(Messages, PostedRunAfterTheSenderReturnsAndKeepTheirOrder) {
    ws::Hwnd w = top();
    ws::test::pump();
    seen().clear();
    bool inside_a = false, b_ran_inside_a = false;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == MSG_B && inside_a) b_ran_inside_a = true;
        if (msg == MSG_A) {
            inside_a = true;
            ws::post_message(h, MSG_B, 1, 0);
            ws::post_message(h, MSG_C, 2, 0);
            inside_a = false;
            return true;
        }
        return false;
    });
    ws::post_message(w, MSG_A, 0, 0);
    ws::post_message(w, MSG_C, 9, 0);
    EXPECT_TRUE(program_messages().empty()) << "posting must not run the procedure";
    ws::test::pump();
    EXPECT_FALSE(b_ran_inside_a);
    EXPECT_EQ(program_messages(), (std::vector<uint32_t>{MSG_A, MSG_C, MSG_B, MSG_C}));
    EXPECT_EQ(seen_of(MSG_C)[0].wparam, 9u);  // the first C is the one posted before A ran
}

TEST_F(Messages, SentRunAtOnceAndReturnTheResult) {
    ws::Hwnd w = top();
    ws::test::pump();
    std::vector<std::string> order;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t wp, intptr_t, intptr_t& result) {
        if (msg == MSG_A) {
            order.push_back("A in");
            result = ws::send_message(h, MSG_B, wp + 1, 0);  // nested send, as the game's mouse handling does
            order.push_back("A out");
            return true;
        }
        if (msg == MSG_B) {
            order.push_back("B");
            result = intptr_t(wp) * 10;
            return true;
        }
        return false;
    });
    ws::post_message(w, MSG_C, 0, 0);  // a queued message must not overtake a sent one
    EXPECT_EQ(ws::send_message(w, MSG_A, 4, 0), 50);
    EXPECT_EQ(order, (std::vector<std::string>{"A in", "B", "A out"}));
    EXPECT_TRUE(seen_of(MSG_C).empty());
    EXPECT_EQ(ws::send_message(w + 1000, MSG_A, 4, 0), 0) << "no window, no procedure";
    EXPECT_FALSE(ws::post_message(w + 1000, MSG_A, 0, 0));
}

TEST_F(Messages, EachMessageCarriesTheClockTimeItWasQueuedAt) {
    ws::Hwnd w = top();
    ws::test::pump();
    seen().clear();
    uint32_t t0 = ws::tick_count();
    ws::post_message(w, MSG_A, 0, 0);
    ws::test::advance(0);  // delivered at once, stamped t0
    uint32_t sent_time = 0;
    set_hook([&](ws::Hwnd h, uint32_t msg, uintptr_t, intptr_t, intptr_t&) {
        if (msg == MSG_B) ws::send_message(h, MSG_C, 0, 0);
        if (msg == MSG_C) sent_time = ws::message_time();
        return false;
    });
    ws::post_message(w, MSG_B, 0, 0);
    // The clock moves before the message is looked at: the time stays the posting time.
    ws::test::advance(0);
    ASSERT_EQ(seen_of(MSG_A).size(), 1u);
    EXPECT_EQ(seen_of(MSG_A)[0].time, t0);
    uint32_t before_post = ws::tick_count();
    ws::post_message(w, MSG_A, 0, 0);
    ws::test::advance(250);
    ASSERT_EQ(seen_of(MSG_A).size(), 2u);
    EXPECT_EQ(seen_of(MSG_A)[1].time, before_post) << "a posted message keeps its posting time";
    EXPECT_EQ(sent_time, seen_of(MSG_B)[0].time) << "a sent message runs within the time of the one being handled";
    EXPECT_EQ(ws::tick_count(), before_post + 250);
}

TEST_F(Messages, TheLoopEndsWithTheQuitCodeAfterWhatWasPostedBefore) {
    ws::Hwnd w = top();
    ws::post_message(w, MSG_A, 0, 0);
    ws::post_quit_message(7);
    ws::post_message(w, MSG_B, 0, 0);
    int32_t code = 0;
    EXPECT_TRUE(ws::test::quit_requested(&code));
    EXPECT_EQ(code, 7);
    ws::Msg m;
    std::vector<uint32_t> got;
    while (ws::get_message(m)) {
        ws::translate_message(m);
        ws::dispatch_message(m);
        got.push_back(m.message);
    }
    EXPECT_EQ(m.message, ws::WM_QUIT);
    EXPECT_EQ(m.wparam, 7u);
    EXPECT_EQ(program_messages(), (std::vector<uint32_t>{MSG_A, MSG_B}));
    EXPECT_FALSE(ws::test::quit_requested());
    EXPECT_TRUE(seen_of(ws::WM_PAINT).empty()) << "the quit request comes before painting";
    // With nothing left to do a test-mode loop ends rather than waiting for ever.
    while (ws::get_message(m)) ws::dispatch_message(m);
    EXPECT_EQ(m.message, ws::WM_NULL);
    EXPECT_EQ(seen_of(ws::WM_PAINT).size(), 1u);
}

TEST_F(Messages, PumpLeavesTheQuitRequestPending) {
    ws::Hwnd w = top();
    ws::post_quit_message(0);
    ws::post_message(w, MSG_A, 0, 0);
    ws::test::pump();
    EXPECT_EQ(seen_of(MSG_A).size(), 1u);
    EXPECT_TRUE(ws::test::quit_requested());
}

TEST_F(Messages, PeekWithoutRemovalLeavesTheMessage) {
    ws::Hwnd w = top();
    ws::test::pump();
    ws::post_message(w, MSG_A, 3, 4);
    ws::Msg m;
    ASSERT_TRUE(ws::peek_message(m, ws::PM_NOREMOVE));
    EXPECT_EQ(m.message, MSG_A);
    ASSERT_TRUE(ws::peek_message(m, ws::PM_REMOVE));
    EXPECT_EQ(m.message, MSG_A);
    EXPECT_EQ(m.wparam, 3u);
    EXPECT_EQ(m.lparam, 4);
    EXPECT_FALSE(ws::peek_message(m, ws::PM_REMOVE));
}

TEST_F(Messages, MessagesToADestroyedWindowAreDropped) {
    ws::Hwnd w = top();
    ws::post_message(w, MSG_A, 0, 0);
    ws::destroy_window(w);
    seen().clear();
    ws::test::pump();
    EXPECT_TRUE(seen_of(MSG_A).empty());
}

TEST_F(Messages, ThreadMessagesReachTheLoopButNoProcedure) {
    top();
    ws::test::pump();
    seen().clear();
    ASSERT_TRUE(ws::post_message(0, MSG_A, 5, 0));
    ws::Msg m;
    ASSERT_TRUE(ws::peek_message(m, ws::PM_REMOVE));
    EXPECT_EQ(m.hwnd, 0);
    EXPECT_EQ(m.message, MSG_A);
    EXPECT_EQ(ws::dispatch_message(m), 0);
    EXPECT_TRUE(seen().empty());
}

TEST_F(Messages, KeyDownsOfCharactersBecomeCharacters) {
    ws::Hwnd w = top();
    ws::test::pump();
    seen().clear();
    ws::post_message(w, MSG_A, 0, 0);  // arrived while the key was being looked at
    ws::Msg key{w, ws::WM_KEYDOWN, 'R', 1, 0};
    EXPECT_TRUE(ws::translate_message(key));
    ws::Msg shift_key{w, ws::WM_KEYDOWN, ws::VK_SHIFT, 1, 0};
    EXPECT_FALSE(ws::translate_message(shift_key));
    ws::test::pump();
    auto chars = seen_of(ws::WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wparam, uintptr_t('r'));
    EXPECT_EQ(seen().front().msg, ws::WM_CHAR) << "the character comes next, before what was already waiting";
}

}  // namespace
