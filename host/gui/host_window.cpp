#include "host_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "listing_window.h"

namespace ughost {

HostWindow::HostWindow(std::function<void(const QString&)> run_plugin)
    : run_plugin_(std::move(run_plugin)), listing_window_(std::make_unique<ListingWindow>()) {
    setWindowTitle("ughost — функции пользователя");
    resize(1000, 700);

    log_ = new QPlainTextEdit(this);
    log_->setObjectName("log");
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setCentralWidget(log_);

    QMenu* file_menu = menuBar()->addMenu("Файл");
    file_menu->addAction("Выполнить функцию пользователя...", this, &HostWindow::choose_plugin);
    file_menu->addAction("Информационное окно", listing_window_.get(), &ListingWindow::bring_up);
    file_menu->addSeparator();
    file_menu->addAction("Выход", qApp, &QApplication::closeAllWindows);
    statusBar()->showMessage("Готово");
}

HostWindow::~HostWindow() = default;

void HostWindow::choose_plugin() {
    const QString file = QFileDialog::getOpenFileName(this, "Выполнить функцию пользователя", QString(),
                                                      "Функции пользователя (*.so)");
    if (!file.isEmpty()) run_plugin_(file);
}

QPlainTextEdit* HostWindow::listing() const { return listing_window_->text(); }

void HostWindow::append_listing(const QString& text) { listing_window_->append(text); }

void HostWindow::show_listing() { listing_window_->bring_up(); }

void HostWindow::append_log(const QString& line) { log_->appendPlainText(line); }

}  // namespace ughost
