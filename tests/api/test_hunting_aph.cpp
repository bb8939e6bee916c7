/*
 * One hunting step (WLAPHPP) end to end: the gate's refusals in order, the
 * link verdict, the walk over the preferred profiles with the settle time
 * after each activation; WLAPHRestart; the Windows zero configuration
 * service under each reported Windows version.
 */
#include <chrono>

#include "wlsession.h"

#define PROFILE_ROOT "Software\\Wireless\\Driver"
#define OUTSIDE_CLIENT_KEY "Software\\Funk Software, Inc.\\Odyssey\\client\\control"

static std::string TraceName(const Variant &v) { return std::string("\\wllog48") + v.letter + "0.txt"; }

class AphTest : public AdapterTest {
protected:
    AphTest() : AdapterTest("0176") {}
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROFILE_ROOT);
        AdapterTest::SetUp();
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLInitializeProfiles)());
        s_.reg->writeDword("ProfileHunting", 1);
        BadLink();
    }
    void TearDown() override
    {
        AdapterTest::TearDown();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROFILE_ROOT);
        RegDeleteKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY);
        RemoveFile("\\wllog.txt");
        RemoveFile("\\wlerr.txt");
        RemoveFile(TraceName(v_));
    }
    /* Port 3 with a BSSID and the link lost: hunt. */
    void BadLink()
    {
        s_.SetRecord({2, 0xFD40, 3});
        s_.SetRecord({2, 0x090B, 0});
    }
    void Profile(const std::string &name, const std::string &ssid)
    {
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileNameSet)(name.data(), (DWORD)name.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)(ssid.data(), (DWORD)ssid.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileByNameSet)(name.data(), (DWORD)name.size()));
    }
    void Preferred(std::initializer_list<const char *> names)
    {
        bool first = true;
        for (const char *n : names) {
            auto set = first ? WL(lib(), WLFirstPreferredProfileByNameSet) : WL(lib(), WLNextPreferredProfileByNameSet);
            ASSERT_EQ(WL_SUCCESS, set(n, (DWORD)strlen(n))) << why();
            first = false;
        }
    }
    /* Desired-SSID writes reaching the adapter since the log was cleared. */
    uint32_t SsidPuts()
    {
        WlSimCounters c = SimCountersNow();
        for (uint32_t i = 0; i < WLSIM_TYPE_SLOTS; i++)
            if (c.types[i].typ == 0xFC02) return c.types[i].puts;
        return 0;
    }
    std::string ConfigName()
    {
        std::string s;
        s_.reg->readString("ConfigName", &s);
        return s;
    }
    /* WLAPHPP's result and the milliseconds it took. */
    int Step(long *ms = nullptr)
    {
        SimClearLog();
        auto t0 = std::chrono::steady_clock::now();
        int rc = WL(lib(), WLAPHPP)();
        auto t1 = std::chrono::steady_clock::now();
        if (ms) *ms = (long)std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count();
        return rc;
    }
};

TEST_P(AphTest, WithoutPreferredProfileNothingIsActivated)
{
    Profile("One", "NetOne");
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Step()) << why();
    EXPECT_EQ(0u, SsidPuts());
    EXPECT_EQ("Config01", ConfigName());
    s_.SetRecord({2, 0xFD40, 4});
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Step()) << "the empty list, whatever the link";
    EXPECT_EQ(WL_NOT_CONNECTED, WL(lib(), WLConnected)()) << "the step's own connection is closed";
}

TEST_P(AphTest, UsableLinkActivatesNothing)
{
    Profile("One", "NetOne");
    Preferred({"One"});
    const std::vector<std::vector<uint16_t>> good = {
        {2, 0xFD40, 4},                                         /* port status 4 */
        {4, 0xFD42, 0, 0, 0},                                   /* port 3 without a BSSID */
    };
    s_.SetRecord(good[0]);
    EXPECT_EQ(WL_SUCCESS, Step()) << why();
    s_.SetRecord({2, 0xFD40, 3});
    s_.SetRecord(good[1]);
    EXPECT_EQ(WL_SUCCESS, Step()) << why();
    s_.SetRecord({4, 0xFD42, 0x5702, 0x534C, 0x014D});
    s_.SetRecord({2, 0x090B, 1});
    EXPECT_EQ(WL_SUCCESS, Step()) << "port 3, link 1 and a BSSID";
    EXPECT_EQ(0u, SsidPuts());
    EXPECT_EQ("Config01", ConfigName());
}

