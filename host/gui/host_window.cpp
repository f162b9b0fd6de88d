#include "host_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace ughost {
namespace {

QPlainTextEdit* text_pane(QWidget* parent, const QString& name) {
    auto* pane = new QPlainTextEdit(parent);
    pane->setObjectName(name);
    pane->setReadOnly(true);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return pane;
}

}  // namespace

HostWindow::HostWindow(std::function<void(const QString&)> run_plugin) : run_plugin_(std::move(run_plugin)) {
    setWindowTitle("ughost — функции пользователя");
    resize(1000, 700);

    auto* listing_page = new QWidget(this);
    auto* listing_layout = new QVBoxLayout(listing_page);
    listing_ = text_pane(listing_page, "listing");
    listing_layout->addWidget(listing_);
    auto* listing_buttons = new QHBoxLayout;
    auto* copy = new QPushButton("Копировать", listing_page);
    auto* clear = new QPushButton("Очистить", listing_page);
    auto* save = new QPushButton("Сохранить в файл...", listing_page);
    listing_buttons->addWidget(copy);
    listing_buttons->addWidget(clear);
    listing_buttons->addWidget(save);
    listing_buttons->addStretch();
    listing_layout->addLayout(listing_buttons);
    connect(copy, &QPushButton::clicked, this, [this] {
        const QString selected = listing_->textCursor().selectedText();
        QApplication::clipboard()->setText(selected.isEmpty() ? listing_->toPlainText() : selected);
    });
    connect(clear, &QPushButton::clicked, listing_, &QPlainTextEdit::clear);
    connect(save, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, "Сохранить информационное окно", "listing.txt");
        if (file.isEmpty()) return;
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Text) || out.write(listing_->toPlainText().toUtf8()) < 0) {
            QMessageBox::warning(this, "Сохранить", "Не удалось записать файл " + file + ": " + out.errorString());
        }
    });
    setCentralWidget(listing_page);

    auto* log_dock = new QDockWidget("Журнал", this);
    log_ = text_pane(log_dock, "log");
    log_dock->setWidget(log_);
    addDockWidget(Qt::BottomDockWidgetArea, log_dock);

    QMenu* file_menu = menuBar()->addMenu("Файл");
    file_menu->addAction("Выполнить функцию пользователя...", this, &HostWindow::choose_plugin);
    file_menu->addSeparator();
    file_menu->addAction("Выход", qApp, &QApplication::closeAllWindows);
    statusBar()->showMessage("Готово");
}

void HostWindow::choose_plugin() {
    const QString file = QFileDialog::getOpenFileName(this, "Выполнить функцию пользователя", QString(),
                                                      "Функции пользователя (*.so)");
    if (!file.isEmpty()) run_plugin_(file);
}

void HostWindow::append_listing(const QString& text) {
    listing_->moveCursor(QTextCursor::End);
    listing_->insertPlainText(text);
    listing_->moveCursor(QTextCursor::End);
}

void HostWindow::show_listing() {
    show();
    raise();
}

void HostWindow::append_log(const QString& line) { log_->appendPlainText(line); }

}  // namespace ughost
