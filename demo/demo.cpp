/*
 * Demo of the suite: registers one simulated adapter per variant in the
 * registry and in the stand-in driver, loads each variant's library,
 * enumerates the adapters, selects the one it serves, connects and reads a
 * record through the driver channel. Then, with the dual-band library, it
 * stores two profiles, puts them in the adapter's preferred list, activates
 * one and shows what was stored and what went to the driver.
 */
#include <stdio.h>
#include <string.h>

#include <initializer_list>

#include "install_script.h"
#include "simclient.h"
#include "wlapi.h"

#define CALL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>(GetProcAddress(lib, #fn))))

static const char kClass[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kClass98[] = "System\\CurrentControlSet\\Services\\Class\\Net";

static void SetValue(const char *key, const char *name, DWORD type, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    char data[300] = {0};
    snprintf(data, sizeof data - 2, "%s", text);
    DWORD size = (DWORD)strlen(data) + (type == REG_MULTI_SZ ? 2 : 1);
    RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
}

struct DemoAdapter {
    const char *nic;
    char variant;
    const char *description;
    const char *guid;
};

static const DemoAdapter kAdapters[] = {
    {"0300", 'C', "Wireless LAN PC Card (11 Mb/s)", "{5F1D2C3B-0000-4000-8000-000000000300}"},
    {"0301", 'D', "Wireless LAN PCI Card (11 Mb/s)", "{5F1D2C3B-0000-4000-8000-000000000301}"},
    {"0302", 'E', "Wireless LAN PC Card (dual band)", "{5F1D2C3B-0000-4000-8000-000000000302}"},
    {"0303", 'F', "Wireless LAN PCI Card (dual band)", "{5F1D2C3B-0000-4000-8000-000000000303}"},
};

/* Prints the values of a registry key as the store wrote them. */
static void PrintValues(const char *key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; i++) {
        char name[64], data[300];
        DWORD n = sizeof name, size = sizeof data - 1, type;
        if (RegEnumValueA(h, i, name, &n, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS) break;
        if (type == REG_DWORD) printf("      %-18s number %lu\n", name, *(unsigned long *)data);
        else printf("      %-18s text   \"%.*s\"\n", name, (int)strnlen(data, size), data);
    }
    RegCloseKey(h);
}

/* Two profiles, a preferred list and an activation with the given library. */
static void ProfileDemo(HMODULE lib, const char *nic)
{
    printf("\nProfiles with WAVXQ48E on adapter %s\n", nic);
    CALL(lib, WLCurrentNICSet)(nic, (DWORD)strlen(nic));
    CALL(lib, WLCountryCurrentCountryCodeSet)("US", 2);
    CALL(lib, WLInitializeProfiles)();
    for (const char *name : {"Office", "Home"}) CALL(lib, WLProfileByNameDel)(name, (DWORD)strlen(name));

    CALL(lib, WLProfileIns)();
    CALL(lib, WLCurrentProfileNameSet)("Office", 6);
    CALL(lib, WLCurrentProfileDesiredSSIDSet)("OfficeNet", 9);
    CALL(lib, WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "Office-Key-13", 13);
    CALL(lib, WLCurrentProfileEncryptionEnabledSet)(1);
    printf("  store \"Office\" (13-character text key): %d\n", CALL(lib, WLCurrentProfileByNameSet)("Office", 6));
    CALL(lib, WLProfileIns)();
    CALL(lib, WLCurrentProfileNameSet)("Home", 4);
    CALL(lib, WLCurrentProfileDesiredSSIDSet)("HomeNet", 7);
    printf("  store \"Home\" (no encryption):          %d\n", CALL(lib, WLCurrentProfileByNameSet)("Home", 4));

    CALL(lib, WLAllPreferredProfileDel)();
    CALL(lib, WLFirstPreferredProfileByNameSet)("Office", 6);
    CALL(lib, WLNextPreferredProfileByNameSet)("Home", 4);
    printf("  preferred list:");
    char name[64];
    DWORD size = sizeof name;
    for (int rc = CALL(lib, WLFirstPreferredProfileByNameGet)(name, &size); rc == WL_SUCCESS;
         rc = CALL(lib, WLNextPreferredProfileByNameGet)(name, &size)) {
        printf(" %s", name);
        size = sizeof name;
    }
    printf("\n");

    printf("  stored values of \"Office\":\n");
    PrintValues("Software\\Wireless\\Driver\\Office");
    int form = -1;
    char key[32];
    size = sizeof key;
    CALL(lib, WLCurrentProfileByNameGet)("Office", 6);
    CALL(lib, WLCurrentProfileEncryptionKeyGet)(0, &form, key, &size);
    printf("  key 0 as the library hands it out: %s \"%.*s\"\n", form == WL_KEYASC ? "text" : "hex", (int)size, key);

    SimClearLog();
    printf("  WLActiveProfileByNameSet (\"Office\"): %d\n", CALL(lib, WLActiveProfileByNameSet)("Office", 6));
    WlSimExchangeLog log;
    if (SimLastExchanges(&log) != 0) return;
    printf("  driver exchanges of the activation:\n   ");
    static const char *ops[] = {"connect", "disconnect", "action", "diag", "get", "put"};
    for (int i = 0; i < log.n; i++) {
        const WlSimExchange &x = log.e[i];
        if (x.op == WLSIM_OP_ACTION)
            printf(" action %u (%s)", x.typ, x.typ == WL_ACTION_APPLY ? "apply" : x.typ == WL_ACTION_RESET ? "reset" : "other");
        else if (x.op == WLSIM_OP_GET_INFO || x.op == WLSIM_OP_PUT_INFO)
            printf(" %s %04X", ops[x.op], x.typ);
        else
            printf(" %s", x.op < WLSIM_OPS ? ops[x.op] : "?");
        printf(i + 1 < log.n ? "," : "\n");
        if (i % 8 == 7 && i + 1 < log.n) printf("\n   ");
    }
    printf("  adapter key after the activation:\n");
    char nicKey[300];
    snprintf(nicKey, sizeof nicKey, "%s\\%s", kClass, nic);
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey, 0, KEY_READ, &h) == ERROR_SUCCESS) {
        for (const char *v : {"ConfigName", "DesiredSSID", "ConnectionMode", "OwnChannel"}) {
            char data[300];
            DWORD n = sizeof data - 1, type;
            if (RegQueryValueExA(h, v, NULL, &type, (BYTE *)data, &n) != ERROR_SUCCESS) continue;
            if (type == REG_DWORD) printf("      %-18s number %lu\n", v, *(unsigned long *)data);
            else printf("      %-18s text   \"%.*s\"\n", v, (int)strnlen(data, n), data);
        }
        RegCloseKey(h);
    }
}

