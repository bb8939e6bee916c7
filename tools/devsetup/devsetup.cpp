/*
 * devsetup: installs and removes a stand-in adapter of the family through
 * SetupAPI from the family's INF, the way Windows' new-hardware install and
 * the Device Manager's uninstall do it; a tool of the test and demo setup.
 *
 *   devsetup install INF VARIANT [--instance ID] [--sim]
 *   devsetup remove DEVICE
 *
 * install creates the device (instance id PCI\<hardware id>\WLSIM_<n>, the
 * first free n, unless given), selects the INF's driver for its hardware
 * id and runs the class installer functions of a device installation;
 * Setup calls the co-installers the INF registers (WLDeviceCoInstaller with
 * DIF_INSTALLDEVICE). --sim also gives the adapter a stand-in driver
 * adapter answering on the name its library opens. It prints "instance",
 * "nic" and "guid" lines. remove takes an instance id or a NIC id and runs
 * DIF_REMOVE.
 *
 * Wine's setupapi lacks two steps of Windows here, which this tool does
 * itself and reports on standard output:
 *  - the network class installer: a new adapter gets a NetCfgInstanceId
 *    and its connection key (Network\{class}\{id}\Connection with the
 *    PnPInstanceId); on removal the connection key goes;
 *  - SetupDiRemoveDevice deletes the device key but leaves the driver key
 *    (Class\{class}\NNNN), which Windows deletes with it.
 * Exit codes: 0 done, 1 a step failed, 2 usage.
 */
#include <windows.h>
#include <objbase.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "devices.h"
#include "simclient.h"

