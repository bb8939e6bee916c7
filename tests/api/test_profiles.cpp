/*
 * The profile store end to end: the current profile and its keys, stored
 * profiles in the registry, activation on the stand-in adapter, preferred
 * lists and deletion across adapters.
 */
#include <aclapi.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "wlcore/wepcode.h"
#include "sim_session.h"

namespace {

const char kRoot[] = "Software\\Wireless\\Driver";
const char kNic[] = "0180";

std::string ProfileKey(const std::string &name) { return std::string(kRoot) + "\\" + name; }

void TreeDelete(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
        char sub[256];
        DWORD n = sizeof sub;
        while (RegEnumKeyExA(h, 0, sub, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
            TreeDelete(key + "\\" + sub);
            n = sizeof sub;
        }
        RegCloseKey(h);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

void Put(const std::string &key, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &h, NULL));
    RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
}
void PutText(const std::string &key, const char *name, const std::string &text)
{
    Put(key, name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}
void PutDword(const std::string &key, const char *name, DWORD v) { Put(key, name, REG_DWORD, &v, sizeof v); }

/* A value's type and data ("" and REG_NONE when missing). */
struct Value {
    DWORD type = REG_NONE;
    std::string data;
    std::string text() const { return data.substr(0, data.find('\0')); }
    DWORD number() const
    {
        DWORD v = 0;
        memcpy(&v, data.data(), data.size() < 4 ? data.size() : 4);
        return v;
    }
};
Value Get(const std::string &key, const char *name)
{
    Value v;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return v;
    char buf[1024];
    DWORD size = sizeof buf;
    if (RegQueryValueExA(h, name, NULL, &v.type, (BYTE *)buf, &size) == ERROR_SUCCESS) v.data.assign(buf, size);
    else v.type = REG_NONE;
    RegCloseKey(h);
    return v;
}
bool KeyExists(const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

/* Sets or lifts a DACL that lets everyone only read the key. */
bool MakeReadOnly(const std::string &key, bool readOnly)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, READ_CONTROL | WRITE_DAC, &h) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = NULL;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPLICIT_ACCESSA ea;
    memset(&ea, 0, sizeof ea);
    ea.grfAccessPermissions = readOnly ? (KEY_READ | WRITE_DAC) : KEY_ALL_ACCESS;
    ea.grfAccessMode = SET_ACCESS;
    ea.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    ea.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    ea.Trustee.ptstrName = (LPSTR)everyone;
    PACL acl = NULL;
    SetEntriesInAclA(1, &ea, NULL, &acl);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    LONG rc = RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(h);
    LocalFree(acl);
    FreeSid(everyone);
    return rc == ERROR_SUCCESS;
}

KeyBuffer Keys(int form, int keyId, std::vector<std::string> keys)
{
    KeyBuffer b = TypedBuffer<KeyBuffer>(KeyBufferType);
    b.AsciiHex = form;
    b.KeyId = keyId;
    for (size_t i = 0; i < keys.size(); i++) {
        b.Key[i].Len = (int32_t)keys[i].size();
        memcpy(b.Key[i].Keypos, keys[i].data(), keys[i].size());
    }
    return b;
}

} // namespace

class ProfileTest : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override
    {
        TreeDelete(kRoot);
        s_.reset(new SimSession(GetParam(), kNic));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLInitializeProfiles)());
    }
    void TearDown() override
    {
        s_.reset();
        TreeDelete(kRoot);
    }
    WLLib &lib() { return s_->lib; }
    SimSession &sim() { return *s_; }
    std::string Reason() { return s_->Reason(); }
    bool dual() const { return !GetParam().cd(); }

    int Store(const std::string &name)
    {
        return WL(lib(), WLCurrentProfileByNameSet)(name.data(), (DWORD)name.size());
    }
    int Load(const std::string &name)
    {
        return WL(lib(), WLCurrentProfileByNameGet)(name.data(), (DWORD)name.size());
    }
    /* A fresh current profile with this SSID and mode, stored as name. */
    void NewProfile(const std::string &name, const std::string &ssid = "Net", int mode = 0)
    {
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileNameSet)(name.data(), (DWORD)name.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)(ssid.data(), (DWORD)ssid.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileConnectionModeSet)(mode));
        ASSERT_EQ(WL_SUCCESS, Store(name)) << lib().returnString();
    }
    int Int(int(WLAPI *get)(int *))
    {
        int v = -99;
        EXPECT_EQ(WL_SUCCESS, get(&v));
        return v;
    }
    std::string Ssid()
    {
        char buf[300];
        DWORD size = 256;
        EXPECT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDGet)(buf, &size));
        return std::string(buf, size);
    }
    std::vector<std::string> Preferred()
    {
        std::vector<std::string> out;
        char name[64];
        DWORD size = sizeof name;
        for (int rc = WL(lib(), WLFirstPreferredProfileByNameGet)(name, &size); rc == WL_SUCCESS;
             rc = WL(lib(), WLNextPreferredProfileByNameGet)(name, &size)) {
            out.push_back(std::string(name, size));
            size = sizeof name;
        }
        return out;
    }
    void SetPreferred(const std::vector<std::string> &names)
    {
        WL(lib(), WLAllPreferredProfileDel)();
        for (size_t i = 0; i < names.size(); i++) {
            auto set = i == 0 ? WL(lib(), WLFirstPreferredProfileByNameSet) : WL(lib(), WLNextPreferredProfileByNameSet);
            ASSERT_EQ(WL_SUCCESS, set(names[i].data(), (DWORD)names[i].size())) << lib().returnString();
        }
    }

    std::unique_ptr<SimSession> s_;
};

