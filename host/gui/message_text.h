// How a message box shows a plug-in's text, which it never changes.
#pragma once

#include <QString>

class QMessageBox;

namespace ughost {

// Text laid out in columns (a tab, or a gap of two spaces or more between words),
// as the launcher's access report is: it reads only in a fixed-width font.
bool laid_out_in_columns(const QString& text);

// In a fixed-width font where the text is laid out in columns; and the box as wide
// as the text's longest line, so that neither a phrase nor a column is broken.
void show_text_as_laid_out(QMessageBox& box);

}  // namespace ughost
