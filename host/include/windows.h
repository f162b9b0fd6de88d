/*
 * The few Win32 calls the plug-ins use, with their Win32 meaning, provided by
 * the host. Message boxes are owned by the window given (the one with the
 * keyboard focus, from GetFocus); timers tick on the host's clock.
 */
#ifndef UGHOST_WINDOWS_H
#define UGHOST_WINDOWS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WIN_API __attribute__((visibility("default")))

typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HMODULE;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t INT_PTR;
typedef unsigned long DWORD;
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define MB_OK 0x0
#define MB_YESNO 0x4
#define MB_ICONERROR 0x10
#define MB_ICONQUESTION 0x20
#define MB_ICONWARNING 0x30
#define MB_ICONINFORMATION 0x40
#define MB_DEFBUTTON2 0x100

#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

#define WM_DESTROY 0x0002
#define WM_INITDIALOG 0x0110
#define WM_TIMER 0x0113

WIN_API int MessageBoxA(HWND owner, const char *text, const char *caption, UINT style);
WIN_API int MessageBeep(UINT type);
WIN_API HWND GetFocus(void);
WIN_API UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
WIN_API int KillTimer(HWND window, UINT_PTR id);
WIN_API HMODULE GetModuleHandleA(const char *module_name);
WIN_API DWORD GetModuleFileNameA(HMODULE module, char *file_name, DWORD size);

/* A modal picture window without caption or buttons: the host shows the image
 * file, sends WM_INITDIALOG, then WM_TIMER for each timer tick, until the
 * procedure calls EndDialog; WM_DESTROY comes last. */
WIN_API INT_PTR DialogBoxPictureA(const char *image_file, DLGPROC procedure);
WIN_API int EndDialog(HWND window, INT_PTR result);

#ifdef __cplusplus
}
#endif

#endif
