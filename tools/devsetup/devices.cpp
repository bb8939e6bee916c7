/* Adapter lookup shared by the device setup tools (see devices.h). */
#include "devices.h"

#include <string.h>

const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
const char kNetClassKey[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kNetworkKey[] = "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";

static const char kNetClassGuidText[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";

std::string HardwareIdFor(char variant)
{
    switch (variant) {
    case 'C': return "PCI\\VEN_1260&DEV_3873";
    case 'D': return "PCI\\VEN_1260&DEV_3872";
    case 'E': return "PCI\\VEN_1260&DEV_3886";
    case 'F': return "PCI\\VEN_1260&DEV_3890";
    default: return std::string();
    }
}

bool VxdNamed(char variant) { return variant == 'C' || variant == 'E'; }

std::string DriverKeyName(HDEVINFO set, SP_DEVINFO_DATA *dev)
{
    char name[256] = "";
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, dev, SPDRP_DRIVER, &type, (BYTE *)name, sizeof name - 1, NULL))
        return std::string();
    name[sizeof name - 1] = 0;
    return name;
}

std::string NicIdOf(const std::string &driverKeyName)
{
    size_t n = sizeof kNetClassGuidText - 1;
    if (driverKeyName.size() <= n + 1 || driverKeyName[n] != '\\') return std::string();
    if (_strnicmp(driverKeyName.c_str(), kNetClassGuidText, n) != 0) return std::string();
    return driverKeyName.substr(n + 1);
}

HDEVINFO OpenAdapter(const std::string &which, SP_DEVINFO_DATA *dev)
{
    memset(dev, 0, sizeof *dev);
    dev->cbSize = sizeof *dev;
    if (which.find('\\') != std::string::npos) {
        HDEVINFO set = SetupDiCreateDeviceInfoList(&kNetClass, NULL);
        if (set == INVALID_HANDLE_VALUE) return set;
        if (SetupDiOpenDeviceInfoA(set, which.c_str(), NULL, 0, dev)) return set;
        SetupDiDestroyDeviceInfoList(set);
        return INVALID_HANDLE_VALUE;
    }
    HDEVINFO set = SetupDiGetClassDevsA(&kNetClass, NULL, NULL, 0);
    if (set == INVALID_HANDLE_VALUE) return set;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, dev); i++)
        if (_stricmp(NicIdOf(DriverKeyName(set, dev)).c_str(), which.c_str()) == 0) return set;
    SetupDiDestroyDeviceInfoList(set);
    return INVALID_HANDLE_VALUE;
}

std::string ReadHklmString(const std::string &key, const char *name)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return std::string();
    char buf[512];
    DWORD size = sizeof buf - 1, type = 0;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)buf, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_MULTI_SZ)) return std::string();
    buf[size] = 0;
    return buf;
}