TEST_P(AphTest, BadLinkWalksThePreferredProfilesInOrder)
{
    Profile("One", "NetOne");
    Profile("Two", "NetTwo");
    Preferred({"One", "Two"});
    long ms = 0;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, Step(&ms)) << "the list runs out: " << why();
    EXPECT_EQ(2u, SsidPuts()) << "both activated";
    EXPECT_EQ("Two", ConfigName()) << "the second last";
    std::vector<uint16_t> ssid = s_.Record(0xFC02);
    ASSERT_GE(ssid.size(), 6u);
    EXPECT_EQ(std::string("NetTwo"), std::string((const char *)&ssid[3], ssid[2]));
    EXPECT_GE(ms, 2 * 2000) << "the settle time of connection mode 0 after each";
    RecordProperty("step_ms", (int)ms);
    printf("two activations in connection mode 0: %ld ms\n", ms);
}

TEST_P(AphTest, WalkStopsAtTheFirstUsableLink)
{
    Profile("One", "NetOne");
    Profile("Two", "NetTwo");
    Preferred({"One", "Two"});
    /* A link status the first activation leaves usable: port 4 answers. */
    s_.SetRecord({2, 0xFD40, 4});
    EXPECT_EQ(WL_SUCCESS, Step());
    EXPECT_EQ(0u, SsidPuts());
}

TEST_P(AphTest, GateRefusesInOrder)
{
    Profile("One", "NetOne");
    Preferred({"One"});
    const struct {
        const char *what;
        std::function<void()> arrange;
        std::string reason;
    } rows[] = {
        {"no port status", [&] { SimDeleteRecord(s_.sim, 0xFD40); }, "buf.Present != 1"},
        {"hunting off", [&] { s_.reg->writeDword("ProfileHunting", 0); }, "buf.ProfileHunting != 1"},
        {"own switch", [&] { s_.reg->writeDword("ThirdPartyConfiguration", 1); },
         "buf.ThirdPartyConfiguration.Own == 1"},
        {"outside client",
         [&] {
             HKEY h;
             RegCreateKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY, &h);
             RegSetValueExA(h, "enabled", 0, REG_SZ, (const BYTE *)"1", 2);
             RegCloseKey(h);
         },
         "buf.ThirdPartyConfiguration.NotOwn == 1"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.what);
        s_.reg->writeDword("ProfileHunting", 1);
        s_.reg->writeDword("ThirdPartyConfiguration", 0);
        RegDeleteKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY);
        s_.SetRecord({2, 0xFD40, 3});
        r.arrange();
        RemoveFile("\\wlerr.txt");
        WL(lib(), WLLogErrorNew)();
        EXPECT_EQ(WL_FUNCTION_NOT_AVAILABLE, Step());
        EXPECT_NE(std::string::npos, ReadFile("\\wlerr.txt").find("[" + r.reason + "]")) << "refused for " << r.reason;
        EXPECT_EQ(0u, SsidPuts()) << "nothing activated";
    }
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)("", 0));
    EXPECT_EQ(WL_FUNCTION_NOT_AVAILABLE, Step()) << "no adapter: no connection";
}

