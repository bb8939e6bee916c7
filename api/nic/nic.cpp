/*
 * Adapter enumeration and selection, and the per-adapter settings store in
 * the adapter's registry key under the network adapter class key.
 */
#include <mbstring.h>
#include <stdio.h>
#include <stdlib.h>

#include "wlvariant.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "wlcore/siblings.h"

#define CLASS_KEY_WIN98 "System\\CurrentControlSet\\Services\\Class\\Net"
#define CLASS_KEY_NT "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}"
#define NETWORK_KEY "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}"
#define ENUM_KEY "System\\CurrentControlSet\\Enum"
#define STRING_VALUE_MAX 259
#define INT_VALUE_MAX 32

static char s_CurrentNic[NIC_ID_SIZE + 1];
static DWORD s_Cursor;

static const char *ClassKey(void)
{
    return OSTypeGet() == OS_WIN98 ? CLASS_KEY_WIN98 : CLASS_KEY_NT;
}

/* Key-path builders; each returns its own process-wide buffer. */
static const char *NicKey(const char *Nic)
{
    static char key[MAX_PATH];
    snprintf(key, sizeof key, "%s\\%s", ClassKey(), Nic);
    return key;
}

static const char *ConnectionKey(const char *Guid)
{
    static char key[MAX_PATH];
    snprintf(key, sizeof key, "%s\\%s\\Connection", NETWORK_KEY, Guid);
    return key;
}

static const char *DeviceKey(void)
{
    static char key[MAX_PATH + 8];
    char guid[256];
    DWORD size = sizeof guid;
    if (WLGUIDGet(guid, &size) != WL_SUCCESS) return NULL;
    const char *connection = ConnectionKey(guid);
    WLLog("_PnPKeyGet x %s\n", connection);
    char instance[STRING_VALUE_MAX + 1];
    size = sizeof instance;
    if (_RegReadString(connection, "PnPInstanceId", instance, &size) != WL_SUCCESS) return NULL;
    WLLog("_PnPKeyGet p %s\n", instance);
    snprintf(key, sizeof key, "%s\\%s", ENUM_KEY, instance);
    WLLog("_EnumKeyGet %s\n", key);
    return key;
}

const char *NicKeyPath(const char *Nic) { return NicKey(Nic); }

const char *CurrentNic(void)
{
    return s_CurrentNic[0] ? s_CurrentNic : NULL;
}

/* Copies a NIC id of at most Size bytes (and at most NIC_ID_SIZE) into id. */
static void NicIdCopy(char (&id)[NIC_ID_SIZE + 1], const char *Nic, DWORD Size)
{
    memset(id, 0, sizeof id);
    DWORD n = Size < NIC_ID_SIZE ? Size : NIC_ID_SIZE;
    for (DWORD i = 0; i < n && Nic[i]; i++) id[i] = Nic[i];
}

int _RegReadString(const char *Key, const char *Any, char *Val, DWORD *Size)
{
    WL_FRAME("_RegReadString");
    WL_CHECK(Key == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    char data[STRING_VALUE_MAX + 1];
    DWORD dataSize = STRING_VALUE_MAX;
    DWORD type;
    HKEY hKey;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_QUERY_VALUE, &hKey);
    if (rc == ERROR_SUCCESS) {
        rc = RegQueryValueExA(hKey, Any, NULL, &type, (BYTE *)data, &dataSize);
        RegCloseKey(hKey);
    }
    if (*Size > 0) Val[0] = '\0';
    if (rc != ERROR_SUCCESS) {
        *Size = 0;
        WL_FAIL("RegQueryValueEx () != ERROR_SUCCESS", WL_DATA_NOT_AVAILABLE);
    }
    data[dataSize < sizeof data ? dataSize : sizeof data - 1] = '\0';
    DWORD length = (DWORD)strlen(data);
    if (length < *Size) {
        memcpy(Val, data, length + 1);
        *Size = length;
        WL_RETURN(WL_SUCCESS);
    }
    *Size = 0;
    WL_FAIL("strlen (Data) >= *Size", WL_INPUT_BUFFER_INSUFFICIENT);
}

