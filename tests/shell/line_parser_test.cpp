// LineParser: blanks and double-byte characters, comments, the number and flag readers, and piecewise reading.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "shell/line_parser.h"

namespace {

const std::string kFullWidthSpace = "\x81\x40";

TEST(LineParser, BlanksIncludeTabAndFullWidthSpace) {
    LineParser p(520, '#');
    p.set_line("  a\tb" + kFullWidthSpace + "c" + kFullWidthSpace + kFullWidthSpace + " d\n");
    EXPECT_EQ(p.next_token(""), "a");
    EXPECT_EQ(p.next_token(""), "b");
    EXPECT_EQ(p.next_token(""), "c");
    EXPECT_EQ(p.next_token(""), "d");
    EXPECT_EQ(p.next_token("end"), "end");
    EXPECT_EQ(p.next_token("again"), "again");
}

TEST(LineParser, DoubleByteCharactersAreTakenWhole) {
    LineParser p(520, '#');
    // 0x82 0x81 is one character; its trail byte followed by 0x40 must not be read as a full-width space.
    p.set_line("x\x82\x81\x40y z");
    EXPECT_EQ(p.next_token(""), "x\x82\x81\x40y");
    EXPECT_EQ(p.next_token(""), "z");
    // "表" ends in 0x5C and "ソ" in 0x5C: they stay inside their token, as does a lead byte before a blank byte.
    p.set_line("\x95\x5C\x83\x5C \x81 q");
    EXPECT_EQ(p.next_token(""), "\x95\x5C\x83\x5C");
    EXPECT_EQ(p.next_token(""), "\x81 q");
    // A lead byte at the very end of the line is taken alone, without reading past the line.
    p.set_line("ab\x83");
    EXPECT_EQ(p.next_token(""), "ab\x83");
}

TEST(LineParser, SetLineStopsAtNewlineNulAndCapacityAndKeepsTheComment) {
    LineParser p(8, '#');
    p.set_line("ab#cd\nef");
    EXPECT_EQ(p.line(), "ab");
    EXPECT_EQ(p.comment(), "#cd");
    EXPECT_EQ(p.next_token(""), "ab");
    EXPECT_EQ(p.next_token(""), "");
    p.set_line("0123456789");
    EXPECT_EQ(p.line(), "01234567");
    EXPECT_EQ(p.comment(), "");
    p.set_line(std::string("ab\0cd", 5));
    EXPECT_EQ(p.line(), "ab");
    // The position starts over with every line.
    p.set_line("x y");
    EXPECT_EQ(p.next_token(""), "x");
    p.set_line("z");
    EXPECT_EQ(p.next_token(""), "z");
}

TEST(LineParser, IntegersAreSignAndDigitsOnly) {
    LineParser p(520, '#');
    p.set_line("-20 2x 1.5 + - +7 2147483647 -2147483648 2147483648 0012");
    EXPECT_EQ(p.get_int(99), -20);
    EXPECT_EQ(p.get_int(99), 99);  // 2x
    EXPECT_EQ(p.get_int(99), 99);  // 1.5
    EXPECT_EQ(p.get_int(99), 0);   // a sign alone
    EXPECT_EQ(p.get_int(99), 0);
    EXPECT_EQ(p.get_int(99), 7);
    EXPECT_EQ(p.get_int(99), INT_MAX);
    EXPECT_EQ(p.get_int(99), INT_MIN);
    EXPECT_EQ(p.get_int(99), 99);  // beyond int32
    EXPECT_EQ(p.get_int(99), 12);
    EXPECT_EQ(p.get_int(-5), -5);  // nothing left
}

TEST(LineParser, FloatsAllowOnePointAndIgnoreTheLocaleFormat) {
    LineParser p(520, '#');
    p.set_line("0.5 -.25 5. +3 1.2.3 1e5 0,5 . 0.700000");
    EXPECT_DOUBLE_EQ(p.get_float(9), 0.5);
    EXPECT_DOUBLE_EQ(p.get_float(9), -0.25);
    EXPECT_DOUBLE_EQ(p.get_float(9), 5.0);
    EXPECT_DOUBLE_EQ(p.get_float(9), 3.0);
    EXPECT_DOUBLE_EQ(p.get_float(9), 9);  // two points
    EXPECT_DOUBLE_EQ(p.get_float(9), 9);  // exponent
    EXPECT_DOUBLE_EQ(p.get_float(9), 9);  // decimal comma
    EXPECT_DOUBLE_EQ(p.get_float(9), 0);  // no digits at all
    EXPECT_DOUBLE_EQ(p.get_float(9), 0.7);
    EXPECT_DOUBLE_EQ(p.get_float(1.25), 1.25);
}

TEST(LineParser, FlagsAreExactWords) {
    LineParser p(520, '#');
    p.set_line("TRUE FALSE true False TRUE#FALSE");
    EXPECT_TRUE(p.get_bool(false));
    EXPECT_FALSE(p.get_bool(true));
    EXPECT_TRUE(p.get_bool(true));
    EXPECT_FALSE(p.get_bool(false));
    EXPECT_TRUE(p.get_bool(false));  // the comment is gone
    EXPECT_TRUE(p.get_bool(true));   // nothing left: the default
    EXPECT_FALSE(p.get_bool(false));
}

TEST(LineParser, RestOfLineKeepsInnerAndTrailingBlanks) {
    LineParser p(520, '#');
    p.set_line("key \t my picture\\a b.bmp  # note");
    EXPECT_EQ(p.next_token(""), "key");
    EXPECT_EQ(p.rest_of_line("def"), "my picture\\a b.bmp  ");
    EXPECT_EQ(p.rest_of_line("def"), "def");
    p.set_line("key " + kFullWidthSpace);
    p.next_token("");
    EXPECT_EQ(p.rest_of_line("def"), "def");
}

std::FILE* memory_file(const std::string& bytes) {
    return fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
}

TEST(ReadTextLine, LongLinesArriveInPiecesOfTheBufferLess1) {
    const std::string text = std::string(1200, 'x') + "\nlast";
    std::FILE* f = memory_file(text);
    ASSERT_NE(f, nullptr);
    std::string piece;
    ASSERT_TRUE(read_text_line(f, piece, 520));
    EXPECT_EQ(piece.size(), 519u);
    ASSERT_TRUE(read_text_line(f, piece, 520));
    EXPECT_EQ(piece.size(), 519u);
    ASSERT_TRUE(read_text_line(f, piece, 520));
    EXPECT_EQ(piece, std::string(162, 'x') + "\n");
    ASSERT_TRUE(read_text_line(f, piece, 520));
    EXPECT_EQ(piece, "last");
    EXPECT_FALSE(read_text_line(f, piece, 520));
    std::fclose(f);
}

TEST(ReadTextLine, CarriageReturnBeforeNewlineIsDropped) {
    const std::string text = "a\r\nb\rc\r\n\r";
    std::FILE* f = memory_file(text);
    ASSERT_NE(f, nullptr);
    std::string piece;
    ASSERT_TRUE(read_text_line(f, piece));
    EXPECT_EQ(piece, "a\n");
    ASSERT_TRUE(read_text_line(f, piece));
    EXPECT_EQ(piece, "b\rc\n");
    ASSERT_TRUE(read_text_line(f, piece));
    EXPECT_EQ(piece, "\r");
    EXPECT_FALSE(read_text_line(f, piece));
    std::fclose(f);
}

}  // namespace
