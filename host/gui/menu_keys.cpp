#include "menu_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace ughost {
namespace {

// An item's text as typed: without its leading marks ("-> ").
QString typed_form(const QPushButton* button) {
    const QString text = button->text();
    const auto first = std::find_if(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
    return text.mid(first - text.begin());
}

bool all_the_same(const QString& text) {
    return std::all_of(text.begin(), text.end(), [&text](QChar c) { return c == text.front(); });
}

}  // namespace

MenuKeys::MenuKeys(std::vector<QPushButton*> buttons, std::size_t item_count, QObject* parent)
    : QObject(parent), buttons_(std::move(buttons)), item_count_(item_count) {
    for (QPushButton* button : buttons_) button->installEventFilter(this);
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* button = static_cast<QPushButton*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        move_focus(button, key->key() == Qt::Key_Down ? 1 : -1);
        return true;
    }
    const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
    if (plain && !key->text().isEmpty() && key->text().front().isPrint() && key->text() != " ") {
        go_to_typed(button, key->text());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// From the last button the arrow goes round to the first, as in a list that wraps.
void MenuKeys::move_focus(QPushButton* from, int step) {
    const auto at = std::find(buttons_.begin(), buttons_.end(), from);
    if (at == buttons_.end()) return;
    const int count = static_cast<int>(buttons_.size());
    int index = static_cast<int>(at - buttons_.begin());
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (buttons_[static_cast<std::size_t>(index)]->isEnabled()) {
            buttons_[static_cast<std::size_t>(index)]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

// Keys typed in quick succession make one text; the same letter again goes on
// to the next item that begins with it.
void MenuKeys::go_to_typed(QPushButton* from, const QString& text) {
    if (!since_typed_.isValid() || since_typed_.elapsed() > QApplication::keyboardInputInterval()) typed_.clear();
    since_typed_.start();
    typed_ += text;
    const bool repeated = all_the_same(typed_);
    const QString wanted = repeated ? typed_.left(1) : typed_;
    const auto at = std::find(buttons_.begin(), buttons_.end(), from);
    const std::size_t current = at == buttons_.end() ? 0 : static_cast<std::size_t>(at - buttons_.begin());
    // A new letter may still fit the current item; the same letter again looks past it.
    const std::size_t start = repeated ? current + 1 : current;
    for (std::size_t tried = 0; tried < item_count_; ++tried) {
        QPushButton* item = buttons_[(start + tried) % item_count_];
        if (item->isEnabled() && typed_form(item).startsWith(wanted, Qt::CaseInsensitive)) {
            item->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace ughost
