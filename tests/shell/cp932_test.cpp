// Code page 932 both ways: exact bytes of Japanese text, references for what the code page cannot hold, bad bytes.
#include "shell/cp932.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

TEST(Cp932, TextAndItsBytesOnDiskBadBytesAndMalformedReferences) {
    for (const auto& row : golden("cp932")) {
        if (row.at(0) == "both") {
            EXPECT_EQ(utf8_to_cp932(row.at(1)), row.at(2)) << row[1];
        }
        EXPECT_EQ(cp932_to_utf8(row.at(2)), row.at(1)) << row[2];
    }
    EXPECT_EQ(utf8_to_cp932("C#\nx", "#\n"), "C&x23;&xA;x");
    EXPECT_EQ(utf8_to_cp932(std::string("a\0b", 3)), "ab");
}

std::string utf8_of(uint32_t cp) {
    if (cp < 0x80) return std::string(1, char(cp));
    if (cp < 0x800) return {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
    if (cp < 0x10000) return {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
    return {char(0xF0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3F)), char(0x80 | ((cp >> 6) & 0x3F)),
            char(0x80 | (cp & 0x3F))};
}

TEST(Cp932, EveryCharacterReadsBackUnchangedAndFitCutsBetweenCharacters) {
    std::string text = "#&x41;\r\n";
    for (uint32_t cp : {0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u}) text += utf8_of(cp);  // each length's ends
    for (uint32_t cp = 1; cp <= 0x10FFFF; cp += cp < 0x3000 ? 7 : cp < 0x10000 ? 13 : 4099)
        if (cp < 0xD800 || cp > 0xDFFF) text += utf8_of(cp);
    const std::string disk = utf8_to_cp932(text, "#\n\r");
    EXPECT_EQ(disk.find_first_of("#\n\r"), std::string::npos);
    EXPECT_EQ(cp932_to_utf8(disk), text);
    // Golden table cp932_fit: bytes, a limit, the bytes that fit.
    for (const auto& row : golden("cp932_fit"))
        EXPECT_EQ(cp932_fit(row.at(0), size_t(std::stoi(row.at(1)))), size_t(std::stoi(row.at(2)))) << row[0];
}

}  // namespace
