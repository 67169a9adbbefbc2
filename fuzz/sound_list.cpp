// Fuzz target: any bytes as SOUND\SOUND.TXT. Reading must not crash, and the unnamed events must stay silent.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "play/state.h"
#include "shell/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    play.sound_list = {};
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.empty()) return 0;
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "r");
    if (f == nullptr) return 0;
    read_sound_list(f);
    std::fclose(f);
    for (int32_t e = 1; e <= kSoundEvents; ++e) {
        const SoundEntry& entry = play.sound_list[std::size_t(e - 1)];
        if (entry.file.empty()) std::abort();                  // a missing file name is "none", never ""
        if (e > 13 && entry.file != "none") std::abort();      // events without a name never get a sound
    }
    return 0;
}
