#include "listing_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace ughost {

// Without a parent: a window with one would be blocked by every dialog modal to it.
ListingWindow::ListingWindow() {
    setObjectName("listing_window");
    // The host's window ends the program; the listing window does not keep it running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle("Информационное окно");
    resize(800, 500);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("listing");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(text_);
    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton("Копировать", this);
    auto* clear = new QPushButton("Очистить", this);
    auto* save = new QPushButton("Сохранить в файл...", this);
    copy->setObjectName("copy");
    clear->setObjectName("clear");
    save->setObjectName("save");
    buttons->addWidget(copy);
    buttons->addWidget(clear);
    buttons->addWidget(save);
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(copy, &QPushButton::clicked, this, &ListingWindow::copy);
    connect(clear, &QPushButton::clicked, text_, &QPlainTextEdit::clear);
    connect(save, &QPushButton::clicked, this, &ListingWindow::save);
}

void ListingWindow::append(const QString& text) {
    text_->moveCursor(QTextCursor::End);
    text_->insertPlainText(text);
    text_->moveCursor(QTextCursor::End);
    bring_up();
}

void ListingWindow::bring_up() {
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    raise();
}

void ListingWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_or_hidden_) shown_or_hidden_(true);
}

void ListingWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (shown_or_hidden_) shown_or_hidden_(false);
}

// The selection, or everything when nothing is selected.
void ListingWindow::copy() {
    const QString selected = text_->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
    QApplication::clipboard()->setText(selected.isEmpty() ? text_->toPlainText() : selected);
}

void ListingWindow::save() {
    const QString file = QFileDialog::getSaveFileName(this, "Сохранить информационное окно", "listing.txt");
    if (file.isEmpty()) return;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text) || out.write(text_->toPlainText().toUtf8()) < 0) {
        QMessageBox::warning(this, "Сохранить", "Не удалось записать файл " + file + ": " + out.errorString());
    }
}

}  // namespace ughost
