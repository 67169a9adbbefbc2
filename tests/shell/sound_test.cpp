// The sound list's reading rules and play_sound's sync, nostop, loop and stop, seen through the layer's sound record.
#include <cstdint>
#include <string>

#include "graphics/ws.h"
#include "shell/sound.h"
#include "shell_fixture.h"

namespace {

// A silent 8 kHz, 8-bit mono wave file of `ms` milliseconds.
std::string wave(uint32_t ms) {
    const uint32_t data = ms * 8;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + data) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(8000) + u32(8000) + u16(1) +
           u16(8) + "data" + u32(data) + std::string(data, char(0x80));
}

class Sound : public ShellFiles {
protected:
    void SetUp() override {
        ShellFiles::SetUp();
        ws::play_wave("", 0);  // nothing left playing from an earlier test
        ws::test::reset();
    }
    void read_list(const std::string& text) {
        write_file("SOUND/SOUND.TXT", text);
        std::FILE* f = std::fopen("SOUND/SOUND.TXT", "rb");
        ASSERT_NE(f, nullptr);
        read_sound_list(f);
        std::fclose(f);
    }
    static const SoundEntry& entry(int32_t event) { return sound_list[std::size_t(event - 1)]; }
    static const std::vector<ws::test::SoundRecord>& played() { return ws::test::sounds(); }
};

TEST_F(Sound, EachLineNamesAnEventThenThreeNumbersAndAFile) {
    read_list(
        "joint 0 0 0 SOUND\\joint.wav   # a join\n"
        "gm_wait\t0 0 1 SOUND\\wait.wav\n"
        "sel SOUND\\sel.wav\n"
        "move 1 1 1\n"
        "right 1 x 1 SOUND\\r.wav\n"
        "Left 0 0 0 SOUND\\left.wav\n"
        "hanten 0 0 0 SOUND\\\x94\xBD\x93\x5D.wav\n"  // 反転
        "\n"
        "   # nothing but a comment\n");
    EXPECT_EQ(entry(SOUND_JOINT).file, "SOUND\\joint.wav");
    EXPECT_EQ(entry(SOUND_GM_WAIT).loop, 1);
    EXPECT_EQ(entry(SOUND_GM_WAIT).file, "SOUND\\wait.wav");
    // The file name was used up as sync; nothing is left for the file.
    EXPECT_EQ(entry(SOUND_SEL).sync, 0);
    EXPECT_EQ(entry(SOUND_SEL).file, "none");
    EXPECT_EQ(entry(SOUND_MOVE).sync, 1);
    EXPECT_EQ(entry(SOUND_MOVE).nostop, 1);
    EXPECT_EQ(entry(SOUND_MOVE).file, "none");
    // A word where a number belongs counts as 0 and is used up all the same.
    EXPECT_EQ(entry(SOUND_RIGHT).sync, 1);
    EXPECT_EQ(entry(SOUND_RIGHT).nostop, 0);
    EXPECT_EQ(entry(SOUND_RIGHT).loop, 1);
    EXPECT_EQ(entry(SOUND_RIGHT).file, "SOUND\\r.wav");
    EXPECT_EQ(entry(SOUND_LEFT).file, "none");  // names are case-sensitive
    EXPECT_EQ(entry(SOUND_HANTEN).file, "SOUND\\反転.wav");
    for (int32_t e = 14; e <= kSoundEvents; ++e) EXPECT_EQ(entry(e).file, "none");
    EXPECT_STREQ(sound_event_name(SOUND_GM_LOAD), "gm_load");
    EXPECT_STREQ(sound_event_name(14), "");
}

TEST_F(Sound, WithSoundOffNothingPlaysNotEvenAStop) {
    write_file("SOUND/joint.wav", wave(100));
    read_list("joint 0 0 0 SOUND\\joint.wav\n");
    settings.sound = false;
    play_sound(SOUND_JOINT);
    play_sound(SOUND_STOP);
    EXPECT_TRUE(played().empty());
}

