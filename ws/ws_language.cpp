// Choosing the player's language at start and translating the game's texts through Qt's translators.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ws/tr.h"
#include "ws/ws_state.h"

namespace ws {
namespace detail {

// The desktop's first language decides (QLocale reads LANGUAGE, then LC_ALL, LC_MESSAGES and LANG): Japanese for
// "ja", English for everything else, the C and POSIX locales included. Qt's own dialogs (file chooser, colour
// chooser, their buttons) follow: they get qtbase's Japanese texts, or stay in Qt's own English.
void choose_language(QApplication* app) {
    const QStringList languages = QLocale::system().uiLanguages();
    const bool japanese = !languages.isEmpty() && languages.first().startsWith(QStringLiteral("ja"));
    layer().english = !japanese;
    auto* translator = new QTranslator(app);
    const bool loaded =
        japanese ? translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                 : translator->load(QStringLiteral(":/i18n/zelto_en.qm"));
    if (loaded) app->installTranslator(translator);
    else delete translator;
}

}  // namespace detail

std::string tr(const char* context, const char* text) {
    // Japanese is the source language: the text is shown as written, without a round trip through QString.
    if (!detail::layer().english || text == nullptr) return text != nullptr ? text : "";
    return QCoreApplication::translate(context, text).toStdString();
}

std::string tr(const char* context, const std::string& text) { return tr(context, text.c_str()); }

bool english() { return detail::layer().english; }

}  // namespace ws
