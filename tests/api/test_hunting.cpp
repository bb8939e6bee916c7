/*
 * Profile hunting control: the switches, starting and removing the service
 * program (a recording stand-in in the current directory takes its place),
 * the other configuration managers, and a connection that serves only the
 * adapter it was opened for.
 */
#include <stdio.h>

#include <algorithm>

#include "wltest.h"

#define OUTSIDE_CLIENT_KEY "Software\\Funk Software, Inc.\\Odyssey\\client\\control"

static std::string TestDllFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string p(path);
    return p.substr(0, p.rfind('\\')) + "\\..\\";
}

/* Registry adapters of one variant, the stand-in answering on each one's
 * device (variants C and E open one device for all). */
struct Adapters {
    Adapters(const Variant &v, std::initializer_list<const char *> nics)
    {
        SimReset();
        for (const char *n : nics) {
            regs.emplace_back(new RegAdapter(AdapterSpec(n, "Wireless LAN PC Card", true, v.letter)));
            std::string name = v.vxdName() ? std::string("WuVXQ48") + v.letter + ".vxd" : regs.back()->spec().guid;
            const char *names[] = {name.c_str()};
            int index = -1;
            if (!v.vxdName() || sims.empty()) {
                EXPECT_EQ(0, SimAddAdapter(names, 1, &index)) << SimLastErrorText();
            }
            sims.push_back(index >= 0 ? index : sims[0]);
        }
    }
    std::vector<std::unique_ptr<RegAdapter>> regs;
    std::vector<int> sims;
};

static std::string CurrentNicOf(WLLib &lib)
{
    char nic[16] = "";
    DWORD size = sizeof nic;
    WL(lib, WLCurrentNICGet)(nic, &size);
    return nic;
}

static std::string Reason(WLLib &lib)
{
    std::string s = lib.returnString();
    size_t a = s.find("returned [");
    size_t b = s.rfind("] (");
    return a == std::string::npos || b == std::string::npos ? s : s.substr(a + 10, b - a - 10);
}

class HuntingTest : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override
    {
        v_ = GetParam();
        program_ = std::string("WSVXQ48") + v_.letter + ".exe";
        DeleteFileA(program_.c_str());
        DeleteFileA("svcprobe.log");
    }
    void TearDown() override
    {
        DeleteFileA(program_.c_str());
        DeleteFileA("svcprobe.log");
        RegDeleteKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY);
    }
    /* The recording stand-in under this variant's service program name. */
    void InstallProbe()
    {
        ASSERT_TRUE(CopyFileA((TestDllFolder() + "testdll\\svcprobe.exe").c_str(), program_.c_str(), FALSE));
    }
    /* The parameters the stand-in was started with, once `n` have come. */
    std::string ProbeRuns(size_t n)
    {
        std::string log;
        for (int i = 0; i < 100; i++) {
            log = ReadFile("svcprobe.log");
            if ((size_t)std::count(log.begin(), log.end(), '\n') >= n) break;
            Sleep(200);
        }
        Sleep(500); /* a run that should not have happened has had its time */
        return ReadFile("svcprobe.log");
    }
    Variant v_;
    std::string program_;
};

TEST_P(HuntingTest, SwitchesRefuseValuesOutsideZeroToOne)
{
    Adapters a(v_, {"0180"});
    WLLib lib(v_);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0180", 4));
    const struct {
        const char *value;
        decltype(&WLSystrayIconSet) set;
    } rows[] = {{"ProfileHunting", WL(lib, WLProfileHuntingSet)},
                {"SystrayIcon", WL(lib, WLSystrayIconSet)},
                {"ThirdPartyConfiguration", WL(lib, WLThirdPartyConfigurationSet)}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.value);
        for (int bad : {2, -1}) {
            EXPECT_EQ(WL_INVALID_PARAMETER, r.set(bad));
            EXPECT_EQ("!INTERVAL (0, <=, Val, <=, 1)", Reason(lib));
        }
        DWORD stored;
        EXPECT_FALSE(a.regs[0]->readDword(r.value, &stored)) << "nothing stored";
    }
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLSystrayIconSet)(0));
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLThirdPartyConfigurationSet)(1));
    DWORD stored = 9;
    EXPECT_TRUE(a.regs[0]->readDword("SystrayIcon", &stored));
    EXPECT_EQ(0u, stored);
    EXPECT_TRUE(a.regs[0]->readDword("ThirdPartyConfiguration", &stored));
    EXPECT_EQ(1u, stored);
}

TEST_P(HuntingTest, ServiceProgramRunsForTheFirstAndAfterTheLastHuntingAdapter)
{
    InstallProbe();
    Adapters a(v_, {"0181", "0182"});
    WLLib lib(v_);
    auto set = [&](const char *nic, int val) {
        EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(nic, 4));
        EXPECT_EQ(WL_SUCCESS, WL(lib, WLProfileHuntingSet)(val)) << lib.returnString();
        EXPECT_EQ(nic, CurrentNicOf(lib)) << "the selection is put back";
    };
    set("0181", 1); /* the first to hunt: "/Service" */
    set("0182", 1); /* the second: nothing */
    set("0181", 0); /* another still hunts: nothing */
    set("0182", 0); /* the last stops: "/UnregService" */
    EXPECT_EQ("/Service\r\n/UnregService\r\n", ProbeRuns(2));
    DWORD stored = 9;
    EXPECT_TRUE(a.regs[1]->readDword("ProfileHunting", &stored));
    EXPECT_EQ(0u, stored);
}