int _WLNICAnyStringGet(const char *Nic, const char *Any, char *Val, DWORD *Size)
{
    WL_FRAME("_WLNICAnyStringGet");
    WL_CHECK(Nic == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(_RegReadString(NicKey(Nic), Any, Val, Size));
}

int WLNICAnyStringGet(const char *Any, char *Val, DWORD *Size)
{
    WL_FRAME("WLNICAnyStringGet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    const char *nic = CurrentNic();
    if (nic == NULL) {
        if (*Size > 0) Val[0] = '\0';
        *Size = 0;
        WL_FAIL("CurrentNic () == NULL", WL_DATA_NOT_AVAILABLE);
    }
    WL_RETURN(_WLNICAnyStringGet(nic, Any, Val, Size));
}

/* Opens (creating when missing) a NIC key for writing. */
static LONG NicKeyCreate(const char *Nic, HKEY *hKey)
{
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, NicKey(Nic), 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, NULL, hKey, NULL);
}

int _WLNICAnyStringSet(const char *Nic, const char *Any, const char *Val)
{
    WL_FRAME("_WLNICAnyStringSet");
    WL_CHECK(Nic == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    HKEY hKey;
    LONG rc = NicKeyCreate(Nic, &hKey);
    if (rc == ERROR_SUCCESS) {
        rc = RegSetValueExA(hKey, Any, 0, REG_SZ, (const BYTE *)Val, (DWORD)strlen(Val) + 1);
        RegCloseKey(hKey);
    }
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}

int WLNICAnyStringSet(const char *Any, const char *Val)
{
    WL_FRAME("WLNICAnyStringSet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    const char *nic = CurrentNic();
    WL_CHECK(nic == NULL, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(_WLNICAnyStringSet(nic, Any, Val));
}

int WLNICAnyIntGet(const char *Any, DWORD *Val)
{
    WL_FRAME("WLNICAnyIntGet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    const char *nic = CurrentNic();
    WL_CHECK(nic == NULL, WL_DATA_NOT_AVAILABLE);
    BYTE data[INT_VALUE_MAX + 1];
    DWORD size = INT_VALUE_MAX;
    DWORD type;
    HKEY hKey;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, NicKey(nic), 0, KEY_QUERY_VALUE, &hKey);
    if (rc == ERROR_SUCCESS) {
        rc = RegQueryValueExA(hKey, Any, NULL, &type, data, &size);
        RegCloseKey(hKey);
    }
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_AVAILABLE);
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        /* Text holds a signed decimal number: its leading digits, else 0. */
        data[size < sizeof data ? size : sizeof data - 1] = 0;
        *Val = (DWORD)strtol((const char *)data, NULL, 10);
    } else {
        DWORD value = 0;
        memcpy(&value, data, size < sizeof value ? size : sizeof value);
        *Val = value;
    }
    WL_RETURN(WL_SUCCESS);
}

int WLNICAnyIntSet(const char *Any, DWORD Val)
{
    WL_FRAME("WLNICAnyIntSet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    const char *nic = CurrentNic();
    WL_CHECK(nic == NULL, WL_DATA_NOT_WRITEABLE);
    HKEY hKey;
    LONG rc = NicKeyCreate(nic, &hKey);
    if (rc == ERROR_SUCCESS) {
        /* The NT family keeps numbers; the others keep them as text. */
        if (OSIsNTFamily(OSTypeGet())) {
            rc = RegSetValueExA(hKey, Any, 0, REG_DWORD, (const BYTE *)&Val, sizeof Val);
        } else {
            char text[16];
            snprintf(text, sizeof text, "%lu", (unsigned long)Val);
            rc = RegSetValueExA(hKey, Any, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
        }
        RegCloseKey(hKey);
    }
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_WRITEABLE);
    WL_RETURN(WL_SUCCESS);
}

int WLGUIDGet(char *Val, DWORD *Size)
{
    WL_FRAME("WLGUIDGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLNICAnyStringGet("NetCfgInstanceId", Val, Size));
}

int _WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size)
{
    WL_FRAME("_WLEnumAnyStringGet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    const char *key = DeviceKey();
    if (key == NULL) {
        if (*Size > 0) Val[0] = '\0';
        *Size = 0;
        WL_FAIL("DeviceKey () == NULL", WL_DATA_NOT_AVAILABLE);
    }
    WL_RETURN(_RegReadString(key, Any, Val, Size));
}

int WLEnumAnyStringGet(const char *Any, char *Val, DWORD *Size)
{
    WL_FRAME("WLEnumAnyStringGet");
    WL_CHECK(Any == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(_WLEnumAnyStringGet(Any, Val, Size));
}

bool IsThisOurNic(const char *Nic, DWORD Size)
{
    char id[NIC_ID_SIZE + 1];
    NicIdCopy(id, Nic, Size);
    char description[256];
    DWORD size = sizeof description;
    return _WLNICAnyStringGet(id, "VendorDescription", description, &size) == WL_SUCCESS &&
           description[0] != '\0';
}

/*
 * The library serving an adapter: the first file of the co-installer (NT
 * family) or driver (Windows 98) list, cut at its first ".", with "a" as its
 * second letter and ".dll" appended. False when the value cannot be read.
 */
static bool DerivedDllName(const char *Nic, char *Dll, size_t DllSize)
{
    const char *value = OSTypeGet() == OS_WIN98 ? "DeviceVxDs" : "CoInstallers32";
    char name[256];
    DWORD size = sizeof name;
    if (_WLNICAnyStringGet(Nic, value, name, &size) != WL_SUCCESS) return false;
    return WLSiblingName(name, WL_SIBLING_LIBRARY, ".dll", Dll, DllSize) >= 0;
}

bool MatchingDll(const char *Nic, DWORD Size)
{
    char id[NIC_ID_SIZE + 1];
    NicIdCopy(id, Nic, Size);
    char dll[300];
    if (!DerivedDllName(id, dll, sizeof dll)) return false;
    return _mbsnicmp((const unsigned char *)dll, (const unsigned char *)g_Variant.dllName,
                     strlen(g_Variant.dllName)) == 0;
}

int WLAPI WLNextNICGet(NICInfoBuffer *Val)
{
    WL_FRAME("WLNextNICGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, NICInfoBuffer);
    for (;;) {
        char name[NIC_ID_SIZE];
        DWORD nameSize = sizeof name;
        HKEY hKey;
        LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, ClassKey(), 0, KEY_READ, &hKey);
        if (rc == ERROR_SUCCESS) {
            rc = RegEnumKeyExA(hKey, s_Cursor, name, &nameSize, NULL, NULL, NULL, NULL);
            RegCloseKey(hKey);
        }
        if (rc != ERROR_SUCCESS) {
            s_Cursor = 0;
            WL_FAIL("RegEnumKeyEx () != ERROR_SUCCESS", WL_DATA_NOT_AVAILABLE);
        }
        s_Cursor++;
        if (IsThisOurNic(name, NIC_ID_SIZE)) {
            snprintf(Val->Nic, sizeof Val->Nic, "%s", name);
            char dll[300];
            if (DerivedDllName(name, dll, sizeof dll)) snprintf(Val->Dll, sizeof Val->Dll, "%s", dll);
            WL_RETURN(WL_SUCCESS);
        }
    }
}

int WLAPI WLFirstNICGet(NICInfoBuffer *Val)
{
    WL_FRAME("WLFirstNICGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS_BARE(Val, NICInfoBuffer);
    s_Cursor = 0;
    WL_RETURN(WLNextNICGet(Val));
}

int WLAPI WLCurrentNICGet(char *Val, DWORD *Size)
{
    WL_FRAME("WLCurrentNICGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size <= NIC_ID_SIZE, WL_INVALID_PARAMETER);
    *Size = NIC_ID_SIZE;
    memcpy(Val, s_CurrentNic, NIC_ID_SIZE);
    Val[NIC_ID_SIZE] = '\0';
    *Size = (DWORD)strlen(Val);
    if (*Size == 0) ConditionalLog(WL_FN, "*Size == 0");
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentNICSet(const char *Val, DWORD Size)
{
    WL_FRAME("WLCurrentNICSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > NIC_ID_SIZE, WL_INVALID_PARAMETER);
    WL_CHECK((Size != 0) && (!IsThisOurNic (Val, Size)), WL_INVALID_PARAMETER);
    WL_CHECK((Size != 0) && (!MatchingDll (Val, Size)), WL_INVALID_PARAMETER);
    NicIdCopy(s_CurrentNic, Val, Size);
    WLLog("CurrentNIC <%s>\n", s_CurrentNic);
    WL_RETURN(WL_SUCCESS);
}