/* ---- Argument checks ---- */

TEST_P(ProfileTest, ChecksInOrderWithTheirReasons)
{
    char buf[300] = "";
    DWORD size;
    int v;
    const std::string name33(33, 'n');
    const struct Case {
        const char *what;
        std::function<int()> call;
        int code;
        const char *reason;
    } cases[] = {
        {"name get null", [&] { size = 256; return WL(lib(), WLCurrentProfileNameGet)(NULL, &size); },
         WL_INVALID_PARAMETER, "Val == NULL"},
        {"name get 255", [&] { size = 255; return WL(lib(), WLCurrentProfileNameGet)(buf, &size); },
         WL_INVALID_PARAMETER, "*Size < SIZEOF (recNorlanInfo.szConfigName)"},
        {"name set 257", [&] { return WL(lib(), WLCurrentProfileNameSet)(buf, 257); }, WL_INVALID_PARAMETER,
         "Size > SIZEOF (recNorlanInfo.szConfigName)"},
        {"ssid get 255", [&] { size = 255; return WL(lib(), WLCurrentProfileDesiredSSIDGet)(buf, &size); },
         WL_INVALID_PARAMETER, "*Size < SIZEOF (recNorlanInfo.szSSID)"},
        {"ssid set 257", [&] { return WL(lib(), WLCurrentProfileDesiredSSIDSet)(buf, 257); },
         WL_INVALID_PARAMETER, "Size > SIZEOF (recNorlanInfo.szSSID)"},
        {"enabled 8", [&] { return WL(lib(), WLCurrentProfileEncryptionEnabledSet)(8); }, WL_INVALID_PARAMETER,
         "!INTERVAL (0, <=, Val, <=, 7)"},
        {"active key 4", [&] { return WL(lib(), WLCurrentProfileEncryptionActiveKeySet)(4); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, Val, <, MAX_NUM_KEYS)"},
        {"mode 3", [&] { return WL(lib(), WLCurrentProfileConnectionModeSet)(3); }, WL_INVALID_PARAMETER,
         "!INTERVAL (CONNECTION_MODE_ESS, <=, Val, <=, CONNECTION_MODE_SOFTAP)"},
        {"auth -1", [&] { return WL(lib(), WLCurrentProfileAuthenticationSet)(-1); }, WL_INVALID_PARAMETER,
         "!INTERVAL (AUTHENTICATION_ALGORITHM_AUTO, <=, Val, <=, AUTHENTICATION_ALGORITHM_SHARED_KEY)"},
        {"control 4", [&] { return WL(lib(), WLCurrentProfileConnectionControlSet)(4); }, WL_INVALID_PARAMETER,
         "!INTERVAL (CONNECTION_CONTROL_2GHz, <=, Val, <=, CONNECTION_CONTROL_5GHz_2GHz)"},
        {"mode get null", [&] { return WL(lib(), WLCurrentProfileConnectionModeGet)(NULL); },
         WL_INVALID_PARAMETER, "Val == NULL"},
        {"key get 25", [&] { size = 25; return WL(lib(), WLCurrentProfileEncryptionKeyGet)(0, &v, buf, &size); },
         WL_INVALID_PARAMETER, "*KeyLen < 2*13"},
        {"key get num 4", [&] { size = 26; return WL(lib(), WLCurrentProfileEncryptionKeyGet)(4, &v, buf, &size); },
         WL_INVALID_PARAMETER, "!INTERVAL (0, <=, KeyNum, <, MAX_NUM_KEYS)"},
        {"key set form 2", [&] { return WL(lib(), WLCurrentProfileEncryptionKeySet)(0, 2, "abcde", 5); },
         WL_INVALID_PARAMETER, "!((AscHex == WL_KEYASC) || (AscHex == WL_KEYHEX))"},
        {"key set len 6", [&] { return WL(lib(), WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "abcdef", 6); },
         WL_INVALID_PARAMETER, "asc_hex (KeyVal, KeyLen) != WL_SUCCESS"},
        {"enum 32", [&] { size = 32; return WL(lib(), WLFirstProfileByNameGet)(buf, &size); },
         WL_INVALID_PARAMETER, "*Size <= 32"},
        {"pref get 32", [&] { size = 32; return WL(lib(), WLNextPreferredProfileByNameGet)(buf, &size); },
         WL_INVALID_PARAMETER, "*Size <= 32"},
        {"load 33", [&] { return WL(lib(), WLCurrentProfileByNameGet)(name33.c_str(), 33); },
         WL_INVALID_PARAMETER, "Size > 32"},
        {"store empty", [&] { return WL(lib(), WLCurrentProfileByNameSet)("", 0); }, WL_DATA_NOT_WRITEABLE,
         "_tcslen (Name) == 0"},
        {"store null", [&] { return WL(lib(), WLCurrentProfileByNameSet)(NULL, 3); }, WL_INVALID_PARAMETER,
         "Name == NULL"},
        {"pref set unknown", [&] { return WL(lib(), WLFirstPreferredProfileByNameSet)("Nowhere", 7); },
         WL_INVALID_PARAMETER, "ProfileExists (Name, Size) != WL_SUCCESS"},
        {"del 33", [&] { return WL(lib(), WLProfileByNameDel)(name33.c_str(), 33); }, WL_INVALID_PARAMETER,
         "Size > 32"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.code, c.call());
        EXPECT_EQ(c.reason, Reason());
    }
}

TEST_P(ProfileTest, ChannelAndBandOnlyOnTheDualBandFirmware)
{
    ChannelFrequencyBandBuffer b = TypedBuffer<ChannelFrequencyBandBuffer>(ChannelFrequencyBandBufferType);
    if (!dual()) {
        EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(lib(), WLCurrentProfileChannelFrequencyBandGet)(NULL));
        EXPECT_EQ(WL_FUNCTION_NOT_SUPPORTED, WL(lib(), WLCurrentProfileChannelFrequencyBandSet)(&b));
        return;
    }
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileChannelFrequencyBandGet)(&b));
    EXPECT_EQ(10, b.data.Channel) << "the default channel";
    b.data.Channel = 36;
    b.data.Band = FREQUENCY_BAND_5GHZ;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileChannelFrequencyBandSet)(&b));
    b.data.Channel = 37;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentProfileChannelFrequencyBandSet)(&b));
    EXPECT_EQ("ValidChannelFrequencyBand (Val) != WL_SUCCESS", Reason());
    b = TypedBuffer<ChannelFrequencyBandBuffer>(ChannelFrequencyBandBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileChannelFrequencyBandGet)(&b));
    EXPECT_EQ(36, b.data.Channel);
    EXPECT_EQ(FREQUENCY_BAND_5GHZ, b.data.Band);
}

