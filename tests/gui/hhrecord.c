/*
 * Recording stand-in of the HTML Help control: HtmlHelpA at ordinal 14
 * keeps the arguments of each call, which HhRecordGet hands to the test.
 */
#include <windows.h>
#include <string.h>

#include "hhrecord.h"

static HhCall g_Calls[HH_RECORD_MAX];
static int g_Count;

HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data)
{
    if (g_Count < HH_RECORD_MAX) {
        HhCall *c = &g_Calls[g_Count];
        memset(c, 0, sizeof *c);
        c->owner = owner;
        c->command = command;
        if (file) lstrcpynA(c->file, file, sizeof c->file);
        if (data) lstrcpynA(c->topic, (const char *)data, sizeof c->topic);
    }
    g_Count++;
    /* a help window of its own stands for the viewer */
    return GetDesktopWindow();
}

int WINAPI HhRecordGet(HhCall *calls, int max)
{
    for (int i = 0; i < g_Count && i < max && i < HH_RECORD_MAX; i++) calls[i] = g_Calls[i];
    return g_Count;
}
