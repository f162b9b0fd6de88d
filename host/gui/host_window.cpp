#include "host_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMenu>
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
    add_view_menu();
    statusBar()->showMessage("Готово");
}

HostWindow::~HostWindow() = default;

// Each window or panel the user closes can be brought back from here; the marks follow
// the windows however they were closed.
void HostWindow::add_view_menu() {
    QMenu* view_menu = menuBar()->addMenu("Вид");
    view_menu->setObjectName("view_menu");
    QAction* log = view_menu->addAction("Журнал");
    log->setObjectName("view_log");
    log->setCheckable(true);
    log->setChecked(true);
    connect(log, &QAction::toggled, log_, &QWidget::setVisible);
    QAction* listing = view_menu->addAction("Информационное окно");
    listing->setObjectName("view_listing");
    listing->setCheckable(true);
    connect(listing, &QAction::triggered, this, [this](bool shown) {
        if (shown) {
            listing_window_->bring_up();
        } else {
            listing_window_->hide();
        }
    });
    listing_window_->on_shown_or_hidden([listing](bool shown) { listing->setChecked(shown); });
}

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
