// ughost-gui: the host program with its desktop front-end. Starts the plug-ins
// named on the command line one after the other, then stays open; more can be
// started from the File menu.
//
//   ughost-gui [--syslog FILE] [PLUGIN.so...]
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui_front_end.h"
#include "host_control.h"
#include "host_window.h"
#include "plugin_runner.h"

namespace {

bool has_display() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
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
    std::string syslog_file;
    QStringList plugins;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--syslog" && i + 1 < args.size()) {
            syslog_file = args[++i].toStdString();
        } else {
            plugins << args[i];
        }
    }

    ughost::HostControl& host = *ughost_host_control();
    bool running = false;
    auto run = [&](const QString& plugin) {
        if (running) return;  // one plug-in at a time, as in the host
        running = true;
        ughost::run_plugin(plugin.toStdString(), "");
        running = false;
    };
    ughost::HostWindow window(run);
    ughost::GuiFrontEnd front_end(window);
    host.set_front_end(&front_end);
    if (!syslog_file.empty()) host.set_syslog_file(syslog_file);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        for (const QString& plugin : plugins) run(plugin);
    });
    return QApplication::exec();
}