/* ---- Texts and keys of the current profile ---- */

TEST_P(ProfileTest, TextsOfExactly256BytesAndTheInfoBuffer)
{
    std::string ssid(256, 's');
    ssid[0] = 'S';
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)(ssid.data(), 256));
    GuardedBytes out(256);
    DWORD size = 256;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDGet)(out.text(), &size));
    EXPECT_EQ(256u, size);
    EXPECT_EQ(ssid, std::string(out.text(), 256));
    EXPECT_TRUE(out.GuardIntact()) << "no terminator written past a full buffer";

    Guarded<CurrentProfileInfoBuffer> info(CurrentProfileInfoBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileInfoGet)(&info.b));
    const unsigned char *raw = (const unsigned char *)&info.b;
    EXPECT_EQ(ssid.substr(0, 33), std::string((const char *)raw + 41, 33));
    for (size_t i = 8; i < sizeof info.b; i++)
        if (i < 41 || i >= 74) {
            EXPECT_EQ(0x5A, raw[i]) << "byte " << i << " touched";
        }
    EXPECT_TRUE(info.GuardIntact());

    /* stored and loaded back whole */
    ASSERT_EQ(WL_SUCCESS, Store("Long"));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
    ASSERT_EQ(WL_SUCCESS, Load("Long"));
    EXPECT_EQ(ssid, Ssid());
}

TEST_P(ProfileTest, KeysAreHandedOutMasked)
{
    /* 26 digits of printable bytes read back as a 13-character text key */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionKeySet)(1, WL_KEYHEX, "4142434445464748494a4b4c4d", 26));
    int form = -1;
    char key[40];
    DWORD len = sizeof key;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionKeyGet)(1, &form, key, &len));
    EXPECT_EQ(WL_KEYASC, form);
    EXPECT_EQ(13u, len);
    EXPECT_EQ(std::string(13, '*'), std::string(key, len));

    KeyBuffer b = TypedBuffer<KeyBuffer>(KeyBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionGet)(&b));
    EXPECT_EQ(WL_KEYASC, b.AsciiHex);
    EXPECT_EQ(13, b.Key[1].Len);
    EXPECT_EQ(std::string(13, '*'), std::string(b.Key[1].Keypos, 13));

    /* a non-printable byte makes every key hexadecimal: 2 digits a byte */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionKeySet)(2, WL_KEYHEX, "00FF00FF00", 10));
    b = TypedBuffer<KeyBuffer>(KeyBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionGet)(&b));
    EXPECT_EQ(WL_KEYHEX, b.AsciiHex);
    EXPECT_EQ(26, b.Key[1].Len);
    EXPECT_EQ(10, b.Key[2].Len);
    EXPECT_EQ(std::string(26, '*'), std::string(b.Key[1].Keypos, 26));
}

