// Fuzz target: any bytes as ZELTORC.TXT. Reading must not crash, and what is written back must read back the same.
#include <cstdlib>
#include <utility>

#include "shell/settings.h"

namespace {

void read_bytes(std::string bytes) {
    if (bytes.empty()) return;
    std::FILE* f = fmemopen(bytes.data(), bytes.size(), "r");
    read_settings_from(f);
    std::fclose(f);
}

std::string written() {
    char* buf = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&buf, &size);
    write_settings_to(f);
    std::fclose(f);
    std::string text(buf, size);
    std::free(buf);
    return text;
}

// Values the rest of the game indexes or switches on must stay in their ranges whatever the file says.
void check_ranges() {
    const Settings& s = settings;
    if (s.line_num < 1 || s.line_num > kLinePointsMax || (s.line_num - 1) % 3 || s.guide < 0 || s.guide > 2) std::abort();
    if (s.kaiten < 234 || s.kaiten > 236 || s.back_type < 243 || s.back_type > 245) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first rewrite may still name a background picture that is missing here; from the second on, the file
    // must be a fixed point of reading and writing.
    std::string text(reinterpret_cast<const char*>(data), size), previous;
    for (int round = 0; round < 3; ++round) {
        settings = Settings{};
        read_bytes(text);
        check_ranges();
        previous = std::exchange(text, written());
    }
    if (text != previous) std::abort();
    return 0;
}