TEST_P(HuntingTest, ServiceProgramThatCannotStartStillStoresTheSwitch)
{
    Adapters a(v_, {"0183"});
    WLLib lib(v_);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0183", 4));
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLProfileHuntingSet)(1));
    DWORD stored = 0;
    EXPECT_TRUE(a.regs[0]->readDword("ProfileHunting", &stored));
    EXPECT_EQ(1u, stored);
}

TEST_P(HuntingTest, AdaptersOfOtherLibrariesAreNotCounted)
{
    InstallProbe();
    const Variant &other = kVariants[(v_.number - 3 + 1) % 4];
    Adapters a(v_, {"0184"});
    RegAdapter foreign(AdapterSpec("0189", "Wireless LAN PC Card", true, other.letter));
    foreign.writeDword("ProfileHunting", 1);
    WLLib lib(v_);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0184", 4));
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLProfileHuntingSet)(1));
    EXPECT_EQ("/Service\r\n", ProbeRuns(1)) << "the other variant's hunting adapter is not this library's";
}

TEST_P(HuntingTest, OtherConfigurationManagersInTheFlagWord)
{
    Adapters a(v_, {"0185"});
    WLLib lib(v_);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0185", 4));
    const struct {
        DWORD type;
        const char *text;
        DWORD number;
        uint32_t want;
    } rows[] = {
        {REG_NONE, NULL, 0, 0},
        {REG_DWORD, NULL, 1, THIRD_PARTY_NOT_OWN | THIRD_PARTY_FUNK},
        {REG_DWORD, NULL, 2, THIRD_PARTY_NOT_OWN},
        {REG_DWORD, NULL, 0, 0},
        {REG_SZ, "1", 0, THIRD_PARTY_NOT_OWN | THIRD_PARTY_FUNK},
        {REG_SZ, "0", 0, 0},
        {REG_SZ, "yes", 0, 0},
    };
    for (const auto &r : rows) {
        RegDeleteKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY);
        if (r.type != REG_NONE) {
            HKEY h;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY, &h));
            if (r.type == REG_SZ) RegSetValueExA(h, "enabled", 0, REG_SZ, (const BYTE *)r.text, (DWORD)strlen(r.text) + 1);
            else RegSetValueExA(h, "enabled", 0, REG_DWORD, (const BYTE *)&r.number, 4);
            RegCloseKey(h);
        }
        CurrentNICInfoBuffer b = TypedBuffer<CurrentNICInfoBuffer>(CurrentNICInfoBufferType);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICInfoGet)(&b));
        uint32_t word;
        memcpy(&word, &b.ThirdPartyConfiguration, 4);
        EXPECT_EQ(r.want, word) << "row " << (&r - rows);
    }
}

/* Connected to one adapter, another selected: every driver operation of a
 * call reaches the selected adapter's own device; the connection and its
 * deferred apply stay with the first. */
TEST_P(HuntingTest, ConnectionServesOnlyItsOwnAdapter)
{
    if (v_.vxdName()) GTEST_SKIP() << "variants C and E open one device for all adapters";
    Adapters a(v_, {"0186", "0187"});
    WLLib lib(v_);
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0186", 4));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLConnect)());
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLApplySet)(1));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0187", 4));
    SimClearLog();

    EXPECT_EQ(WL_SUCCESS, WL(lib, WLPMEnabledSet)(1)) << lib.returnString();
    DWORD stored = 0;
    EXPECT_TRUE(a.regs[1]->readDword("PMEnabled", &stored));
    EXPECT_EQ(1u, stored) << "the selected adapter's registry value";
    EXPECT_EQ(1, SimRecord(a.sims[1], 0xFC09).at(2)) << "and the selected adapter's record";
    EXPECT_EQ(0, SimRecord(a.sims[0], 0xFC09).at(2)) << "the connection's adapter untouched";
    WlSimAdapterState first, second;
    SimAdapterState(a.sims[0], &first);
    SimAdapterState(a.sims[1], &second);
    EXPECT_EQ(1, first.connected) << "the connection stays open on its adapter";
    EXPECT_EQ(0u, first.gets + first.puts);
    EXPECT_EQ(1u, second.applies) << "applied at once: the deferred apply belongs to the connection";
    EXPECT_EQ(0, second.connected) << "the temporary connection was closed";

    SimSetRecord(a.sims[1], std::vector<uint16_t>{2, 0xFC06, 3}.data());
    int scale = 0;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLSystemScaleGet)(&scale));
    EXPECT_EQ(3, scale) << "a read reaches the selected adapter";

    /* Back on the connection's adapter: deferred, then one apply. */
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0186", 4));
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLPMEnabledSet)(2));
    SimAdapterState(a.sims[0], &first);
    EXPECT_EQ(0u, first.applies);
    EXPECT_EQ(WL_GENERAL_ERROR, WL(lib, WLDisconnect)()) << "an apply is pending";
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0187", 4));
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLApply)()) << "the pending apply goes to its own adapter";
    SimAdapterState(a.sims[0], &first);
    SimAdapterState(a.sims[1], &second);
    EXPECT_EQ(1u, first.applies);
    EXPECT_EQ(1u, second.applies);
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLDisconnect)());
    SimAdapterState(a.sims[0], &first);
    EXPECT_EQ(0, first.connected);
    EXPECT_EQ(2, SimRecord(a.sims[0], 0xFC09).at(2));
}

INSTANTIATE_TEST_SUITE_P(Variants, HuntingTest, testing::ValuesIn(kVariants), VariantName);
