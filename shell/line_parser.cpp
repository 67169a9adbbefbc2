// LineParser and the piecewise line reading of the game's text files.
#include "shell/line_parser.h"

#include <algorithm>
#include <charconv>

#include "shell/cp932.h"

LineParser::LineParser(std::size_t capacity, char comment_char)
    : capacity_(capacity), comment_char_(comment_char) {
    line_.reserve(capacity + 1);
    token_.reserve(capacity + 1);
}

std::size_t LineParser::char_length(std::size_t pos) const {
    return cp932_lead((unsigned char)line_[pos]) && pos + 1 < line_.size() ? 2 : 1;
}

std::size_t LineParser::blank_length(std::size_t pos) const {
    const unsigned char c = (unsigned char)line_[pos];
    if (c == ' ' || c == '\t') return 1;
    if (c == 0x81 && pos + 1 < line_.size() && (unsigned char)line_[pos + 1] == 0x40) return 2;
    return 0;
}

void LineParser::set_line(std::string_view text) {
    std::size_t end = std::min(text.size(), capacity_);
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n' || text[i] == '\0') {
            end = i;
            break;
        }
    }
    line_.assign(text.substr(0, end));
    comment_.clear();
    // The comment mark is searched character by character: it must not be found inside a double-byte character.
    for (std::size_t i = 0; i < line_.size(); i += char_length(i)) {
        if (line_[i] == comment_char_) {
            comment_.assign(line_, i);
            line_.resize(i);
            break;
        }
    }
    pos_ = 0;
}

void LineParser::skip_blanks() {
    while (pos_ < line_.size()) {
        const std::size_t n = blank_length(pos_);
        if (n == 0) break;
        pos_ += n;
    }
}

std::string LineParser::next_token(std::string_view def) {
    skip_blanks();
    if (pos_ >= line_.size()) return std::string(def);
    const std::size_t start = pos_;
    while (pos_ < line_.size() && blank_length(pos_) == 0) pos_ += char_length(pos_);
    token_.assign(line_, start, pos_ - start);
    return token_;
}

namespace {

// Optional sign, then digits with at most `max_points` '.' among them. Returns the part after the sign.
bool number_form(std::string_view t, int max_points, std::string_view& digits) {
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
    int points = 0;
    for (char c : t) {
        if (c == '.') {
            if (++points > max_points) return false;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    digits = t;
    return true;
}

}  // namespace

int32_t LineParser::get_int(int32_t def) {
    const std::string t = next_token("");
    std::string_view digits;
    if (t.empty() || !number_form(t, 0, digits)) return def;
    if (digits.empty()) return 0;
    // Parsed with its sign so that the smallest int32 is in range.
    const std::size_t from = t[0] == '-' ? 0 : t.size() - digits.size();
    int32_t value = 0;
    const auto r = std::from_chars(t.data() + from, t.data() + t.size(), value);
    return r.ec == std::errc() ? value : def;
}

double LineParser::get_float(double def) {
    const std::string t = next_token("");
    std::string_view digits;
    if (t.empty() || !number_form(t, 1, digits)) return def;
    if (digits.find_first_of("0123456789") == std::string_view::npos) return 0.0;
    // from_chars ignores the locale, which the toolkit may have set to one with a decimal comma.
    double value = 0.0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size()) return def;
    return t[0] == '-' ? -value : value;
}

bool LineParser::get_bool(bool def) {
    const std::string t = next_token("");
    if (t == "TRUE") return true;
    if (t == "FALSE") return false;
    return def;
}

std::string LineParser::rest_of_line(std::string_view def) {
    skip_blanks();
    if (pos_ >= line_.size()) return std::string(def);
    std::string rest = line_.substr(pos_);
    pos_ = line_.size();
    return rest;
}

bool read_text_line(std::FILE* file, std::string& piece, std::size_t buffer_size) {
    const std::size_t limit = buffer_size > 1 ? buffer_size - 1 : 1;
    piece.resize(limit);
    char* out = piece.data();
    std::size_t n = 0;
    // Byte by byte without the stream's lock for each: a garbage file may be one line of many megabytes.
    flockfile(file);
    while (n < limit) {
        int c = getc_unlocked(file);
        if (c == EOF) break;
        if (c == '\r') {
            const int next = getc_unlocked(file);
            if (next == '\n') c = '\n';
            else if (next != EOF) std::ungetc(next, file);
        }
        out[n++] = char(c);
        if (c == '\n') break;
    }
    funlockfile(file);
    piece.resize(n);
    return n > 0;
}
