/*
 * Profile hunting end to end: the real service program, installed by
 * WLProfileHuntingSet through the prefix's service control manager, moves
 * an adapter whose network went out of range to the next preferred profile
 * whose network is in range. Every wait is bounded; nothing is timed.
 */
#include <chrono>
#include <stdio.h>

#include "wlsession.h"

static const uint8_t kOffice[6] = {0x02, 0x57, 0x4C, 0x00, 0x02, 0x01};
static const uint8_t kHome[6] = {0x02, 0x57, 0x4C, 0x00, 0x02, 0x02};

static bool ServiceState(const char *name, DWORD *state)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE s = scm ? OpenServiceA(scm, name, SERVICE_QUERY_STATUS) : NULL;
    SERVICE_STATUS st;
    bool ok = s && QueryServiceStatus(s, &st);
    if (ok) *state = st.dwCurrentState;
    if (s) CloseServiceHandle(s);
    if (scm) CloseServiceHandle(scm);
    return ok;
}

static void ServiceDelete(const char *name)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE s = scm ? OpenServiceA(scm, name, SERVICE_ALL_ACCESS) : NULL;
    if (s) {
        SERVICE_STATUS st;
        ControlService(s, SERVICE_CONTROL_STOP, &st);
        DeleteService(s);
        CloseServiceHandle(s);
    }
    if (scm) CloseServiceHandle(scm);
}

/* The adapter as the stand-in holds it: SSID, BSSID and port status. */
struct LinkView {
    std::string ssid;
    uint8_t bssid[6] = {0};
    int port = -1;
};

static LinkView View(int sim)
{
    LinkView v;
    std::vector<uint16_t> s = SimRecord(sim, 0xFD41), b = SimRecord(sim, 0xFD42), p = SimRecord(sim, 0xFD40);
    if (s.size() >= 3 && s[2] <= 2 * (s.size() - 3)) v.ssid.assign((const char *)&s[3], s[2]);
    if (b.size() >= 5) memcpy(v.bssid, &b[2], 6);
    if (p.size() >= 3) v.port = p[2];
    return v;
}

TEST(HuntingStory, ServiceMovesTheAdapterToTheNetworkInRange)
{
    const Variant d = kVariants[1];
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string svcbin = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\..\\svcbin\\";
    ServiceDelete("WSVXQ48D");
    ASSERT_TRUE(CopyFileA((svcbin + "WSVXQ48D.exe").c_str(), "WSVXQ48D.exe", FALSE));
    ASSERT_TRUE(CopyFileA((svcbin + "wsvxq48x.dll").c_str(), "wsvxq48x.dll", FALSE));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Wireless\\Driver");

    AdapterSession s(d, "0178");
    ASSERT_EQ(WL_SUCCESS, s.selected);
    WLLib &lib = *s.lib;
    WlSimStation office, home;
    ASSERT_EQ(0, SimStationMake(&office, kOffice, "OfficeNet", 1, 70, 10, 0, WLSIM_SEC_OPEN, "office-ap"));
    ASSERT_EQ(0, SimStationMake(&home, kHome, "HomeNet", 11, 50, 10, 0, WLSIM_SEC_OPEN, "home-ap"));
    ASSERT_EQ(0, SimPutStation(&office));
    ASSERT_EQ(0, SimPutStation(&home));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLInitializeProfiles)());
    for (const char *p : {"Office", "Home"}) {
        std::string ssid = std::string(p) + "Net";
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLProfileIns)());
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileNameSet)(p, (DWORD)strlen(p)));
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileDesiredSSIDSet)(ssid.data(), (DWORD)ssid.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib, WLCurrentProfileByNameSet)(p, (DWORD)strlen(p)));
    }
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLFirstPreferredProfileByNameSet)("Office", 6));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLNextPreferredProfileByNameSet)("Home", 4));
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLActiveProfileByNameSet)("Office", 6));
    ASSERT_EQ("OfficeNet", View(s.sim).ssid);

    /* Hunting on: the first hunting adapter installs and starts the service. */
    ASSERT_EQ(WL_SUCCESS, WL(lib, WLProfileHuntingSet)(1)) << lib.returnString();
    DWORD state = 0;
    bool running = false;
    for (int i = 0; i < 150 && !running; i++, Sleep(200)) running = ServiceState("WSVXQ48D", &state) && state == SERVICE_RUNNING;
    ASSERT_TRUE(running) << "service running";

    /* OfficeNet goes out of range; within a few passes the adapter is on HomeNet. */
    office.inRange = 0;
    ASSERT_EQ(0, SimPutStation(&office));
    EXPECT_EQ(WLSIM_PORT_STATUS_NO_LINK, View(s.sim).port);
    auto t0 = std::chrono::steady_clock::now();
    bool moved = false;
    for (int i = 0; i < 120 && !moved; i++, Sleep(500)) {
        LinkView v = View(s.sim);
        moved = v.port == WLSIM_PORT_STATUS_ESS && memcmp(v.bssid, kHome, 6) == 0 && v.ssid == "HomeNet";
    }
    long ms = (long)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_TRUE(moved) << "associated with HomeNet";
    printf("on HomeNet %ld ms after OfficeNet went out of range\n", ms);
    std::string config;
    s.reg->readString("ConfigName", &config);
    EXPECT_EQ("Home", config);

    /* Hunting off: the last hunting adapter removes the service. */
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLProfileHuntingSet)(0));
    bool gone = false;
    for (int i = 0; i < 150 && !gone; i++, Sleep(200)) gone = !ServiceState("WSVXQ48D", &state);
    EXPECT_TRUE(gone) << "service removed";

    ServiceDelete("WSVXQ48D");
    SimRemoveStation(kOffice);
    SimRemoveStation(kHome);
    s.Close();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Wireless\\Driver");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\WSVXQ48D");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\WLVXQ48D\\Enum");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\WLVXQ48D");
    for (int i = 0; i < 50 && !DeleteFileA("WSVXQ48D.exe"); i++) Sleep(200);
    DeleteFileA("wsvxq48x.dll");
}
