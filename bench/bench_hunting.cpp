/*
 * Cost of one profile hunting pass as the service runs it: the library
 * loaded by name for the enumeration, then for each adapter loaded again,
 * the adapter selected and WLAPHPP called (a usable link, so no profile is
 * activated), and unloaded; against a pass that only enumerates. Counts
 * library loads, device requests, opens and registry calls of the loaded
 * libraries (their import tables are patched at every load) and the wall
 * time, for 1 and 4 adapters of variant D.
 *
 *   bench_hunting [passes]      default 20
 */
#include <windows.h>

#include "iat_patch.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "simclient.h"

/* ---- Counting wrappers in the library's import table ---- */

/* Calls counted per kind: device requests, opens (device or file), registry
 * calls, and log file calls (writes, seeks, existence checks). */
enum CallKind { CALL_DEVICE, CALL_OPEN, CALL_REGISTRY, CALL_LOG, CALL_KINDS };
static const char *const kKindNames[CALL_KINDS] = {"ioctls", "opens", "reg", "log"};
static unsigned long g_Calls[CALL_KINDS];

/* One wrapper per imported function: counts the call by kind, then calls
 * the real function found in the import table. */
#define COUNTING_WRAPPER(kind, ret, name, params, args)               \
    static ret(WINAPI *Real_##name) params;                           \
    static ret WINAPI Count_##name params                             \
    {                                                                 \
        g_Calls[kind]++;                                              \
        return Real_##name args;                                      \
    }

COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegOpenKeyExA, (HKEY k, LPCSTR s, DWORD o, REGSAM m, PHKEY r), (k, s, o, m, r))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegCreateKeyExA,
                 (HKEY k, LPCSTR s, DWORD r, LPSTR c, DWORD o, REGSAM m, LPSECURITY_ATTRIBUTES a, PHKEY h, LPDWORD d),
                 (k, s, r, c, o, m, a, h, d))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegQueryValueExA, (HKEY k, LPCSTR n, LPDWORD r, LPDWORD t, LPBYTE d, LPDWORD c),
                 (k, n, r, t, d, c))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegSetValueExA, (HKEY k, LPCSTR n, DWORD r, DWORD t, const BYTE *d, DWORD c),
                 (k, n, r, t, d, c))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegEnumKeyExA,
                 (HKEY k, DWORD i, LPSTR n, LPDWORD c, LPDWORD r, LPSTR cl, LPDWORD cc, PFILETIME t),
                 (k, i, n, c, r, cl, cc, t))
COUNTING_WRAPPER(CALL_REGISTRY, LONG, RegCloseKey, (HKEY k), (k))
COUNTING_WRAPPER(CALL_OPEN, HANDLE, CreateFileA,
                 (LPCSTR n, DWORD a, DWORD s, LPSECURITY_ATTRIBUTES sa, DWORD c, DWORD f, HANDLE t),
                 (n, a, s, sa, c, f, t))
COUNTING_WRAPPER(CALL_LOG, BOOL, WriteFile, (HANDLE h, LPCVOID b, DWORD n, LPDWORD w, LPOVERLAPPED o),
                 (h, b, n, w, o))
COUNTING_WRAPPER(CALL_LOG, BOOL, SetFilePointerEx, (HANDLE h, LARGE_INTEGER d, PLARGE_INTEGER p, DWORD m),
                 (h, d, p, m))
COUNTING_WRAPPER(CALL_LOG, DWORD, GetFileAttributesA, (LPCSTR n), (n))
static BOOL(WINAPI *Real_DeviceIoControl)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
static BOOL WINAPI Count_DeviceIoControl(HANDLE h, DWORD c, LPVOID i, DWORD il, LPVOID o, DWORD ol, LPDWORD r,
                                         LPOVERLAPPED ov)
{
    g_Calls[CALL_DEVICE]++;
    return Real_DeviceIoControl(h, c, i, il, o, ol, r, ov);
}

static const Wrapper kWrappers[] = {
    WRAPPER(RegOpenKeyExA), WRAPPER(RegCreateKeyExA),  WRAPPER(RegQueryValueExA),   WRAPPER(RegSetValueExA),
    WRAPPER(RegEnumKeyExA), WRAPPER(RegCloseKey),      WRAPPER(CreateFileA),        WRAPPER(WriteFile),
    WRAPPER(SetFilePointerEx), WRAPPER(GetFileAttributesA), WRAPPER(DeviceIoControl),
};

static void PatchLibrary(HMODULE module)
{
    for (const Wrapper &w : kWrappers) PatchImport(module, w);
}


static unsigned long g_Loads;

static HMODULE Load(const char *name)
{
    HMODULE h = LoadLibraryA(name);
    if (h) {
        g_Loads++;
        PatchLibrary(h);
    }
    return h;
}

static bool SetValue(const std::string &key, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}
static bool SetText(const std::string &key, const char *name, const std::string &text, DWORD type = REG_SZ)
{
    std::string d = text;
    d.push_back('\0');
    if (type == REG_MULTI_SZ) d.push_back('\0');
    return SetValue(key, name, type, d.data(), (DWORD)d.size());
}

