// Code page 932 both ways: exact bytes of Japanese text, references for what the code page cannot hold, bad bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/cp932.h"

namespace {

const std::string R = "\xEF\xBF\xBD";  // the replacement character

TEST(Cp932, TextAndItsBytesOnDisk) {
    const std::pair<std::string, std::string> both_ways[] = {
        {"bkimg\\タイル１.BMP", "bkimg\\\x83\x5E\x83\x43\x83\x8B\x82\x50.BMP"},
        {"\\~", "\\~"},                        // no yen sign, no overline
        {"～－", "\x81\x60\x81\x7C"},          // the code page's wave dash and minus
        {"表ソ", "\x95\x5C\x83\x5C"},          // a trail byte 0x5C does not end the character
        {"café😀¥", "caf&xE9;&x1F600;&xA5;"},  // the yen sign as 0x5C would come back as a backslash
        {"a&x41;b &xyz; &x;", "a&x26;x41;b &xyz; &x;"},  // only what reads as a reference is escaped
        {"caf\xE9.bmp", "caf&xDCE9;.bmp"},                // bytes that are not UTF-8 survive
        {"\xC0\xAF\xED\xA0\x80", "&xDCC0;&xDCAF;&xDCED;&xDCA0;&xDC80;"},  // overlong, surrogate
    };
    for (const auto& [utf8, disk] : both_ways) {
        EXPECT_EQ(utf8_to_cp932(utf8), disk) << utf8;
        EXPECT_EQ(cp932_to_utf8(disk), utf8) << utf8;
    }
    EXPECT_EQ(utf8_to_cp932("C#\nx", "#\n"), "C&x23;&xA;x");
    EXPECT_EQ(cp932_to_utf8("C&x23;&xa;x&x000041;"), "C#\nxA");
    EXPECT_EQ(utf8_to_cp932(std::string("a\0b", 3)), "ab");
}

TEST(Cp932, BadBytesAndMalformedReferences) {
    const std::pair<std::string, std::string> reads[] = {
        {"a\xA0" "b", "a" + R + "b"},     {"\xFD\xFE\xFF", R + R + R},
        {"\x85\x40" "A", R + "A"},        // an empty cell of the table: the pair is one character
        {"\x83\x5E\x81", "タ" + R},       // a lead byte cut off at the end
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [disk, utf8] : reads) EXPECT_EQ(cp932_to_utf8(disk), utf8);
    for (const char* s : {"&xD800;", "&x110000;", "&x0;", "&x;", "&x41", "&#x41;", "&x1234567;", "&xG;", "&X41;"})
        EXPECT_EQ(cp932_to_utf8(s), s) << s;
}

std::string utf8_of(uint32_t cp) {
    if (cp < 0x80) return std::string(1, char(cp));
    if (cp < 0x800) return {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
    if (cp < 0x10000) return {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
    return {char(0xF0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3F)), char(0x80 | ((cp >> 6) & 0x3F)),
            char(0x80 | (cp & 0x3F))};
}

TEST(Cp932, EveryCharacterReadsBackUnchanged) {
    std::string text = "#&x41;\r\n";
    for (uint32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x3000 ? 7 : cp < 0x10000 ? 13 : 4099)
        if (cp < 0xD800 || cp > 0xDFFF) text += utf8_of(cp);
    const std::string disk = utf8_to_cp932(text, "#\n\r");
    EXPECT_EQ(disk.find_first_of("#\n\r"), std::string::npos);
    EXPECT_EQ(cp932_to_utf8(disk), text);
}

TEST(Cp932, FitCutsBetweenCharacters) {
    const struct {
        const char* text;
        size_t limit, fit;
    } cases[] = {{"\x83\x5E\x83\x43\x83\x8B", 5, 4}, {"\x83\x5E\x83\x43\x83\x8B", 6, 6},
                 {"\x83\x5E\x83\x43\x83\x8B", 100, 6}, {"ab&x1F600;c", 9, 2}, {"ab&x1F600;c", 10, 10},
                 {"ab&xZ", 4, 4}, {"a\x83", 2, 2}};
    for (const auto& c : cases) EXPECT_EQ(cp932_fit(c.text, c.limit), c.fit) << c.text << " " << c.limit;
}

}  // namespace
