// The player's language: the game's texts are written in Japanese and shown in English on any other desktop.
//
// Japanese is the source language of Qt's translation system, so every text keeps its Japanese form in the code and
// lupdate collects them into translations/zelto_en.ts. Plain C++ (no Qt), so every folder may include it.
#pragma once
#include <string>

// ZT_NOOP(context, text) marks a text kept in a table or a constant; it is translated with ws::tr(context, ...)
// where it is shown.
#include "graphics/texts.h"

namespace ws {

// `text` (UTF-8) in the player's language. On a Japanese desktop it is `text` itself, byte for byte; on any other
// it is the English translation found under `context`, or `text` when there is none. The language is chosen once,
// when the layer starts (ws::init); texts translated before that stay Japanese.
std::string tr(const char* context, const char* text);
std::string tr(const char* context, const std::string& text);
// Whether the player's language is English (the desktop's first language is not Japanese).
bool english();

}  // namespace ws
