// Qt's own texts (file dialogs, context menus, standard buttons) in Russian, like
// the rest of the host. Debian ships them in qt6-translations-l10n.
#pragma once

#include <QString>

class QCoreApplication;

namespace ughost {

// The folder Qt's translations are installed in.
QString qt_translations_folder();

// Installs Qt's Russian translations from folder into application; false when
// they are not there, and Qt's texts stay in English.
bool install_russian_qt_translations(QCoreApplication& application, const QString& folder);

}  // namespace ughost
