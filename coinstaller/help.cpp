/*
 * Context help of the pages and dialogs: the help file in the system
 * directory, the pending help id, the topic table and the HTML Help
 * control, bound on first use (a failed binding is not retried).
 */
#include "coinst.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "pagelogic.h"

namespace {

const char kHelpFile[] = "WNVXQNLS.CHM";
const char kHtmlHelpServer[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const UINT HH_DISPLAY_TOPIC_CMD = 0;

char g_HelpPath[MAX_PATH];
int g_PendingId = -1;

typedef HWND(WINAPI *HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);
enum { BindNotTried, BindDone, BindFailed } g_BindState = BindNotTried;
HtmlHelpFn g_HtmlHelp;
HMODULE g_HelpControl;

void Bind()
{
    if (g_BindState != BindNotTried) return;
    g_BindState = BindFailed;
    HMODULE lib = NULL;
    char path[260] = "";
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServer, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof path - 1, type = 0;
        if (RegQueryValueExA(key, NULL, NULL, &type, (BYTE *)path, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            path[size < sizeof path ? size : sizeof path - 1] = 0;
            if (path[0]) lib = LoadLibraryA(path);
        }
        RegCloseKey(key);
    }
    if (!lib) lib = LoadLibraryA("hhctrl.ocx");
    if (!lib) return;
    g_HelpControl = lib;
    g_HtmlHelp = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void *>(GetProcAddress(lib, MAKEINTRESOURCEA(14))));
    if (g_HtmlHelp) g_BindState = BindDone;
}

HWND HtmlHelp(HWND owner, const char *file, UINT command, DWORD_PTR data)
{
    Bind();
    return g_BindState == BindDone ? g_HtmlHelp(owner, file, command, data) : NULL;
}

LRESULT CALLBACK HelpSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_RBUTTONDOWN) {
        HelpSetPending(GetDlgCtrlID(hwnd));
        return 0;
    }
    if (msg == WM_RBUTTONUP) {
        HelpShow(GetDlgCtrlID(hwnd));
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, HelpSubclassProc, 1);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

HWND HelpHtmlHelp(HWND owner, const char *file, UINT command, DWORD_PTR data)
{
    return HtmlHelp(owner, file, command, data);
}

void HelpLocateFile(void)
{
    char path[MAX_PATH];
    g_HelpPath[0] = 0;
    UINT n = GetSystemDirectoryA(path, sizeof path);
    if (n == 0 || n + 1 + sizeof kHelpFile > sizeof path) return;
    snprintf(path + n, sizeof path - n, "\\%s", kHelpFile);
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return;
    CloseHandle(h);
    memcpy(g_HelpPath, path, strlen(path) + 1);
}

void HelpSetPending(int id) { g_PendingId = id; }

void HelpUnload(void)
{
    if (g_HelpControl) FreeLibrary(g_HelpControl);
    g_HelpControl = NULL;
    g_HtmlHelp = NULL;
    g_BindState = BindNotTried;
}

void HelpShow(int id)
{
    if (!g_HelpPath[0] || id != g_PendingId) return;
    const char *topic = HelpTopicFor(id);
    if (!topic) return;
    HtmlHelp(NULL, g_HelpPath, HH_DISPLAY_TOPIC_CMD, reinterpret_cast<DWORD_PTR>(topic));
}

void HelpFromHelpInfo(LPARAM lp)
{
    const HELPINFO *info = reinterpret_cast<const HELPINFO *>(lp);
    if (!info) return;
    HelpSetPending(info->iCtrlId);
    HelpShow(info->iCtrlId);
}

void HelpSubclass(HWND control)
{
    if (control) SetWindowSubclass(control, HelpSubclassProc, 1, 0);
}