int main()
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (SimEnsureStarted(NULL) != 0 || SimReset() != 0) {
        printf("stand-in driver not available: %s\n", SimLastErrorText());
        return 1;
    }
    printf("Registering adapters:\n");
    for (const DemoAdapter &a : kAdapters) {
        char key[300], file[32];
        for (const char *cls : {kClass, kClass98}) {
            snprintf(key, sizeof key, "%s\\%s", cls, a.nic);
            SetValue(key, "VendorDescription", REG_SZ, a.description);
            SetValue(key, "NetCfgInstanceId", REG_SZ, a.guid);
            snprintf(file, sizeof file, "WDVXQ48%c.dll,WLDeviceCoInstaller", a.variant);
            SetValue(key, "CoInstallers32", REG_MULTI_SZ, file);
            snprintf(file, sizeof file, "WuVXQ48%c.vxd", a.variant);
            SetValue(key, "DeviceVxDs", REG_SZ, file);
        }
        /* The driver answers on the names the library variant opens. */
        char vxd[32];
        snprintf(vxd, sizeof vxd, "WuVXQ48%c.vxd", a.variant);
        const char *names[] = {(a.variant == 'C' || a.variant == 'E') ? vxd : a.guid};
        int index;
        SimAddAdapter(names, 1, &index);
        uint16_t ssid[] = {7, 0xFC02, 8, 'D' | 'e' << 8, 'm' | 'o' << 8, 'N' | 'e' << 8, 't' | '0' << 8, 0};
        ssid[6] = (uint16_t)('t' | (('0' + index) << 8));
        SimSetRecord(index, ssid);
        printf("  %s  %-34s  driver device \\\\.\\%s\n", a.nic, a.description, names[0]);
    }

    for (const DemoAdapter &own : kAdapters) {
        char dllName[16];
        snprintf(dllName, sizeof dllName, "WAVXQ48%c.dll", own.variant);
        HMODULE lib = LoadLibraryA(dllName);
        if (lib == NULL) {
            printf("cannot load %s\n", dllName);
            return 1;
        }
        char text[256];
        DWORD size = sizeof text, os = 0;
        CALL(lib, WLDAINameGet)(text, &size);
        printf("\nLibrary %s\n", text);
        CALL(lib, WLOSTypeGet)(&os);
        size = sizeof text;
        CALL(lib, WLOSTypeNameGet)(text, &size);
        printf("  OS type %lu: %s\n", (unsigned long)os, text);

        printf("  Adapters of the family:\n");
        NICInfoBuffer info;
        memset(&info, 0, sizeof info);
        info.TS.Type = NICInfoBufferType;
        info.TS.Size = sizeof info;
        for (int rc = CALL(lib, WLFirstNICGet)(&info); rc == WL_SUCCESS; rc = CALL(lib, WLNextNICGet)(&info)) {
            int ours = CALL(lib, WLCurrentNICSet)(info.Nic, (DWORD)strlen(info.Nic)) == WL_SUCCESS;
            printf("    %-8s served by %-14s%s\n", info.Nic, info.Dll, ours ? " (selectable)" : "");
        }
        CALL(lib, WLCurrentNICSet)(own.nic, (DWORD)strlen(own.nic));
        size = sizeof text;
        CALL(lib, WLCurrentNICGet)(text, &size);
        printf("  Selected adapter %s\n", text);

        int rc = CALL(lib, WLConnect)();
        printf("  WLConnect: %d\n", rc);
        uint16_t rec[20] = {19, 0xFC02};
        rc = CALL(lib, WLGenericGet)((WL_LTV *)rec);
        if (rc == WL_SUCCESS)
            printf("  Record 0xFC02 (desired SSID): len %u, \"%.*s\"\n", rec[0], rec[2], (const char *)&rec[3]);
        else
            printf("  Record 0xFC02: error %d\n", rc);
        printf("  WLDisconnect: %d\n", CALL(lib, WLDisconnect)());
        if (own.variant == 'E') ProfileDemo(lib, own.nic);
        FreeLibrary(lib);
    }
    RunInstallScript(kAdapters[3].nic);
    return 0;
}
