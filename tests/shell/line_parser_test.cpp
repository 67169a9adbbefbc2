// LineParser: blanks and double-byte characters, comments, the number and flag readers and the rest of a line.
#include <map>

#include "shell/line_parser.h"
#include "shell/shell_test.h"

namespace {

// Golden table line_parser: a call, the capacity, a line, and what each call in turn gives.
TEST(LineParser, TokensNumbersAndFlagsTakeOnlyTheirExactForm) {
    using Call = std::function<std::string(LineParser&, const std::string&)>;
    const std::map<std::string, Call> call = {
        {"token", [](LineParser& p, auto&) { return p.next_token("-"); }},
        {"int", [](LineParser& p, auto&) { return std::to_string(p.get_int(99)); }},
        {"float",
         [](LineParser& p, auto&) {
             char out[32];
             std::snprintf(out, sizeof out, "%g", p.get_float(9));
             return std::string(out);
         }},
        {"flag", [](LineParser& p, auto& w) { return w.substr(0, 2) + std::to_string(p.get_bool(w[0] == '1')); }},
        {"line", [](LineParser& p, auto&) { return p.line(); }},
        {"comment", [](LineParser& p, auto&) { return "[" + p.comment() + "]"; }},
        {"rest",
         [](LineParser& p, auto&) {
             const std::string key = p.next_token("");  // read before the rest
             return key + ">" + p.rest_of_line("def");
         }}};
    for (const auto& row : shelltest::golden("line_parser")) {
        LineParser p(std::stoi(row.at(1)), '#');
        p.set_line(row.at(2));
        std::istringstream wants(row.at(3));
        for (std::string want; std::getline(wants, want, '|');) EXPECT_EQ(call.at(row[0])(p, want), want) << row[2];
    }
}

}  // namespace
