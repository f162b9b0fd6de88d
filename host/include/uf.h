/*
 * The host's C interface, as the plug-ins see it.
 *
 * Every text that crosses this interface is code page 1251. Texts the host
 * hands out (translated variables, the release text) belong to the host and
 * must not be freed; item values returned by UF_STYLER_ask_value are freed
 * with UF_STYLER_free_value.
 *
 * A plug-in library exports:
 *   void ufusr(char *param, int *retcode, int param_len);   required
 *   int  ufusr_ask_unload(void);                            required
 *   void ufusr_cleanup(void);                               optional
 */
#ifndef UF_H
#define UF_H

#ifdef __cplusplus
extern "C" {
#endif

#define UF_API __attribute__((visibility("default")))

/* Host session. 0 = the session is open (closed). */
UF_API int UF_initialize(void);
UF_API int UF_terminate(void);

/* Status texts are at most this long, plus the terminator. */
#define UF_UI_MAX_STRING_LEN 132
UF_API int UF_get_fail_message(int status, char message[UF_UI_MAX_STRING_LEN + 1]);

UF_API int UF_get_release(char **release);
UF_API int UF_translate_variable(const char *name, char **value);
UF_API int UF_print_syslog(const char *text, int add_time);
UF_API int UF_ask_application_module(int *module);

/* Library loading: path of a shared library, name of its entry. */
typedef void (*UF_load_f_p_t)(void);
UF_API int UF_load_library(const char *library_path, const char *symbol_name,
                           UF_load_f_p_t *function);
UF_API int UF_unload_library(const char *library_path);

/* Messages and menus. */
UF_API int uc1601(const char *message, int wait);
/* Choice menu: items of 38 bytes each. Returns 1 back, 2 cancel, 5 + n for item n
 * (from 0), 19 when the menu cannot be shown. */
#define UF_UI_MENU_ITEM_SIZE 38
UF_API int uc1603(const char *title, int default_item, char items[][UF_UI_MENU_ITEM_SIZE],
                  int count);
/* Number menu: labels of 16 bytes each. Returns 3 or 4 accepted (values hold the
 * input), 1 back, 2 cancel, 19 when the menu cannot be shown. */
#define UF_UI_NUMBER_LABEL_SIZE 16
UF_API int uc1609(const char *title, char labels[][UF_UI_NUMBER_LABEL_SIZE], int count,
                  double values[], int flags[]);

#define UF_UI_BACK 1
#define UF_UI_CANCEL 2
#define UF_UI_OK 3
#define UF_UI_OK_WITH_VALUES 4
#define UF_UI_MENU_ITEM_1 5
#define UF_UI_NO_MENU 19

UF_API int UF_UI_open_listing_window(void);
UF_API int UF_UI_write_listing_window(const char *text);
UF_API int UF_UI_set_status(const char *text);

/* ---- Styler dialogs ---- */

#define UF_STYLER_DIALOG_INDEX "UF_STYLER_DIALOG_INDEX"
#define UF_STYLER_NULL_OBJECT "UF_STYLER_NULL_OBJECT"

/* Callback types. */
#define UF_STYLER_NO_CB (-1)
#define UF_STYLER_ACTIVATE_CB 0
#define UF_STYLER_OK_CB 4
#define UF_STYLER_CANCEL_CB 7
#define UF_STYLER_CONSTRUCTOR_CB 8

/* Callback results. */
#define UF_UI_CB_CONTINUE_DIALOG 0
#define UF_UI_CB_EXIT_DIALOG 1

/* Dialog responses filled by UF_STYLER_create_dialog. */
#define UF_STYLER_RESPONSE_OK 2
#define UF_STYLER_RESPONSE_CANCEL 3
#define UF_STYLER_RESPONSE_CLOSED 4

/* Item attributes. */
#define UF_STYLER_SENSITIVITY 0
#define UF_STYLER_VALUE 2
#define UF_STYLER_FOCUS 5
#define UF_STYLER_SUBITEM_VALUES 6
#define UF_STYLER_LIST_INSERT 13
#define UF_STYLER_LIST_DELETE 14

/* Which member of the value union is meant. */
#define UF_STYLER_NO_VALUE 0
#define UF_STYLER_INTEGER_VALUE 1
#define UF_STYLER_REAL_VALUE 2
#define UF_STYLER_STRING_VALUE 3
#define UF_STYLER_STRING_PTR_VALUE 4

/* Status of an item value whose type (indicator) does not fit the item: the host
 * returns it from UF_STYLER_set_value, and a plug-in given a value of another type
 * than the one it asked for treats it as this failure. */
#define UF_STYLER_ERR_VALUE_TYPE 1024

typedef struct UF_STYLER_item_value_type_s {
    int reason;            /* callback type that caused the event */
    const char *item_id;   /* item identifier, or UF_STYLER_DIALOG_INDEX */
    int subitem_index;     /* list line, button of a layout; -1 = all */
    int count;             /* number of texts in value.strings */
    int item_attr;         /* UF_STYLER_SENSITIVITY, UF_STYLER_VALUE, ... */
    int indicator;         /* UF_STYLER_INTEGER_VALUE, ... */
    union {
        int integer;
        double real;
        char *string;
        char **strings;
    } value;
} UF_STYLER_item_value_type_t, *UF_STYLER_item_value_type_p_t;

typedef int (*UF_STYLER_cb_t)(int dialog_id, void *client_data,
                              UF_STYLER_item_value_type_p_t callback_data);

typedef struct UF_STYLER_callback_info_s {
    const char *object_id; /* item identifier or UF_STYLER_DIALOG_INDEX */
    int type;              /* UF_STYLER_*_CB, UF_STYLER_NO_CB ends the table */
    int indicator;         /* 1 = the callback also fires on the item's selection */
    UF_STYLER_cb_t callback;
} UF_STYLER_callback_info_t;

UF_API int UF_STYLER_create_dialog(const char *dialog_file, UF_STYLER_callback_info_t *callbacks,
                                   int count, void *client_data, int *response);
UF_API int UF_STYLER_ask_value(int dialog_id, UF_STYLER_item_value_type_p_t value);
UF_API int UF_STYLER_set_value(int dialog_id, UF_STYLER_item_value_type_p_t value);
UF_API int UF_STYLER_free_value(UF_STYLER_item_value_type_p_t value);

#ifdef __cplusplus
}
#endif

#endif
