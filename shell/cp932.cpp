// Code page 932 <-> UTF-8 through iconv's "CP932", with character references for what the code page cannot hold.
#include "shell/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr uint32_t kRawByteBase = 0xDC00;             // references DC80..DCFF carry a raw byte

// One conversion descriptor per direction and thread, opened on first use. "CP932" is the only name that keeps
// 0x5C as the backslash and holds the full-width tilde and minus.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

Converter& to_utf8() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}
Converter& to_cp932() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

bool trail_byte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
bool hex_digit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
uint32_t hex_value(char c) { return c <= '9' ? uint32_t(c - '0') : uint32_t((c | 0x20) - 'a' + 10); }

void append_utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

void append_reference(std::string& out, uint32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "&x%X;", unsigned(cp));
    out += buf;
}

// Length of a reference "&x" hex{1,6} ";" starting at `pos`, or 0; its value goes to `cp`.
std::size_t reference_at(std::string_view s, std::size_t pos, uint32_t& cp) {
    if (s.substr(pos, 2) != "&x") return 0;
    std::size_t i = pos + 2;
    cp = 0;
    while (i < s.size() && i - pos - 2 < 6 && hex_digit(s[i])) cp = cp * 16 + hex_value(s[i++]);
    if (i == pos + 2 || i >= s.size() || s[i] != ';') return 0;
    return i + 1 - pos;
}

// A code point a reference may stand for: not NUL, not beyond Unicode, no surrogate but the raw-byte ones.
bool reference_allowed(uint32_t cp) {
    if (cp == 0 || cp > 0x10FFFF) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF;
    return true;
}

std::string decode_references(const std::string& s) {
    if (s.find("&x") == std::string::npos) return s;
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        uint32_t cp = 0;
        std::size_t n = s[i] == '&' ? reference_at(s, i, cp) : 0;
        if (n == 0 || !reference_allowed(cp)) {
            out += s[i++];
            continue;
        }
        if (cp >= kRawByteBase + 0x80 && cp <= kRawByteBase + 0xFF)
            out += char(cp - kRawByteBase);
        else
            append_utf8(out, cp);
        i += n;
    }
    return out;
}

// Length of the well-formed UTF-8 character at `pos` (0 when the byte there starts none) and its code point.
std::size_t utf8_char(std::string_view s, std::size_t pos, uint32_t& cp) {
    const auto b = [&](std::size_t k) { return pos + k < s.size() ? (unsigned char)s[pos + k] : 0u; };
    const unsigned c = b(0);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    std::size_t len = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) len = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) len = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (b(1) < lo || b(1) > hi) return 0;
    for (std::size_t k = 2; k < len; ++k)
        if ((b(k) & 0xC0) != 0x80) return 0;
    cp = c & (0xFF >> (len + 1));
    for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (b(k) & 0x3F);
    return len;
}

// Runs one whole conversion; on a byte iconv refuses, calls `bad(pos)`, which appends a stand-in and returns how
// many input bytes it covers. Returns false when the descriptor could not be opened.
template <class Bad>
bool convert(Converter& conv, std::string_view in, std::string& out, Bad bad) {
    if (!conv.ok()) return false;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    char* ip = const_cast<char*>(in.data());
    std::size_t il = in.size();
    while (il > 0) {
        char buf[512];
        char* op = buf;
        std::size_t ol = sizeof buf;
        const std::size_t r = iconv(conv.get(), &ip, &il, &op, &ol);
        out.append(buf, std::size_t(op - buf));
        if (r != std::size_t(-1) || errno == E2BIG) continue;
        const std::size_t skip = bad(std::size_t(ip - in.data()));
        ip += skip;
        il -= skip;
        iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

// Code page 932 bytes of one non-ASCII character, or "" when the code page cannot hold it exactly.
std::string encode_char(std::string_view ch) {
    std::string bytes, back;
    bool refused = false;
    const auto refuse = [&](std::size_t) {
        refused = true;
        return ch.size();
    };
    if (!convert(to_cp932(), ch, bytes, refuse) || refused || bytes.empty()) return {};
    if (!convert(to_utf8(), bytes, back, refuse) || refused || back != ch) return {};
    return bytes;
}

}  // namespace

std::string cp932_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const auto bad = [&](std::size_t pos) -> std::size_t {
        out += kReplacement;
        const bool pair = pos + 1 < bytes.size() && cp932_lead((unsigned char)bytes[pos]) &&
                          trail_byte((unsigned char)bytes[pos + 1]);
        return pair ? 2 : 1;
    };
    if (!convert(to_utf8(), bytes, out, bad)) {
        // No converter on this system: ASCII still reads, everything else is unknown.
        out.clear();
        for (unsigned char c : bytes) out += c < 0x80 ? std::string(1, char(c)) : std::string(kReplacement);
    }
    return decode_references(out);
}

std::string utf8_to_cp932(std::string_view utf8, std::string_view also_escape) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const std::size_t n = utf8_char(utf8, i, cp);
        if (n == 0) {
            append_reference(out, kRawByteBase + (unsigned char)utf8[i]);
            ++i;
            continue;
        }
        if (cp == 0) {
        } else if (cp < 0x80) {
            uint32_t ignored = 0;
            const bool amp = cp == '&' && reference_at(utf8, i, ignored) > 0;
            if (amp || also_escape.find(char(cp)) != std::string_view::npos)
                append_reference(out, cp);
            else
                out += char(cp);
        } else {
            const std::string bytes = encode_char(utf8.substr(i, n));
            if (bytes.empty())
                append_reference(out, cp);
            else
                out += bytes;
        }
        i += n;
    }
    return out;
}

std::size_t cp932_fit(std::string_view bytes, std::size_t max_bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        uint32_t cp = 0;
        std::size_t n = bytes[i] == '&' ? reference_at(bytes, i, cp) : 0;
        if (n == 0) n = cp932_lead((unsigned char)bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        if (i + n > max_bytes) break;
        i += n;
    }
    return i;
}
