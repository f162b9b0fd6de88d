// The host's listing window: a top-level window of its own, which the user can
// scroll, select in, copy from and save while the plug-ins' dialogs and menus are
// open: they are modal to the host's window and the dialogs they stand on, and
// the listing window belongs to none of those, so none blocks it. Raised when text comes.
#pragma once

#include <QWidget>

#include <functional>

class QPlainTextEdit;

namespace ughost {

class ListingWindow : public QWidget {
public:
    ListingWindow();

    void append(const QString& text);
    // Shown and put in front of the host's windows, without taking the keyboard from the dialog.
    void bring_up();
    QPlainTextEdit* text() const { return text_; }
    // Called with true when the window is shown, false when it is closed or hidden.
    void on_shown_or_hidden(std::function<void(bool)> callback) { shown_or_hidden_ = std::move(callback); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void copy();
    void save();

    QPlainTextEdit* text_;
    std::function<void(bool)> shown_or_hidden_;
};

}  // namespace ughost
