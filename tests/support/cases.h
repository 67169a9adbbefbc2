// Case tables, scripts and settings kept as data files beside the tests: one case a line, fields split by blanks;
// text handed to the game's file readers.
#pragma once
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>


namespace testsupport {

using Fields = std::vector<std::string>;

// The lines of tests/<path> as fields; blank lines and '#' comments are skipped. A missing file throws, so a
// table that cannot be read never passes as an empty one.
inline std::vector<Fields> read_cases(const std::string& path) {
    std::ifstream in(std::string(ZELTO_SOURCE_DIR) + "/tests/" + path);
    if (!in) throw std::runtime_error("no case file " + path);
    std::vector<Fields> out;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        Fields f;
        for (std::string w; words >> w;) f.push_back(w);
        if (!f.empty()) out.push_back(f);
    }
    return out;
}

inline std::string joined(const Fields& f) {
    std::string out;
    for (const std::string& w : f) out += (out.empty() ? "" : " ") + w;
    return out;
}

struct Script {
    std::string name;
    std::vector<Fields> lines;
};
// The scripts of a data file: each opens with "script NAME", or "script NAME both" for one on each drawing path,
// where a line opening with "plain" or "presenter" is for that path only and the presenter starts on each drawing.
inline std::vector<Script> read_scripts(const std::string& path) {
    std::vector<Script> out;
    bool both = false;
    for (const Fields& f : read_cases(path)) {
        if (f[0] == "script") {
            both = f.size() > 2 && f[2] == "both";
            out.push_back({f.at(1) + (both ? "_plain" : ""), {}});
            if (both) out.push_back({f[1] + "_presenter", {}});
            continue;
        }
        for (size_t k = both ? 2 : 1; k > 0; --k) {
            Script& s = out[out.size() - k];
            const bool on_presenter = both && k == 1;
            if (f.size() > 1 && (f[0] == "plain" || f[0] == "presenter")) {
                if ((f[0] == "presenter") == on_presenter) s.lines.push_back(Fields(f.begin() + 1, f.end()));
                continue;
            }
            s.lines.push_back(f);
            if (on_presenter && f[0] == "draw") s.lines.push_back({"presenter"});
        }
    }
    return out;
}

inline void PrintTo(const Script& s, std::ostream* os) { *os << s.name; }

// Hands `text` to a reader of files (of settings, sound lists, skins) as though it came from one.
inline void read_text(std::string text, void (*reader)(std::FILE*)) {
    std::FILE* f = fmemopen(text.data(), text.size(), "rb");
    reader(f);
    std::fclose(f);
}

}  // namespace testsupport
