// The layer's entries of the table of upward calls.
#include "graphics/hooks.h"
#include "ws/tr.h"
#include "ws/ws.h"

namespace ws {

void fill_hooks(Hooks& table) {
    table.message_box = message_box;
    table.tick_count = tick_count;
    table.is_ui_thread = is_ui_thread;
    table.run_on_ui_thread = run_on_ui_thread;
    table.same_name = same_name;
    table.translate = static_cast<std::string (*)(const char*, const char*)>(tr);
}

}  // namespace ws
