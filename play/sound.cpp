// The event names and play_sound: game events played through the window-system layer's wave playback.
#include "play/sound.h"

#include "graphics/paths.h"
#include "play/state.h"
#include "puzzle/settings.h"
#include "ws/ws.h"

namespace {

constexpr const char* kEventNames[kSoundEvents] = {
    "start", "end",  "gm_st", "gm_end", "right", "left", "hanten", "move", "joint", "sel",
    "gm_draw", "gm_wait", "gm_load", "", "", "", "", "", "", "",
};

}  // namespace

const char* sound_event_name(int32_t event) {
    return event >= 1 && event <= kSoundEvents ? kEventNames[event - 1] : "";
}

void play_sound(int32_t event) {
    if (!settings.sound) return;
    if (event == SOUND_STOP) {
        ws::play_wave("", 0);
        return;
    }
    if (event < 1 || event > kSoundEvents) return;
    const SoundEntry& entry = play.sound_list[std::size_t(event - 1)];
    if (entry.file == "none") return;
    uint32_t flags = ws::SND_FILENAME | ws::SND_NODEFAULT | ws::SND_NOWAIT;
    // A loop played synchronously would never hand control back, so a loop always plays in the background.
    if (entry.sync != 1 || entry.loop == 1) flags |= ws::SND_ASYNC;
    if (entry.nostop == 1) flags |= ws::SND_NOSTOP;
    if (entry.loop == 1) flags |= ws::SND_LOOP;
    ws::play_wave(resolve_path(entry.file), flags);
    if (entry.loop == 1) play.sound_looping = 1;
}
