/*
 * devprops: the part of the Device Manager's properties dialog that Wine
 * lacks, a tool of the test and demo setup. For an installed adapter it
 * asks Setup for the device's advanced property pages
 * (DIF_ADDPROPERTYPAGE_ADVANCED through SetupDiCallClassInstaller, which
 * calls the co-installers the device registers) and shows the pages it
 * gets in a property sheet captioned with the device's name.
 *
 *   devprops DEVICE [--page N] [--shot FILE.bmp] [--ready FILE] [--wait]
 *                   [--story PROFILE SSID]
 *
 * DEVICE is a device instance id or a NIC id. Without options the sheet is
 * modal and stays for a person. --shot writes a bitmap of the sheet (page
 * N, 0 the first, in front) and closes it, unless --wait: then the sheet
 * stays until it is closed (a test presses its buttons). --ready writes the
 * sheet's window handle and the page titles, one a line, once the sheet is
 * shown. --story drives the Wireless Networks page through the demo's
 * story (story.h), takes the screenshot after its activation and closes
 * the sheet, unless --wait. Standard output lists the page titles. Exit codes: 0 shown, 1 no
 * such device or no pages, 2 usage.
 *
 * Class install parameters: Windows keeps them per device element
 * (SetupDiSetClassInstallParamsA, SetupDiGetClassInstallParamsA); the page
 * list travels in them. Wine 8 refuses the first and has no second (a call
 * ends the process). When setting them fails, this tool keeps them itself:
 * it loads the installers the device registers and points their imports of
 * both functions at its own store, which it uses too.
 */
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "bench/iat_patch.h"
#include "devices.h"
#include "story.h"

namespace {

/* ---- Class install parameters kept by the tool ---- */

struct StoredParams {
    HDEVINFO set;
    DWORD devInst; /* 0 for the set's own parameters */
    std::vector<BYTE> data;
};
std::vector<StoredParams> g_Params;

StoredParams *FindParams(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    DWORD inst = dev ? dev->DevInst : 0;
    for (StoredParams &p : g_Params)
        if (p.set == set && p.devInst == inst) return &p;
    return NULL;
}

BOOL WINAPI StoreSetClassInstallParamsA(HDEVINFO set, PSP_DEVINFO_DATA dev, PSP_CLASSINSTALL_HEADER params,
                                        DWORD size)
{
    StoredParams *p = FindParams(set, dev);
    if (!params) {
        /* No parameters: the element's are cleared. */
        if (p) p->data.clear();
        return TRUE;
    }
    if (size < sizeof *params || params->cbSize != sizeof *params) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    if (!p) {
        g_Params.push_back(StoredParams{set, dev ? dev->DevInst : 0, {}});
        p = &g_Params.back();
    }
    p->data.assign((const BYTE *)params, (const BYTE *)params + size);
    return TRUE;
}

BOOL WINAPI StoreGetClassInstallParamsA(HDEVINFO set, PSP_DEVINFO_DATA dev, PSP_CLASSINSTALL_HEADER params,
                                        DWORD size, PDWORD required)
{
    StoredParams *p = FindParams(set, dev);
    if (!p || p->data.empty()) {
        SetLastError(ERROR_NO_CLASSINSTALL_PARAMS);
        return FALSE;
    }
    if (required) *required = (DWORD)p->data.size();
    if (!params || size < p->data.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    if (params->cbSize != sizeof *params) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    memcpy(params, p->data.data(), p->data.size());
    return TRUE;
}

typedef BOOL(WINAPI *SetParamsFn)(HDEVINFO, PSP_DEVINFO_DATA, PSP_CLASSINSTALL_HEADER, DWORD);
typedef BOOL(WINAPI *GetParamsFn)(HDEVINFO, PSP_DEVINFO_DATA, PSP_CLASSINSTALL_HEADER, DWORD, PDWORD);
SetParamsFn g_SetParams = SetupDiSetClassInstallParamsA;
GetParamsFn g_GetParams = SetupDiGetClassInstallParamsA;

/* The "dll,entry" lists of a REG_MULTI_SZ (or REG_SZ) value. */
std::vector<std::string> InstallerList(HKEY key, const char *value)
{
    std::vector<std::string> out;
    char buf[2048];
    DWORD size = sizeof buf - 2, type = 0;
    if (RegQueryValueExA(key, value, NULL, &type, (BYTE *)buf, &size) != ERROR_SUCCESS) return out;
    if (type != REG_SZ && type != REG_MULTI_SZ) return out;
    buf[size] = buf[size + 1] = 0;
    for (const char *s = buf; *s; s += strlen(s) + 1) out.push_back(s);
    return out;
}

/* Loads the class installer and the class and device co-installers of the
 * device and points their class install parameter imports at the store;
 * the modules stay loaded, so Setup's own loading finds them patched. */
int PatchInstallers(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    std::vector<std::string> entries;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNetClassKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        for (const std::string &e : InstallerList(key, "Installer32")) entries.push_back(e);
        RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\CoDeviceInstallers", 0, KEY_READ,
                      &key) == ERROR_SUCCESS) {
        for (const char *name : {"{4D36E972-E325-11CE-BFC1-08002BE10318}", "{4d36e972-e325-11ce-bfc1-08002be10318}"})
            for (const std::string &e : InstallerList(key, name)) entries.push_back(e);
        RegCloseKey(key);
    }
    key = SetupDiOpenDevRegKey(set, dev, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
    if (key != INVALID_HANDLE_VALUE) {
        for (const std::string &e : InstallerList(key, "CoInstallers32")) entries.push_back(e);
        RegCloseKey(key);
    }
    static void *realSet, *realGet;
    const Wrapper wrappers[] = {{"SetupDiSetClassInstallParamsA", (void *)StoreSetClassInstallParamsA, &realSet},
                                {"SetupDiGetClassInstallParamsA", (void *)StoreGetClassInstallParamsA, &realGet}};
    int patched = 0;
    for (const std::string &e : entries) {
        std::string dll = e.substr(0, e.find(','));
        HMODULE m = LoadLibraryA(dll.c_str());
        if (!m) {
            printf("  installer %s does not load (error %lu)\n", dll.c_str(), GetLastError());
            continue;
        }
        for (const Wrapper &w : wrappers) patched += PatchImport(m, w);
    }
    return patched;
}

/* ---- The sheet ---- */

void Pump(int rounds)
{
    for (int i = 0; i < rounds; i++) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        GdiFlush();
        Sleep(40);
    }
}

