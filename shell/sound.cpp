// The sound list and play_sound: game events played through the window-system layer's wave playback.
#include "shell/sound.h"

#include "graphics/paths.h"
#include "ws/ws.h"
#include "shell/cp932.h"
#include "shell/line_parser.h"
#include "shell/settings.h"

std::array<SoundEntry, kSoundEvents> sound_list;
int32_t sound_looping = 0;

namespace {

constexpr const char* kEventNames[kSoundEvents] = {
    "start", "end",  "gm_st", "gm_end", "right", "left", "hanten", "move", "joint", "sel",
    "gm_draw", "gm_wait", "gm_load", "", "", "", "", "", "", "",
};

}  // namespace

const char* sound_event_name(int32_t event) {
    return event >= 1 && event <= kSoundEvents ? kEventNames[event - 1] : "";
}

void read_sound_list(std::FILE* file) {
    if (file == nullptr) return;
    LineParser parser(520, '#');
    std::string piece;
    while (read_text_line(file, piece)) {
        parser.set_line(piece);
        const std::string name = parser.next_token("");
        // A blank or comment-only line has the empty name and lands on event 14, which never plays.
        int32_t i = 0;
        while (i < kSoundEvents && name != kEventNames[i]) ++i;
        if (i == kSoundEvents) continue;
        SoundEntry& entry = sound_list[std::size_t(i)];
        entry.sync = parser.get_int(0);
        entry.nostop = parser.get_int(0);
        entry.loop = parser.get_int(0);
        const std::string raw = parser.next_token("none");
        entry.file = cp932_to_utf8(std::string_view(raw).substr(0, cp932_fit(raw, kSoundFileBytes - 1)));
    }
}

void play_sound(int32_t event) {
    if (!settings.sound) return;
    if (event == SOUND_STOP) {
        ws::play_wave("", 0);
        return;
    }
    if (event < 1 || event > kSoundEvents) return;
    const SoundEntry& entry = sound_list[std::size_t(event - 1)];
    if (entry.file == "none") return;
    uint32_t flags = ws::SND_FILENAME | ws::SND_NODEFAULT | ws::SND_NOWAIT;
    // A loop played synchronously would never hand control back, so a loop always plays in the background.
    if (entry.sync != 1 || entry.loop == 1) flags |= ws::SND_ASYNC;
    if (entry.nostop == 1) flags |= ws::SND_NOSTOP;
    if (entry.loop == 1) flags |= ws::SND_LOOP;
    ws::play_wave(resolve_path(entry.file), flags);
    if (entry.loop == 1) sound_looping = 1;
}
