// Where the windows stand and how big they are: fitted to the screen they open
// on, and remembered between runs in the user's settings (QSettings, under the
// application's organization and name) by each window's name.
#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace ughost {

// The window at its remembered place and size if it has one, else at size; in
// both cases no larger than the screen's free area, and inside it.
void place_window(QWidget& window, const QString& name, QSize size);

// Remembers the window's place and size for the next run.
void remember_window(const QWidget& window, const QString& name);

// The window no larger than the free area of its screen, and moved inside it.
void fit_on_screen(QWidget& window);

}  // namespace ughost
