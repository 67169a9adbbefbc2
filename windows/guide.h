// The guide window "全体" (class "ImageWin"): the finished picture fitted to the window, the held group's outline,
// and the overview of all groups while F1 is held.
#pragma once
#include "ws/ws.h"

// Opens the guide on picture_path, owned by `parent` (the game window); keeps it in guide_window.
ws::Hwnd guide_create(ws::Hwnd parent);
