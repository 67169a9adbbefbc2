// Conversion between the game's UTF-8 texts and the code page 932 (Shift-JIS) bytes of its text files.
//
// The settings file, the sound list and the skin file are code page 932 on disk. Some texts cannot be stored there
// as they are: characters code page 932 has no code for (é, emoji, ...), bytes that are not UTF-8 at all (a file
// name from a foreign file system) and characters a caller names (the comment mark '#', line ends). These are
// written as character references "&xHEX;": '&', 'x', the code point in 1 to 6 upper-case hexadecimal digits, ';'
// (no '#', which would start a comment). A raw byte 0x80..0xFF that is not UTF-8 is written as the code point
// DC80..DCFF, which no UTF-8 text can hold. An '&' that would itself read as the start of a reference is written
// as "&x26;", so every text reads back exactly as it was written. On reading, any well-formed reference becomes its
// character, including one typed by hand.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Code page 932 bytes to UTF-8. A byte or pair that is not code page 932 becomes U+FFFD (a lead byte takes the
// byte after it along when that one is a trail byte); references (hex digits in either case) become their
// character; a malformed one, or one naming NUL, a surrogate or no code point at all, stays as it is.
std::string cp932_to_utf8(std::string_view bytes);

// UTF-8 to code page 932. Characters code page 932 cannot hold exactly (so that they would read back as another
// character), invalid UTF-8 bytes, every character of `also_escape` (ASCII only) and an '&' that starts something
// of the form of a reference are written as references. A NUL character is dropped: no text of the game holds one.
std::string utf8_to_cp932(std::string_view utf8, std::string_view also_escape = {});

// Length of the longest start of `bytes` that fits in `max_bytes` without breaking a double-byte character or a
// character reference.
std::size_t cp932_fit(std::string_view bytes, std::size_t max_bytes);

// True for the bytes that begin a double-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool cp932_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
