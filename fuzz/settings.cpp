// Fuzz target: any bytes as ZELTORC.TXT. Reading must not crash, the values the rest of the game indexes or
// switches on must stay in their ranges whatever the file says, and what is written back must read back the same.
#include <cstdlib>
#include <utility>

#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first rewrite may still name a background picture that is missing here; from the second on, the file
    // must be a fixed point of reading and writing.
    std::string text(reinterpret_cast<const char*>(data), size), previous;
    for (int round = 0; round < 3; ++round) {
        settings = Settings{};
        if (!text.empty()) {
            std::FILE* in = fmemopen(text.data(), text.size(), "r");
            read_settings_from(in);
            std::fclose(in);
        }
        const Settings& s = settings;
        if (s.line_num < 1 || s.line_num > kLinePointsMax || (s.line_num - 1) % 3 || s.guide < 0 || s.guide > 2 ||
            s.kaiten < 234 || s.kaiten > 236 || s.back_type < 243 || s.back_type > 245)
            std::abort();
        char* written = nullptr;
        size_t length = 0;
        std::FILE* out = open_memstream(&written, &length);
        write_settings_to(out);
        std::fclose(out);
        previous = std::exchange(text, std::string(written, length));
        std::free(written);
    }
    if (text != previous) std::abort();
    return 0;
}
