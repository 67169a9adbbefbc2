// Files replaced whole: every way a durable write can fail is reported, keeps the old file and leaves nothing
// beside it; a replaced file keeps its permissions and a new one gets the usual ones; a renamed file arrives; only
// a dead run's temporaries go.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "graphics/durable.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::write_file;

int64_t entries(const testsupport::TempDir& dir) { return std::distance(fs::directory_iterator(dir.string()), {}); }

TEST(DurableWrite, EveryFailureIsToldAndKeepsTheOldFile) {
    testsupport::TempDir dir;
    write_file(dir.file("old.txt"), "old");
    fs::create_directories(dir / "folder");
    const auto writes = [](std::FILE* f) { return std::fputs("new", f) >= 0; };
    const auto refuses = [](std::FILE* f) { return std::fputs("half", f) < 0; };  // wrote, but says it could not
    const struct { std::string target; std::function<bool(std::FILE*)> fill; } failing[] = {
        {dir.file("old.txt"), refuses}, {"", writes}, {dir.file("missing/new.txt"), writes},
        {dir.file("folder"), writes}};
    for (const auto& [target, fill] : failing) {
        std::string error;
        EXPECT_FALSE(durable_write(target, fill, &error)) << target;
        EXPECT_FALSE(error.empty()) << target;
        EXPECT_EQ(read_file(dir.file("old.txt")), "old");
        EXPECT_EQ(entries(dir), 2) << "left beside " << target;
    }
    chmod(dir.file("old.txt").c_str(), 0640);
    ASSERT_TRUE(durable_write(dir.file("old.txt"), writes));
    umask(022);  // and a new file gets the usual permissions, not the absent old file's
    ASSERT_TRUE(durable_write(dir.file("new.txt"), writes));
    struct stat st {}, fresh {};
    stat(dir.file("old.txt").c_str(), &st);
    stat(dir.file("new.txt").c_str(), &fresh);
    EXPECT_EQ(std::tuple(read_file(dir.file("old.txt")), st.st_mode & 0777, fresh.st_mode & 0777),
              std::tuple(std::string("new"), 0640u, 0644u));
    EXPECT_TRUE(durable_rename(dir.file("old.txt"), dir.file("folder/moved.txt")));
    EXPECT_FALSE(durable_rename(dir.file("old.txt"), dir.file("again.txt")));
    EXPECT_EQ(read_file(dir.file("folder/moved.txt")), "new");
}

// Temporaries are "TARGET.tmp<pid>_<serial>": those of a process that no longer runs are removed; this process's
// own, other files and another target's are kept.
TEST(DurableWrite, OnlyADeadRunsTemporariesAreRemoved) {
    testsupport::TempDir dir;
    const std::string self = std::to_string(getpid());
    const std::pair<std::string, bool> files[] = {{"ZELTORC.TXT.tmp2147483646_0", false},
        {"ZELTORC.TXT.tmp" + self + "_3", true}, {"ZELTORC.TXT.tmp", true}, {"ZELTORC.TXT.tmpx_1", true},
        {"OTHER.TXT.tmp2147483646_0", true}, {"ZELTORC.TXT", true}};
    for (const auto& [name, kept] : files) write_file(dir.file(name), "x");
    remove_stale_temporaries(dir.file("ZELTORC.TXT"));
    for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(dir / name), kept) << name;
}

}  // namespace