TEST_P(ProfileTest, BadKeysAreRefusedAndLeaveTheKeysAlone)
{
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "abcdef", 6));
    KeyBuffer bad = Keys(WL_KEYASC, 0, {"abcde", "abcdef"});
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLCurrentProfileEncryptionSet)(&bad));
    EXPECT_EQ("ValidEncryptionData (Val) != WL_SUCCESS", Reason());
    std::string log = ReadFile("\\wlerr.txt");
    /* the rule's own frame closes first, then its caller's */
    EXPECT_TRUE(HasExitLine(log, "IsAsc", "!((len == 0) || (len == 5) || (len == 13))", "(WL_INVALID_PARAMETER"));
    EXPECT_TRUE(HasExitLine(log, "ValidEncryptionData", "asc_hex (Key->Keypos, Key->Len) != WL_SUCCESS", ""));
    bad = Keys(WL_KEYHEX, 0, {"012345678g"});
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLCurrentProfileEncryptionSet)(&bad));
    bad = Keys(WL_KEYASC, 4, {});
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, WL(lib(), WLCurrentProfileEncryptionSet)(&bad));
    bad.TS.Size = 161;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLCurrentProfileEncryptionSet)(&bad));
    EXPECT_EQ("Val->TS.Size != sizeof (KeyBuffer)", Reason());
    int form;
    char key[26];
    DWORD len = sizeof key;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionKeyGet)(0, &form, key, &len));
    EXPECT_EQ(0u, len) << "no refused key was stored";
}

/* ---- Stored profiles ---- */

TEST_P(ProfileTest, LoadingTakesDefaultsForMissingAndOutOfRangeValues)
{
    const std::string key = ProfileKey("Hand");
    PutDword(key, "ConnectionMode", 5);
    PutDword(key, "OwnChannel", 600);
    PutText(key, "Authentication", "2");
    PutDword(key, "DesiredSSID", 7); /* wrong type: not a text */
    PutText(key, "ConfigName", "Hand made");
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileConnectionControlSet)(1));
    ASSERT_EQ(WL_SUCCESS, Load("Hand")) << lib().returnString();
    EXPECT_EQ(0, Int(WL(lib(), WLCurrentProfileConnectionModeGet)));
    EXPECT_EQ(2, Int(WL(lib(), WLCurrentProfileAuthenticationGet)));
    /* the older firmware's profile has no connection control */
    EXPECT_EQ(dual() ? 2 : 1, Int(WL(lib(), WLCurrentProfileConnectionControlGet)));
    EXPECT_EQ("", Ssid());
    EXPECT_EQ(0, Int(WL(lib(), WLCurrentProfileEncryptionEnabledGet))) << "the default key record";
    ASSERT_EQ(WL_SUCCESS, Store("Copy"));
    EXPECT_EQ(DefaultCodedKey, Get(ProfileKey("Copy"), "Encryption").text());
    EXPECT_EQ(10u, Get(ProfileKey("Copy"), "OwnChannel").number());
    EXPECT_EQ("Hand made", Get(ProfileKey("Copy"), "ConfigName").text());
    EXPECT_EQ(dual() ? REG_DWORD : REG_NONE, Get(ProfileKey("Copy"), "ConnectionControl").type);

    /* the older firmware's channel range is 0..14 */
    PutDword(key, "OwnChannel", 14);
    ASSERT_EQ(WL_SUCCESS, Load("Hand"));
    ASSERT_EQ(WL_SUCCESS, Store("Copy"));
    EXPECT_EQ(14u, Get(ProfileKey("Copy"), "OwnChannel").number());
    PutDword(key, "OwnChannel", 300);
    ASSERT_EQ(WL_SUCCESS, Load("Hand"));
    ASSERT_EQ(WL_SUCCESS, Store("Copy"));
    EXPECT_EQ(dual() ? 300u : 10u, Get(ProfileKey("Copy"), "OwnChannel").number());
}

TEST_P(ProfileTest, KeysAreStoredOnlyWithEncryptionOn)
{
    KeyBuffer keys = Keys(WL_KEYASC, 2, {"", "", "Secret-Office", ""});
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionSet)(&keys));
    ASSERT_EQ(WL_SUCCESS, Store("Off"));
    EXPECT_EQ(DefaultCodedKey, Get(ProfileKey("Off"), "Encryption").text());
    ASSERT_EQ(WL_SUCCESS, Load("Off"));
    EXPECT_EQ(0, Int(WL(lib(), WLCurrentProfileEncryptionActiveKeyGet))) << "the default record, not the keys set";

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionSet)(&keys));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionEnabledSet)(1));
    ASSERT_EQ(WL_SUCCESS, Store("On"));
    std::string coded = Get(ProfileKey("On"), "Encryption").text();
    ASSERT_EQ(102u, coded.size());
    unsigned char rec[76];
    ASSERT_EQ(76, WEPDecode(CRYPT_CODE, rec, sizeof rec, coded.c_str()));
    EXPECT_EQ(0, memcmp(rec, "whWH\x02\x00\x01\x00\x21\x00\xB0\xFC", 12));
    EXPECT_EQ(0, memcmp(rec + 12 + 2 * 16, "\x0D\x00Secret-Office", 15));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
    ASSERT_EQ(WL_SUCCESS, Load("On"));
    EXPECT_EQ(2, Int(WL(lib(), WLCurrentProfileEncryptionActiveKeyGet)));
    EXPECT_EQ(1, Int(WL(lib(), WLCurrentProfileEncryptionEnabledGet)));
}

