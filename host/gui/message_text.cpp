#include "message_text.h"

#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>

#include <algorithm>

namespace ughost {
namespace {

// Wider lines wrap: the box must fit a 1366-pixel screen with room to spare.
constexpr int widest_line = 1000;

}  // namespace


bool laid_out_in_columns(const QString& text) {
    static const QRegularExpression column_gap(R"(\t|\S {2,}\S)");
    return column_gap.match(text).hasMatch();
}

// The box wraps at a width of its own choosing, which broke sentences mid-phrase
// and columns anywhere: the label asks for its longest line, up to what a screen holds.
void show_text_as_laid_out(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (label == nullptr) return;
    if (laid_out_in_columns(box.text())) label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QRect lines = label->fontMetrics().boundingRect(QRect(0, 0, 10000, 10000), Qt::TextExpandTabs, box.text());
    label->setMinimumWidth(std::min(lines.width() + 4, widest_line));
}

}  // namespace ughost
