/*
 * Entry points of the co-installer: Setup's co-installer callback (driver
 * key update on install, key removal and the service program on removal,
 * the adapter's pages for the Device Manager) and the configuration dialog
 * that the API library's WLCfgDialogGet starts on a thread of its own.
 * Every failure inside the callback is silent: installation and removal
 * never fail because of the co-installer.
 */
#include "coinst.h"

#include <setupapi.h>
#include <shellapi.h>
#include <string.h>

#include "installlogic.h"
#include "pagelogic.h"
#include "res/resource.h"

extern "C" INT_PTR CALLBACK NicSpecificDlgProc(HWND, UINT, WPARAM, LPARAM);

namespace {

/* The service program of this variant, which unregisters the hunting
 * service when an adapter goes. */
const char kServiceProgram[] = "WSVXQ48" COINST_VARIANT ".exe";

/*
 * The Wireless Networks page's dialog procedure, exported by this module.
 * Looked up through the export table so that a build whose page is not
 * there yet simply fails to create that page.
 */
DLGPROC NetworksPageProc()
{
    return reinterpret_cast<DLGPROC>(reinterpret_cast<void *>(GetProcAddress(g_Instance, "WirelessDlgProc")));
}

void *Alloc(size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size); }
void Free(void *p)
{
    if (p) HeapFree(GetProcessHeap(), 0, p);
}

HPROPSHEETPAGE CreatePage(int dialogId, int titleId, DLGPROC proc, void *lParam)
{
    if (!proc) return NULL;
    PROPSHEETPAGEA psp;
    memset(&psp, 0, sizeof psp);
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
    psp.hInstance = g_ResourceModule;
    psp.pszTemplate = MAKEINTRESOURCEA(dialogId);
    psp.pszTitle = MAKEINTRESOURCEA(titleId);
    psp.pfnDlgProc = proc;
    psp.lParam = reinterpret_cast<LPARAM>(lParam);
    psp.pfnCallback = PageCallback;
    return CreatePropertySheetPageA(&psp);
}

/* State of the Windows zero configuration service, 0 when unknown. */
DWORD ZeroConfigState()
{
    DWORD state = 0;
    SC_HANDLE scm = OpenSCManagerA(NULL, "ServicesActive", SC_MANAGER_ALL_ACCESS);
    if (!scm) return 0;
    SC_HANDLE svc = OpenServiceA(scm, "WZCSVC", SERVICE_ALL_ACCESS);
    if (svc) {
        SERVICE_STATUS st;
        if (QueryServiceStatus(svc, &st)) state = st.dwCurrentState;
        CloseServiceHandle(svc);
    }
    CloseServiceHandle(scm);
    return state;
}

void InstallDevice(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    if (g_OsType != OS_WIN2001 && g_OsType != OS_WIN2000) return;
    HKEY key = SetupDiOpenDevRegKey(set, dev, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_SET_VALUE);
    if (key == INVALID_HANDLE_VALUE) return;
    if (g_OsType == OS_WIN2001) {
        OSVERSIONINFOEXA vi;
        memset(&vi, 0, sizeof vi);
        vi.dwOSVersionInfoSize = sizeof vi;
        if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&vi))) {
            const char *rtm = RtmValueFor(vi.dwBuildNumber, vi.wServicePackMajor, vi.wServicePackMinor);
            RegSetValueExA(key, "RTM", 0, REG_SZ, reinterpret_cast<const BYTE *>(rtm), 1);
        }
    }
    RegCloseKey(key);
}

void RemoveDevice(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    /* Windows XP keeps the device's keys for a reinstallation. */
    if (g_OsType != OS_WIN2001) SetupDiDeleteDevRegKey(set, dev, DICS_FLAG_CONFIGSPECIFIC, 0xFFFFFFFF, DIREG_BOTH);
    ShellExecuteA(NULL, "open", kServiceProgram, "/UnregService", NULL, SW_HIDE);
}

