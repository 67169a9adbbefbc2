// Files the program replaces stay whole when the disk fills up: the old version is kept and nothing is left beside it.
#include <signal.h>
#include <sys/resource.h>

#include <functional>

#include "play/jigwin_support.h"

using namespace jigwintest;

namespace {

using Durable = GameWindowTest;

size_t files_here() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++n;
    return n;
}

std::string contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(Durable, AFullDiskKeepsTheOldFileWholeAndASaveIsTold) {
    struct Writer {
        const char* file;
        std::function<bool()> write;
        bool told;
    } writers[] = {
        {"ZELTORC.TXT", [] { return write_settings("ZELTORC.TXT"); }, false},
        {"game.zlt", [] { return save_game(*current_game, "game.zlt") == 1; }, true},
        {"desk.bmp", [] {
             std::snprintf(bmp_name, sizeof bmp_name, "desk.bmp");
             return save_bmp(*desk_image, 0, 0, 0, 0) == 1;
         }, false},
    };
    play("pic.bmp");
    signal(SIGXFSZ, SIG_IGN);  // past the limit a write fails instead of ending the process
    rlimit normal{};
    getrlimit(RLIMIT_FSIZE, &normal);
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.file);
        std::ofstream(w.file) << "old";
        const size_t files = files_here(), told = ws::test::messages().size();
        rlimit full = normal;
        full.rlim_cur = 512;  // every one of these files is larger
        setrlimit(RLIMIT_FSIZE, &full);
        const bool written = w.write();
        setrlimit(RLIMIT_FSIZE, &normal);
        EXPECT_FALSE(written);
        EXPECT_EQ(contents(w.file), "old");
        EXPECT_EQ(files_here(), files) << "a partial file was left";
        EXPECT_EQ(ws::test::messages().size(), told + (w.told ? 1 : 0));
        EXPECT_TRUE(w.write());
        EXPECT_GT(contents(w.file).size(), 512u);
    }
    signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
