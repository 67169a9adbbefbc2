// Reading the sound list: one line per game event, its playing flags and its wave file.
#include "shell/sound.h"

#include <string>
#include <string_view>

#include "play/state.h"
#include "shell/cp932.h"
#include "shell/line_parser.h"

void read_sound_list(std::FILE* file) {
    if (file == nullptr) return;
    LineParser parser(520, '#');
    std::string piece;
    while (read_text_line(file, piece)) {
        parser.set_line(piece);
        const std::string name = parser.next_token("");
        // A blank or comment-only line has the empty name and lands on event 14, which never plays.
        int32_t i = 0;
        while (i < kSoundEvents && name != sound_event_name(i + 1)) ++i;
        if (i == kSoundEvents) continue;
        SoundEntry& entry = play.sound_list[std::size_t(i)];
        entry.sync = parser.get_int(0);
        entry.nostop = parser.get_int(0);
        entry.loop = parser.get_int(0);
        const std::string raw = parser.next_token("none");
        entry.file = cp932_to_utf8(std::string_view(raw).substr(0, cp932_fit(raw, kSoundFileBytes - 1)));
    }
}
