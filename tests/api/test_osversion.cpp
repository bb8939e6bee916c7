/*
 * Behaviour that depends on the reported Windows version. These suites run
 * in copies of this program that the prefix reports another version to
 * (os_win98.exe, os_nt40.exe, ...); WL_EXPECT_OS names the version.
 */
#include <regex>

#include "wltest.h"

static std::string ExpectedVersion()
{
    const char *v = getenv("WL_EXPECT_OS");
    return v ? v : "";
}

struct OsCase {
    const char *version;
    DWORD type;
    const char *name;
};

static const OsCase kOsCases[] = {
    {"win98", OS_WIN98, R"(WIN98 Version 4\.10 .* Build \d+)"},
    {"nt40", OS_WINNT, R"(WINNT Version 4\.00 .* Build 1381)"},
    {"win2k", OS_WIN2000, R"(WIN2000 Version 5\.00 .* Build 2195)"},
    {"winxp", OS_WIN2001, R"(WIN2001 Version 5\.01 .* Build 2600)"},
    {"win7", OS_WIN2001, R"(WIN2001 Version 6\.01 .* Build 7601)"},
};

static const OsCase *Expected()
{
    for (const OsCase &c : kOsCases)
        if (ExpectedVersion() == c.version) return &c;
    return nullptr;
}

TEST(OsVersion, TypeAndNameFollowTheReportedVersion)
{
    const OsCase *c = Expected();
    if (c == nullptr) GTEST_SKIP() << "runs under the os_* copies only";
    for (const Variant &v : kVariants) {
        WLLib lib(v);
        DWORD type = 99;
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLOSTypeGet)(&type));
        EXPECT_EQ(c->type, type);
        char name[128];
        DWORD size = 127;
        EXPECT_EQ(WL_INPUT_BUFFER_INSUFFICIENT, WL(lib, WLOSTypeNameGet)(name, &size));
        size = sizeof name;
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLOSTypeNameGet)(name, &size));
        EXPECT_TRUE(std::regex_match(std::string(name), std::regex(c->name))) << name;
        EXPECT_EQ(strlen(name), size);
    }
}

/* The adapters' class key and the file the serving library is derived from
 * depend on the OS type: Windows 98 keeps them under Services\Class\Net with
 * "DeviceVxDs", the NT family under Control\Class with "CoInstallers32". */
TEST(OsVersion, AdapterLayoutFollowsTheOsType)
{
    const OsCase *c = Expected();
    if (c == nullptr) GTEST_SKIP() << "runs under the os_* copies only";
    bool win98 = c->type == OS_WIN98;
    RegAdapter own(AdapterSpec("0160", "Layout card", true, 'C', win98));
    RegAdapter other(AdapterSpec("0161", "Other layout card", true, 'C', !win98));
    WLLib lib(kVariants[0]);
    NICInfoBuffer b = TypedBuffer<NICInfoBuffer>(NICInfoBufferType);
    std::vector<std::string> found;
    for (int rc = WL(lib, WLFirstNICGet)(&b); rc == WL_SUCCESS; rc = WL(lib, WLNextNICGet)(&b))
        found.push_back(std::string(b.Nic) + "=" + b.Dll);
    EXPECT_NE(found.end(), std::find(found.begin(), found.end(), "0160=WaVXQ48C.dll"));
    for (const std::string &s : found) EXPECT_NE(0u, s.find("0161")) << "adapter of the other layout listed";
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0160", 4));
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(lib, WLCurrentNICSet)("0161", 4));
}

/* Integer settings are kept as registry numbers on the NT family and as
 * decimal text on the others; reading accepts both. */
TEST(OsVersion, IntegerSettingsEncodingFollowsTheOsType)
{
    const OsCase *c = Expected();
    if (c == nullptr) GTEST_SKIP() << "runs under the os_* copies only";
    bool win98 = c->type == OS_WIN98;
    const Variant v = kVariants[2];
    RegAdapter a(AdapterSpec("0162", "Encoding card", true, v.letter, win98));
    WLLib lib(v);
    SimAdapterFor(a, v);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0162", 4));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLSystemScaleSet)(3));
    std::string text;
    DWORD number = 0, type = 0;
    if (win98) {
        ASSERT_TRUE(a.readString("SystemScale", &text));
        EXPECT_EQ("3", text);
    } else {
        ASSERT_TRUE(a.readDword("SystemScale", &number, &type));
        EXPECT_EQ(3u, number);
    }
    /* With no adapter reachable the getter answers from the registry. */
    SimReset();
    int val = 0;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLSystemScaleGet)(&val));
    EXPECT_EQ(3, val);
}
