/*
 * Demo of the suite: registers one simulated adapter per variant in the
 * registry and in the stand-in driver, loads each variant's library,
 * enumerates the adapters, selects the one it serves, connects and reads a
 * record through the driver channel.
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
        FreeLibrary(lib);
    }
    RunInstallScript(kAdapters[3].nic);
    return 0;
}
