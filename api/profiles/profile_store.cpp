/*
 * Stored profiles under "Software\\Wireless\\Driver": enumeration, loading,
 * storing and deletion; the preferred lists of the adapters; key deletion.
 */
#include <stdio.h>

#include <algorithm>

#include "profiles/profile.h"

static DWORD s_ProfileCursor;
static DWORD s_PreferredReadCursor;
static DWORD s_PreferredWriteCounter;

/* ---- Registry helpers ---- */

bool ProfileKeyPath(const std::string &Name, std::string *Path)
{
    if (Name.empty() || Name.find('\\') != std::string::npos) return false;
    *Path = std::string(PROFILE_ROOT) + "\\" + Name;
    return true;
}

LONG RegIntWrite(HKEY Key, const char *Name, DWORD Val)
{
    if (OSIsNTFamily(OSTypeGet())) return RegSetValueExA(Key, Name, 0, REG_DWORD, (const BYTE *)&Val, sizeof Val);
    char text[16];
    snprintf(text, sizeof text, "%lu", (unsigned long)Val);
    return RegSetValueExA(Key, Name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
}

LONG RegTextWrite(HKEY Key, const char *Name, const char *Val)
{
    return RegSetValueExA(Key, Name, 0, REG_SZ, (const BYTE *)Val, (DWORD)strlen(Val) + 1);
}

/* An integer value, or Default when it cannot be read or lies outside Min..Max. */
static DWORD RegIntRead(HKEY Key, const char *Name, long Min, long Max, DWORD Default)
{
    BYTE data[32];
    DWORD size = sizeof data, type = REG_NONE;
    if (RegQueryValueExA(Key, Name, NULL, &type, data, &size) != ERROR_SUCCESS) return Default;
    DWORD v = RegDataToInt(type, data, size);
    return RegIntInRange(v, Min, Max) ? v : Default;
}

/* A text value into a 256-byte field; empty when it cannot be read as text. */
static void RegTextRead(HKEY Key, const char *Name, char (&Field)[PROFILE_TEXT_SIZE + 1])
{
    BYTE data[PROFILE_VALUE_MAX];
    DWORD size = sizeof data, type = REG_NONE;
    std::string text;
    memset(Field, 0, sizeof Field);
    if (RegQueryValueExA(Key, Name, NULL, &type, data, &size) != ERROR_SUCCESS) return;
    if (!RegDataToText(type, data, size, PROFILE_TEXT_SIZE, &text)) return;
    memcpy(Field, text.data(), text.size());
}

static LONG DeleteTree(HKEY Parent, const char *Sub)
{
    HKEY h;
    LONG rc = RegOpenKeyExA(Parent, Sub, 0, KEY_ALL_ACCESS, &h);
    if (rc != ERROR_SUCCESS) return rc;
    for (;;) {
        char name[256];
        DWORD n = sizeof name;
        rc = RegEnumKeyExA(h, 0, name, &n, NULL, NULL, NULL, NULL);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_SUCCESS) rc = DeleteTree(h, name);
        if (rc != ERROR_SUCCESS) {
            RegCloseKey(h);
            return rc;
        }
    }
    RegCloseKey(h);
    return RegDeleteKeyA(Parent, Sub);
}

