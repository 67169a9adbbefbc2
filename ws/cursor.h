// The busy-cursor stack: long operations push the hourglass and pop back to whatever was shown before.
#pragma once
#include <cstdint>

// Loads the system cursor `id` (32514 hourglass, 32512 arrow), makes it current and pushes it.
void push_cursor(int32_t id);
// Removes the top node and shows the cursor of the node below it. The bottom node is never removed, so the
// cursor the game window pushed first stays however unbalanced later pops are.
void pop_cursor();
// Makes the top node's cursor current again, where something else (a window's own cursor) replaced it. Nothing
// while the stack is empty.
void show_top_cursor();
// Nodes on the stack (for tests and for checking that pushes and pops pair up).
int32_t cursor_depth();
