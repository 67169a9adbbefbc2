// A worker thread never touches the toolkit: its message box is shown by the UI thread, and its fatal error is
// reported by the UI thread or, when that thread is waiting for the worker, written to the log alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "graphics/state.h"
#include "graphics/trace.h"
#include "ws/ws.h"

namespace {

TEST(WorkerThread, AMessageBoxIsShownByTheUiThread) {
    ws::test::reset();
    int32_t answer = 0;
    std::thread([&] { answer = ws::message_box(0, "from a worker", "zelto", ws::MB_OK); }).join();
    EXPECT_EQ((std::vector{answer, int32_t(ws::test::messages().size())}), (std::vector{ws::IDOK, 0}));
    ws::test::pump();
    ASSERT_EQ(ws::test::messages().size(), 1u);
    EXPECT_EQ(ws::test::messages()[0].text, "from a worker");
    ws::test::reset();
}

TEST(WorkerThreadDeathTest, AFatalErrorWhileTheUiThreadWaitsIsLoggedAndEndsTheProgram) {
    // The death test's child runs this body again: the log's name must be the same in both processes.
    const std::string log = (std::filesystem::current_path() / "worker_fatal_test_log.txt").string();
    std::filesystem::remove(log);
    std::snprintf(graphics.trace_file_name, sizeof graphics.trace_file_name, "%s", log.c_str());
    EXPECT_EXIT(std::thread([] { fatal_error("loader", 12, "stretch", 0); }).join(), ::testing::ExitedWithCode(1),
                "");
    std::ifstream in(log);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("loader line=12 stretch"), std::string::npos);
    std::snprintf(graphics.trace_file_name, sizeof graphics.trace_file_name, "ZELTOTR.TXT");
    std::filesystem::remove(log);
}

}  // namespace
