#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ughost {

QString qt_translations_folder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

// Russian whatever the user's locale: every other text of the host is Russian too.
bool install_russian_qt_translations(QCoreApplication& application, const QString& folder) {
    auto* translator = new QTranslator(&application);
    // qt_ru pulls in qtbase_ru and the other modules' files beside it.
    if (!translator->load("qt_ru", folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace ughost