int RegKeyDelete(const char *Path)
{
    WL_FRAME("RegKeyDelete");
    WL_CHECK(Path == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(_tcslen (Path) == 0, WL_INVALID_PARAMETER);
    LONG rc = DeleteTree(HKEY_LOCAL_MACHINE, Path);
    WL_CHECK(rc == ERROR_FILE_NOT_FOUND, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(rc != ERROR_SUCCESS, WL_GENERAL_ERROR);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Enumeration of the stored profiles ---- */

int WLAPI WLNextProfileByNameGet(char *Name, DWORD *Size)
{
    WL_FRAME("WLNextProfileByNameGet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size <= 32, WL_INVALID_PARAMETER);
    HKEY h;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, PROFILE_ROOT, 0, KEY_READ, &h);
    bool opened = rc == ERROR_SUCCESS;
    while (rc == ERROR_SUCCESS) {
        char name[256];
        DWORD n = sizeof name;
        rc = RegEnumKeyExA(h, s_ProfileCursor, name, &n, NULL, NULL, NULL, NULL);
        if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && n >= *Size)) {
            /* No profile name is that long: step over the key. */
            s_ProfileCursor++;
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        RegCloseKey(h);
        memcpy(Name, name, n + 1);
        *Size = n;
        s_ProfileCursor++;
        WL_RETURN(WL_SUCCESS);
    }
    if (opened) RegCloseKey(h);
    s_ProfileCursor = 0;
    Name[0] = '\0';
    *Size = 0;
    WL_FAIL("RegEnumKeyEx () != ERROR_SUCCESS", WL_DATA_NOT_AVAILABLE);
}

int WLAPI WLFirstProfileByNameGet(char *Name, DWORD *Size)
{
    WL_FRAME("WLFirstProfileByNameGet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size <= 32, WL_INVALID_PARAMETER);
    s_ProfileCursor = 0;
    WL_RETURN(WLNextProfileByNameGet(Name, Size));
}

int ProfileExists(const char *Name, DWORD Size)
{
    WL_FRAME("ProfileExists");
    char name[PROFILE_NAME_MAX + 1];
    DWORD n = sizeof name;
    for (int rc = WLFirstProfileByNameGet(name, &n); rc == WL_SUCCESS; rc = WLNextProfileByNameGet(name, &n)) {
        if (n == Size && memcmp(name, Name, Size) == 0) WL_RETURN(WL_SUCCESS);
        n = sizeof name;
    }
    WL_FAIL("!Found", WL_DATA_NOT_AVAILABLE);
}

/* ---- Loading and storing ---- */

int ReadCentralProfileVault(const std::string &Name)
{
    WL_FRAME("ReadCentralProfileVault");
    std::string path;
    HKEY h;
    if (!ProfileKeyPath(Name, &path)) WL_FAIL("ProfileKeyPath (Name) == false", WL_DATA_NOT_AVAILABLE);
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &h);
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_AVAILABLE);
    NorlanInfo &p = recNorlanInfo;
    bool dualBand = !VariantIsCD();
    if (dualBand) p.ConnectionControl = RegIntRead(h, "ConnectionControl", 0, 3, 2);
    RegTextRead(h, "ConfigName", p.szConfigName);
    p.ConnectionMode = RegIntRead(h, "ConnectionMode", 0, 2, 0);
    RegTextRead(h, "DesiredSSID", p.szSSID);
    RegTextRead(h, "Encryption", p.szEncryption);
    if (p.szEncryption[0] == '\0') snprintf(p.szEncryption, sizeof p.szEncryption, "%s", DefaultCodedKey);
    p.OwnChannel = RegIntRead(h, "OwnChannel", 0, dualBand ? 512 : 14, 10);
    p.Authentication = RegIntRead(h, "Authentication", 0, 2, 1);
    RegCloseKey(h);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileByNameGet(const char *Name, DWORD Size)
{
    WL_FRAME("WLCurrentProfileByNameGet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    /* A profile that cannot be loaded whole leaves the current one alone. */
    NorlanInfo saved = recNorlanInfo;
    if (ReadCentralProfileVault(NameOfSize(Name, Size)) != 0)
        WL_FAIL("ReadCentralProfileVault (Name) != 0", WL_DATA_NOT_AVAILABLE);
    if (WL_SUCCESS != _WEPDecode()) {
        recNorlanInfo = saved;
        WL_FAIL("WL_SUCCESS != _WEPDecode ()", WL_DATA_NOT_AVAILABLE);
    }
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileByNameSet(const char *Name, DWORD Size)
{
    WL_FRAME("WLCurrentProfileByNameSet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    std::string name = NameOfSize(Name, Size);
    if (name.empty()) WL_FAIL("_tcslen (Name) == 0", WL_DATA_NOT_WRITEABLE);
    std::string path;
    if (!ProfileKeyPath(name, &path)) WL_FAIL("ProfileKeyPath (Name) == false", WL_DATA_NOT_WRITEABLE);
    WL_CHECK(WL_SUCCESS != _WEPCode (), WL_DATA_NOT_WRITEABLE);

    HKEY h = NULL;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &h);
    if (rc == ERROR_FILE_NOT_FOUND) {
        h = NULL;
        /* A new profile: its key comes with its "ConfigName". */
        rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, NULL, &h, NULL);
        if (rc == ERROR_SUCCESS) rc = RegTextWrite(h, "ConfigName", name.c_str());
        if (rc != ERROR_SUCCESS && h != NULL) {
            RegCloseKey(h);
            RegKeyDelete(path.c_str());
        }
    }
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_WRITEABLE);
    const NorlanInfo &p = recNorlanInfo;
    LONG failed = ERROR_SUCCESS;
    auto keep = [&failed](LONG r) {
        if (failed == ERROR_SUCCESS) failed = r;
    };
    if (!VariantIsCD()) keep(RegIntWrite(h, "ConnectionControl", p.ConnectionControl));
    keep(RegTextWrite(h, "ConfigName", p.szConfigName));
    keep(RegIntWrite(h, "ConnectionMode", p.ConnectionMode));
    keep(RegTextWrite(h, "DesiredSSID", p.szSSID));
    keep(RegTextWrite(h, "Encryption", p.szEncryption));
    keep(RegIntWrite(h, "OwnChannel", p.OwnChannel));
    keep(RegIntWrite(h, "Authentication", p.Authentication));
    RegCloseKey(h);
    WL_CHECK(failed != ERROR_SUCCESS, WL_DATA_NOT_WRITEABLE);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Preferred lists ---- */

/* Largest preferred list value read whole. */
#define PREFERRED_VALUE_LIMIT (1u << 20)

struct PreferredEntry {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

static std::string PreferredKeyPath(const char *Nic)
{
    return std::string(NicKeyPath(Nic)) + "\\" + PREFERRED_KEY;
}

/* Every value of a preferred list key, in list order. */
static std::vector<PreferredEntry> PreferredEntries(const std::string &Path)
{
    std::vector<PreferredEntry> raw;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return raw;
    DWORD nameMax = 0, dataMax = 0;
    RegQueryInfoKeyA(h, NULL, NULL, NULL, NULL, NULL, NULL, NULL, &nameMax, &dataMax, NULL, NULL);
    std::vector<char> name(nameMax + 2);
    std::vector<BYTE> data(dataMax + 1);
    for (DWORD i = 0;; i++) {
        DWORD n = (DWORD)name.size(), size = (DWORD)data.size(), type = REG_NONE;
        LONG rc = RegEnumValueA(h, i, name.data(), &n, NULL, &type, data.data(), &size);
        if (rc == ERROR_MORE_DATA && data.size() < PREFERRED_VALUE_LIMIT) {
            /* The value grew since the key was queried: read it again. */
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 256);
            i--;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        PreferredEntry e;
        e.name.assign(name.data(), n);
        e.type = type;
        e.data.assign(data.begin(), data.begin() + std::min<size_t>(size, data.size()));
        raw.push_back(e);
    }
    RegCloseKey(h);
    std::vector<std::string> names;
    for (const PreferredEntry &e : raw) names.push_back(e.name);
    std::vector<PreferredEntry> ordered;
    for (size_t i : PreferredOrder(names)) ordered.push_back(raw[i]);
    return ordered;
}

static bool EntryIsName(const PreferredEntry &e, const std::string &Name)
{
    std::string text;
    if (!RegDataToText(e.type, e.data.data(), e.data.size(), e.data.size(), &text)) return false;
    return text == Name;
}

int WLAPI WLNextPreferredProfileByNameGet(char *Name, DWORD *Size)
{
    WL_FRAME("WLNextPreferredProfileByNameGet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size <= 32, WL_INVALID_PARAMETER);
    const char *nic = CurrentNic();
    std::vector<PreferredEntry> list;
    if (nic != NULL) list = PreferredEntries(PreferredKeyPath(nic));
    Name[0] = '\0';
    if (s_PreferredReadCursor >= list.size()) {
        s_PreferredReadCursor = 0;
        *Size = 0;
        WL_FAIL("RegEnumValue () != ERROR_SUCCESS", WL_DATA_NOT_AVAILABLE);
    }
    const PreferredEntry &e = list[s_PreferredReadCursor++];
    std::string text;
    if (!RegDataToText(e.type, e.data.data(), e.data.size(), PROFILE_VALUE_MAX, &text)) {
        *Size = 0;
        WL_FAIL("PreferredEntry.type != REG_SZ", WL_DATA_NOT_AVAILABLE);
    }
    if (text.size() >= *Size) {
        *Size = 0;
        WL_FAIL("strlen (Data) >= *Size", WL_INPUT_BUFFER_INSUFFICIENT);
    }
    memcpy(Name, text.c_str(), text.size() + 1);
    *Size = (DWORD)text.size();
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLFirstPreferredProfileByNameGet(char *Name, DWORD *Size)
{
    WL_FRAME("WLFirstPreferredProfileByNameGet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size <= 32, WL_INVALID_PARAMETER);
    s_PreferredReadCursor = 0;
    WL_RETURN(WLNextPreferredProfileByNameGet(Name, Size));
}

/* Writes the preferred entry at the write counter and advances it. */
static int PreferredWrite(const char *Name, DWORD Size)
{
    WL_FRAME("PreferredWrite");
    const char *nic = CurrentNic();
    WL_CHECK(nic == NULL, WL_DATA_NOT_AVAILABLE);
    /* Exactly the name checked: Size bytes, whatever follows them. */
    std::string name(Name, Size);
    char value[16];
    snprintf(value, sizeof value, "PP_%lu", (unsigned long)s_PreferredWriteCounter);
    HKEY h;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, PreferredKeyPath(nic).c_str(), 0, NULL,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &h, NULL);
    if (rc == ERROR_SUCCESS) {
        rc = RegTextWrite(h, value, name.c_str());
        RegCloseKey(h);
    }
    WL_CHECK(rc != ERROR_SUCCESS, WL_DATA_NOT_AVAILABLE);
    s_PreferredWriteCounter++;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLNextPreferredProfileByNameSet(const char *Name, DWORD Size)
{
    WL_FRAME("WLNextPreferredProfileByNameSet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    WL_CHECK(ProfileExists (Name, Size) != WL_SUCCESS, WL_INVALID_PARAMETER);
    WL_RETURN(PreferredWrite(Name, Size));
}

int WLAPI WLFirstPreferredProfileByNameSet(const char *Name, DWORD Size)
{
    WL_FRAME("WLFirstPreferredProfileByNameSet");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    WL_CHECK(ProfileExists (Name, Size) != WL_SUCCESS, WL_INVALID_PARAMETER);
    /* The checks are Next's own: the entry is written without repeating them. */
    s_PreferredWriteCounter = 0;
    WL_RETURN(PreferredWrite(Name, Size));
}

int WLAPI WLAllPreferredProfileDel(void)
{
    WL_FRAME("WLAllPreferredProfileDel");
    const char *nic = CurrentNic();
    if (nic != NULL) RegKeyDelete(PreferredKeyPath(nic).c_str());
    WL_RETURN(WL_SUCCESS);
}

/* Rewrites one adapter's list without Name: the kept entries (whatever their
 * type) become PP_0, PP_1, ... in order, every other value goes. A list
 * without Name is not touched. */
static void PreferredListDrop(const char *Nic, const std::string &Name)
{
    std::string path = PreferredKeyPath(Nic);
    std::vector<PreferredEntry> list = PreferredEntries(path);
    std::vector<PreferredEntry> kept;
    for (const PreferredEntry &e : list)
        if (!EntryIsName(e, Name)) kept.push_back(e);
    if (kept.size() == list.size()) return;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    std::vector<std::string> written;
    for (size_t i = 0; i < kept.size(); i++) {
        char value[16];
        snprintf(value, sizeof value, "PP_%lu", (unsigned long)i);
        const PreferredEntry &e = kept[i];
        if (RegSetValueExA(h, value, 0, e.type, e.data.data(), (DWORD)e.data.size()) != ERROR_SUCCESS) {
            /* Stop before anything is removed: every entry is still there. */
            RegCloseKey(h);
            return;
        }
        written.push_back(value);
    }
    for (const PreferredEntry &e : list)
        if (std::find(written.begin(), written.end(), e.name) == written.end()) RegDeleteValueA(h, e.name.c_str());
    RegCloseKey(h);
}

void DeleteProfileUsed(const std::string &Name)
{
    WL_FRAME("DeleteProfileUsed");
    std::vector<std::string> nics;
    NICInfoBuffer b;
    memset(&b, 0, sizeof b);
    b.TS.Type = NICInfoBufferType;
    b.TS.Size = sizeof b;
    for (int rc = WLFirstNICGet(&b); rc == WL_SUCCESS; rc = WLNextNICGet(&b)) {
        b.Nic[sizeof b.Nic - 1] = '\0';
        nics.push_back(b.Nic);
    }
    for (const std::string &nic : nics) PreferredListDrop(nic.c_str(), Name);
    TraceReturn(WL_FN, NULL, WL_SUCCESS, __LINE__);
}

int WLAPI WLProfileByNameDel(const char *Name, DWORD Size)
{
    WL_FRAME("WLProfileByNameDel");
    WL_CHECK(Name == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    std::string name = NameOfSize(Name, Size);
    DeleteProfileUsed(name);
    std::string path;
    /* An empty name would name the root of all profiles. */
    if (!ProfileKeyPath(name, &path)) WL_FAIL("ProfileKeyPath (Name) == false", WL_GENERAL_ERROR);
    int rc = RegKeyDelete(path.c_str());
    WL_CHECK(rc != WL_SUCCESS, WL_GENERAL_ERROR);
    WL_RETURN(WL_SUCCESS);
}
