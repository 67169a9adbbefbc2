// Menus and accelerators: menu records built from registered descriptions, the Qt menu bar and pop-up menus that
// show them, and accelerator tables that turn key presses into commands.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <optional>

#include "ws/ws_widget.h"

namespace ws {
namespace detail {
namespace {

struct Entry {
    std::string text;
    uint32_t id = 0;
    Hmenu sub = 0;
    bool separator = false, checked = false, grayed = false, radio = false;
};

struct Menu {
    bool popup = false;
    std::vector<Entry> entries;
};

struct Menus {
    std::map<Hmenu, Menu> menus;
    Hmenu next = 1;
    std::map<std::string, MenuDesc> resources;
    std::map<Haccel, std::vector<Accel>> accels;
    std::map<std::string, Haccel> accel_names;
    Haccel next_accel = 1;
};

Menus& all() {
    static Menus m;
    return m;
}

Menu* menu_of(Hmenu h) {
    auto it = all().menus.find(h);
    return it == all().menus.end() ? nullptr : &it->second;
}

struct Spot {
    Hmenu menu;
    size_t index;
};

// Where an item is: by position in `h`, or by command anywhere in `h` and its sub-menus (depth first, in order).
std::optional<Spot> locate(Hmenu h, uint32_t item, uint32_t flags, int depth = 0) {
    Menu* m = menu_of(h);
    if (!m || depth > 16) return std::nullopt;  // a menu inserted into itself must not recurse forever
    if (flags & MF_BYPOSITION) return item < m->entries.size() ? std::optional<Spot>(Spot{h, item}) : std::nullopt;
    for (size_t i = 0; i < m->entries.size(); ++i) {
        const Entry& e = m->entries[i];
        if (!e.sub && !e.separator && e.id == item) return Spot{h, i};
        if (e.sub)
            if (auto s = locate(e.sub, item, MF_BYCOMMAND, depth + 1)) return s;
    }
    return std::nullopt;
}

Entry& at(const Spot& s) { return all().menus[s.menu].entries[s.index]; }

Hmenu new_menu(bool popup) {
    Hmenu h = all().next++;
    all().menus[h].popup = popup;
    return h;
}

Hmenu build(const MenuDesc& desc, bool popup) {
    Hmenu h = new_menu(popup);
    for (const MenuItemDesc& d : desc) {
        Entry e{d.text, d.id, 0, d.separator, d.checked, d.grayed, false};
        if (!d.children.empty() || d.popup) e.sub = build(d.children, true);
        all().menus[h].entries.push_back(std::move(e));
    }
    return h;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

void fill(QMenu* q, Hmenu h, Hwnd owner, bool post);

// A sub-menu shows its entries as they are when it opens, so marks set since the last look are always right.
QMenu* sub_menu(QWidget* parent, const Entry& e, Hwnd owner, bool post) {
    auto* q = new QMenu(qs(e.text), parent);
    q->setObjectName(QStringLiteral("ws-menu"));
    q->menuAction()->setEnabled(!e.grayed);
    Hmenu sub = e.sub;
    QObject::connect(q, &QMenu::aboutToShow, q, [q, sub, owner, post] { fill(q, sub, owner, post); });
    fill(q, sub, owner, post);
    return q;
}

void drop_sub_menus(QWidget* q) {
    for (QMenu* c : q->findChildren<QMenu*>(QStringLiteral("ws-menu"), Qt::FindDirectChildrenOnly)) delete c;
}

QAction* command_action(QWidget* parent, const Entry& e, Hwnd owner, bool post) {
    auto* a = new QAction(qs(e.text), parent);
    a->setData(QVariant::fromValue(e.id));
    a->setEnabled(!e.grayed);
    if (e.checked) {
        a->setCheckable(true);
        a->setChecked(true);
        if (e.radio) (new QActionGroup(a))->addAction(a);  // drawn with a bullet rather than a tick
    }
    uint32_t id = e.id;
    if (post) QObject::connect(a, &QAction::triggered, a, [owner, id] { post_message(owner, WM_COMMAND, id, 0); });
    return a;
}

void fill(QMenu* q, Hmenu h, Hwnd owner, bool post) {
    drop_sub_menus(q);
    q->clear();
    Menu* m = menu_of(h);
    if (!m) return;
    for (const Entry& e : m->entries) {
        if (e.separator) q->addSeparator();
        else if (e.sub) q->addMenu(sub_menu(q, e, owner, post));
        else q->addAction(command_action(q, e, owner, post));
    }
}

void destroy_tree(Hmenu h, int depth = 0) {
    Menu* m = menu_of(h);
    if (!m || depth > 16) return;
    std::vector<Hmenu> subs;
    for (const Entry& e : m->entries)
        if (e.sub) subs.push_back(e.sub);
    all().menus.erase(h);
    for (Hmenu s : subs) destroy_tree(s, depth + 1);
}

}  // namespace

void rebuild_menu_bar(Window& w) {
    if (!w.frame) return;
    Menu* m = menu_of(w.menu);
    if (!m) {
        w.frame->remove_bar();
    } else {
        QMenuBar* bar = w.frame->make_bar();
        drop_sub_menus(bar);
        bar->clear();
        for (const Entry& e : m->entries) {
            if (e.separator) bar->addSeparator();
            else if (e.sub) bar->addMenu(sub_menu(bar, e, w.hwnd, true));
            else bar->addAction(command_action(bar, e, w.hwnd, true));
        }
    }
    w.frame->place_client();
    sync_geometry(w.hwnd);
}

}  // namespace detail

using namespace detail;

void register_menu_resource(const std::string& name, MenuDesc desc) { all().resources[name] = std::move(desc); }

Hmenu load_menu(const std::string& name) {
    auto it = all().resources.find(name);
    return it == all().resources.end() ? 0 : build(it->second, false);
}

Hmenu create_menu() { return new_menu(false); }
Hmenu create_popup_menu() { return new_menu(true); }
bool is_menu(Hmenu menu) { return menu_of(menu) != nullptr; }

bool destroy_menu(Hmenu menu) {
    if (!menu_of(menu)) return false;
    destroy_tree(menu);
    return true;
}

Hmenu get_sub_menu(Hmenu menu, int32_t position) {
    Menu* m = menu_of(menu);
    return m && position >= 0 && size_t(position) < m->entries.size() ? m->entries[size_t(position)].sub : 0;
}

int32_t get_menu_item_count(Hmenu menu) {
    Menu* m = menu_of(menu);
    return m ? int32_t(m->entries.size()) : -1;
}

uint32_t get_menu_item_id(Hmenu menu, int32_t position) {
    Menu* m = menu_of(menu);
    if (!m || position < 0 || size_t(position) >= m->entries.size()) return MENU_NONE;
    const Entry& e = m->entries[size_t(position)];
    return e.sub ? MENU_NONE : e.id;
}

std::string get_menu_string(Hmenu menu, uint32_t item, uint32_t flags) {
    auto s = locate(menu, item, flags);
    return s ? at(*s).text : std::string();
}

uint32_t get_menu_state(Hmenu menu, uint32_t item, uint32_t flags) {
    auto s = locate(menu, item, flags);
    if (!s) return MENU_NONE;
    const Entry& e = at(*s);
    auto bit = [](bool on, uint32_t b) { return on ? b : 0u; };
    uint32_t state = bit(e.checked, MF_CHECKED) | bit(e.grayed, MF_GRAYED) | bit(e.separator, MF_SEPARATOR) |
                     bit(e.radio && e.checked, MFT_RADIOCHECK);
    if (e.sub) state |= MF_POPUP | uint32_t(std::min(get_menu_item_count(e.sub), 255)) << 8;
    return state;
}

int32_t check_menu_item(Hmenu menu, uint32_t item, uint32_t flags) {
    auto s = locate(menu, item, flags);
    if (!s) return -1;
    Entry& e = at(*s);
    int32_t before = e.checked ? int32_t(MF_CHECKED) : int32_t(MF_UNCHECKED);
    e.checked = flags & MF_CHECKED;
    e.radio = false;
    return before;
}

int32_t enable_menu_item(Hmenu menu, uint32_t item, uint32_t flags) {
    auto s = locate(menu, item, flags);
    if (!s) return -1;
    Entry& e = at(*s);
    int32_t before = e.grayed ? int32_t(MF_GRAYED) : int32_t(MF_ENABLED);
    e.grayed = flags & (MF_GRAYED | MF_DISABLED);
    return before;
}

bool check_menu_radio_item(Hmenu menu, uint32_t first, uint32_t last, uint32_t check, uint32_t flags) {
    if (first > last || check < first || check > last) return false;
    auto s = locate(menu, check, flags);
    if (!s) return false;
    Menu& m = all().menus[s->menu];
    for (size_t i = 0; i < m.entries.size(); ++i) {
        Entry& e = m.entries[i];
        uint32_t key = (flags & MF_BYPOSITION) ? uint32_t(i) : e.id;
        if (e.separator || (e.sub && !(flags & MF_BYPOSITION)) || key < first || key > last) continue;
        e.checked = i == s->index;
        e.radio = e.checked;
    }
    return true;
}

bool insert_menu(Hmenu menu, uint32_t item, uint32_t flags, uintptr_t id_or_popup, const std::string& text) {
    Hmenu target = menu;
    size_t index = 0;
    if (flags & MF_BYPOSITION) {
        Menu* m = menu_of(menu);
        if (!m) return false;
        index = std::min<size_t>(item, m->entries.size());  // past the end appends
    } else {
        auto s = locate(menu, item, flags);
        if (!s) return false;
        target = s->menu;
        index = s->index;
    }
    Entry e;
    e.text = text;
    e.separator = flags & MF_SEPARATOR;
    e.checked = flags & MF_CHECKED;
    e.grayed = flags & (MF_GRAYED | MF_DISABLED);
    if (flags & MF_POPUP) {
        if (!menu_of(Hmenu(id_or_popup)) || Hmenu(id_or_popup) == target) return false;
        e.sub = Hmenu(id_or_popup);
    } else if (!e.separator) {
        e.id = uint32_t(id_or_popup);
    }
    std::vector<Entry>& v = all().menus[target].entries;
    v.insert(v.begin() + std::ptrdiff_t(index), std::move(e));
    return true;
}

bool append_menu(Hmenu menu, uint32_t flags, uintptr_t id_or_popup, const std::string& text) {
    return insert_menu(menu, MENU_NONE, (flags & ~MF_BYCOMMAND) | MF_BYPOSITION, id_or_popup, text);
}

bool delete_menu(Hmenu menu, uint32_t item, uint32_t flags) {
    auto s = locate(menu, item, flags);
    if (!s) return false;
    Hmenu sub = at(*s).sub;
    std::vector<Entry>& v = all().menus[s->menu].entries;
    v.erase(v.begin() + std::ptrdiff_t(s->index));
    if (sub) destroy_tree(sub);
    return true;
}

bool set_menu(Hwnd hwnd, Hmenu menu) {
    Window* w = find_window(hwnd);
    if (!w || !w->frame || (w->style & WS_CHILD) || (menu && !menu_of(menu))) return false;
    w->menu = menu;
    rebuild_menu_bar(*w);
    return true;
}

Hmenu get_menu(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    return w ? w->menu : 0;
}

bool draw_menu_bar(Hwnd hwnd) {
    Window* w = find_window(hwnd);
    if (!w || !w->frame) return false;
    rebuild_menu_bar(*w);
    return true;
}

uint32_t track_popup_menu(Hmenu menu, uint32_t flags, int32_t x, int32_t y, Hwnd owner) {
    if (!menu_of(menu) || !find_window(owner)) return 0;
    uint32_t chosen = 0;
    if (layer().test) {
        TestScript& s = script();
        uint32_t answer = s.menu_answers.empty() ? 0 : s.menu_answers.front();
        if (!s.menu_answers.empty()) s.menu_answers.pop_front();
        auto spot = answer ? locate(menu, answer, MF_BYCOMMAND) : std::nullopt;
        chosen = spot && !at(*spot).grayed ? answer : 0;
        s.popups.push_back({menu, {x, y}, owner, chosen});
    } else {
        QMenu q(dialog_parent(owner));
        fill(&q, menu, owner, false);
        QAction* a = q.exec(QPoint(x, y));
        chosen = a ? a->data().toUInt() : 0;
    }
    if (flags & TPM_RETURNCMD) return chosen;
    if (chosen) post_message(owner, WM_COMMAND, chosen, 0);
    return chosen ? 1 : 0;
}

// ---- accelerators ----

void register_accelerator_resource(const std::string& name, std::vector<Accel> table) {
    Menus& m = all();
    auto it = m.accel_names.find(name);
    Haccel h = it == m.accel_names.end() ? m.next_accel++ : it->second;
    m.accel_names[name] = h;
    m.accels[h] = std::move(table);
}

Haccel load_accelerators(const std::string& name) {
    Menus& m = all();
    if (name == "IDM_ACCEL" && !m.accel_names.count(name))  // the game's own table: Ctrl+O opens, Ctrl+X ends
        register_accelerator_resource(name, {{FVIRTKEY | FCONTROL, 'O', 200}, {FVIRTKEY | FCONTROL, 'X', 210}});
    auto it = m.accel_names.find(name);
    return it == m.accel_names.end() ? 0 : it->second;
}

bool translate_accelerator(Hwnd hwnd, Haccel accel, const Msg& msg) {
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || !find_window(hwnd)) return false;
    auto it = all().accels.find(accel);
    if (it == all().accels.end()) return false;
    // The keys held when this key went down count, not those held now: a table looks at the message's own state.
    bool shift = msg.keys & MK_SHIFT, ctrl = msg.keys & MK_CONTROL, alt = msg.keys & MK_ALT;
    for (const Accel& a : it->second) {
        if (a.key != msg.wparam || bool(a.flags & FSHIFT) != shift || bool(a.flags & FCONTROL) != ctrl ||
            bool(a.flags & FALT) != alt)
            continue;
        send_message(hwnd, WM_COMMAND, uintptr_t(1) << 16 | a.cmd, 0);
        return true;
    }
    return false;
}

namespace test {
void push_menu_answer(uint32_t cmd) { script().menu_answers.push_back(cmd); }
const std::vector<PopupRecord>& popups() { return script().popups; }
}  // namespace test

}  // namespace ws
