// The sound list's reading rules and play_sound's sync, nostop, loop and stop, seen through the layer's sound record.
#include <tuple>

#include "play/state.h"
#include "shell/shell_test.h"

using namespace shelltest;

namespace {

// A silent 8 kHz, 8-bit mono wave file of `ms` milliseconds.
std::string wave(uint32_t ms) {
    const uint32_t data = ms * 8;
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    return "RIFF" + u32(36 + data) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(8000) + u32(8000) + u16(1) +
           u16(8) + "data" + u32(data) + std::string(data, char(0x80));
}

class Sound : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
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
    static const SoundEntry& entry(int32_t event) { return play.sound_list[std::size_t(event - 1)]; }
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
    // A word where a number belongs counts as 0 and is used up all the same; a file name used up as sync leaves
    // none; event names are case-sensitive.
    const SoundEntry want[] = {{0, 0, 0, "SOUND\\joint.wav"}, {0, 0, 1, "SOUND\\wait.wav"}, {0, 0, 0, "none"},
                               {1, 1, 1, "none"}, {1, 0, 1, "SOUND\\r.wav"}, {0, 0, 0, "none"},
                               {0, 0, 0, "SOUND\\反転.wav"}};
    const int32_t events[] = {SOUND_JOINT, SOUND_GM_WAIT, SOUND_SEL, SOUND_MOVE, SOUND_RIGHT, SOUND_LEFT, SOUND_HANTEN};
    for (size_t i = 0; i < std::size(events); ++i) {
        const SoundEntry& e = entry(events[i]);
        EXPECT_EQ(std::tie(e.sync, e.nostop, e.loop, e.file), std::tie(want[i].sync, want[i].nostop, want[i].loop,
                                                                      want[i].file)) << events[i];
    }
    for (int32_t e = 14; e <= kSoundEvents; ++e) EXPECT_EQ(entry(e).file, "none");
}

// Each row: sound-list lines, the events played in turn (0 = a wait of 1.1 s, -1 = the stop), and for each
// play the flags it was given and whether it started.
TEST_F(Sound, SyncNostopLoopAndStop) {
    write_file("SOUND/Joint.WAV", wave(1000));
    write_file("SOUND/sel.wav", wave(100));
    write_file("SOUND/wait.wav", wave(100));
    const struct {
        const char* list;
        std::vector<int32_t> events;
        std::vector<std::pair<uint32_t, bool>> plays;
        int32_t looping;
    } rows[] = {
        // Asynchronous effects play every time; the name is found without regard to case.
        {"joint 0 0 0 sound\\JOINT.wav\n", {SOUND_JOINT, SOUND_JOINT}, {{ws::SND_ASYNC, true}, {ws::SND_ASYNC, true}}, 0},
        {"gm_end 1 0 0 SOUND\\sel.wav\n", {SOUND_GM_END}, {{0, true}}, 0},
        // nostop leaves a playing sound alone, and plays once it has ended.
        {"joint 0 0 0 SOUND\\Joint.WAV\nsel 0 1 0 SOUND\\sel.wav\n", {SOUND_JOINT, SOUND_SEL, 0, SOUND_SEL},
         {{ws::SND_ASYNC, true}, {ws::SND_ASYNC | ws::SND_NOSTOP, false}, {ws::SND_ASYNC | ws::SND_NOSTOP, true}}, 0},
        // A loop (also one asked to be synchronous) plays in the background until a stop.
        {"gm_wait 1 0 1 SOUND\\wait.wav\nsel 0 1 0 SOUND\\sel.wav\n",
         {SOUND_GM_WAIT, 0, 0, 0, SOUND_SEL, -1, SOUND_SEL},
         {{ws::SND_ASYNC | ws::SND_LOOP, true}, {ws::SND_ASYNC | ws::SND_NOSTOP, false}, {0, true},
          {ws::SND_ASYNC | ws::SND_NOSTOP, true}},
         1},
        {"joint 0 0 0 SOUND\\missing.wav\n", {0, 1, 14, 20, 21, -2, 1000, SOUND_JOINT}, {{ws::SND_ASYNC, false}}, 0},
    };
    settings.sound = true;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        ws::test::reset();
        play.sound_list = {};
        play.sound_looping = 0;
        read_list(row.list);
        for (int32_t e : row.events) e == 0 ? ws::test::advance(1100) : play_sound(e);
        ASSERT_EQ(played().size(), row.plays.size());
        for (size_t i = 0; i < played().size(); ++i) {
            const uint32_t basic = played()[i].path.empty() ? 0 : ws::SND_FILENAME | ws::SND_NOWAIT;
            EXPECT_EQ(played()[i].flags & ~uint32_t(ws::SND_NODEFAULT), row.plays[i].first | basic) << i;
            EXPECT_EQ(played()[i].started, row.plays[i].second) << i;
        }
        EXPECT_EQ(play.sound_looping, row.looping);
    }
    ws::test::reset();
    settings.sound = false;  // nothing plays, not even a stop
    play_sound(SOUND_JOINT);
    play_sound(SOUND_STOP);
    EXPECT_TRUE(played().empty());
}

}  // namespace