namespace {

const char kEnumKey[] = "System\\CurrentControlSet\\Enum";

struct Step {
    DI_FUNCTION function;
    const char *name;
};

/* A class installer function through Setup; ERROR_DI_DO_DEFAULT from a
 * function without a default action is no failure. */
bool Call(HDEVINFO set, SP_DEVINFO_DATA *dev, const Step &s)
{
    SetLastError(0);
    if (SetupDiCallClassInstaller(s.function, set, dev)) {
        printf("  %s: done\n", s.name);
        return true;
    }
    DWORD err = GetLastError();
    if (err == ERROR_DI_DO_DEFAULT) {
        printf("  %s: nothing to do\n", s.name);
        return true;
    }
    printf("  %s: failed, error 0x%08lX\n", s.name, err);
    return false;
}

bool KeyExists(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool SetString(const std::string &key, const char *name, const std::string &value)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, name, 0, REG_SZ, (const BYTE *)value.c_str(), (DWORD)value.size() + 1);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

/* Deletes a key of HKEY_LOCAL_MACHINE with everything below it. */
void DeleteTree(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char sub[256];
        DWORD n = sizeof sub;
        while (RegEnumKeyExA(h, 0, sub, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            DeleteTree(key + "\\" + sub);
            n = sizeof sub;
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

std::string NewGuidText()
{
    GUID g;
    if (CoCreateGuid(&g) != S_OK) return std::string();
    char text[64];
    snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
             g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

/* What Windows' network class installer does for a new adapter. */
bool AddNetworkConnection(const std::string &nicKey, const std::string &instance, std::string *guid)
{
    *guid = ReadHklmString(nicKey, "NetCfgInstanceId");
    if (guid->empty()) {
        *guid = NewGuidText();
        if (guid->empty() || !SetString(nicKey, "NetCfgInstanceId", *guid)) return false;
    }
    return SetString(std::string(kNetworkKey) + "\\" + *guid + "\\Connection", "PnPInstanceId", instance);
}

int Install(const char *infArg, char variant, std::string instance, bool sim)
{
    std::string hwid = HardwareIdFor(variant);
    if (hwid.empty()) {
        fprintf(stderr, "devsetup: no variant %c\n", variant);
        return 2;
    }
    char inf[MAX_PATH];
    if (!GetFullPathNameA(infArg, sizeof inf, inf, NULL) || GetFileAttributesA(inf) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "devsetup: no INF %s\n", infArg);
        return 1;
    }
    if (instance.empty()) {
        for (int n = 0; n < 1000 && instance.empty(); n++) {
            std::string id = hwid + "\\WLSIM_" + std::to_string(n);
            if (!KeyExists(std::string(kEnumKey) + "\\" + id)) instance = id;
        }
    }
    printf("Installing %s from %s\n", instance.c_str(), inf);

    HDEVINFO set = SetupDiCreateDeviceInfoList(&kNetClass, NULL);
    if (set == INVALID_HANDLE_VALUE) return 1;
    SP_DEVINFO_DATA dev;
    memset(&dev, 0, sizeof dev);
    dev.cbSize = sizeof dev;
    int rc = 1;
    bool registered = false;
    do {
        if (!SetupDiCreateDeviceInfoA(set, instance.c_str(), &kNetClass, NULL, NULL, 0, &dev)) {
            printf("  create the device: failed, error 0x%08lX\n", GetLastError());
            break;
        }
        std::string ids = hwid;
        ids.append(2, '\0');
        if (!SetupDiSetDeviceRegistryPropertyA(set, &dev, SPDRP_HARDWAREID, (const BYTE *)ids.data(),
                                               (DWORD)ids.size())) {
            printf("  hardware id: failed, error 0x%08lX\n", GetLastError());
            break;
        }
        if (!Call(set, &dev, {DIF_REGISTERDEVICE, "DIF_REGISTERDEVICE"})) break;
        registered = true;

        /* The driver comes from this INF only. */
        SP_DEVINSTALL_PARAMS_A params;
        memset(&params, 0, sizeof params);
        params.cbSize = sizeof params;
        if (!SetupDiGetDeviceInstallParamsA(set, &dev, &params)) break;
        params.Flags |= DI_ENUMSINGLEINF;
        lstrcpynA(params.DriverPath, inf, sizeof params.DriverPath);
        if (!SetupDiSetDeviceInstallParamsA(set, &dev, &params)) break;
        if (!SetupDiBuildDriverInfoList(set, &dev, SPDIT_COMPATDRIVER)) {
            printf("  driver list: failed, error 0x%08lX\n", GetLastError());
            break;
        }
        if (!Call(set, &dev, {DIF_SELECTBESTCOMPATDRV, "DIF_SELECTBESTCOMPATDRV"})) break;
        SP_DRVINFO_DATA_A drv;
        memset(&drv, 0, sizeof drv);
        drv.cbSize = sizeof drv;
        if (!SetupDiGetSelectedDriverA(set, &dev, &drv)) {
            printf("  no driver of the INF matches %s\n", hwid.c_str());
            break;
        }
        printf("  driver: %s\n", drv.Description);

        const Step steps[] = {{DIF_ALLOW_INSTALL, "DIF_ALLOW_INSTALL"},
                              {DIF_INSTALLDEVICEFILES, "DIF_INSTALLDEVICEFILES"},
                              {DIF_REGISTER_COINSTALLERS, "DIF_REGISTER_COINSTALLERS"},
                              {DIF_INSTALLINTERFACES, "DIF_INSTALLINTERFACES"},
                              {DIF_INSTALLDEVICE, "DIF_INSTALLDEVICE"}};
        bool ok = true;
        for (const Step &s : steps) ok = ok && Call(set, &dev, s);
        if (!ok) break;

        std::string nic = NicIdOf(DriverKeyName(set, &dev));
        if (nic.empty()) {
            printf("  the device has no driver key of the net class\n");
            break;
        }
        std::string nicKey = std::string(kNetClassKey) + "\\" + nic;
        std::string guid;
        if (!AddNetworkConnection(nicKey, instance, &guid)) {
            printf("  network connection: failed\n");
            break;
        }
        printf("  network class installer step (not in Wine's setupapi): NetCfgInstanceId %s\n", guid.c_str());
        if (sim) {
            std::string name = VxdNamed(variant) ? std::string("WuVXQ48") + variant + ".vxd" : guid;
            const char *names[] = {name.c_str()};
            int index = -1;
            int err = SimEnsureStarted(NULL);
            if (err == 0) err = SimAddAdapter(names, 1, &index);
            if (err == ERROR_ALREADY_EXISTS) {
                printf("  a stand-in adapter answers on \\\\.\\%s already\n", name.c_str());
            } else if (err != 0) {
                printf("  stand-in adapter: %s\n", SimLastErrorText());
                break;
            } else {
                printf("  stand-in adapter %d on \\\\.\\%s\n", index, name.c_str());
            }
        }
        printf("instance %s\nnic %s\nguid %s\n", instance.c_str(), nic.c_str(), guid.c_str());
        rc = 0;
    } while (0);
    if (rc != 0 && registered) {
        /* No half-installed device stays behind. */
        SetupDiCallClassInstaller(DIF_REMOVE, set, &dev);
        printf("  the device was removed again\n");
    }
    SetupDiDestroyDeviceInfoList(set);
    return rc;
}

int Remove(const std::string &which)
{
    SP_DEVINFO_DATA dev;
    HDEVINFO set = OpenAdapter(which, &dev);
    if (set == INVALID_HANDLE_VALUE) {
        printf("devsetup: no adapter %s\n", which.c_str());
        return 1;
    }
    char instance[512] = "";
    SetupDiGetDeviceInstanceIdA(set, &dev, instance, sizeof instance, NULL);
    printf("Removing %s\n", instance);
    std::string nic = NicIdOf(DriverKeyName(set, &dev));
    std::string nicKey = nic.empty() ? std::string() : std::string(kNetClassKey) + "\\" + nic;
    std::string guid = nicKey.empty() ? std::string() : ReadHklmString(nicKey, "NetCfgInstanceId");
    bool ok = Call(set, &dev, {DIF_REMOVE, "DIF_REMOVE"});
    SetupDiDestroyDeviceInfoList(set);
    if (!ok) return 1;
    if (!guid.empty() && KeyExists(std::string(kNetworkKey) + "\\" + guid)) {
        DeleteTree(std::string(kNetworkKey) + "\\" + guid);
        printf("  network class installer step (not in Wine's setupapi): connection %s removed\n", guid.c_str());
    }
    if (!nicKey.empty() && KeyExists(nicKey)) {
        DeleteTree(nicKey);
        printf("  driver key %s left by Wine's SetupDiRemoveDevice (it deletes none with subkeys): deleted\n", nic.c_str());
    }
    return 0;
}

void Usage()
{
    fprintf(stderr, "usage: devsetup install INF VARIANT [--instance ID] [--sim]\n"
                    "       devsetup remove DEVICE\n");
}

} // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc >= 4 && strcmp(argv[1], "install") == 0 && strlen(argv[3]) == 1) {
        std::string instance;
        bool sim = false;
        for (int i = 4; i < argc; i++) {
            if (strcmp(argv[i], "--sim") == 0) {
                sim = true;
            } else if (strcmp(argv[i], "--instance") == 0 && i + 1 < argc) {
                instance = argv[++i];
            } else {
                Usage();
                return 2;
            }
        }
        CoInitialize(NULL);
        return Install(argv[2], (char)toupper((unsigned char)argv[3][0]), instance, sim);
    }
    if (argc == 3 && strcmp(argv[1], "remove") == 0) return Remove(argv[2]);
    Usage();
    return 2;
}