TEST_P(AphTest, OutsideClientLinesPrecedeTheRefusal)
{
    /* The trace is switched on for a library loaded after the marker. */
    WriteFile("\\wllog.txt", "");
    RemoveFile(TraceName(v_));
    s_.lib.reset();
    s_.lib.reset(new WLLib(v_));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)("0176", 4));
    HKEY h;
    RegCreateKeyA(HKEY_CURRENT_USER, OUTSIDE_CLIENT_KEY, &h);
    DWORD one = 1;
    RegSetValueExA(h, "enabled", 0, REG_DWORD, (const BYTE *)&one, 4);
    RegCloseKey(h);
    EXPECT_EQ(WL_FUNCTION_NOT_AVAILABLE, Step());
    std::string log = ReadFile(TraceName(v_));
    size_t funk = log.find("<APHPPAllowed> logs [buf.ThirdPartyConfiguration.Funk == 1] conditionally");
    size_t refusal = log.find("returned [buf.ThirdPartyConfiguration.NotOwn == 1]");
    EXPECT_NE(std::string::npos, funk);
    EXPECT_NE(std::string::npos, refusal);
    EXPECT_LT(funk, refusal);
    EXPECT_EQ(std::string::npos, log.find("[buf.ThirdPartyConfiguration.Microsoft == 1] conditionally"));
}

TEST_P(AphTest, RestartAppliesTheDefaultProfileAndStartsTheService)
{
    std::string program = std::string("WSVXQ48") + v_.letter + ".exe";
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string probe = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\..\\testdll\\svcprobe.exe";
    SimClearLog();
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLAPHRestart)()) << "no service program: still WL_SUCCESS";
    EXPECT_EQ(1u, SsidPuts()) << "the default profile reached the adapter";
    EXPECT_EQ("Default", ConfigName());
    ASSERT_TRUE(CopyFileA(probe.c_str(), program.c_str(), FALSE));
    DeleteFileA("svcprobe.log");
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLAPHRestart)());
    std::string runs;
    for (int i = 0; i < 50 && runs.empty(); i++, Sleep(200)) runs = ReadFile("svcprobe.log");
    EXPECT_EQ("/Service\r\n", runs);
    DeleteFileA(program.c_str());
    DeleteFileA("svcprobe.log");
}

INSTANTIATE_TEST_SUITE_P(Variants, AphTest, testing::ValuesIn(kVariants), VariantName);

/* ---- The Windows zero configuration service ---- */

/* A stand-in "WZCSVC": the hunting service program of variant D in a
 * folder with a recording library that lists no adapter. */
