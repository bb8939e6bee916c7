/*
 * A stand-in co-installer for the configuration dialog launch: its
 * WLAdtEntryPoint records the NIC id it was handed and the thread it runs
 * on, calls back into the API library of its own variant the way a dialog
 * does, holds the thread a while and marks its return last.
 */
#include <stdio.h>
#include <string.h>

#include "adt_probe.h"

typedef int(WINAPI *CurrentNicGetFn)(char *Val, DWORD *Size);

static HMODULE s_Self;

BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) s_Self = hinst;
    return TRUE;
}

#ifdef WITH_ENTRY_POINT
/* The library of this module's variant: own base name, "a" second. */
static HMODULE VariantLibrary(void)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(s_Self, path, sizeof path);
    if (n == 0 || n >= sizeof path) return NULL;
    const char *base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%s", base);
    if (strlen(name) < 2) return NULL;
    name[1] = 'a';
    return GetModuleHandleA(name);
}

DWORD WINAPI WLAdtEntryPoint(LPVOID Nic)
{
    HANDLE map = OpenFileMappingA(FILE_MAP_WRITE, FALSE, ADT_PROBE_MAPPING);
    AdtProbeRecord *rec = map ? (AdtProbeRecord *)MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof *rec) : NULL;
    if (rec != NULL) {
        InterlockedIncrement(&rec->calls);
        rec->threadId = GetCurrentThreadId();
        if (Nic != NULL) lstrcpynA(rec->nic, (const char *)Nic, sizeof rec->nic);
        rec->libraryNicRc = -1;
        HMODULE lib = VariantLibrary();
        CurrentNicGetFn get = lib ? (CurrentNicGetFn)(void *)GetProcAddress(lib, "WLCurrentNICGet") : NULL;
        if (get != NULL) {
            DWORD size = sizeof rec->libraryNic;
            rec->libraryNicRc = get(rec->libraryNic, &size);
        }
        Sleep(ADT_PROBE_SLEEP_MS);
        InterlockedExchange(&rec->returned, 1);
        UnmapViewOfFile(rec);
    }
    if (map) CloseHandle(map);
    return 0;
}
#endif
