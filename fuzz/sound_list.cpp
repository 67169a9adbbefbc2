// Fuzz target: any bytes as SOUND\SOUND.TXT. Reading must not crash, and the unnamed events must stay silent.
#include "play/state.h"
#include "shell/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    play.sound_list = {};
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::FILE* f = fmemopen(bytes.data(), bytes.size() + 1, "r");
    read_sound_list(f);
    std::fclose(f);
    for (int32_t e = 1; e <= kSoundEvents; ++e) {
        // A missing file name is "none", never ""; events without a name never get a sound.
        const std::string& file = play.sound_list[std::size_t(e - 1)].file;
        if (file.empty() || (e > 13 && file != "none")) std::abort();
    }
    return 0;
}
