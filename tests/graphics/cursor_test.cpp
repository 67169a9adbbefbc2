// The busy-cursor stack: pushes show their cursor, pops go back, and the bottom node is never removed.
#include <gtest/gtest.h>

#include "graphics/cursor.h"
#include "ws/ws.h"

namespace {

// The stack is process-wide: bring it down to its bottom node, whatever earlier tests left, and show its cursor.
ws::Hcursor to_bottom() {
    if (cursor_depth() == 0) push_cursor(ws::IDC_ARROW);
    push_cursor(ws::IDC_ARROW);
    while (cursor_depth() > 1) pop_cursor();
    return ws::get_cursor();
}

// The id of a system cursor other than `c`.
int32_t other_than(ws::Hcursor c) { return c == ws::load_cursor(ws::IDC_WAIT) ? ws::IDC_ARROW : ws::IDC_WAIT; }

TEST(BusyCursor, PushShowsAndPopGoesBack) {
    const ws::Hcursor bottom = to_bottom();
    const int32_t first = other_than(bottom), second = other_than(ws::load_cursor(first));
    push_cursor(first);
    EXPECT_EQ(ws::get_cursor(), ws::load_cursor(first));
    push_cursor(second);
    EXPECT_EQ(ws::get_cursor(), ws::load_cursor(second));
    EXPECT_EQ(cursor_depth(), 3);
    pop_cursor();
    EXPECT_EQ(ws::get_cursor(), ws::load_cursor(first));
    pop_cursor();
    EXPECT_EQ(ws::get_cursor(), bottom);
    EXPECT_EQ(cursor_depth(), 1);
}

TEST(BusyCursor, TheLastNodeIsNeverRemoved) {
    const ws::Hcursor bottom = to_bottom();
    const ws::Hcursor other = ws::load_cursor(other_than(bottom));
    // More pops than pushes: the bottom stays, and a pop that removes nothing does not touch the cursor.
    ws::set_cursor(other);
    for (int i = 0; i < 3; ++i) pop_cursor();
    EXPECT_EQ(cursor_depth(), 1);
    EXPECT_EQ(ws::get_cursor(), other);
    // The bottom node is still the place to come back to.
    push_cursor(other_than(bottom));
    pop_cursor();
    EXPECT_EQ(ws::get_cursor(), bottom);
}

}  // namespace
