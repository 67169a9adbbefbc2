// Case tables, scripts and settings kept as data files beside the tests: one case a line, fields split by blanks.
#pragma once
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/settings.h"

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

// Reads tests/<path>, written in the game's own settings format, over the settings.
inline void read_test_settings(const std::string& path) {
    std::FILE* f = std::fopen((std::string(ZELTO_SOURCE_DIR) + "/tests/" + path).c_str(), "rb");
    if (!f) throw std::runtime_error("no settings file " + path);
    read_settings_from(f);
    std::fclose(f);
}

}  // namespace testsupport
