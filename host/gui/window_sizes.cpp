#include "window_sizes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace ughost {
namespace {

// The window manager's title bar and borders come on top of the window's own size.
constexpr int frame_height = 40;
constexpr int frame_width = 16;

QString settings_key(const QString& name) { return "windows/" + name; }

}  // namespace

void place_window(QWidget& window, const QString& name, QSize size) {
    // Place (the frame's corner) and size, each as the window reports it: restoring
    // saveGeometry's blob before the window has a frame moved and grew it by the frame.
    const QRect remembered = QSettings().value(settings_key(name)).toRect();
    if (remembered.isValid()) {
        window.resize(remembered.size());
        window.move(remembered.topLeft());
    } else {
        window.resize(size);
    }
    fit_on_screen(window);
}

void remember_window(const QWidget& window, const QString& name) {
    QSettings().setValue(settings_key(name), QRect(window.pos(), window.size()));
}

void fit_on_screen(QWidget& window) {
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect free = screen->availableGeometry();
    const QSize largest(free.width() - frame_width, free.height() - frame_height);
    window.resize(window.size().boundedTo(largest).expandedTo(window.minimumSizeHint().boundedTo(largest)));
    const int x = std::clamp(window.x(), free.left(), std::max(free.left(), free.right() - window.width() - frame_width));
    const int y =
        std::clamp(window.y(), free.top(), std::max(free.top(), free.bottom() - window.height() - frame_height));
    window.move(x, y);
}

}  // namespace ughost
