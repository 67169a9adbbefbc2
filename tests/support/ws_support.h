// Shared helpers of the window-layer tests: a fixture that resets the layer and a recording window procedure.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ws/ws.h"

namespace wstest {

// Every message a recording window receives, in order, with the time the layer reported while it ran.
struct Seen {
    ws::Hwnd hwnd;
    uint32_t msg;
    uintptr_t wparam;
    intptr_t lparam;
    uint32_t time;
};
std::vector<Seen>& seen();
// Extra behaviour for the recording procedure (runs after the message is recorded; return true = handled).
using Hook = std::function<bool(ws::Hwnd, uint32_t, uintptr_t, intptr_t, intptr_t&)>;
void set_hook(Hook hook);
intptr_t recording_proc(ws::Hwnd hwnd, uint32_t msg, uintptr_t wparam, intptr_t lparam);
// The messages of one kind that `hwnd` received (0 = any window).
std::vector<Seen> seen_of(uint32_t msg, ws::Hwnd hwnd = 0);

// Resets the layer and registers the class "Rec" (recording, arrow cursor, white background).
class WsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ws::Hwnd top(int32_t x = 50, int32_t y = 40, int32_t w = 300, int32_t h = 200, uint32_t style = 0);
    ws::Hwnd child(ws::Hwnd parent, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t style = 0);
};

}  // namespace wstest
