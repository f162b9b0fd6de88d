// The host's main window: it stays open between plug-ins and holds the system
// log and the status line; the listing window is a window of its own beside it.
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

class QPlainTextEdit;

namespace ughost {

class ListingWindow;

class HostWindow : public QMainWindow {
public:
    // run_plugin starts a plug-in chosen by the user.
    explicit HostWindow(std::function<void(const QString&)> run_plugin);
    ~HostWindow() override;

    void append_listing(const QString& text);
    void show_listing();
    void append_log(const QString& line);
    QPlainTextEdit* listing() const;
    ListingWindow* listing_window() const { return listing_window_.get(); }

private:
    void choose_plugin();
    void add_view_menu();

    std::function<void(const QString&)> run_plugin_;
    std::unique_ptr<ListingWindow> listing_window_;
    QPlainTextEdit* log_;
};

}  // namespace ughost
