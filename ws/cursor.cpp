// The busy-cursor stack over the window-system layer's cursors.
#include "ws/cursor.h"

#include <vector>

#include "ws/ws.h"

namespace {

// One node per push: the cursor it made current and the cursor that was current before.
struct CursorNode {
    ws::Hcursor cursor = 0;
    ws::Hcursor previous = 0;
};

std::vector<CursorNode>& cursor_stack() {
    static std::vector<CursorNode> stack;
    return stack;
}

}  // namespace

void push_cursor(int32_t id) {
    const ws::Hcursor cursor = ws::load_cursor(id);
    const ws::Hcursor previous = ws::set_cursor(cursor);
    cursor_stack().push_back({cursor, previous});
}

void pop_cursor() {
    auto& stack = cursor_stack();
    if (stack.size() < 2) return;
    stack.pop_back();
    if (stack.back().cursor != 0) ws::set_cursor(stack.back().cursor);
}

void show_top_cursor() {
    const auto& stack = cursor_stack();
    if (!stack.empty() && stack.back().cursor != 0) ws::set_cursor(stack.back().cursor);
}

int32_t cursor_depth() { return int32_t(cursor_stack().size()); }
