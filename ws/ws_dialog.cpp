// Modal dialogs: message boxes, open/save file dialogs and the colour chooser, with scripted answers in test mode.
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ws/tr.h"
#include "ws/ws_state.h"

namespace ws {
namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Buttons of a box type, the first one being what a player pressing Enter gets.
std::vector<int32_t> box_buttons(uint32_t type) {
    switch (type & 0xF) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    default: return {IDOK};
    }
}

QMessageBox::Icon box_icon(uint32_t type) {
    switch (type & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int32_t real_message_box(Hwnd owner, const std::string& text, const std::string& caption, uint32_t type) {
    QMessageBox box(box_icon(type), qs(caption), qs(text), QMessageBox::NoButton, detail::dialog_parent(owner));
    struct Kind { int32_t id; QMessageBox::ButtonRole role; const char* label; };
    static const Kind kinds[] = {{IDOK, QMessageBox::AcceptRole, "OK"},
                                 {IDYES, QMessageBox::YesRole, ZT_NOOP("ws", "はい")},
                                 {IDNO, QMessageBox::NoRole, ZT_NOOP("ws", "いいえ")},
                                 {IDCANCEL, QMessageBox::RejectRole, ZT_NOOP("ws", "キャンセル")}};
    std::vector<std::pair<QAbstractButton*, int32_t>> made;
    for (int32_t id : box_buttons(type))
        for (const Kind& k : kinds)
            if (k.id == id) made.emplace_back(box.addButton(qs(tr("ws", k.label)), k.role), id);
    box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
    box.exec();
    for (auto& [button, id] : made)
        if (box.clickedButton() == button) return id;
    // Closed by the window manager: the answer that changes nothing.
    std::vector<int32_t> ids = box_buttons(type);
    return ids.size() == 1 ? IDOK : ids.back() == IDCANCEL ? IDCANCEL : IDNO;
}

// Qt matches filter patterns with case; the game's files come as .BMP, .jpg, .Jpeg alike, so every letter of a
// pattern is offered in both cases ("*.bmp" -> "*.[bB][mM][pP]").
QString any_case_patterns(const std::string& patterns) {
    QString out;
    for (QChar c : qs(patterns)) {
        if (c == ';') out += ' ';
        else if (c.isLetter() && c.toLower() != c.toUpper()) out += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
        else out += c;
    }
    return out;
}

std::string run_file_dialog(const FileDialog& d, bool save) {
    QFileDialog dlg(detail::dialog_parent(d.owner), qs(d.title), qs(d.folder));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save || !d.must_exist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setOptions(QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const FileFilter& f : d.filters) filters << qs(f.description) + " (" + any_case_patterns(f.patterns) + ")";
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(std::clamp<int32_t>(d.filter_index, 0, int32_t(filters.size()) - 1)));
    }
    if (!d.file_name.empty()) dlg.selectFile(qs(d.file_name));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first().toStdString();
}

std::string scripted_file_dialog(const FileDialog& d, const char* kind) {
    detail::TestScript& s = detail::script();
    s.dialogs.push_back({kind, d.owner, d.title, d.folder, d.file_name, d.filters, d.filter_index});
    if (s.file_answers.empty()) return {};
    std::string answer = s.file_answers.front();
    s.file_answers.pop_front();
    return answer;
}

QColor to_qcolor(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
Colour from_qcolor(const QColor& q) { return Colour(q.red()) | Colour(q.green()) << 8 | Colour(q.blue()) << 16; }

}  // namespace

int32_t message_box(Hwnd owner, const std::string& text, const std::string& caption, uint32_t type) {
    if (!is_ui_thread()) {
        // A worker may not touch the toolkit: the UI thread shows the box when it next looks at its events.
        run_on_ui_thread([=] { message_box(owner, text, caption, type); });
        return box_buttons(type).front();
    }
    if (!detail::layer().test) return real_message_box(owner, text, caption, type);
    detail::TestScript& s = detail::script();
    int32_t answer = box_buttons(type).front();
    if (!s.answers.empty()) {
        answer = s.answers.front();
        s.answers.pop_front();
    }
    s.messages.push_back({owner, text, caption, type, answer});
    return answer;
}

std::string open_file_dialog(const FileDialog& d) {
    return detail::layer().test ? scripted_file_dialog(d, "open") : run_file_dialog(d, false);
}

std::string save_file_dialog(const FileDialog& d) {
    return detail::layer().test ? scripted_file_dialog(d, "save") : run_file_dialog(d, true);
}

bool choose_colour(Hwnd owner, Colour& colour, Colour* custom16) {
    if (detail::layer().test) {
        detail::TestScript& s = detail::script();
        s.dialogs.push_back({"colour", owner, {}, {}, {}, {}, 0});
        if (s.colour_answers.empty() || s.colour_answers.front() < 0) {
            if (!s.colour_answers.empty()) s.colour_answers.pop_front();
            return false;
        }
        colour = Colour(s.colour_answers.front()) & 0xFFFFFF;
        s.colour_answers.pop_front();
        return true;
    }
    if (custom16)
        for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, to_qcolor(custom16[i]));
    QColor chosen = QColorDialog::getColor(to_qcolor(colour), detail::dialog_parent(owner));
    if (custom16)
        for (int i = 0; i < 16; ++i) custom16[i] = from_qcolor(QColorDialog::customColor(i));
    if (!chosen.isValid()) return false;
    colour = from_qcolor(chosen);
    return true;
}

namespace test {

void push_answer(int32_t button) { detail::script().answers.push_back(button); }
void push_file_answer(const std::string& path) { detail::script().file_answers.push_back(path); }
void push_colour_answer(int64_t colour) { detail::script().colour_answers.push_back(colour); }
const std::vector<BoxRecord>& messages() { return detail::script().messages; }
const std::vector<DialogRecord>& dialogs() { return detail::script().dialogs; }
const std::vector<std::string>& opened() { return detail::script().opened; }

}  // namespace test
}  // namespace ws