static const char kClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
static const char kNetwork[] = "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
static const char kEnum[] = "System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3873\\4&";

static std::string Nic(int i) { return "02" + std::to_string(90 + i); }
static std::string Guid(int i) { return "{5F1D2C3B-0000-4000-8000-0000000002" + std::to_string(90 + i) + "}"; }

/* Adapter i of variant D in the registry, hunting on, and in the stand-in. */
static bool AddAdapter(int i)
{
    std::string key = kClass + Nic(i);
    DWORD one = 1;
    bool ok = SetText(key, "VendorDescription", "Wireless LAN PCI Card") &&
              SetText(key, "CoInstallers32", "WDVXQ48D.dll,WLDeviceCoInstaller", REG_MULTI_SZ) &&
              SetText(key, "NetCfgInstanceId", Guid(i)) && SetText(key, "DriverVersion", "8.24.0.629") &&
              SetText(key, "ConfigName", "Config01") && SetValue(key, "ProfileHunting", REG_DWORD, &one, 4) &&
              SetValue(key, "SystrayIcon", REG_DWORD, &one, 4) &&
              SetText(kNetwork + Guid(i) + "\\Connection", "PnPInstanceId", "PCI\\VEN_1260&DEV_3873\\4&" + Nic(i)) &&
              SetText(kEnum + Nic(i), "DeviceDesc", "Wireless LAN PCI Card");
    std::string g = Guid(i);
    const char *names[] = {g.c_str()};
    int index;
    return ok && SimAddAdapter(names, 1, &index) == 0;
}

static void RemoveAdapter(int i)
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kClass + Nic(i)).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kNetwork + Guid(i) + "\\Connection").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kNetwork + Guid(i)).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kEnum + Nic(i)).c_str());
}

struct NicInfo {
    DWORD type, size;
    char nic[16], dll[16];
};
typedef int(WINAPI *NicGetFn)(NicInfo *);
typedef int(WINAPI *NicSetFn)(const char *, DWORD);
typedef int(WINAPI *AphppFn)(void);

/* One pass as the service makes it; `hunt` false stops after the enumeration. */
static int Pass(bool hunt)
{
    HMODULE lib = Load("WAVXQ48D.DLL");
    if (!lib) return -1;
    NicGetFn first = (NicGetFn)(void *)GetProcAddress(lib, "WLFirstNICGet");
    NicGetFn next = (NicGetFn)(void *)GetProcAddress(lib, "WLNextNICGet");
    NicInfo list[16];
    int n = 0;
    NicInfo b;
    memset(&b, 0, sizeof b);
    b.type = 15;
    b.size = sizeof b;
    for (int rc = first(&b); rc == 0 && n < 16; rc = next(&b)) list[n++] = b;
    FreeLibrary(lib);
    if (!hunt) return n;
    for (int i = n - 1; i >= 0; i--) {
        HMODULE a = Load(list[i].dll);
        if (!a) continue;
        NicSetFn set = (NicSetFn)(void *)GetProcAddress(a, "WLCurrentNICSet");
        AphppFn aphpp = (AphppFn)(void *)GetProcAddress(a, "WLAPHPP");
        if (set && set(list[i].nic, (DWORD)strlen(list[i].nic)) == 0 && aphpp) aphpp();
        FreeLibrary(a);
    }
    return n;
}

int main(int argc, char **argv)
{
    int passes = argc > 1 ? atoi(argv[1]) : 20;
    if (SimReset() != 0) {
        fprintf(stderr, "stand-in driver not reachable: %s\n", SimLastErrorText());
        return 1;
    }
    printf("| adapters | pass | ms per pass | library loads | device requests | opens | registry calls |\n");
    printf("|---|---|---|---|---|---|---|\n");
    int added = 0;
    for (int count : {1, 4}) {
        while (added < count) {
            if (!AddAdapter(added)) {
                fprintf(stderr, "cannot add adapter %d\n", added);
                return 1;
            }
            added++;
        }
        for (bool hunt : {false, true}) {
            Pass(hunt); /* warm-up */
            memset(g_Calls, 0, sizeof g_Calls);
            g_Loads = 0;
            LARGE_INTEGER f, t0, t1;
            QueryPerformanceFrequency(&f);
            QueryPerformanceCounter(&t0);
            int seen = 0;
            for (int p = 0; p < passes; p++) seen = Pass(hunt);
            QueryPerformanceCounter(&t1);
            double ms = 1000.0 * (double)(t1.QuadPart - t0.QuadPart) / (double)f.QuadPart / passes;
            printf("| %d (%d listed) | %s | %.1f | %.1f | %.1f | %.1f | %.1f |\n", count, seen,
                   hunt ? "hunting" : "enumeration only", ms, (double)g_Loads / passes,
                   (double)g_Calls[CALL_DEVICE] / passes, (double)g_Calls[CALL_OPEN] / passes,
                   (double)g_Calls[CALL_REGISTRY] / passes);
        }
    }
    for (int i = 0; i < added; i++) RemoveAdapter(i);
    SimReset();
    return 0;
}
