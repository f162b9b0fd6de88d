// The keyboard in a choice menu, whose items are push buttons: the up and down
// arrows go from button to button, and typing goes to the next item whose text
// begins with what was typed, as in a list.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <vector>

class QPushButton;

namespace ughost {

class MenuKeys : public QObject {
public:
    // buttons: the menu's buttons top to bottom (its items, then Back and Cancel);
    // the first item_count of them are items that typing can reach.
    MenuKeys(std::vector<QPushButton*> buttons, std::size_t item_count, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void move_focus(QPushButton* from, int step);
    void go_to_typed(QPushButton* from, const QString& text);

    std::vector<QPushButton*> buttons_;
    std::size_t item_count_;
    QString typed_;
    QElapsedTimer since_typed_;
};

}  // namespace ughost
