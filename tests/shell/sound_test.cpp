// The sound list's reading rules and play_sound's sync, nostop, loop and stop, seen through the layer's sound record.
#include <set>

#include "shell/shell_test.h"

using namespace shelltest;

namespace {

// Each test starts with nothing playing: the fixture's reset stops any sound.
using Sound = ShellTest;
const SoundEntry& entry(int32_t event) { return play.sound_list[std::size_t(event - 1)]; }

// Golden table sound_list: a list line, the event it sets and the entry it gives.
TEST_F(Sound, EachLineNamesAnEventThenThreeNumbersAndAFile) {
    const auto rows = golden("sound_list");
    std::string list;
    for (const auto& row : rows) list += row.at(0) + "\n";
    read_text(list, read_sound_list);
    std::set<int32_t> set;
    for (const auto& row : rows) {
        if (row.at(1) == "0") continue;
        const SoundEntry& e = entry(std::stoi(row[1]));
        EXPECT_EQ(std::vector({e.sync, e.nostop, e.loop}), numbers(row.at(2))) << row[0];
        EXPECT_EQ(e.file, row.at(3)) << row[0];
        set.insert(std::stoi(row[1]));
    }
    for (int32_t e = 1; e <= kSoundEvents; ++e) EXPECT_TRUE(set.count(e) || entry(e).file == "none") << e;
}

// Golden table sound_plays: list lines, the events played, each play's flags and start, the loop left playing.
TEST_F(Sound, SyncNostopLoopAndStop) {
    fs::create_directories("SOUND");
    for (auto [from, to] : {std::pair{"gm_end.wav", "Joint.WAV"}, {"sel.wav", "sel.wav"}, {"turn.wav", "wait.wav"}})
        fs::copy_file(fs::path(ZELTO_SOURCE_DIR "/data/SOUND") / from, fs::path("SOUND") / to);
    settings.sound = true;
    const std::vector<ws::test::SoundRecord>& played = ws::test::sounds();
    for (const auto& row : golden("sound_plays")) {
        SCOPED_TRACE(row.at(0));
        ws::test::reset();
        play.sound_list = {};
        play.sound_looping = 0;
        read_text(row[0], read_sound_list);
        std::istringstream events(row.at(1));
        for (std::string e; events >> e;) e == "w" ? ws::test::advance(1100) : play_sound(std::stoi(e));
        std::istringstream plays(row.at(2));
        size_t i = 0;
        for (std::string p; plays >> p; ++i) {
            ASSERT_LT(i, played.size());
            const auto has = [&p](char c, uint32_t flag) { return p.find(c) == std::string::npos ? 0 : flag; };
            const uint32_t basic = played[i].path.empty() ? 0 : ws::SND_FILENAME | ws::SND_NOWAIT;
            EXPECT_EQ(played[i].flags & ~uint32_t(ws::SND_NODEFAULT),
                      has('A', ws::SND_ASYNC) | has('N', ws::SND_NOSTOP) | has('L', ws::SND_LOOP) | basic) << i;
            EXPECT_EQ(played[i].started, p.back() == '+') << i;
        }
        EXPECT_EQ(played.size(), i);
        EXPECT_EQ(play.sound_looping, std::stoi(row.at(3)));
    }
    ws::test::reset();
    settings.sound = false;  // nothing plays, not even a stop
    play_sound(SOUND_JOINT);
    play_sound(SOUND_STOP);
    EXPECT_TRUE(played.empty());
}

}  // namespace