/* A 24-bit bitmap file of the window as the screen shows it. */
bool SaveShot(HWND w, const char *path)
{
    RedrawWindow(w, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(10);
    RECT r;
    GetWindowRect(w, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFOHEADER bih;
    memset(&bih, 0, sizeof bih);
    bih.biSize = sizeof bih;
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(screen, (BITMAPINFO *)&bih, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = false;
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        SelectObject(mem, old);
        DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
        BITMAPFILEHEADER bfh;
        memset(&bfh, 0, sizeof bfh);
        bfh.bfType = 0x4D42;
        bfh.bfOffBits = sizeof bfh + sizeof bih;
        bfh.bfSize = bfh.bfOffBits + stride * height;
        FILE *f = fopen(path, "wb");
        if (f) {
            ok = fwrite(&bfh, sizeof bfh, 1, f) == 1 && fwrite(&bih, sizeof bih, 1, f) == 1 &&
                 fwrite(bits, stride * height, 1, f) == 1;
            ok = fclose(f) == 0 && ok;
        }
    }
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    return ok;
}

struct Options {
    std::string device;
    int page = 0;
    const char *shot = NULL;
    const char *ready = NULL;
    bool wait = false;
    const char *storyProfile = NULL, *storySsid = NULL;
};

const char *g_ShotPath;
bool StoryShot(HWND sheet)
{
    bool saved = SaveShot(sheet, g_ShotPath);
    printf("  %s %s\n", saved ? "screenshot" : "no screenshot", g_ShotPath);
    return saved;
}

int Show(const Options &o)
{
    SP_DEVINFO_DATA dev;
    HDEVINFO set = OpenAdapter(o.device, &dev);
    if (set == INVALID_HANDLE_VALUE) {
        printf("devprops: no adapter %s\n", o.device.c_str());
        return 1;
    }
    SP_ADDPROPERTYPAGE_DATA data;
    memset(&data, 0, sizeof data);
    data.ClassInstallHeader.cbSize = sizeof data.ClassInstallHeader;
    data.ClassInstallHeader.InstallFunction = DIF_ADDPROPERTYPAGE_ADVANCED;
    if (!SetupDiSetClassInstallParamsA(set, &dev, &data.ClassInstallHeader, sizeof data)) {
        int n = PatchInstallers(set, &dev);
        printf("  Setup keeps no class install parameters (error 0x%08lX): kept by this tool, %d imports "
               "redirected\n",
               GetLastError(), n);
        g_SetParams = StoreSetClassInstallParamsA;
        g_GetParams = StoreGetClassInstallParamsA;
        g_SetParams(set, &dev, &data.ClassInstallHeader, sizeof data);
    }
    SetLastError(0);
    BOOL called = SetupDiCallClassInstaller(DIF_ADDPROPERTYPAGE_ADVANCED, set, &dev);
    printf("  DIF_ADDPROPERTYPAGE_ADVANCED: %s\n",
           called ? "done" : GetLastError() == ERROR_DI_DO_DEFAULT ? "nothing more to do" : "failed");
    memset(&data, 0, sizeof data);
    data.ClassInstallHeader.cbSize = sizeof data.ClassInstallHeader;
    if (!g_GetParams(set, &dev, &data.ClassInstallHeader, sizeof data, NULL) || data.NumDynamicPages == 0) {
        printf("devprops: the device has no advanced pages\n");
        SetupDiDestroyDeviceInfoList(set);
        return 1;
    }
    char caption[256] = "";
    if (!SetupDiGetDeviceRegistryPropertyA(set, &dev, SPDRP_FRIENDLYNAME, NULL, (BYTE *)caption, sizeof caption,
                                           NULL))
        SetupDiGetDeviceRegistryPropertyA(set, &dev, SPDRP_DEVICEDESC, NULL, (BYTE *)caption, sizeof caption, NULL);

    PROPSHEETHEADERA psh;
    memset(&psh, 0, sizeof psh);
    psh.dwSize = sizeof psh;
    psh.pszCaption = caption;
    psh.nPages = data.NumDynamicPages;
    psh.nStartPage = o.page >= 0 && (UINT)o.page < data.NumDynamicPages ? o.page : 0;
    psh.phpage = data.DynamicPages;
    int rc = 0;
    if (!o.shot && !o.ready && !o.storyProfile) {
        /* For a person: the modal sheet, as the Device Manager shows it. */
        PropertySheetA(&psh);
    } else {
        psh.dwFlags |= PSH_MODELESS;
        HWND sheet = (HWND)PropertySheetA(&psh);
        if (!sheet) {
            printf("devprops: the sheet did not open\n");
            rc = 1;
        } else {
            Pump(5);
            std::vector<std::string> titles = PageTitles(sheet);
            for (const std::string &t : titles) printf("page \"%s\"\n", t.c_str());
            HANDLE story = NULL;
            int *storyRc = NULL;
            StoryOptions so = {o.storyProfile, o.storySsid, o.wait, NULL};
            if (o.storyProfile) {
                g_ShotPath = o.shot;
                if (o.shot) so.shot = StoryShot;
                story = StartStory(sheet, so, &storyRc);
            } else if (o.shot) {
                bool saved = SaveShot(sheet, o.shot);
                printf("%s %s\n", saved ? "screenshot" : "no screenshot", o.shot);
                if (!saved) rc = 1;
            }
            if (o.ready) {
                std::string tmp = std::string(o.ready) + ".tmp";
                FILE *f = fopen(tmp.c_str(), "w");
                if (f) {
                    fprintf(f, "%lu\n", (unsigned long)(ULONG_PTR)sheet);
                    for (const std::string &t : titles) fprintf(f, "%s\n", t.c_str());
                    fclose(f);
                    MoveFileExA(tmp.c_str(), o.ready, MOVEFILE_REPLACE_EXISTING);
                }
            }
            if (!o.wait && !story) PropSheet_PressButton(sheet, PSBTN_CANCEL);
            /* The modeless sheet's loop: it ends when a button closes it. */
            MSG msg;
            while (PropSheet_GetCurrentPageHwnd(sheet) != NULL) {
                DWORD r = MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
                (void)r;
                while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
                    if (!PropSheet_IsDialogMessage(sheet, &msg)) {
                        TranslateMessage(&msg);
                        DispatchMessageA(&msg);
                    }
                }
            }
            DestroyWindow(sheet);
            Pump(2);
            if (story) {
                WaitForSingleObject(story, INFINITE);
                CloseHandle(story);
                if (*storyRc != 0) rc = 1;
            }
            printf("closed\n");
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return rc;
}

} // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    Options o;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--page" && i + 1 < argc) {
            o.page = atoi(argv[++i]);
        } else if (a == "--shot" && i + 1 < argc) {
            o.shot = argv[++i];
        } else if (a == "--ready" && i + 1 < argc) {
            o.ready = argv[++i];
        } else if (a == "--wait") {
            o.wait = true;
        } else if (a == "--story" && i + 2 < argc) {
            o.storyProfile = argv[++i];
            o.storySsid = argv[++i];
        } else if (o.device.empty() && a[0] != '-') {
            o.device = a;
        } else {
            o.device.clear();
            break;
        }
    }
    if (o.device.empty()) {
        fprintf(stderr, "usage: devprops DEVICE [--page N] [--shot FILE.bmp] [--ready FILE] [--wait] [--story PROFILE SSID]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    return Show(o);
}