TEST_P(ProfileTest, KeysSetBeforeAnyDefaultsStoreAWholeRecord)
{
    s_.reset(); /* a library whose current profile is still all zero */
    WLLib fresh(GetParam());
    ASSERT_EQ(WL_SUCCESS, WL(fresh, WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "abcde", 5));
    ASSERT_EQ(WL_SUCCESS, WL(fresh, WLCurrentProfileEncryptionEnabledSet)(1));
    ASSERT_EQ(WL_SUCCESS, WL(fresh, WLCurrentProfileByNameSet)("Fresh", 5));
    unsigned char rec[76];
    ASSERT_EQ(76, WEPDecode(CRYPT_CODE, rec, sizeof rec, Get(ProfileKey("Fresh"), "Encryption").text().c_str()));
    EXPECT_EQ(0, memcmp(rec, "whWH\x00\x00\x01\x00\x21\x00\xB0\xFC\x05\x00" "abcde", 19));
}

TEST_P(ProfileTest, AFailedLoadLeavesTheCurrentProfileAlone)
{
    NewProfile("Kept", "KeptNet", 1);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Load("Missing"));
    EXPECT_EQ("ReadCentralProfileVault (Name) != 0", Reason());
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Load(""));
    PutText(ProfileKey("Garbage"), "Encryption", "&"); /* one character: no byte */
    PutText(ProfileKey("Garbage"), "DesiredSSID", "Other");
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Load("Garbage"));
    EXPECT_EQ("WL_SUCCESS != _WEPDecode ()", Reason());
    EXPECT_EQ("KeptNet", Ssid());
    EXPECT_EQ(1, Int(WL(lib(), WLCurrentProfileConnectionModeGet)));
}

TEST_P(ProfileTest, EnumerationWalksEveryProfileAndStartsAgain)
{
    NewProfile("Alpha");
    NewProfile("B\xC3\xBCro"); /* multi-byte name, 5 bytes */
    NewProfile(std::string(32, 'z'));
    PutText(ProfileKey(std::string(40, 'L')), "ConfigName", "too long a name"); /* by hand */
    std::vector<std::string> seen;
    char name[33];
    DWORD size = sizeof name;
    for (int rc = WL(lib(), WLFirstProfileByNameGet)(name, &size); rc == WL_SUCCESS;
         rc = WL(lib(), WLNextProfileByNameGet)(name, &size)) {
        ASSERT_EQ(strlen(name), size);
        seen.push_back(name);
        size = sizeof name;
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "B\xC3\xBCro", std::string(32, 'z')}), seen);
    EXPECT_EQ(0u, size);
    size = sizeof name;
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLNextProfileByNameGet)(name, &size)) << "the cursor went back to 0";

    /* names are compared byte for byte and over their exact size */
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLFirstPreferredProfileByNameSet)("B\xC3\xBCro", 5));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLNextPreferredProfileByNameSet)("B\xC3\xBC", 3));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLNextPreferredProfileByNameSet)("alpha", 5));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLNextPreferredProfileByNameSet)("Alpha and more", 5));
    EXPECT_EQ((std::vector<std::string>{"B\xC3\xBCro", "Alpha"}), Preferred()) << "only the bytes checked";
}

TEST_P(ProfileTest, NamesThatNameNoProfileKeyAreRefused)
{
    NewProfile("Keep");
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, Store("a\\b"));
    EXPECT_FALSE(KeyExists(ProfileKey("a")));
    /* an empty name would be the root of every profile */
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLProfileByNameDel)("", 0));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLProfileByNameDel)("Keep\\..", 7));
    EXPECT_TRUE(KeyExists(ProfileKey("Keep")));
}

TEST_P(ProfileTest, AReadOnlyProfileKeyGivesAClearCodeAndKeepsItsValues)
{
    NewProfile("Locked", "Before");
    if (!MakeReadOnly(ProfileKey("Locked"), true)) GTEST_SKIP() << "key security cannot be set here";
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)("After", 5));
    int rc = Store("Locked");
    MakeReadOnly(ProfileKey("Locked"), false);
    EXPECT_EQ(WL_DATA_NOT_WRITEABLE, rc);
    EXPECT_EQ("Before", Get(ProfileKey("Locked"), "DesiredSSID").text());
    ASSERT_EQ(WL_SUCCESS, Load("Locked"));
    EXPECT_EQ("Before", Ssid());
}

