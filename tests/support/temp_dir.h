// A folder of the test's own under the system's temporary folder, removed with everything in it at the end, and
// whole files read and written as bytes.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace testsupport {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelto-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
    std::string string() const { return path_.string(); }
    bool ok() const { return !path_.empty(); }

private:
    std::filesystem::path path_;
};

// Writes raw bytes to a file, making its folders; reads a whole file (as a string, or as another byte container).
inline void write_file(const std::string& name, const std::string& bytes) {
    const std::filesystem::path folder = std::filesystem::path(name).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder);
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}
template <class Bytes = std::string>
Bytes read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testsupport
