// Window layer: wave playback in test mode is recorded and follows the virtual clock for "still playing".
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "ws/ws.h"

namespace {

// A PCM wave file: 8000 samples per second, 8-bit mono, `ms` long. The name carries the process id: CTest runs
// the cases of this file in parallel processes, which must not rewrite each other's files while they play.
std::string make_wave(const std::string& name, uint32_t ms) {
    std::string path = testing::TempDir() + std::to_string(getpid()) + "_" + name;
    uint32_t data = 8 * ms;
    auto u32 = [](std::ofstream& o, uint32_t v) { for (int i = 0; i < 4; ++i) o.put(char(v >> (8 * i))); };
    auto u16 = [](std::ofstream& o, uint16_t v) { o.put(char(v)); o.put(char(v >> 8)); };
    std::ofstream o(path, std::ios::binary);
    o << "RIFF";
    u32(o, 36 + data);
    o << "WAVEfmt ";
    u32(o, 16);
    u16(o, 1);
    u16(o, 1);
    u32(o, 8000);
    u32(o, 8000);
    u16(o, 1);
    u16(o, 8);
    o << "data";
    u32(o, data);
    for (uint32_t i = 0; i < data; ++i) o.put(char(128 + (i % 16 < 8 ? 20 : -20)));
    return path;
}

class Sound : public testing::Test {
protected:
    void SetUp() override {
        ws::test::reset();
        ws::play_wave("", 0);
        long_wave = make_wave("ws_long.wav", 500);
        short_wave = make_wave("ws_short.wav", 50);
        ws::test::reset();
    }
    std::string long_wave, short_wave;
};

TEST_F(Sound, NoStopWaitsForThePlayingSoundToEnd) {
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_ASYNC | ws::SND_FILENAME));
    EXPECT_FALSE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP)) << "500 ms are not over";
    ws::test::advance(499);
    EXPECT_FALSE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP));
    ws::test::advance(1);
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP));
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_ASYNC)) << "without NOSTOP a new sound replaces the old one";
    const auto& s = ws::test::sounds();
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].path, long_wave);
    EXPECT_TRUE(s[0].started);
    EXPECT_FALSE(s[1].started);
    EXPECT_TRUE(s[3].started);
    EXPECT_EQ(s[3].flags, uint32_t(ws::SND_ASYNC | ws::SND_NOSTOP));
}

TEST_F(Sound, ALoopPlaysUntilStopped) {
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_LOOP));
    ws::test::advance(10000);
    EXPECT_FALSE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP));
    EXPECT_TRUE(ws::play_wave("", 0));
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP));
    EXPECT_EQ(ws::test::sounds()[2].path, "");
}

TEST_F(Sound, ASynchronousSoundIsOverWhenThePlayReturns) {
    EXPECT_TRUE(ws::play_wave(long_wave, ws::SND_SYNC));
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP));
}

TEST_F(Sound, MissingOrBrokenFilesStartNothing) {
    EXPECT_FALSE(ws::play_wave(testing::TempDir() + "no_such.wav", ws::SND_ASYNC));
    std::string junk = testing::TempDir() + "ws_junk.wav";
    std::ofstream(junk, std::ios::binary) << "RIFF\x10\0\0\0WAVEdata";
    EXPECT_FALSE(ws::play_wave(junk, ws::SND_SYNC));
    std::string truncated = make_wave("ws_cut.wav", 100);
    std::ofstream(truncated, std::ios::binary | std::ios::trunc) << "RIFF";
    EXPECT_FALSE(ws::play_wave(truncated, ws::SND_ASYNC));
    EXPECT_TRUE(ws::play_wave(short_wave, ws::SND_ASYNC | ws::SND_NOSTOP)) << "nothing is playing after failures";
    ASSERT_EQ(ws::test::sounds().size(), 4u);
    EXPECT_FALSE(ws::test::sounds()[0].started);
}

}  // namespace
