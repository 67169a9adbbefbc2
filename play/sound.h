// Sound effects: the game events, the entries of the sound list (which wave file plays for which event, and how)
// and play_sound.
#pragma once
#include <array>
#include <cstdint>
#include <string>

// Game events, numbered as in the sound list. Events 14..20 have no name and never play.
enum SoundEvent : int32_t {
    SOUND_START = 1,  // the game window is created
    SOUND_END,        // the game window is closed
    SOUND_GM_ST,      // cutting has finished, play begins
    SOUND_GM_END,     // the puzzle is completed
    SOUND_RIGHT,      // a piece turns by -90 degrees
    SOUND_LEFT,       // a piece turns by +90 degrees
    SOUND_HANTEN,     // a piece is turned over
    SOUND_MOVE,       // a piece is dragged
    SOUND_JOINT,      // pieces join
    SOUND_SEL,        // a piece or a range is picked up
    SOUND_GM_DRAW,    // the desk is dragged
    SOUND_GM_WAIT,    // the first cutting step of a new game
    SOUND_GM_LOAD,    // every later cutting step
    SOUND_STOP = -1,  // stops whatever plays
};

inline constexpr int32_t kSoundEvents = 20;
inline constexpr std::size_t kSoundFileBytes = 256;  // a longer file name is cut to 255 bytes of code page 932

struct SoundEntry {
    int32_t sync = 0;    // 1 = play to the end before going on
    int32_t nostop = 0;  // 1 = leave a sound that is already playing alone
    int32_t loop = 0;    // 1 = repeat until stopped or replaced
    std::string file = "none";  // UTF-8, relative to the program's directory; "none" = silent
};

// The event names in table order; "" for the unnamed events 14..20.
const char* sound_event_name(int32_t event);

// Plays the sound of `event` (1..13), or stops all sound for SOUND_STOP; nothing at all while `sound` is off.
void play_sound(int32_t event);