void AddPages(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    /* Without an answer the adapter counts as not claimed by another
     * manager. */
    DWORD thirdParty = RefreshCurrentNICInfo() == WL_SUCCESS ? SharedThirdPartyBits() : 0;
    if (!dev) return;
    SP_ADDPROPERTYPAGE_DATA data;
    memset(&data, 0, sizeof data);
    data.ClassInstallHeader.cbSize = sizeof data.ClassInstallHeader;
    if (!SetupDiGetClassInstallParamsA(set, dev, &data.ClassInstallHeader, sizeof data, NULL)) return;
    if (data.NumDynamicPages >= COINST_MAX_PAGES) return;

    AdapterPageContext *c = static_cast<AdapterPageContext *>(Alloc(sizeof *c));
    NetworksPageBlock *b = static_cast<NetworksPageBlock *>(Alloc(sizeof *b));
    if (!c || !b) {
        Free(c);
        Free(b);
        return;
    }
    c->DeviceInfoSet = set;
    c->DeviceInfoData = dev;
    ContextFullReset(c);
    /* A device whose driver key names no adapter of ours gets no pages:
     * they would show a meaningless adapter. */
    if (!IdentifyAdapter(c)) {
        Free(c);
        Free(b);
        return;
    }
    /* The NotOwn rule is about the adapter these pages are for: its word
     * as the identification read it. The word read first is that of the
     * library's current adapter, which in Setup's process is none yet or
     * another one. */
    thirdParty = c->ThirdParty;
    HPROPSHEETPAGE advanced = CreatePage(IDD_WIRELESS_ADVANCED, IDS_WIRELESS_ADVANCED, NicSpecificDlgProc, c);
    if (!advanced) {
        Free(c);
        Free(b);
        return;
    }
    data.DynamicPages[data.NumDynamicPages++] = advanced;

    if (NetworksPageLeftOut(thirdParty, g_OsType, g_OsType == OS_WIN2001 ? ZeroConfigState() : 0)) {
        Free(b); /* no page owns it */
        SetupDiSetClassInstallParamsA(set, dev, &data.ClassInstallHeader, sizeof data);
        return;
    }
    b->Context = c;
    HPROPSHEETPAGE networks = CreatePage(IDD_WIRELESS_NETWORKS, IDS_WIRELESS_NETWORKS, NetworksPageProc(), b);
    if (!networks) {
        /* Neither page is shown; destroying the Advanced page releases the
         * context through the page callback. */
        DestroyPropertySheetPage(advanced);
        Free(b);
        return;
    }
    if (data.NumDynamicPages < COINST_MAX_PAGES)
        data.DynamicPages[data.NumDynamicPages++] = networks;
    else
        DestroyPropertySheetPage(networks); /* releases the block */
    SetupDiSetClassInstallParamsA(set, dev, &data.ClassInstallHeader, sizeof data);
}

/* Frees a context's preferred names and the blocks of a sheet that was
 * never shown. */
void FreeSheetBlocks(AdapterPageContext *c, NetworksPageBlock *b)
{
    if (c)
        for (int i = 0; i < MAX_PREFERRED_NAMES; i++) Free(c->PreferredNames[i]);
    Free(c);
    Free(b);
}

void LoadPreferredNames(AdapterPageContext *c)
{
    char name[PROFILE_NAME_CHARS];
    DWORD size = sizeof name;
    int rc = WLFirstPreferredProfileByNameGet(name, &size);
    c->PreferredCount = 0;
    while (rc == WL_SUCCESS && c->PreferredCount < MAX_PREFERRED_NAMES) {
        char *copy = static_cast<char *>(Alloc(PROFILE_NAME_CHARS));
        if (!copy) break;
        size_t n = size < sizeof name ? size : sizeof name - 1;
        memcpy(copy, name, n);
        copy[n] = 0;
        c->PreferredNames[c->PreferredCount++] = copy;
        size = sizeof name;
        rc = WLNextPreferredProfileByNameGet(name, &size);
    }
}

void ReadNicIdBack(AdapterPageContext *c)
{
    char back[NIC_ID_SIZE + 1] = "";
    DWORD size = sizeof back;
    if (WLCurrentNICGet(back, &size) == WL_SUCCESS && size < sizeof back && size > 0) {
        back[size] = 0;
        memcpy(c->NicId, back, size + 1);
    }
}

} // namespace

/* Set when a window titled with "Edit Configuration" was enumerated. */
int g_EditConfigurationSeen;

