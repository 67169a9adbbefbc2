// The picture list "ViewWin": a strip of thumbnails of the pictures and saved games in view_folder, loaded by a
// worker thread; a click posts IDM_VIEW_END with view_result to the window that opened it.
#pragma once
#include "ws/ws.h"

// Opens the list on view_folder with the title view_title, as a child of `parent`; keeps it in list_window.
ws::Hwnd viewer_create(ws::Hwnd parent);
