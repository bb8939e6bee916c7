/*
 * Module set-up: generated names, OS type, common controls and the choice
 * of the resource module (the localized resource library when its product
 * version matches ours, else the co-installer itself).
 */
#include "coinst.h"

#include <commctrl.h>
#include <stdio.h>

#include "pagelogic.h"

HINSTANCE g_ResourceModule;
HINSTANCE g_Instance;
DWORD g_OsType;
char g_PartnerName[16];
char g_OwnName[16];

namespace {

const char kVendor[] = "VXQ";
const char kFamily[] = "48";
bool g_NamesBuilt;
HMODULE g_ResourceLibrary;

/* Product version (dwProductVersionMS) of a file; 0 when unreadable. */
bool ProductVersionMS(const char *path, DWORD *ms)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return false;
    void *data = HeapAlloc(GetProcessHeap(), 0, size);
    if (!data) return false;
    bool ok = false;
    VS_FIXEDFILEINFO *info = NULL;
    UINT len = 0;
    if (GetFileVersionInfoA(path, 0, size, data) && VerQueryValueA(data, "\\", (void **)&info, &len) &&
        info && len >= sizeof *info) {
        *ms = info->dwProductVersionMS;
        ok = true;
    }
    HeapFree(GetProcessHeap(), 0, data);
    return ok;
}

void ChooseResourceModule(HINSTANCE self)
{
    char nls[13];
    static_assert(sizeof nls >= sizeof "WDVXQNLS.DLL", "the resource library's name does not fit");
    snprintf(nls, sizeof nls, "WD%sNLS.DLL", kVendor);
    char own[MAX_PATH];
    DWORD n = GetModuleFileNameA(self, own, sizeof own);
    if (n == 0 || n >= sizeof own) return;
    DWORD nlsMS = 0, ownMS = 0;
    if (!ProductVersionMS(nls, &nlsMS) || !ProductVersionMS(own, &ownMS)) return;
    if (!ProductVersionsMatch(nlsMS, ownMS)) return;
    HMODULE lib = LoadLibraryA(nls);
    if (lib) {
        g_ResourceLibrary = lib;
        g_ResourceModule = lib;
    }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (!g_NamesBuilt) {
        snprintf(g_PartnerName, sizeof g_PartnerName, "WI%s%s%s.DLL", kVendor, kFamily, COINST_VARIANT);
        snprintf(g_OwnName, sizeof g_OwnName, "WD%s%s%s.DLL", kVendor, kFamily, COINST_VARIANT);
        g_NamesBuilt = true;
    }
    DWORD os = 0;
    if (WLOSTypeGet(&os) == WL_SUCCESS) g_OsType = os;
#ifdef WL_HAS_THUNK
    if (g_OsType == OS_WIN98) ThunkConnect(instance, reason);
#endif

    if (reason == DLL_PROCESS_DETACH) {
        g_ResourceModule = NULL;
        /* At process exit the loader unloads everything itself. */
        if (reserved == NULL) {
            if (g_ResourceLibrary) FreeLibrary(g_ResourceLibrary);
            HelpUnload();
        }
        g_ResourceLibrary = NULL;
    } else if (reason == DLL_PROCESS_ATTACH) {
        g_Instance = instance;
        g_ResourceModule = instance;
        DisableThreadLibraryCalls(instance);
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
        InitCommonControlsEx(&icc);
        ChooseResourceModule(instance);
    }
    return TRUE;
}
