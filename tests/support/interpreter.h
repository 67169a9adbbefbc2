// The one interpreter of test scripts (read_scripts), standing on nothing of the game: actions and probes by name,
// each fixture adding its own, so that the tests of every folder may keep their cases as scripts.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "support/cases.h"

namespace testsupport {

// Each script line is an action, or "expect WHAT ARGS... = WORDS... [~TOLERANCE]": the words the probe WHAT gives
// must be the words after "=", numbers (or names of numbers) within the tolerance (1e-9 if none given).
class BasicInterpreter : public ::testing::WithParamInterface<Script> {
public:
    using Args = std::vector<std::string>;
    void run() {
        for (const Fields& f : GetParam().lines) {
            SCOPED_TRACE(joined(f));
            const Args a(f.begin() + 1, f.end());
            if (f[0] == "expect") expect(a);
            else if (actions_.count(f[0])) actions_.at(f[0])(a);
            else ADD_FAILURE() << "no action " << f[0];
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
    static std::string name(const ::testing::TestParamInfo<Script>& info) { return info.param.name; }

protected:
    void expect(Args a) {
        double tolerance = 1e-9;
        if (a.back()[0] == '~') tolerance = std::stod(a.back().substr(1)), a.pop_back();
        const auto eq = std::find(a.begin(), a.end(), "=");
        ASSERT_TRUE(eq != a.end() && probes_.count(a[0])) << "no probe " << a[0];
        const std::string got = probes_.at(a[0])(Args(a.begin() + 1, eq));
        std::istringstream in(got);
        Args words, want(eq + 1, a.end());
        for (std::string w; in >> w;) words.push_back(w);
        bool same = words.size() == want.size();
        for (size_t i = 0; same && i < words.size(); ++i)
            same = words[i] == want[i] || std::abs(value(words[i]) - value(want[i])) <= tolerance;
        EXPECT_TRUE(same) << "got " << got;
    }
    // A number word (decimal or 0x hexadecimal) or a name given in names_; NaN for any other word.
    double value(const std::string& s) const {
        if (names_.count(s)) return names_.at(s);
        char* end = nullptr;
        const double v = std::strtod(s.c_str(), &end);
        return s.empty() || *end ? std::nan("") : v;
    }
    static std::string n(int64_t v) { return std::to_string(v); }
    template <class R>  // a rectangle's left, top, right and bottom
    static std::string sides(const R& r) { return n(r.left) + " " + n(r.top) + " " + n(r.right) + " " + n(r.bottom); }
    static std::string rest(const Args& a, size_t from) {
        return joined(Args(a.begin() + std::ptrdiff_t(from), a.end()));
    }
    static std::string list(const std::vector<double>& values) {
        std::ostringstream out;
        out.precision(17);
        for (double v : values) out << v << " ";
        return out.str();
    }
    int32_t i(const Args& a, size_t k) const { return int32_t(value(a.at(k))); }

    std::map<std::string, double> names_;
    std::map<std::string, std::function<void(const Args&)>> actions_;
    std::map<std::string, std::function<std::string(const Args&)>> probes_;
};

}  // namespace testsupport
