// LineParser: blanks and double-byte characters, comments, the number and flag readers, and piecewise reading.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/line_parser.h"

namespace {

// Every token of `line` in turn, up to the first empty one.
std::vector<std::string> tokens(LineParser& p, const std::string& line) {
    p.set_line(line);
    std::vector<std::string> out;
    for (std::string t; !(t = p.next_token("")).empty();) out.push_back(t);
    return out;
}

TEST(LineParser, TokensSplitAtBlanksAndKeepDoubleByteCharactersWhole) {
    LineParser p(520, '#');
    using V = std::vector<std::string>;
    EXPECT_EQ(tokens(p, "  a\tb\x81\x40" "c\x81\x40\x81\x40 d\n"), (V{"a", "b", "c", "d"}));
    // 0x82 0x81 is one character: its trail byte and the 0x40 after it are no full-width space.
    EXPECT_EQ(tokens(p, "x\x82\x81\x40y z"), (V{"x\x82\x81\x40y", "z"}));
    // Trail bytes 0x5C stay inside, as does a lead byte before a blank byte; a lead byte at the end stands alone.
    EXPECT_EQ(tokens(p, "\x95\x5C\x83\x5C \x81 q"), (V{"\x95\x5C\x83\x5C", "\x81 q"}));
    EXPECT_EQ(tokens(p, "ab\x83"), (V{"ab\x83"}));
    EXPECT_EQ(p.next_token("again"), "again");
    // A line ends at a newline, a NUL or the capacity; the comment is kept apart; each line starts over.
    LineParser small(8, '#');
    EXPECT_EQ(tokens(small, "ab#cd\nef"), (V{"ab"}));
    EXPECT_EQ(small.comment(), "#cd");
    small.set_line("0123456789");
    EXPECT_EQ(small.line(), "01234567");
    EXPECT_EQ(small.comment(), "");
    EXPECT_EQ(tokens(small, std::string("ab\0cd", 5)), (V{"ab"}));
}

TEST(LineParser, NumbersAndFlagsTakeOnlyTheirExactForm) {
    LineParser p(520, '#');
    p.set_line("-20 2x 1.5 + - +7 2147483647 -2147483648 2147483648 0012");
    std::vector<int32_t> ints;
    for (int i = 0; i < 11; ++i) ints.push_back(p.get_int(99));
    EXPECT_EQ(ints, (std::vector<int32_t>{-20, 99, 99, 0, 0, 7, INT_MAX, INT_MIN, 99, 12, 99}));
    // One point at most, no exponent, no decimal comma; a point alone is 0.
    p.set_line("0.5 -.25 5. +3 1.2.3 1e5 0,5 . 0.700000");
    std::vector<double> floats;
    for (int i = 0; i < 10; ++i) floats.push_back(p.get_float(9));
    EXPECT_EQ(floats, (std::vector<double>{0.5, -0.25, 5, 3, 9, 9, 9, 0, 0.7, 9}));
    p.set_line("TRUE FALSE true False TRUE#FALSE");
    std::vector<int> flags;
    for (bool d : {false, true, true, false, false, true, false}) flags.push_back(p.get_bool(d));
    EXPECT_EQ(flags, (std::vector<int>{1, 0, 1, 0, 1, 1, 0}));
}

TEST(LineParser, RestOfLineKeepsInnerAndTrailingBlanks) {
    LineParser p(520, '#');
    p.set_line("key \t my picture\\a b.bmp  # note");
    EXPECT_EQ(p.next_token(""), "key");
    EXPECT_EQ(p.rest_of_line("def"), "my picture\\a b.bmp  ");
    EXPECT_EQ(p.rest_of_line("def"), "def");
    p.set_line("key \x81\x40");
    p.next_token("");
    EXPECT_EQ(p.rest_of_line("def"), "def");
}

// Long lines arrive in pieces of the buffer less one; "\r\n" reads as "\n", a lone "\r" stays.
TEST(ReadTextLine, PiecesAndLineEnds) {
    const std::string text = std::string(1200, 'x') + "\nlast\r\nb\rc\r\n\r";
    std::FILE* f = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    ASSERT_NE(f, nullptr);
    std::vector<std::string> pieces;
    for (std::string piece; read_text_line(f, piece, 520);) pieces.push_back(piece);
    std::fclose(f);
    EXPECT_EQ(pieces, (std::vector<std::string>{std::string(519, 'x'), std::string(519, 'x'),
                                                std::string(162, 'x') + "\n", "last\n", "b\rc\n", "\r"}));
}

}  // namespace
