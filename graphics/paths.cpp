// Resolving game paths (backslashes, any case) to files of this system, and opening them.
#include "graphics/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "graphics/hooks.h"

namespace fs = std::filesystem;

namespace {

bool path_exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// Entry names of `dir` that equal `name` without regard to case (Unicode case folding through hooks.same_name,
// so full-width letters match too), sorted so that the pick does not depend on the order the folder lists them in.
std::string find_ignoring_case(const fs::path& dir, const std::string& name) {
    std::vector<std::string> matches;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (hooks.same_name != nullptr ? hooks.same_name(entry, name) : entry == name) matches.push_back(entry);
    }
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

// Splits on '/', keeping a leading "/" as the root; empty components (doubled slashes) are dropped.
std::vector<std::string> components(const std::string& path, bool& absolute) {
    std::vector<std::string> parts;
    absolute = !path.empty() && path[0] == '/';
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::string resolve_path(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.empty() || path_exists(p)) return p;
    bool absolute = false;
    const std::vector<std::string> parts = components(p, absolute);
    fs::path resolved = absolute ? fs::path("/") : fs::path();
    std::size_t i = 0;
    for (; i < parts.size(); ++i) {
        const fs::path exact = resolved / parts[i];
        if (parts[i] == "." || parts[i] == ".." || path_exists(exact)) {
            resolved = exact;
            continue;
        }
        const std::string match = find_ignoring_case(resolved, parts[i]);
        if (match.empty()) break;
        resolved /= match;
    }
    // Nothing matches from here on: keep the rest as it was written.
    for (; i < parts.size(); ++i) resolved /= parts[i];
    std::string out = resolved.string();
    if (!p.empty() && p.back() == '/' && (out.empty() || out.back() != '/')) out += '/';
    return out;
}

std::FILE* open_file(std::string_view path, const char* mode) {
    if (path.empty() || mode == nullptr) return nullptr;
    return std::fopen(resolve_path(path).c_str(), mode);
}

bool file_opens(std::string_view path) {
    const std::string resolved = resolve_path(path);
    std::error_code ec;
    if (resolved.empty() || fs::is_directory(resolved, ec)) return false;
    std::FILE* f = std::fopen(resolved.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}
