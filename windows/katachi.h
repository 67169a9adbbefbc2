// The piece shape chooser "ピース形状" (class "KatachiWin"): edits the four cutting-line templates.
#pragma once
#include "ws/ws.h"

// Opens the chooser as a child of `parent` (the game window), or brings the open one to the front.
ws::Hwnd open_katachi(ws::Hwnd parent);
