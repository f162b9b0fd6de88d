// Renders each editor's main dialog and the launcher's menu, as the desktop
// front-end draws them over the sample library, into PNG files for the README.
//
//   build/tests/gui_screenshots docs/screenshots
#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "gui_session.h"
#include "host_run.h"

namespace {

QString output_dir;

// Saves the window once it is shown, then closes it by the given button.
void shoot(Session& session, const QString& window, const QString& file, const QString& close_button) {
    session.step([=] {
        QWidget* shown = window_named(window);
        if (shown == nullptr) return false;
        return shown->grab().save(output_dir + "/" + file) && click(shown, close_button);
    });
}

}  // namespace

int main(int argc, char** argv) {
    // Room for every dialog at its full size; and remembered window sizes, which
    // would make the pictures differ from machine to machine, kept out of the way.
    ScratchDirectory scratch;
    use_offscreen_screen(scratch, 1600, 1200);
    keep_settings_in(scratch);
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: gui_screenshots DIR\n", stderr);
        return 2;
    }
    output_dir = argv[1];
    QDir().mkpath(output_dir);
    ScratchDirectory library;
    library.copy_samples();
    setenv("UGII_CAM_LIBRARY_FEEDS_SPEEDS_DATA_DIR", library.with_separator().c_str(), 1);
    setenv("UGII_CAM_LIBRARY_TOOL_METRIC_DIR", library.with_separator().c_str(), 1);
    setenv("UGII_USER_DIR", std::filesystem::path(APPLICATION_DIR).parent_path().c_str(), 1);

    Session session;
    shoot(session, "menu", "korvane-menu.png", "ITEM_2");
    shoot(session, "ratomir.dlg", "ratomir.png", "OK");
    session.step([] { return click(window_named("menu"), "ITEM_3"); });
    shoot(session, "strakel.dlg", "strakel.png", "OK");
    session.step([] { return click(window_named("menu"), "ITEM_4"); });
    shoot(session, "gradivo.dlg", "gradivo.png", "OK");
    session.step([] { return click(window_named("menu"), "ITEM_5"); });
    shoot(session, "blankora.dlg", "blankora.png", "OK");
    session.step([] { return click(window_named("menu"), "CANCEL"); });
    return session.run(plugin("korvane")) ? 0 : 1;
}
