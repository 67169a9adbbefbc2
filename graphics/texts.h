// Marking the texts the player reads, so that lupdate finds them in tables and constants.
//
// The game's texts are written in Japanese, the source language of Qt's translation system. A text kept in a table
// or a constant is marked where it is written and translated where it is shown (ws::tr, ws/tr.h, or the table of
// upward calls' `translate` for this folder). It lives here, in the lowest folder, so that every folder can mark.
#pragma once

// The text itself, unchanged; lupdate reads the mark as an alias of QT_TRANSLATE_NOOP, so `context` must be the
// one the text is translated under where it is shown.
#define ZT_NOOP(context, text) text
