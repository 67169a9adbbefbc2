// Fuzz target: any bytes taken as a saved game go the whole road of a resume (peek, list picture, check, picture
// out, a game built on it, the state read over it and every group re-cut) without crashing or reading past a table.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "graphics/hooks.h"
#include "pieces/desk.h"
#include "play/jig.h"
#include "play/save.h"
#include "play/state.h"
#include "puzzle/jig.h"
#include "puzzle/lines.h"
#include "shell/settings.h"
#include "ws/ws.h"

namespace {

// The private folder the run works in (the temporary pictures go to the current folder); removed at exit.
char work_dir[] = "/tmp/zelto_fuzz_load_game_XXXXXX";

bool prepare() {
    static char name[] = "fuzz_load_game";
    static char* argv[] = {name, nullptr};
    ws::init(1, argv, true);
    ws::fill_hooks(hooks);
    if (!mkdtemp(work_dir)) std::abort();
    std::atexit([] { std::filesystem::remove_all(work_dir); });
    settings.kage = settings.ddraw = false;  // no game window to present on
    line_const_init();
    desk_images_create(640, 480);
    return true;
}

// Fitting to a size over 1000 only makes the run slower: the checks it exercises are the same.
void run(const uint8_t* data, size_t size) {
    const char* input = "fuzz_input.zlt";
    if (!std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size)))
        return;
    int32_t count = 0;
    peek_item_count(input, count);
    std::string list_picture = input;
    extract_picture_for_list(list_picture, list_picture);
    if (begin_resume(input, [] { return true; }) && play.game_stretch_size <= 1000) {
        settings.piece_num = play.game_piece_num;
        settings.stretch_size = play.game_stretch_size;
        Jig game(play.picture_path);
        lay_out(game);
        if (game.item_count > 0) load_game(game, input);
    }
    ws::test::reset();  // forget the recorded message boxes
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    [[maybe_unused]] static const bool ready = prepare();
    // The game writes its temporary pictures into the current folder: work in the private one for this input
    // only, so that the runner's own relative paths keep their meaning.
    const int caller_dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (caller_dir < 0 || chdir(work_dir) != 0) std::abort();
    run(data, size);
    if (fchdir(caller_dir) != 0 || close(caller_dir) != 0) std::abort();
    return 0;
}
