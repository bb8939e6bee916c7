/*
 * The configuration dialog of the current adapter. It lives in the device
 * co-installer of this variant, the library's sibling (WAVXQ48E ->
 * WdVXQ48E.dll) in the
 * Windows system directory. Its entry point runs on a thread of its own
 * with the adapter's NIC id; the caller waits until it has returned.
 */
#include <stdio.h>

#include "trace/wltrace.h"
#include "wlcore/siblings.h"

#define SYSTEM_DIR_MAX 64 /* characters of the system directory path */

typedef DWORD(WINAPI *AdtEntryPoint)(LPVOID Nic);

/* Full path of the co-installer, or false when it cannot be formed. */
static bool CoInstallerPath(const char *ownName, char *path, size_t size)
{
    char systemDir[SYSTEM_DIR_MAX + 1];
    UINT n = GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (n == 0 || n > SYSTEM_DIR_MAX) return false;
    char name[40];
    if (WLSiblingName(ownName, WL_SIBLING_COINSTALLER, ".dll", name, sizeof name) < 0) return false;
    return snprintf(path, size, "%s\\%s", systemDir, name) < (int)size;
}

/* The code of a failed check once the co-installer is loaded: it is
 * unloaded first. */
static int Unloaded(HMODULE hDll)
{
    FreeLibrary(hDll);
    return WL_GENERAL_ERROR;
}

static int AdtFunction(void)
{
    WL_FRAME("AdtFunction");
    char buf[32];
    DWORD sz = sizeof buf;
    WL_CHECK(WLDAINameGet (buf, &sz) != WL_SUCCESS, WL_GENERAL_ERROR);

    char path[MAX_PATH];
    HMODULE hDll = NULL;
    if (CoInstallerPath(buf, path, sizeof path)) {
        WLLog("Loading %s\n", path);
        hDll = LoadLibraryA(path);
    }
    WL_CHECK(hDll == NULL, WL_GENERAL_ERROR);

    AdtEntryPoint pAdtEntryPointFn =
        reinterpret_cast<AdtEntryPoint>(reinterpret_cast<void *>(GetProcAddress(hDll, "WLAdtEntryPoint")));
    WL_CHECK(pAdtEntryPointFn == NULL, Unloaded(hDll));

    char Nic[16];
    DWORD Size = sizeof Nic;
    WL_CHECK(WLCurrentNICGet (Nic, &Size) != WL_SUCCESS, Unloaded(hDll));

    /* The dialog thread owns the user interface and may call back into this
     * library; this thread only waits for it to end. */
    DWORD threadId = 0;
    HANDLE hThread = CreateThread(NULL, 0, pAdtEntryPointFn, Nic, 0, &threadId);
    if (hThread != NULL) {
        WLLog("Dialog thread %lu started\n", (unsigned long)threadId);
        WaitForSingleObject(hThread, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeThread(hThread, &exitCode);
        WLLog("Dialog thread ended with %lu\n", (unsigned long)exitCode);
        CloseHandle(hThread);
    }

    /* A dialog that never ran is a failure, not a success. */
    WL_CHECK(hThread == NULL, Unloaded(hDll));
    WL_CHECK(FreeLibrary (hDll) == 0, WL_GENERAL_ERROR);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCfgDialogGet(void)
{
    WL_FRAME("WLCfgDialogGet");
    WL_RETURN(AdtFunction());
}