struct ZeroConfigService {
    ZeroConfigService()
    {
        char self[MAX_PATH], cwd[MAX_PATH];
        GetModuleFileNameA(NULL, self, sizeof self);
        std::string base = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\..\\";
        GetCurrentDirectoryA(sizeof cwd, cwd);
        dir = std::string(cwd) + "\\wzcsvc";
        CreateDirectoryA(dir.c_str(), NULL);
        CopyFileA((base + "svcbin\\WSVXQ48D.exe").c_str(), (dir + "\\WSVXQ48D.exe").c_str(), FALSE);
        CopyFileA((base + "testdll\\aphprobe.dll").c_str(), (dir + "\\WAVXQ48D.DLL").c_str(), FALSE);
        WriteFile(dir + "\\aphprobe.txt", "");
        scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
        /* One left behind by an interrupted run goes first. */
        if (SC_HANDLE old = OpenServiceA(scm, "WZCSVC", SERVICE_ALL_ACCESS)) {
            SERVICE_STATUS st;
            SERVICE_STATUS_PROCESS sp;
            DWORD got = 0;
            ControlService(old, SERVICE_CONTROL_STOP, &st);
            DeleteService(old);
            /* A process that does not stop keeps the service marked for
             * deletion: end it, so the name can be created again. */
            if (QueryServiceStatusEx(old, SC_STATUS_PROCESS_INFO, (BYTE *)&sp, sizeof sp, &got) &&
                sp.dwProcessId != 0) {
                if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, sp.dwProcessId)) {
                    if (WaitForSingleObject(p, 3000) != WAIT_OBJECT_0) TerminateProcess(p, 1);
                    WaitForSingleObject(p, 3000);
                    CloseHandle(p);
                }
            }
            CloseServiceHandle(old);
            for (int i = 0; i < 100 && (old = OpenServiceA(scm, "WZCSVC", SERVICE_QUERY_STATUS)) != NULL; i++) {
                CloseServiceHandle(old);
                Sleep(100);
            }
        }
        svc = CreateServiceA(scm, "WZCSVC", "Wireless Zero Configuration", SERVICE_ALL_ACCESS,
                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                             (dir + "\\WSVXQ48D.exe").c_str(), NULL, NULL, NULL, NULL, NULL);
    }
    bool Start() { return svc && StartServiceA(svc, 0, NULL) && WaitState(SERVICE_RUNNING); }
    bool Stop()
    {
        SERVICE_STATUS st;
        return svc && ControlService(svc, SERVICE_CONTROL_STOP, &st) && WaitState(SERVICE_STOPPED);
    }
    bool WaitState(DWORD state)
    {
        SERVICE_STATUS st;
        for (int i = 0; i < 150; i++, Sleep(200))
            if (QueryServiceStatus(svc, &st) && st.dwCurrentState == state) return true;
        return false;
    }
    ~ZeroConfigService()
    {
        if (svc) {
            Stop();
            DeleteService(svc);
            CloseServiceHandle(svc);
        }
        if (scm) CloseServiceHandle(scm);
        for (const char *f : {"WSVXQ48D.exe", "WAVXQ48D.DLL", "aphprobe.txt", "aphprobe.log"})
            DeleteFileA((dir + "\\" + f).c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string dir;
    SC_HANDLE scm = NULL, svc = NULL;
};

/* Runs under every reported Windows version (the os_* copies); only
 * Windows XP (type 32, which Wine's default 6.1 also gives) asks the
 * service, and only there does it make hunting refuse. */
TEST(OsVersionHunting, ZeroConfigurationServiceOnlyOnWindowsXP)
{
    const DWORD os = ExpectedOsType();
    ZeroConfigService wzc;
    ASSERT_TRUE(wzc.svc != NULL) << GetLastError();
    ASSERT_TRUE(wzc.Start());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROFILE_ROOT);
    RegAdapter reg(AdapterSpec("0177", "Wireless LAN PC Card", true, 'C', os == OS_WIN98));
    const Variant c = kVariants[0];
    SimAdapterFor(reg, c);
    reg.writeDword("ProfileHunting", 1);
    RemoveFile(TraceName(c));
    WriteFile("\\wllog.txt", "");
    {
        WLLib lib(c);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)("0177", 4));
        int status = 0;
        CurrentNICInfoBuffer b = TypedBuffer<CurrentNICInfoBuffer>(CurrentNICInfoBufferType);
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICInfoGet)(&b));
        if (os != OS_WIN2001) {
            ExpectRefused(lib, WL(lib, WLZeroConfigStatusGet)(&status), WL_DATA_NOT_AVAILABLE,
                          "OSTypeGet () != OS_WIN2001");
            EXPECT_EQ(0u, b.ThirdPartyConfiguration.Microsoft);
            EXPECT_EQ(0u, b.ThirdPartyConfiguration.NotOwn);
        } else {
            EXPECT_EQ(WL_SUCCESS, WL(lib, WLZeroConfigStatusGet)(&status));
            EXPECT_EQ(2, status) << "running";
            EXPECT_EQ(1u, b.ThirdPartyConfiguration.Microsoft);
            EXPECT_EQ(1u, b.ThirdPartyConfiguration.NotOwn);
            ExpectRefused(lib, WL(lib, WLZeroConfigStatusGet)(NULL), WL_INVALID_PARAMETER, "Val == NULL");
            EXPECT_EQ(WL_FUNCTION_NOT_AVAILABLE, WL(lib, WLAPHPP)());
            std::string log = ReadFile(TraceName(c));
            size_t ms = log.find("<APHPPAllowed> logs [buf.ThirdPartyConfiguration.Microsoft == 1] conditionally");
            size_t refusal = log.find("returned [buf.ThirdPartyConfiguration.NotOwn == 1]");
            EXPECT_NE(std::string::npos, ms);
            EXPECT_NE(std::string::npos, refusal);
            EXPECT_LT(ms, refusal);
            ASSERT_TRUE(wzc.Stop());
            EXPECT_EQ(WL_SUCCESS, WL(lib, WLZeroConfigStatusGet)(&status));
            EXPECT_EQ(3, status) << "stopped";
        }
    }
    RemoveFile("\\wllog.txt");
    RemoveFile(TraceName(c));
}
