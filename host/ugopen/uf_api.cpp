// The host's C interface, over the Host object. Texts arrive in code page 1251
// and reach the front-end as UTF-8. Every call runs in host_call, so nothing the
// host throws reaches a plug-in.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host.h"
#include "host_call.h"
#include "host_status.h"
#include "host_text.h"
#include "uf.h"

using ughost::cp1251_to_utf8;
using ughost::Host;
using ughost::host_call;
using ughost::status_host_failure;

namespace {

std::string fixed_text(const char* slot, std::size_t size) { return std::string(slot, strnlen(slot, size)); }

// A listing of a large table writes a line per row: the text each write
// becomes on the host's side reuses one storage.
std::string listing_text;

const char* indicator_name(int indicator) {
    switch (indicator) {
        case UF_STYLER_INTEGER_VALUE: return "an integer";
        case UF_STYLER_REAL_VALUE: return "a real number";
        case UF_STYLER_STRING_VALUE: return "a text";
        case UF_STYLER_STRING_PTR_VALUE: return "a list of texts";
        default: return "no value";
    }
}

}  // namespace

extern "C" {

int UF_initialize(void) {
    return host_call("UF_initialize", status_host_failure, [] { return Host::instance().open_session(); });
}

int UF_terminate(void) {
    return host_call("UF_terminate", status_host_failure, [] { return Host::instance().close_session(); });
}

int UF_get_fail_message(int status, char message[UF_UI_MAX_STRING_LEN + 1]) {
    if (message == nullptr) return ughost::status_bad_argument;
    std::strncpy(message, ughost::host_status_text(status), UF_UI_MAX_STRING_LEN);
    message[UF_UI_MAX_STRING_LEN] = '\0';
    return 0;
}

int UF_get_release(char** release) {
    if (release == nullptr) return ughost::status_bad_argument;
    *release = const_cast<char*>(Host::instance().release());
    return 0;
}

int UF_translate_variable(const char* name, char** value) {
    if (name == nullptr || value == nullptr) return ughost::status_bad_argument;
    return host_call("UF_translate_variable", status_host_failure, [&] {
        *value = const_cast<char*>(Host::instance().translate_variable(name));
        return 0;
    });
}

int UF_print_syslog(const char* text, int /*add_time*/) {
    if (text == nullptr) return ughost::status_bad_argument;
    return host_call("UF_print_syslog", status_host_failure, [&] {
        Host::instance().write_syslog(text);
        return 0;
    });
}

int UF_ask_application_module(int* module) {
    if (module == nullptr) return ughost::status_bad_argument;
    *module = 0;
    return 0;
}

int UF_load_library(const char* library_path, const char* symbol_name, UF_load_f_p_t* function) {
    if (library_path == nullptr || symbol_name == nullptr || function == nullptr) {
        return ughost::status_bad_argument;
    }
    return host_call("UF_load_library", status_host_failure, [&] {
        Host& host = Host::instance();
        void* handle = nullptr;
        std::string error;
        const int status = host.load_library(library_path, handle, error);
        if (status != 0) {
            host.ui().notes().library_not_loaded(cp1251_to_utf8(library_path), error);
            return status;
        }
        host.ui().notes().library_loaded(cp1251_to_utf8(library_path));
        *function = reinterpret_cast<UF_load_f_p_t>(dlsym(handle, symbol_name));
        return 0;
    });
}

int UF_unload_library(const char* library_path) {
    if (library_path == nullptr) return ughost::status_bad_argument;
    return host_call("UF_unload_library", status_host_failure, [&] {
        Host& host = Host::instance();
        void* handle = host.find_loaded(library_path);
        if (handle == nullptr) return static_cast<int>(ughost::status_library_not_open);
        host.unload_library(handle);
        host.ui().notes().library_unloaded(cp1251_to_utf8(library_path), host.is_loaded(library_path));
        return 0;
    });
}

int uc1601(const char* message, int /*wait*/) {
    if (message == nullptr) return ughost::status_bad_argument;
    return host_call("uc1601", status_host_failure, [&] {
        Host::instance().ui().show_message(cp1251_to_utf8(message));
        return 0;
    });
}

int uc1603(const char* title, int default_item, char items[][UF_UI_MENU_ITEM_SIZE], int count) {
    if (count < 0 || (count > 0 && items == nullptr)) return UF_UI_NO_MENU;
    return host_call("uc1603", UF_UI_NO_MENU, [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) texts.push_back(cp1251_to_utf8(fixed_text(items[i], UF_UI_MENU_ITEM_SIZE)));
        return Host::instance().ui().choice_menu(cp1251_to_utf8(title == nullptr ? "" : title), default_item, texts);
    });
}

