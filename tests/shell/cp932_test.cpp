// Code page 932 both ways: exact bytes of Japanese text, references for what the code page cannot hold, bad bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "shell/cp932.h"

namespace {

std::string utf8_of(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += char(cp);
    } else if (cp < 0x800) {
        s += char(0xC0 | (cp >> 6));
        s += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += char(0xE0 | (cp >> 12));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    } else {
        s += char(0xF0 | (cp >> 18));
        s += char(0x80 | ((cp >> 12) & 0x3F));
        s += char(0x80 | ((cp >> 6) & 0x3F));
        s += char(0x80 | (cp & 0x3F));
    }
    return s;
}

TEST(Cp932, JapaneseTextHasItsCodePageBytes) {
    EXPECT_EQ(utf8_to_cp932("bkimg\\タイル１.BMP"), "bkimg\\\x83\x5E\x83\x43\x83\x8B\x82\x50.BMP");
    EXPECT_EQ(cp932_to_utf8("bkimg\\\x83\x5E\x83\x43\x83\x8B\x82\x50.BMP"), "bkimg\\タイル１.BMP");
    // Backslash and tilde stay ASCII (no yen sign, no overline); the wave dash and minus are the code page's.
    EXPECT_EQ(cp932_to_utf8("\\~"), "\\~");
    EXPECT_EQ(utf8_to_cp932("～－"), "\x81\x60\x81\x7C");
    // A trail byte 0x5C does not end the character.
    EXPECT_EQ(cp932_to_utf8("\x95\x5C\x83\x5C"), "表ソ");
    EXPECT_EQ(utf8_to_cp932("表ソ"), "\x95\x5C\x83\x5C");
    EXPECT_EQ(cp932_to_utf8("\x81\x40"), "　");
}

TEST(Cp932, CharactersTheCodePageLacksBecomeReferences) {
    EXPECT_EQ(utf8_to_cp932("café😀"), "caf&xE9;&x1F600;");
    EXPECT_EQ(cp932_to_utf8("caf&xE9;&x1F600;"), "café😀");
    // The yen sign would come back as a backslash if it were stored as 0x5C.
    EXPECT_EQ(utf8_to_cp932("¥"), "&xA5;");
    EXPECT_EQ(cp932_to_utf8(utf8_to_cp932("¥‾")), "¥‾");
}

TEST(Cp932, AmpersandAndCallerCharactersAreEscapedOnlyWhereNeeded) {
    EXPECT_EQ(utf8_to_cp932("R&D & co"), "R&D & co");
    EXPECT_EQ(utf8_to_cp932("a&x41;b &xyz; &x;"), "a&x26;x41;b &xyz; &x;");
    EXPECT_EQ(cp932_to_utf8("a&x26;x41;b"), "a&x41;b");
    EXPECT_EQ(utf8_to_cp932("C#\nx", "#\n"), "C&x23;&xA;x");
    EXPECT_EQ(cp932_to_utf8("C&x23;&xa;x"), "C#\nx");
    EXPECT_EQ(utf8_to_cp932(std::string("a\0b", 3)), "ab");
}

TEST(Cp932, BytesThatAreNotUtf8SurviveTheRoundTrip) {
    const std::string latin1_name = "caf\xE9.bmp";
    const std::string disk = utf8_to_cp932(latin1_name);
    EXPECT_EQ(disk, "caf&xDCE9;.bmp");
    EXPECT_EQ(cp932_to_utf8(disk), latin1_name);
    EXPECT_EQ(cp932_to_utf8(utf8_to_cp932("\xC0\xAF\xED\xA0\x80")), "\xC0\xAF\xED\xA0\x80");  // overlong, surrogate
}

TEST(Cp932, InvalidCodePageBytesBecomeReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(cp932_to_utf8("a\xA0" "b"), "a" + r + "b");
    EXPECT_EQ(cp932_to_utf8("\xFD\xFE\xFF"), r + r + r);
    EXPECT_EQ(cp932_to_utf8("\x85\x40" "A"), r + "A");  // an empty cell of the table: the pair is one character
    EXPECT_EQ(cp932_to_utf8("\x83\x5E\x81"), "タ" + r);   // a lead byte cut off at the end
    EXPECT_EQ(cp932_to_utf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, MalformedReferencesStayText) {
    for (const char* s : {"&xD800;", "&x110000;", "&x0;", "&x;", "&x41", "&#x41;", "&x1234567;", "&xG;", "&X41;"})
        EXPECT_EQ(cp932_to_utf8(s), s) << s;
    EXPECT_EQ(cp932_to_utf8("&x000041;&x3042;"), "Aあ");
}

TEST(Cp932, EveryCharacterReadsBackUnchanged) {
    // A spread of code points over all planes, in one text, with the characters the settings file escapes.
    std::string text = "#&x41;\r\n";
    for (uint32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x3000 ? 7 : cp < 0x10000 ? 13 : 4099) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        text += utf8_of(cp);
    }
    const std::string disk = utf8_to_cp932(text, "#\n\r");
    EXPECT_EQ(disk.find_first_of("#\n\r"), std::string::npos);
    EXPECT_EQ(cp932_to_utf8(disk), text);
}

TEST(Cp932, FitCutsBetweenCharacters) {
    const std::string tile = "\x83\x5E\x83\x43\x83\x8B";  // タイル
    EXPECT_EQ(cp932_fit(tile, 5), 4u);
    EXPECT_EQ(cp932_fit(tile, 6), 6u);
    EXPECT_EQ(cp932_fit(tile, 100), 6u);
    EXPECT_EQ(cp932_fit("ab&x1F600;c", 9), 2u);
    EXPECT_EQ(cp932_fit("ab&x1F600;c", 10), 10u);
    EXPECT_EQ(cp932_fit("ab&xZ", 4), 4u);  // not a reference: plain bytes
    EXPECT_EQ(cp932_fit("a\x83", 2), 2u);   // a lone lead byte at the end is one byte
}

}  // namespace