/* ---- Preferred lists and deletion ---- */

TEST_P(ProfileTest, PreferredListOfTwelveKeepsItsOrder)
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; i++) {
        names.push_back("P" + std::to_string(11 - i));
        NewProfile(names.back());
    }
    SetPreferred(names);
    EXPECT_EQ(names, Preferred());
    /* a shorter list written without emptying keeps the old tail */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLFirstPreferredProfileByNameSet)("P0", 2));
    EXPECT_EQ("P0", Preferred()[0]);
    EXPECT_EQ(12u, Preferred().size());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLAllPreferredProfileDel)());
    EXPECT_TRUE(Preferred().empty());
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLAllPreferredProfileDel)()) << "an empty list again";
}

TEST_P(ProfileTest, PreferredListWithGapsAndStrayValuesLosesNothing)
{
    for (const char *n : {"A", "B", "C", "D"}) NewProfile(n);
    const std::string key = sim().reg.nicKey() + "\\PreferredProfiles";
    PutText(key, "PP_7", "D");
    PutText(key, "PP_0", "A");
    PutText(key, "PP_3", "B");
    PutDword(key, "PP_5", 42); /* wrong type */
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Preferred()) << "the walk stops at the wrong type";
    /* a caller may go on past it */
    char name[64];
    DWORD size = sizeof name;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLNextPreferredProfileByNameGet)(name, &size));
    EXPECT_STREQ("D", name);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileByNameDel)("B", 1));
    /* the rest, renumbered in order, the odd entry kept as it was */
    EXPECT_EQ("A", Get(key, "PP_0").text());
    EXPECT_EQ(REG_DWORD, Get(key, "PP_1").type);
    EXPECT_EQ("D", Get(key, "PP_2").text());
    EXPECT_EQ(REG_NONE, Get(key, "PP_3").type);
    EXPECT_EQ(REG_NONE, Get(key, "PP_7").type);
}

TEST_P(ProfileTest, DeletionCleansEveryAdaptersList)
{
    const Variant v = GetParam();
    char other = v.letter == 'E' ? 'F' : 'E';
    RegAdapter a2(AdapterSpec("0181", "Second", true, v.letter));
    RegAdapter a3(AdapterSpec("0182", "Foreign", true, other));
    for (const char *n : {"Home", "Office", "Cafe"}) NewProfile(n);
    SetPreferred({"Office", "Home", "Cafe"});
    const std::string k2 = a2.nicKey() + "\\PreferredProfiles", k3 = a3.nicKey() + "\\PreferredProfiles";
    PutText(k2, "PP_0", "Cafe");
    PutText(k2, "PP_1", "Office");
    PutText(k3, "PP_0", "Office");

    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLProfileByNameDel)("Nowhere", 7));
    EXPECT_EQ((std::vector<std::string>{"Office", "Home", "Cafe"}), Preferred());

    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileByNameDel)("Office", 6));
    EXPECT_FALSE(KeyExists(ProfileKey("Office")));
    EXPECT_EQ((std::vector<std::string>{"Home", "Cafe"}), Preferred());
    EXPECT_EQ("Cafe", Get(k2, "PP_0").text());
    EXPECT_EQ(REG_NONE, Get(k2, "PP_1").type);
    EXPECT_EQ(REG_NONE, Get(k3, "PP_0").type) << "the other variant's adapter too";
    char nic[16];
    DWORD size = sizeof nic;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICGet)(nic, &size));
    EXPECT_STREQ(kNic, nic);
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib(), WLProfileByNameDel)("Office", 6));
}

/* ---- Activation ---- */

class ActivationTest : public ProfileTest {
protected:
    /* Record types of the exchanges since the log was cleared, as "op:type". */
    std::vector<std::string> Exchanges()
    {
        WlSimExchangeLog log;
        EXPECT_EQ(0, SimLastExchanges(&log));
        std::vector<std::string> out;
        static const char *ops[] = {"connect", "disconnect", "action", "diag", "get", "put"};
        for (int i = 0; i < log.n; i++) {
            const WlSimExchange &x = log.e[i];
            char buf[32];
            if (x.op <= WLSIM_OP_DISCONNECT) snprintf(buf, sizeof buf, "%s", ops[x.op]);
            else if (x.op == WLSIM_OP_ACTION) snprintf(buf, sizeof buf, "action:%d", x.typ);
            else snprintf(buf, sizeof buf, "%s:%04X", x.op < WLSIM_OPS ? ops[x.op] : "?", x.typ);
            out.push_back(buf);
        }
        return out;
    }
    std::vector<std::string> Puts(const std::vector<std::string> &x)
    {
        std::vector<std::string> out;
        for (const std::string &s : x)
            if (s.compare(0, 4, "put:") == 0 || s.compare(0, 7, "action:") == 0) out.push_back(s);
        return out;
    }
    int Activate(const std::string &name)
    {
        return WL(lib(), WLActiveProfileByNameSet)(name.data(), (DWORD)name.size());
    }
};