int uc1609(const char* title, char labels[][UF_UI_NUMBER_LABEL_SIZE], int count, double values[], int /*flags*/[]) {
    if (count < 0 || (count > 0 && (labels == nullptr || values == nullptr))) return UF_UI_NO_MENU;
    return host_call("uc1609", UF_UI_NO_MENU, [&] {
        std::vector<std::string> texts;
        std::vector<double> current(values, values + count);
        for (int i = 0; i < count; ++i) {
            texts.push_back(cp1251_to_utf8(fixed_text(labels[i], UF_UI_NUMBER_LABEL_SIZE)));
        }
        const auto answer =
            Host::instance().ui().number_menu(cp1251_to_utf8(title == nullptr ? "" : title), texts, current);
        if (answer.code == UF_UI_OK || answer.code == UF_UI_OK_WITH_VALUES) {
            for (int i = 0; i < count && i < static_cast<int>(answer.values.size()); ++i) values[i] = answer.values[i];
        }
        return answer.code;
    });
}

int UF_UI_open_listing_window(void) {
    return host_call("UF_UI_open_listing_window", status_host_failure, [] {
        Host::instance().ui().listing_opened();
        return 0;
    });
}

int UF_UI_write_listing_window(const char* text) {
    if (text == nullptr) return ughost::status_bad_argument;
    return host_call("UF_UI_write_listing_window", status_host_failure, [&] {
        cp1251_to_utf8(text, listing_text);
        Host::instance().ui().listing_written(listing_text);
        return 0;
    });
}

int UF_UI_set_status(const char* text) {
    if (text == nullptr) return ughost::status_bad_argument;
    return host_call("UF_UI_set_status", status_host_failure, [&] {
        Host::instance().ui().status_shown(cp1251_to_utf8(text));
        return 0;
    });
}

int UF_STYLER_create_dialog(const char* dialog_file, UF_STYLER_callback_info_t* callbacks, int count,
                            void* client_data, int* response) {
    return host_call("UF_STYLER_create_dialog", status_host_failure, [&] {
        return Host::instance().run_dialog(dialog_file, callbacks, count, client_data, response);
    });
}

int UF_STYLER_ask_value(int dialog_id, UF_STYLER_item_value_type_p_t value) {
    if (value == nullptr) return ughost::status_bad_argument;
    return host_call("UF_STYLER_ask_value", status_host_failure, [&] {
        ughost::Dialog* dialog = Host::instance().dialog(dialog_id);
        if (dialog == nullptr) return static_cast<int>(ughost::status_no_such_dialog);
        return dialog->ask_value(*value);
    });
}

int UF_STYLER_set_value(int dialog_id, UF_STYLER_item_value_type_p_t value) {
    if (value == nullptr) return ughost::status_bad_argument;
    return host_call("UF_STYLER_set_value", status_host_failure, [&] {
        Host& host = Host::instance();
        ughost::Dialog* dialog = host.dialog(dialog_id);
        if (dialog == nullptr) return static_cast<int>(ughost::status_no_such_dialog);
        const int status = dialog->set_value(*value);
        if (status == ughost::status_value_type_mismatch) {
            const ughost::Item& item = *dialog->find(value->item_id);
            host.write_syslog(dialog->file_name() + ": item " + item.definition.id + " is a " +
                              item_kind_name(item.definition.kind) + " item and was given " +
                              indicator_name(value->indicator));
        }
        return status;
    });
}

int UF_STYLER_free_value(UF_STYLER_item_value_type_p_t value) {
    if (value == nullptr) return ughost::status_bad_argument;
    if (value->indicator == UF_STYLER_STRING_VALUE) {
        std::free(value->value.string);
        value->value.string = nullptr;
        value->indicator = UF_STYLER_NO_VALUE;
    }
    return 0;
}

}  // extern "C"
