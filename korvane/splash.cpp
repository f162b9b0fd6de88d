// The splash picture, shown for two seconds while the host loads the launcher,
// before its ufusr runs. A static object stands in for the host platform's
// application object: its constructor runs when the library is loaded.
#include "windows.h"

namespace {

// Found by the host next to the plug-in, as its dialog files are.
constexpr const char* splash_picture = "korvane.bmp";
constexpr UINT_PTR splash_timer = 0;
constexpr UINT splash_milliseconds = 2000;

INT_PTR splash_procedure(HWND window, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(window, splash_timer, splash_milliseconds, nullptr);
            return 1;
        case WM_TIMER:
            // The first tick closes the splash.
            EndDialog(window, IDCANCEL);
            return 1;
        case WM_DESTROY:
            KillTimer(window, splash_timer);
            return 1;
        default:
            return 0;
    }
}

struct SplashAtLoad {
    // A picture that cannot be shown is the host's to report; the launcher starts all the same.
    SplashAtLoad() { DialogBoxPictureA(splash_picture, splash_procedure); }
};

const SplashAtLoad splash_at_load;

}  // namespace