extern "C" BOOL CALLBACK EnumWindowsProc(HWND window, LPARAM param)
{
    (void)param;
    char title[128];
    int n = GetWindowTextA(window, title, sizeof title);
    if (n > 0 && n < (int)sizeof title) {
        title[n] = 0;
        if (strstr(title, "Edit Configuration")) g_EditConfigurationSeen = 1;
    }
    return TRUE;
}

extern "C" DWORD CALLBACK WLDeviceCoInstaller(DI_FUNCTION function, HDEVINFO set, SP_DEVINFO_DATA *dev,
                                              COINSTALLER_CONTEXT_DATA *context)
{
    (void)context;
    DWORD os = 0;
    if (WLOSTypeGet(&os) == WL_SUCCESS) g_OsType = os;
    switch (function) {
    case DIF_INSTALLDEVICE: InstallDevice(set, dev); break;
    case DIF_REMOVE: RemoveDevice(set, dev); break;
    case DIF_ADDPROPERTYPAGE_ADVANCED: AddPages(set, dev); break;
    default: break;
    }
    return NO_ERROR;
}

extern "C" DWORD WINAPI WLAdtEntryPoint(LPVOID param)
{
    char nic[NIC_ID_SIZE + 1] = "";
    if (param) lstrcpynA(nic, static_cast<const char *>(param), sizeof nic);

    AdapterPageContext *c = static_cast<AdapterPageContext *>(Alloc(sizeof *c));
    NetworksPageBlock *b = static_cast<NetworksPageBlock *>(Alloc(sizeof *b));
    if (!c || !b) {
        FreeSheetBlocks(c, b);
        return WL_NO_MEMORY;
    }
    b->Context = c;
    ContextFullReset(c);
    int rc = WLCurrentNICSet(nic, 4);
    if (rc != WL_SUCCESS) {
        FreeSheetBlocks(c, b);
        return (DWORD)rc;
    }
    lstrcpynA(c->NicId, nic, sizeof c->NicId);
    ReadNicIdBack(c);
    LoadPreferredNames(c);
    ReadNicIdBack(c);
    RefreshCurrentNICInfo();

    DLGPROC networksProc = NetworksPageProc();
    PROPSHEETPAGEA pages[2];
    memset(pages, 0, sizeof pages);
    const int dialogs[2] = {IDD_WIRELESS_ADVANCED, IDD_WIRELESS_NETWORKS};
    const int titles[2] = {IDS_WIRELESS_ADVANCED, IDS_WIRELESS_NETWORKS};
    const DLGPROC procs[2] = {NicSpecificDlgProc, networksProc};
    void *const params[2] = {c, b};
    for (int i = 0; i < 2; i++) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE | PSP_USECALLBACK;
        pages[i].hInstance = g_ResourceModule;
        pages[i].pszTemplate = MAKEINTRESOURCEA(dialogs[i]);
        pages[i].pszTitle = MAKEINTRESOURCEA(titles[i]);
        pages[i].pfnDlgProc = procs[i];
        pages[i].lParam = reinterpret_cast<LPARAM>(params[i]);
        pages[i].pfnCallback = PageCallback;
    }
    /* A build without the networks page shows the Advanced page alone. */
    UINT count = networksProc ? 2 : 1;
    if (!networksProc) {
        for (int i = 0; i < MAX_PREFERRED_NAMES; i++) Free(c->PreferredNames[i]);
        memset(c->PreferredNames, 0, sizeof c->PreferredNames);
        c->PreferredCount = 0;
        Free(b);
    }

    char caption[sizeof g_CurrentNICInfo.FriendlyName];
    lstrcpynA(caption, g_CurrentNICInfo.FriendlyName, sizeof caption);
    PROPSHEETHEADERA psh;
    memset(&psh, 0, sizeof psh);
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USEHICON;
    psh.hwndParent = NULL;
    psh.hInstance = g_ResourceModule;
    psh.hIcon = LoadIconA(g_ResourceModule, MAKEINTRESOURCEA(IDI_ADAPTER));
    psh.pszCaption = caption;
    psh.nPages = count;
    psh.nStartPage = count - 1;
    psh.ppsp = pages;
    return (DWORD)PropertySheetA(&psh);
}
