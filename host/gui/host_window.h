// The host's main window: it stays open between plug-ins and holds the
// listing window, the system log and the status line.
#pragma once

#include <QMainWindow>

#include <functional>

class QPlainTextEdit;

namespace ughost {

class HostWindow : public QMainWindow {
public:
    // run_plugin starts a plug-in chosen by the user.
    explicit HostWindow(std::function<void(const QString&)> run_plugin);

    void append_listing(const QString& text);
    void show_listing();
    void append_log(const QString& line);
    QPlainTextEdit* listing() const { return listing_; }

private:
    void choose_plugin();

    std::function<void(const QString&)> run_plugin_;
    QPlainTextEdit* listing_;
    QPlainTextEdit* log_;
};

}  // namespace ughost
