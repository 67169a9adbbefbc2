// LineParser: the tokenizing line reader shared by the settings file, the sound list and the skin file.
//
// It works on the code page 932 bytes of one line. A byte 0x81-0x9F or 0xE0-0xFC starts a double-byte character,
// which is always taken whole with the byte after it (so a trail byte is never read as '\\' or a blank). Blanks are
// the space, the tab and the full-width space (0x81 0x40). Everything from the comment character on is cut off.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class LineParser {
public:
    LineParser(std::size_t capacity, char comment_char);

    // Takes `text` up to its end, its first newline or NUL, or `capacity` bytes, whichever comes first; keeps the
    // part from the comment character on aside and starts reading at the beginning.
    void set_line(std::string_view text);
    void skip_blanks();
    // The next run of non-blank characters, or `def` when the line is used up.
    std::string next_token(std::string_view def);
    // An optional sign followed only by digits 0-9 (a sign alone is 0). Anything else, no token, or a value
    // beyond int32, gives `def`; the token is used up either way.
    int32_t get_int(int32_t def);
    // The same with at most one '.' among the digits.
    double get_float(double def);
    // "TRUE" or "FALSE", exactly; anything else or no token gives `def`.
    bool get_bool(bool def);
    // Everything from the next non-blank to the end of the line, inner and trailing blanks included.
    std::string rest_of_line(std::string_view def);

    const std::string& line() const { return line_; }
    const std::string& comment() const { return comment_; }

private:
    std::size_t char_length(std::size_t pos) const;
    std::size_t blank_length(std::size_t pos) const;

    std::size_t capacity_;
    char comment_char_;
    std::string line_;
    std::string token_;
    std::string comment_;
    std::size_t pos_ = 0;
};

// Reads the next piece of a text file as a buffer of `buffer_size` bytes would take it: up to and including the
// next newline, at most buffer_size - 1 bytes (a longer line arrives in several pieces). "\r\n" counts as "\n",
// so files written on either kind of system read alike. Returns false at the end of the file.
bool read_text_line(std::FILE* file, std::string& piece, std::size_t buffer_size = 520);
