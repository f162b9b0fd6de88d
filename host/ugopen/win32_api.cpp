// The Win32 calls the plug-ins use, with their Win32 meaning, over the Host object.
// A window handle is the number of an open dialog; null is the host's main window.
// Calls that can fail inside the host run in host_call and return their Win32
// failure value (0, or -1 for a picture window).
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "host.h"
#include "host_call.h"
#include "host_text.h"
#include "windows.h"

using ughost::Host;

namespace {

std::string owner_name(HWND owner) {
    const auto id = static_cast<int>(reinterpret_cast<std::intptr_t>(owner));
    const ughost::Dialog* dialog = owner == nullptr ? nullptr : Host::instance().dialog(id);
    return dialog == nullptr ? std::string() : dialog->file_name();
}

ughost::Icon icon_of(UINT style) {
    switch (style & 0xF0) {
        case MB_ICONERROR: return ughost::Icon::error;
        case MB_ICONQUESTION: return ughost::Icon::question;
        case MB_ICONWARNING: return ughost::Icon::warning;
        case MB_ICONINFORMATION: return ughost::Icon::information;
        default: return ughost::Icon::none;
    }
}

// The one picture window the host can show at a time.
HWND const picture_window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
bool picture_ended = false;

// Shows the picture until its procedure ends it; the scripted front-end moves the
// clock from tick to tick instead of waiting.
INT_PTR show_picture(const char* image_file, DLGPROC procedure) {
    Host& host = Host::instance();
    // A bare name is looked for where the plug-in's dialog files are: its own folder first.
    const std::string image = host.find_plugin_file(image_file);
    if (image.empty()) {
        host.ui().notes().picture_not_found(image_file);
        host.write_syslog(std::string("picture file ") + image_file + " was not found");
        return -1;
    }
    const long opened_at = host.now_ms();
    picture_ended = false;
    host.ui().picture_shown(image);
    procedure(picture_window, WM_INITDIALOG, 0, 0);
    while (!picture_ended) {
        const ughost::Timer* timer = host.next_timer(picture_window);
        if (timer == nullptr) {
            host.ui().notes().picture_closed_by_host();
            break;
        }
        const UINT_PTR id = timer->id;
        const long wait = timer->due_ms - host.now_ms();
        host.ui().wait_for(wait);
        host.advance_clock(wait);
        host.rearm_timer(picture_window, id);
        procedure(picture_window, WM_TIMER, id, 0);
    }
    procedure(picture_window, WM_DESTROY, 0, 0);
    host.ui().picture_closed(image, host.now_ms() - opened_at);
    return IDCANCEL;
}

}  // namespace

extern "C" {

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) {
    return ughost::host_call("MessageBoxA", 0, [&] {
        ughost::MessageBoxRequest request;
        request.owner = owner_name(owner);
        request.text = ughost::cp1251_to_utf8(text == nullptr ? "" : text);
        request.caption = ughost::cp1251_to_utf8(caption == nullptr ? "" : caption);
        request.icon = icon_of(style);
        request.yes_no = (style & 0x0F) == MB_YESNO;
        request.default_no = request.yes_no && (style & MB_DEFBUTTON2) != 0;
        switch (Host::instance().ui().message_box(request)) {
            case ughost::BoxAnswer::yes: return IDYES;
            case ughost::BoxAnswer::no: return IDNO;
            default: return IDOK;
        }
    });
}

int MessageBeep(UINT /*type*/) {
    return ughost::host_call("MessageBeep", 0, [] {
        Host::instance().ui().beep();
        return 1;
    });
}

HWND GetFocus(void) {
    const ughost::Dialog* dialog = Host::instance().innermost_dialog();
    return dialog == nullptr ? nullptr : reinterpret_cast<HWND>(static_cast<std::intptr_t>(dialog->id()));
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC /*procedure*/) {
    return ughost::host_call("SetTimer", UINT_PTR{0}, [&] {
        Host& host = Host::instance();
        host.ui().notes().timer_set(id, milliseconds);
        return host.set_timer(window, id, static_cast<long>(milliseconds));
    });
}

int KillTimer(HWND window, UINT_PTR id) {
    return ughost::host_call("KillTimer", 0, [&] {
        Host& host = Host::instance();
        const bool killed = host.kill_timer(window, id);
        host.ui().notes().timer_killed(id, killed);
        return killed ? 1 : 0;
    });
}

HMODULE GetModuleHandleA(const char* module_name) {
    // Only the main program is asked for; any non-null handle stands for it.
    return module_name == nullptr ? reinterpret_cast<HMODULE>(1) : nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, char* file_name, DWORD size) {
    if (module == nullptr || file_name == nullptr || size == 0) return 0;
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return 0;
    const auto copied = static_cast<DWORD>(length) < size ? static_cast<DWORD>(length) : size - 1;
    std::memcpy(file_name, path, copied);
    file_name[copied] = '\0';
    return copied;
}

INT_PTR DialogBoxPictureA(const char* image_file, DLGPROC procedure) {
    if (image_file == nullptr || procedure == nullptr) return -1;
    return ughost::host_call("DialogBoxPictureA", INT_PTR{-1}, [&] { return show_picture(image_file, procedure); });
}

int EndDialog(HWND window, INT_PTR /*result*/) {
    if (window != picture_window) return 0;
    picture_ended = true;
    return 1;
}

}  // extern "C"