TEST_P(ActivationTest, WritesTheNicKeyAndTheAdapterInOneApply)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)("OfficeNet", 9));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileConnectionControlSet)(3));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileAuthenticationSet)(2));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "Office-Key-13", 13));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileEncryptionEnabledSet)(1));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileNameSet)("Office", 6));
    ASSERT_EQ(WL_SUCCESS, Store("Office"));
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, Activate("Office")) << lib().returnString();

    std::vector<std::string> x = Exchanges();
    ASSERT_GE(x.size(), 3u);
    EXPECT_EQ("connect", x.front());
    EXPECT_EQ("disconnect", x.back());
    std::vector<std::string> want = {"put:FC30", "put:FC02", "put:FC03", "put:FC21", "put:0900", "put:FC0E",
                                     "action:130"};
    if (!dual()) want = {"put:FC02", "put:FC21", "put:0900", "put:FC0E", "action:130"};
    EXPECT_EQ(want, Puts(x)) << "each record once, one apply at the end";
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, c.ops[WLSIM_OP_CONNECT]);
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());

    EXPECT_EQ("OfficeNet", sim().GetString(0xFC02));
    char computer[33];
    DWORD n = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &n));
    EXPECT_EQ(computer, sim().GetString(0xFC0E)) << "the station name is the computer's";
    EXPECT_EQ("Office", Get(sim().reg.nicKey(), "ConfigName").text());
    EXPECT_EQ("OfficeNet", Get(sim().reg.nicKey(), "DesiredSSID").text());
    EXPECT_EQ(Get(ProfileKey("Office"), "Encryption").text(), Get(sim().reg.nicKey(), "Encryption").text());
    EXPECT_EQ(dual() ? REG_DWORD : REG_NONE, Get(sim().reg.nicKey(), "ConnectionControl").type);

    /* again: nothing changed, nothing written, nothing to apply */
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, Activate("Office"));
    EXPECT_TRUE(Puts(Exchanges()).empty());
}

TEST_P(ActivationTest, ModeTwoEndsWithAReset)
{
    NewProfile("Ap", "ApNet", CONNECTION_MODE_SOFTAP);
    NewProfile("Ess", "EssNet", CONNECTION_MODE_ESS);
    const struct {
        const char *profile;
        uint16_t adapterMode;
        const char *last;
    } cases[] = {
        {"Ap", 0, "action:128"},
        {"Ess", 2, "action:128"},
        {"Ess", 1, "action:130"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.profile);
        sim().Set({2, 0x0908, c.adapterMode});
        SimClearLog();
        ASSERT_EQ(WL_SUCCESS, Activate(c.profile)) << lib().returnString();
        std::vector<std::string> p = Puts(Exchanges());
        ASSERT_FALSE(p.empty());
        EXPECT_EQ(c.last, p.back());
        EXPECT_EQ(1, std::count_if(p.begin(), p.end(), [](const std::string &s) { return s[0] == 'a'; }));
    }
}

TEST_P(ActivationTest, AFailureClosesWhatItOpenedAndLeavesNoDeferredMode)
{
    NewProfile("Net", "FailNet");
    SimFault(WLSIM_OP_PUT_INFO, 1, WLSIM_RES_BUSY);
    EXPECT_NE(WL_SUCCESS, Activate("Net"));
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
    WlSimAdapterState st;
    ASSERT_EQ(0, SimAdapterState(sim().sim, &st));
    EXPECT_EQ(0, st.openHandles);
    /* deferred-apply mode is off again: a change is applied at once */
    SimClearLog();
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnectionModeSet)(1));
    WlSimCounters c = SimCountersNow();
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));

    /* a step refused after records were written: what was written is put
     * in force, and the channel still closes */
    NewProfile("TooLong", std::string(40, 'x'), 0); /* the adapter is in mode 1 now */
    SimClearLog();
    EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, Activate("TooLong")) << "the SSID is refused";
    c = SimCountersNow();
    EXPECT_EQ(1u, SimTypePuts(&c, 0x0908));
    EXPECT_EQ(1u, SimActionCount(&c, WL_ACTION_APPLY));
    EXPECT_EQ(1u, c.ops[WLSIM_OP_DISCONNECT]);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());

    /* a caller's own connection stays open */
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLConnect)());
    ASSERT_EQ(WL_SUCCESS, Activate("Net"));
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLConnected)());
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Activate("Missing"));
    EXPECT_EQ("retval != WL_SUCCESS", Reason());
}

TEST_P(ActivationTest, DefaultProfileIsActivatedButNotStored)
{
    /* channel 0 stands for the first channel of the adapter's country */
    if (dual()) {
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryCurrentCountryCodeSet)("US", 2));
    }
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDefaultProfileSet)()) << ReadFile("\\wlerr.txt");
    EXPECT_EQ("Default", Get(sim().reg.nicKey(), "ConfigName").text());
    EXPECT_EQ("Ulmar Systems", Get(sim().reg.nicKey(), "DesiredSSID").text());
    EXPECT_EQ(DefaultCodedKey, Get(sim().reg.nicKey(), "Encryption").text());
    EXPECT_EQ("Ulmar Systems", sim().GetString(0xFC02));
    EXPECT_FALSE(KeyExists(ProfileKey("Default")));
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)());
}

