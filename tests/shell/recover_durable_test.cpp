// Files the program replaces stay whole when the disk fills up: the old version is kept and nothing is left beside it.
#include <fstream>
#include <signal.h>
#include <sys/resource.h>

#include <functional>

#include "graphics/state.h"
#include "pieces/desk.h"
#include "play/jigwin_support.h"
#include "play/state.h"

using namespace jigwintest;

namespace {

using Durable = GameWindowTest;

std::string contents(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(Durable, AFullDiskKeepsTheOldFileWholeAndASaveIsTold) {
    const struct {
        const char* file;
        std::function<bool()> write;
        size_t told;
    } writers[] = {
        {"ZELTORC.TXT", [] { return write_settings("ZELTORC.TXT"); }, 0},
        {"game.zlt", [] { return save_game(*::play.current_game, "game.zlt") == 1; }, 1},
        {"desk.bmp",
         [] { return std::snprintf(graphics.bmp_name, 9, "desk.bmp") && save_bmp(*desk.desk_image, 0, 0, 0, 0); }, 0}};
    play("pic.bmp");
    signal(SIGXFSZ, SIG_IGN);  // past the limit a write fails instead of ending the process
    rlimit normal{}, full{};
    getrlimit(RLIMIT_FSIZE, &normal);
    full = {512, normal.rlim_max};  // every one of these files is larger
    for (const auto& w : writers) {
        SCOPED_TRACE(w.file);
        std::ofstream(w.file) << "old";
        const auto files = std::distance(fs::directory_iterator("."), {});
        const size_t told = ws::test::messages().size();
        setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_FALSE(w.write());
        setrlimit(RLIMIT_FSIZE, &normal);
        EXPECT_EQ(contents(w.file), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), files) << "a partial file was left";
        EXPECT_EQ(ws::test::messages().size(), told + w.told);
        EXPECT_TRUE(w.write());
        EXPECT_GT(contents(w.file).size(), 512u);
    }
    signal(SIGXFSZ, SIG_DFL);
}

}  // namespace
