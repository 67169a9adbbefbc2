// Fuzz target: any bytes as SKIN\SKIN.TXT, in a folder with a few skin pictures. Reading must not crash, every
// element must stay within its tables, and drawing, hovering and pressing must then work on whatever was read.
#include <unistd.h>

#include <filesystem>

#include "desk/state.h"
#include "graphics/hooks.h"
#include "graphics/memdc.h"
#include "graphics/state.h"
#include "play/state.h"
#include "shell/mywin.h"
#include "shell/settings.h"
#include "shell/skin.h"
#include "shell/skin_table.h"
#include "shell/state.h"
#include "ws/bmpsave.h"

namespace {

char work_dir[] = "/tmp/zelto-fuzz-skin-XXXXXX";

void picture(const std::string& name, int32_t w, int32_t h) {
    MemDC s;
    s.create(BIT_DIB, w, h);
    s.fill(0, 0, w, h, 0x336699);
    s.set_pixel(0, 0, 0xFFFFFF);
    std::snprintf(graphics.bmp_name, sizeof graphics.bmp_name, "skin/%s.bmp", name.c_str());
    if (save_bmp(s, 0, 0, 0, 0) != 1) std::abort();
}

bool prepare() {
    static char name[] = "fuzz_skin";
    static char* argv[] = {name, nullptr};
    ws::init(1, argv, true);
    ws::fill_hooks(hooks);
    if (!mkdtemp(work_dir) || chdir(work_dir) != 0) std::abort();
    std::atexit([] { std::filesystem::remove_all(work_dir); });
    std::filesystem::create_directories("skin");
    picture("win_0", 120, 90);
    for (const char* b : {"exit_", "start_", "num_up_", "fix_a_", "num_", "sz_"})
        for (int n : {0, 1, 2, 10, 20, 50, 200}) picture(b + std::to_string(n), 12, 10);
    shell.main_back = new MemDC;
    shell.main_back->create(BIT_SCREEN, 160, 120);
    settings.skin = true;
    ws::register_class({"FuzzSkinMain", ws::def_window_proc, 0, ws::IDC_ARROW, 0xFFFFFF, ""});
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool ready = prepare();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::FILE* f = fmemopen(bytes.data(), bytes.size() + 1, "r");
    settings.piece_num = 20, settings.stretch_size = 300;
    read_skin(f);
    std::fclose(f);
    for (int32_t slot = 0; slot < kSkinSlots; ++slot) {
        const SkinElement& e = shell.skin_elements[slot];
        if (!e.defined) continue;
        // Its text is cut to its buffer when read: each byte kept gives at most three bytes of UTF-8.
        if (e.count < 0 || e.count > kSkinPictures || e.text.size() > 3 * (kSkinTextBytes - 1)) std::abort();
        for (int32_t k = 0; k < e.count; ++k)
            if (slot != SKIN_GAME && slot != SKIN_GUIDE && !e.images[size_t(k)]) std::abort();
    }
    // The tooltip needs the window it is measured against; the layer's reset below takes it away again.
    display.main_window = ws::create_window("FuzzSkinMain", "zelto", ws::WS_POPUP, 0, 0, 160, 120, 0, 0);
    draw_skin();
    for (int32_t y = 0; y < 100; y += 7)
        for (int32_t x = 0; x < 140; x += 9) {
            skin_hover(x, y);
            skin_press(x, y);
            skin_release(x, y, x);
        }
    skin_show_num(50), skin_show_sz(200);
    ws::test::reset();
    display.main_window = 0;
    return 0;
}