TEST_P(ActivationTest, RegistryIdentityComesFromTheNicKey)
{
    sim().reg.writeDword("DriverVariant", 3);
    sim().reg.writeString("DriverMajor", "8");
    sim().reg.writeDword("DriverMinor", 24);
    IdentityBuffer id = TypedBuffer<IdentityBuffer>(IdentityBufferType, 0x11);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLREGIdentityGet)(&id));
    EXPECT_EQ(0x11111111, id.C) << "left as the caller set it";
    EXPECT_EQ(3, id.V);
    EXPECT_EQ(8, id.M);
    EXPECT_EQ(24, id.m);
    id.TS.Size = 23;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib(), WLREGIdentityGet)(&id));
    EXPECT_EQ("Val->TS.Size != sizeof (IdentityBuffer)", Reason());
}

/* With the stand-in's radio world: an access point in range announcing the
 * profile's SSID is joined by the activation; an absent network is not. */
TEST_P(ActivationTest, ActivationJoinsTheNetworkInRange)
{
    const uint8_t bssid[6] = {0x02, 0x57, 0x4C, 0x00, 0x01, 0x80};
    WlSimStation ap;
    ASSERT_EQ(0, SimStationMake(&ap, bssid, "OfficeNet", 6, 60, 10, 0, WLSIM_SEC_OPEN, "office-ap"));
    ASSERT_EQ(0, SimPutStation(&ap));
    NewProfile("Office", "OfficeNet");
    NewProfile("Away", "AbsentNet");
    const struct {
        const char *profile;
        int port;
    } cases[] = {{"Office", WLSIM_PORT_STATUS_ESS}, {"Away", WLSIM_PORT_STATUS_NO_LINK}, {"Office", WLSIM_PORT_STATUS_ESS}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.profile);
        ASSERT_EQ(WL_SUCCESS, Activate(c.profile)) << lib().returnString();
        int port = 0;
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLPortStatusGet)(&port));
        EXPECT_EQ(c.port, port);
        unsigned char joined[6] = {0};
        WL(lib(), WLCurrentBSSIDGet)(joined);
        EXPECT_EQ(c.port == WLSIM_PORT_STATUS_ESS, memcmp(joined, bssid, 6) == 0);
    }
    SimRemoveStation(bssid);
}

INSTANTIATE_TEST_SUITE_P(All, ProfileTest, testing::ValuesIn(kVariants), VariantName);
INSTANTIATE_TEST_SUITE_P(All, ActivationTest, testing::ValuesIn(kVariants), VariantName);

/* Integers of a profile are numbers on the NT family and decimal text on
 * Windows 98; either form reads back. Runs under the os_* copies. */
TEST(OsVersionProfiles, IntegersFollowTheOsTypeAndReadInEitherForm)
{
    const char *os = getenv("WL_EXPECT_OS");
    if (os == nullptr) GTEST_SKIP() << "runs under the os_* copies only";
    bool win98 = std::string(os) == "win98";
    TreeDelete(kRoot);
    {
        WLLib lib(kVariants[2]);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLProfileIns)());
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileConnectionModeSet)(1));
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileByNameSet)("Os", 2));
        Value mode = Get(ProfileKey("Os"), "ConnectionMode");
        if (win98) {
            EXPECT_EQ(REG_SZ, mode.type);
            EXPECT_EQ("1", mode.text());
        } else {
            EXPECT_EQ(REG_DWORD, mode.type);
            EXPECT_EQ(1u, mode.number());
        }
        /* the other form, written by hand */
        if (win98) PutDword(ProfileKey("Os"), "OwnChannel", 12);
        else PutText(ProfileKey("Os"), "OwnChannel", "12");
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileByNameGet)("Os", 2));
        ChannelFrequencyBandBuffer b = TypedBuffer<ChannelFrequencyBandBuffer>(ChannelFrequencyBandBufferType);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileChannelFrequencyBandGet)(&b));
        EXPECT_EQ(12, b.data.Channel);
        int m = 0;
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileConnectionModeGet)(&m));
        EXPECT_EQ(1, m);

        /* the preferred list lives under the adapter key of this layout */
        RegAdapter a(AdapterSpec("0190", "Layout card", true, 'E', win98));
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0190", 4));
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLFirstPreferredProfileByNameSet)("Os", 2));
        EXPECT_EQ("Os", Get(a.nicKey() + "\\PreferredProfiles", "PP_0").text());
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLProfileByNameDel)("Os", 2));
        EXPECT_EQ(REG_NONE, Get(a.nicKey() + "\\PreferredProfiles", "PP_0").type);
    }
    TreeDelete(kRoot);
}