TEST_F(Sound, AnAsynchronousEffectPlaysEveryTime) {
    write_file("SOUND/Joint.WAV", wave(1000));
    read_list("joint 0 0 0 sound\\JOINT.wav\n");
    settings.sound = true;
    play_sound(SOUND_JOINT);
    play_sound(SOUND_JOINT);
    ASSERT_EQ(played().size(), 2u);
    for (const auto& r : played()) {
        EXPECT_EQ(r.path, "SOUND/Joint.WAV");  // found without regard to case
        EXPECT_TRUE(r.started);
        EXPECT_EQ(r.flags & (ws::SND_ASYNC | ws::SND_FILENAME | ws::SND_NOWAIT | ws::SND_LOOP),
                  ws::SND_ASYNC | ws::SND_FILENAME | ws::SND_NOWAIT);
    }
    EXPECT_EQ(sound_looping, 0);
}

TEST_F(Sound, SyncPlaysInTheForeground) {
    write_file("SOUND/end.wav", wave(200));
    read_list("gm_end 1 0 0 SOUND\\end.wav\n");
    settings.sound = true;
    play_sound(SOUND_GM_END);
    ASSERT_EQ(played().size(), 1u);
    EXPECT_EQ(played()[0].flags & ws::SND_ASYNC, 0u);
    EXPECT_TRUE(played()[0].started);
}

TEST_F(Sound, NostopLeavesAPlayingSoundAlone) {
    write_file("SOUND/long.wav", wave(1000));
    write_file("SOUND/sel.wav", wave(100));
    read_list("joint 0 0 0 SOUND\\long.wav\nsel 0 1 0 SOUND\\sel.wav\n");
    settings.sound = true;
    play_sound(SOUND_JOINT);
    play_sound(SOUND_SEL);
    ws::test::advance(1100);
    play_sound(SOUND_SEL);
    ASSERT_EQ(played().size(), 3u);
    EXPECT_NE(played()[1].flags & ws::SND_NOSTOP, 0u);
    EXPECT_FALSE(played()[1].started);
    EXPECT_TRUE(played()[2].started);
}

TEST_F(Sound, ALoopRepeatsUntilStopped) {
    write_file("SOUND/wait.wav", wave(100));
    write_file("SOUND/sel.wav", wave(100));
    read_list("gm_wait 0 0 1 SOUND\\wait.wav\nsel 0 1 0 SOUND\\sel.wav\n");
    settings.sound = true;
    play_sound(SOUND_GM_WAIT);
    EXPECT_EQ(sound_looping, 1);
    ws::test::advance(5000);
    play_sound(SOUND_SEL);  // refused: the loop is still going long after one play would have ended
    play_sound(SOUND_STOP);
    play_sound(SOUND_SEL);
    ASSERT_EQ(played().size(), 4u);
    EXPECT_NE(played()[0].flags & ws::SND_LOOP, 0u);
    EXPECT_NE(played()[0].flags & ws::SND_ASYNC, 0u);
    EXPECT_FALSE(played()[1].started);
    EXPECT_EQ(played()[2].path, "");
    EXPECT_TRUE(played()[3].started);
}

TEST_F(Sound, ASynchronousLoopStillPlaysInTheBackground) {
    write_file("SOUND/wait.wav", wave(100));
    read_list("gm_wait 1 0 1 SOUND\\wait.wav\n");
    settings.sound = true;
    play_sound(SOUND_GM_WAIT);
    ASSERT_EQ(played().size(), 1u);
    EXPECT_NE(played()[0].flags & ws::SND_ASYNC, 0u);
    EXPECT_NE(played()[0].flags & ws::SND_LOOP, 0u);
    EXPECT_EQ(sound_looping, 1);
}

TEST_F(Sound, SilentEventsAndMissingFilesPlayNothing) {
    read_list("joint 0 0 0 SOUND\\missing.wav\n");
    settings.sound = true;
    for (int32_t e : {0, 1, 14, 20, 21, -2, 1000}) play_sound(e);
    EXPECT_TRUE(played().empty());
    play_sound(SOUND_JOINT);
    ASSERT_EQ(played().size(), 1u);
    EXPECT_FALSE(played()[0].started);
}

}  // namespace
