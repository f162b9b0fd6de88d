// ughost-gui: the host program with its desktop front-end. Starts the plug-ins
// named on the command line one after the other, then stays open; more can be
// started from the File menu. With a script it plays the script through the
// windows and writes the transcript ughost writes (host/README.md); --quit ends
// it when the script is done.
//
//   ughost-gui [--syslog FILE] [PLUGIN.so...]
//   ughost-gui --script FILE [--transcript FILE | --no-transcript] [--param TEXT] [--syslog FILE] [--quit] PLUGIN.so...
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui_front_end.h"
#include "host_control.h"
#include "host_window.h"
#include "listing_window.h"
#include "output_capture.h"
#include "plugin_runner.h"
#include "qt_translations.h"
#include "script_run.h"
#include "window_sizes.h"

namespace {


bool has_display() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// Qt's own options (-platform, -style, ...) are left to QApplication, which takes them out first.
bool parse_options(const QStringList& args, ughost::RunOptions& options) {
    std::vector<std::string> words;
    for (int i = 1; i < args.size(); ++i) words.push_back(args[i].toStdString());
    return ughost::parse_run_options("ughost-gui", words, true, options) &&
           (options.script_file.empty() || !options.plugins.empty());
}

void usage() {
    std::fputs("usage: ughost-gui [--syslog FILE] [PLUGIN.so...]\n"
               "       ughost-gui --script FILE [--transcript FILE | --no-transcript] [--param TEXT]\n"
               "                  [--syslog FILE] [--quit] PLUGIN.so...\n",
               stderr);
}

// Where Qt's own warnings go while the plug-ins' output is captured: the host's
// standard error, never the transcript.
int qt_messages_fd = 2;

void qt_message_to_host_stderr(QtMsgType, const QMessageLogContext&, const QString& message) {
    dprintf(qt_messages_fd, "%s\n", message.toLocal8Bit().constData());
}

// A person's session: the plug-ins start one after the other, then the window stays.
int run_for_a_person(const ughost::RunOptions& options) {
    ughost::HostControl& host = *ughost_host_control();
    bool running = false;
    auto run = [&](const QString& plugin) {
        if (running) return;  // one plug-in at a time, as in the host
        running = true;
        ughost::run_plugin(plugin.toStdString(), options.parameter);
        running = false;
    };
    ughost::HostWindow window(run);
    ughost::GuiFrontEnd front_end(window);
    host.set_front_end(&front_end);
    if (!options.syslog_file.empty()) host.set_syslog_file(options.syslog_file);
    ughost::ListingWindow& listing = *window.listing_window();
    ughost::place_window(window, "host_window", window.size());
    ughost::place_window(listing, "listing_window", listing.size());
    window.show();
    QTimer::singleShot(0, &window, [&] {
        for (const std::string& plugin : options.plugins) run(QString::fromStdString(plugin));
    });
    const int status = QApplication::exec();
    ughost::remember_window(window, "host_window");
    ughost::remember_window(listing, "listing_window");
    host.set_front_end(nullptr);
    return status;
}

// A played script: the run's exit status as ughost gives it.
int play_script(const ughost::RunOptions& options, std::vector<ughost::ScriptLine> script, ughost::OutputCapture& capture,
                std::FILE* transcript) {
    ughost::HostControl& host = *ughost_host_control();
    ughost::HostWindow window([](const QString&) {});
    ughost::GuiFrontEnd front_end(window);
    ughost::ScriptPlayer& player = front_end.play_script(host, std::move(script), transcript, capture.original_stderr());
    host.set_front_end(&front_end);
    host.set_syslog_file(options.syslog_file.empty() ? ughost::default_syslog_file() : options.syslog_file);
    if (transcript != nullptr) ughost::drain_output_to(host, capture, front_end);
    window.show();
    int status = 0;
    QTimer::singleShot(0, &window, [&] {
        player.start();
        status = ughost::run_plugins(options.plugins, options.parameter);
        host.ui();
        status = player.finish() != 0 ? 2 : status;
        if (options.quit) QApplication::exit(status);
    });
    QApplication::exec();
    host.set_output_drain({});
    host.set_front_end(nullptr);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (!has_display()) {
        std::fputs("ughost-gui: no display to show windows on; to run headless, play a script with "
                   "build/stage/bin/ughost --script FILE PLUGIN.so (see host/README.md)\n",
                   stderr);
        return 2;
    }
    QApplication application(argc, argv);
    // Where the remembered window sizes live (QSettings).
    QApplication::setOrganizationName("cutting-data-library");
    QApplication::setApplicationName("ughost-gui");
    if (!ughost::install_russian_qt_translations(application, ughost::qt_translations_folder())) {
        std::fprintf(stderr, "ughost-gui: no Qt translations into Russian in %s (Debian: qt6-translations-l10n); "
                     "Qt's own dialogs and menus stay in English\n",
                     ughost::qt_translations_folder().toLocal8Bit().constData());
    }
    ughost::RunOptions options;
    if (!parse_options(QApplication::arguments(), options)) {
        usage();
        return 2;
    }
    if (options.script_file.empty()) return run_for_a_person(options);

    std::vector<ughost::ScriptLine> script;
    if (!ughost::load_script("ughost-gui", options.script_file, script)) return 2;
    ughost::OutputCapture capture;
    if (!capture.start()) {
        std::perror("ughost-gui: cannot capture the plug-ins' output");
        return 2;
    }
    capture.forward_errors_at_sanitizer_death();
    qt_messages_fd = capture.original_stderr();
    qInstallMessageHandler(qt_message_to_host_stderr);
    std::FILE* transcript = nullptr;
    if (options.transcript &&
        !ughost::open_transcript("ughost-gui", options.transcript_file, capture, transcript)) {
        capture.stop();
        return 2;
    }
    const int status = play_script(options, std::move(script), capture, transcript);
    if (transcript != nullptr) std::fclose(transcript);
    capture.stop();
    return status;
}
