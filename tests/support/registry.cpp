#include <stdio.h>

#include "wltest.h"

static const char kClassNT[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kClass98[] = "System\\CurrentControlSet\\Services\\Class\\Net";
static const char kNetwork[] =
    "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kEnum[] = "System\\CurrentControlSet\\Enum";
/* Windows 98 keeps its device keys under "Enum"; the adapters are PC Cards
 * with an identifier of the family as the PCMCIA enumerator forms it. */
static const char kEnum98[] = "Enum\\PCMCIA\\WLAN_SYSTEMS-PC_CARD_11MBPS-3C1D";
static const char kClassGuid[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";

std::string ClassKey(bool win98) { return win98 ? kClass98 : kClassNT; }

std::string GuidFor(const std::string &nic)
{
    char guid[64];
    snprintf(guid, sizeof guid, "{5F1D2C3B-0000-4000-8000-00000000%04d}", atoi(nic.c_str()));
    return guid;
}

static void SetString(const std::string &key, const char *name, const std::string &value, DWORD type = REG_SZ)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &h, NULL)) << key;
    std::string data = value;
    data.push_back('\0');
    if (type == REG_MULTI_SZ) data.push_back('\0');
    RegSetValueExA(h, name, 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(h);
}

static void DeleteTree(const std::string &key)
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

static std::string PnpId(const std::string &nic) { return "PCI\\VEN_1260&DEV_3873\\4&" + nic; }

RegAdapter::RegAdapter(const AdapterSpec &spec) : spec_(spec)
{
    if (spec_.guid.empty()) spec_.guid = GuidFor(spec_.nic);
    DeleteTree(nicKey());
    std::string key = nicKey();
    if (spec_.hasDescription) SetString(key, "VendorDescription", spec_.description);
    const Variant served = {spec_.variant, 0};
    if (spec_.win98) {
        SetString(key, "DeviceVxDs", served.sibling(WL_SIBLING_DEVICE, ".vxd"));
    } else {
        SetString(key, "CoInstallers32", served.sibling(WL_SIBLING_COINSTALLER, ".dll") + ",WLDeviceCoInstaller",
                  REG_MULTI_SZ);
        SetString(key, "NetCfgInstanceId", spec_.guid);
        SetString(std::string(kNetwork) + "\\" + spec_.guid + "\\Connection", "PnPInstanceId", PnpId(spec_.nic));
        SetString(std::string(kEnum) + "\\" + PnpId(spec_.nic), "DeviceDesc", spec_.description);
        SetString(std::string(kEnum) + "\\" + PnpId(spec_.nic), "Driver", std::string(kClassGuid) + "\\" + spec_.nic);
    }
    if (spec_.win98) SetString(std::string(kEnum98) + "\\" + spec_.nic, "Driver", "Net\\" + spec_.nic);
    SetString(key, "DriverVersion", "8.24.0.629");
    SetString(key, "ConfigName", "Config01");
}

RegAdapter::~RegAdapter()
{
    DeleteTree(nicKey());
    if (spec_.win98) DeleteTree(std::string(kEnum98) + "\\" + spec_.nic);
    if (!spec_.win98) {
        DeleteTree(std::string(kNetwork) + "\\" + spec_.guid);
        DeleteTree(std::string(kEnum) + "\\" + PnpId(spec_.nic));
    }
}

std::string RegAdapter::nicKey() const { return ClassKey(spec_.win98) + "\\" + spec_.nic; }
std::string RegAdapter::enumKey() const { return std::string(kEnum) + "\\" + PnpId(spec_.nic); }

bool RegAdapter::readString(const char *name, std::string *out) const
{
    char buf[1024];
    DWORD size = sizeof buf, type;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey().c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)buf, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    out->assign(buf, size && buf[size - 1] == 0 ? size - 1 : size);
    return true;
}

bool RegAdapter::readDword(const char *name, DWORD *out, DWORD *typeOut) const
{
    DWORD size = sizeof *out, type;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey().c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, (BYTE *)out, &size);
    RegCloseKey(h);
    if (typeOut) *typeOut = type;
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

void RegAdapter::writeString(const char *name, const char *value) const { SetString(nicKey(), name, value); }

void RegAdapter::writeDword(const char *name, DWORD value) const
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey().c_str(), 0, KEY_ALL_ACCESS, &h));
    RegSetValueExA(h, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(h);
}

void RegAdapter::deleteValue(const char *name) const
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey().c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    RegDeleteValueA(h, name);
    RegCloseKey(h);
}
