// A folder of the test's own under the system's temporary folder, removed with everything in it at the end.
#pragma once
#include <stdlib.h>

#include <filesystem>
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

}  // namespace testsupport
