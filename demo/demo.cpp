/*
 * Demo of the suite: registers one simulated adapter per variant in the
 * registry and in the stand-in driver, loads each variant's library,
 * enumerates the adapters, selects the one it serves, connects and reads a
 * record through the driver channel. Then, with the dual-band library, it
 * stores two profiles, puts them in the adapter's preferred list, activates
 * one and shows what was stored and what went to the driver. Last it puts
 * three networks into the stand-in's radio world and scans them with the
 * dual-band library: the synchronous network scan, a channel selection scan
 * through a mailbox client, and a link test to the access point the adapter
 * joined.
 */
#include <stdio.h>
#include <string.h>

#include <initializer_list>
#include <string>

#include "install_script.h"
#include "simclient.h"
#include "wlapi.h"

#define CALL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>(GetProcAddress(lib, #fn))))

static const char kClass[] =
    "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kClass98[] = "System\\CurrentControlSet\\Services\\Class\\Net";

static void SetValue(const char *key, const char *name, DWORD type, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    char data[300] = {0};
    snprintf(data, sizeof data - 2, "%s", text);
    DWORD size = (DWORD)strlen(data) + (type == REG_MULTI_SZ ? 2 : 1);
    RegSetValueExA(h, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(h);
}

struct DemoAdapter {
    const char *nic;
    char variant;
    const char *description;
    const char *guid;
};

static const DemoAdapter kAdapters[] = {
    {"0300", 'C', "Wireless LAN PC Card (11 Mb/s)", "{5F1D2C3B-0000-4000-8000-000000000300}"},
    {"0301", 'D', "Wireless LAN PCI Card (11 Mb/s)", "{5F1D2C3B-0000-4000-8000-000000000301}"},
    {"0302", 'E', "Wireless LAN PC Card (dual band)", "{5F1D2C3B-0000-4000-8000-000000000302}"},
    {"0303", 'F', "Wireless LAN PCI Card (dual band)", "{5F1D2C3B-0000-4000-8000-000000000303}"},
};

static void Mac(char *out, const unsigned char *m)
{
    sprintf(out, "%02X:%02X:%02X:%02X:%02X:%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
}

static const unsigned char kHome[6] = {0x00, 0x40, 0x96, 0x10, 0x00, 0x01};
static const unsigned char kOffice[6] = {0x00, 0x40, 0x96, 0x10, 0x00, 0x02};
static const unsigned char kParty[6] = {0x02, 0x40, 0x96, 0x10, 0x00, 0x03};

/* The three networks of the demo's world. */
static int PutWorld(void)
{
    WlSimStation st;
    int rc = SimStationMake(&st, kHome, "HomeNet", 6, 110, 60, 0, WLSIM_SEC_OPEN, "home-ap");
    if (!rc) rc = SimPutStation(&st);
    if (!rc) rc = SimStationMake(&st, kOffice, "OfficeNet", 36, 125, 60, 0, WLSIM_SEC_WPA2, "office-ap");
    if (!rc) rc = SimPutStation(&st);
    if (!rc) rc = SimStationMake(&st, kParty, "Party", 11, 80, 60, 1, WLSIM_SEC_OPEN, "laptop");
    if (!rc) rc = SimPutStation(&st);
    return rc;
}

static const char *Band(int channel) { return channel > 14 ? "5 GHz" : "2.4 GHz"; }

/* What the demo knows of each network's security: the privacy bit of its
 * capability word, and for the joined network its association's suites. */
static void Security(char *out, int capability, const CurrentAssociationRequestInfoBuffer *assoc)
{
    if (!(capability & 0x10)) {
        strcpy(out, "open");
    } else if (assoc && (assoc->data.KeyManagement & 4) && (assoc->data.PairwiseCipher & 0x10)) {
        strcpy(out, (assoc->data.GroupCipher & 0x10) ? "WPA2 (CCMP, PSK)" : "WPA2 (PSK)");
    } else {
        strcpy(out, "protected");
    }
}

struct AcsClient {
    MBBufferHeader h;
    MBACSScanEntry e[8];
};

struct LinkTestClient {
    MBBufferHeader h;
    MBLinkTestEntry e[2];
};

static int Scanning(void)
{
    const DemoAdapter &a = kAdapters[2]; /* dual band, variant E */
    printf("\nScanning with WAVXQ48E, adapter %s\n", a.nic);
    if (PutWorld() != 0) {
        printf("  cannot build the world: %s\n", SimLastErrorText());
        return 1;
    }
    printf("  The stand-in hears HomeNet (access point, channel 6), OfficeNet (access\n"
           "  point, channel 36, WPA2) and Party (peer-to-peer, channel 11).\n");
    HMODULE lib = LoadLibraryA("WAVXQ48E.dll");
    if (lib == NULL) return 1;
    CALL(lib, WLCurrentNICSet)(a.nic, (DWORD)strlen(a.nic));
    CALL(lib, WLConnect)();
    CALL(lib, WLDesiredSSIDSet)("OfficeNet", 9);
    CALL(lib, WLEncryptionEnabledSet)(1);
    printf("  Desired SSID OfficeNet, encryption on, WLReset: %d\n", CALL(lib, WLReset)());
    int ps = 0;
    unsigned char bssid[6] = {0};
    char text[64];
    CALL(lib, WLPortStatusGet)(&ps);
    CALL(lib, WLCurrentBSSIDGet)(bssid);
    Mac(text, bssid);
    printf("  Port status %d, associated with %s\n", ps, text);
    CurrentAssociationRequestInfoBuffer assoc;
    memset(&assoc, 0, sizeof assoc);
    assoc.TS.Type = 38;
    assoc.TS.Size = sizeof assoc;
    printf("  Association request (the library's element walk prints to standard output):\n");
    int arc = CALL(lib, WLCurrentAssociationRequestInfoGet)(&assoc);

    int num = 0;
    int rc = CALL(lib, WLScanNetworkGet)(&num);
    printf("\n  WLScanNetworkGet: %d, %d networks\n", rc, num);
    printf("    %-9s %-17s %-15s %-8s %-15s %s\n", "SSID", "BSSID", "channel", "signal", "kind", "security");
    for (int k = 1; k <= num; k++) {
        ScanResultBuffer r;
        memset(&r, 0, sizeof r);
        r.TS.Type = ScanResultBufferType;
        r.TS.Size = sizeof r;
        if (CALL(lib, WLScanNetworkResultGet)(&r, k) != WL_SUCCESS) continue;
        char mac[20], chan[20], sec[24];
        Mac(mac, r.BSSID);
        snprintf(chan, sizeof chan, "%d (%s)", r.Channel, Band(r.Channel));
        bool joined = memcmp(r.BSSID, bssid, 6) == 0;
        Security(sec, r.SecondWord, joined && arc == WL_SUCCESS ? &assoc : NULL);
        printf("    %-9s %-17s %-15s %3d dBm  %-15s %s\n", r.SSID, mac, chan, r.FirstLevel,
               (r.SecondWord & 1) ? "access point" : "peer-to-peer", sec);
    }

    int index = 0;
    CALL(lib, WLMBLogon)(&index);
    static AcsClient acs;
    memset(&acs, 0, sizeof acs);
    acs.h.TS.Type = MBACSScanBufferType;
    acs.h.TS.Size = sizeof acs;
    acs.h.Capacity = 8;
    CALL(lib, WLMBSet)(&acs, index);
    Channel2GHzBuffer c2 = {{Channel2GHzBufferType, sizeof c2}, {0x1FFF, 0}};
    Channel5GHzBuffer c5 = {{Channel5GHzBufferType, sizeof c5}, {0xFFFFFFFFu, 0x00FF, 0}};
    DataRate2GHzBuffer r2 = {{DataRate2GHzBufferType, sizeof r2}, {0x000F, 0}};
    DataRate5GHzBuffer r5 = {{DataRate5GHzBufferType, sizeof r5}, {0x0FF0, 0}};
    printf("\n  Channel selection scan through mailbox client %d (WLMBActionACSABGScan, WLMBGet):\n", index);
    rc = CALL(lib, WLMBActionACSABGScan)("", 0, &c2, &c5, &r2, &r5);
    int polls = 0;
    for (; rc == WL_SUCCESS && !acs.h.Complete && polls < 40; polls++) {
        CALL(lib, WLMBGet)();
        if (!acs.h.Complete) Sleep(50);
    }
    printf("  WLMBActionACSABGScan: %d; complete after %d WLMBGet, %d entries\n", rc, polls, acs.h.Count);
    printf("    %-9s %-17s %-8s %s\n", "SSID", "BSSID", "signal", "probe rate");
    for (int k = 0; k < acs.h.Count; k++) {
        char mac[20];
        Mac(mac, acs.e[k].BSSID);
        printf("    %-9s %-17s %3d dBm  %.1f Mb/s\n", acs.e[k].SSID, mac, acs.e[k].FirstLevel, acs.e[k].Rate);
    }

    static LinkTestClient lt;
    memset(&lt, 0, sizeof lt);
    lt.h.TS.Type = MBLinkTestBufferType;
    lt.h.TS.Size = sizeof lt;
    lt.h.Capacity = 2;
    CALL(lib, WLMBSet)(&lt, index);
    rc = CALL(lib, WLMBActionLinkTest)(bssid, 1);
    for (polls = 0; rc == WL_SUCCESS && !lt.h.Complete && polls < 40; polls++) {
        CALL(lib, WLMBGet)();
        if (!lt.h.Complete) Sleep(50);
    }
    Mac(text, bssid);
    printf("\n  Link test to %s: %d\n", text, rc);
    if (lt.h.Count > 0) {
        const MBLinkTestEntry &e = lt.e[0];
        Mac(text, e.Address);
        printf("    answer %d from \"%s\" (%s)\n", e.ID, e.Name, text);
        printf("    there: signal %d dBm, noise %d dBm, %.1f Mb/s\n", e.RemoteLevel120, e.RemoteLevel121, e.RemoteRate);
        printf("    here:  signal %d dBm, noise %d dBm, %.1f Mb/s\n", e.LocalLevel10, e.LocalLevel11, e.LocalRate);
    }
    CALL(lib, WLMBLogoff)(index);
    CALL(lib, WLDisconnect)();
    FreeLibrary(lib);
    return 0;
}

/* Prints the values of a registry key as the store wrote them. */
static void PrintValues(const char *key)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; i++) {
        char name[64], data[300];
        DWORD n = sizeof name, size = sizeof data - 1, type;
        if (RegEnumValueA(h, i, name, &n, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS) break;
        if (type == REG_DWORD) printf("      %-18s number %lu\n", name, *(unsigned long *)data);
        else printf("      %-18s text   \"%.*s\"\n", name, (int)strnlen(data, size), data);
    }
    RegCloseKey(h);
}

/* Two profiles, a preferred list and an activation with the given library. */
static void ProfileDemo(HMODULE lib, const char *nic)
{
    printf("\nProfiles with WAVXQ48E on adapter %s\n", nic);
    CALL(lib, WLCurrentNICSet)(nic, (DWORD)strlen(nic));
    CALL(lib, WLCountryCurrentCountryCodeSet)("US", 2);
    CALL(lib, WLInitializeProfiles)();
    for (const char *name : {"Office", "Home"}) CALL(lib, WLProfileByNameDel)(name, (DWORD)strlen(name));

    CALL(lib, WLProfileIns)();
    CALL(lib, WLCurrentProfileNameSet)("Office", 6);
    CALL(lib, WLCurrentProfileDesiredSSIDSet)("OfficeNet", 9);
    CALL(lib, WLCurrentProfileEncryptionKeySet)(0, WL_KEYASC, "Office-Key-13", 13);
    CALL(lib, WLCurrentProfileEncryptionEnabledSet)(1);
    printf("  store \"Office\" (13-character text key): %d\n", CALL(lib, WLCurrentProfileByNameSet)("Office", 6));
    CALL(lib, WLProfileIns)();
    CALL(lib, WLCurrentProfileNameSet)("Home", 4);
    CALL(lib, WLCurrentProfileDesiredSSIDSet)("HomeNet", 7);
    printf("  store \"Home\" (no encryption):          %d\n", CALL(lib, WLCurrentProfileByNameSet)("Home", 4));

    CALL(lib, WLAllPreferredProfileDel)();
    CALL(lib, WLFirstPreferredProfileByNameSet)("Office", 6);
    CALL(lib, WLNextPreferredProfileByNameSet)("Home", 4);
    printf("  preferred list:");
    char name[64];
    DWORD size = sizeof name;
    for (int rc = CALL(lib, WLFirstPreferredProfileByNameGet)(name, &size); rc == WL_SUCCESS;
         rc = CALL(lib, WLNextPreferredProfileByNameGet)(name, &size)) {
        printf(" %s", name);
        size = sizeof name;
    }
    printf("\n");

    printf("  stored values of \"Office\":\n");
    PrintValues("Software\\Wireless\\Driver\\Office");
    int form = -1;
    char key[32];
    size = sizeof key;
    CALL(lib, WLCurrentProfileByNameGet)("Office", 6);
    CALL(lib, WLCurrentProfileEncryptionKeyGet)(0, &form, key, &size);
    printf("  key 0 as the library hands it out: %s \"%.*s\"\n", form == WL_KEYASC ? "text" : "hex", (int)size, key);

    SimClearLog();
    printf("  WLActiveProfileByNameSet (\"Office\"): %d\n", CALL(lib, WLActiveProfileByNameSet)("Office", 6));
    WlSimExchangeLog log;
    if (SimLastExchanges(&log) != 0) return;
    printf("  driver exchanges of the activation:\n   ");
    static const char *ops[] = {"connect", "disconnect", "action", "diag", "get", "put"};
    for (int i = 0; i < log.n; i++) {
        const WlSimExchange &x = log.e[i];
        if (x.op == WLSIM_OP_ACTION)
            printf(" action %u (%s)", x.typ, x.typ == WL_ACTION_APPLY ? "apply" : x.typ == WL_ACTION_RESET ? "reset" : "other");
        else if (x.op == WLSIM_OP_GET_INFO || x.op == WLSIM_OP_PUT_INFO)
            printf(" %s %04X", ops[x.op], x.typ);
        else
            printf(" %s", x.op < WLSIM_OPS ? ops[x.op] : "?");
        printf(i + 1 < log.n ? "," : "\n");
        if (i % 8 == 7 && i + 1 < log.n) printf("\n   ");
    }
    printf("  adapter key after the activation:\n");
    char nicKey[300];
    snprintf(nicKey, sizeof nicKey, "%s\\%s", kClass, nic);
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, nicKey, 0, KEY_READ, &h) == ERROR_SUCCESS) {
        for (const char *v : {"ConfigName", "DesiredSSID", "ConnectionMode", "OwnChannel"}) {
            char data[300];
            DWORD n = sizeof data - 1, type;
            if (RegQueryValueExA(h, v, NULL, &type, (BYTE *)data, &n) != ERROR_SUCCESS) continue;
            if (type == REG_DWORD) printf("      %-18s number %lu\n", v, *(unsigned long *)data);
            else printf("      %-18s text   \"%.*s\"\n", v, (int)strnlen(data, n), data);
        }
        RegCloseKey(h);
    }
}

/* The adapter as the stand-in holds it: SSID, BSSID and port status. */
static void LinkLine(int sim, double seconds)
{
    uint16_t rec[40];
    char ssid[40] = "", bssid[24] = "-";
    int port = -1;
    if (SimGetRecord(sim, 0xFD41, rec, 40) == 0 && rec[0] >= 2 && rec[2] <= 32)
        snprintf(ssid, sizeof ssid, "%.*s", rec[2], (const char *)&rec[3]);
    if (SimGetRecord(sim, 0xFD42, rec, 40) == 0 && rec[0] >= 4) Mac(bssid, (const unsigned char *)&rec[2]);
    if (SimGetRecord(sim, 0xFD40, rec, 40) == 0 && rec[0] >= 2) port = rec[2];
    printf("    %+6.1f s  SSID %-10s BSSID %s  port status %d%s\n", seconds, ssid, bssid, port,
           port == WLSIM_PORT_STATUS_ESS ? " (associated)" : port == WLSIM_PORT_STATUS_NO_LINK ? " (no link)" : "");
}

static DWORD ServiceStateOf(const char *name)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE s = scm ? OpenServiceA(scm, name, SERVICE_QUERY_STATUS) : NULL;
    SERVICE_STATUS st;
    DWORD state = s && QueryServiceStatus(s, &st) ? st.dwCurrentState : 0;
    if (s) CloseServiceHandle(s);
    if (scm) CloseServiceHandle(scm);
    return state;
}

/* Profile hunting as a user sees it: the service installed by switching
 * hunting on moves the adapter from a network that went out of range to
 * the next preferred one. Every wait is bounded. */
static void HuntingDemo(const char *nic, int sim)
{
    printf("\nProfile hunting with WAVXQ48D on adapter %s\n", nic);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string svcbin = std::string(self).substr(0, std::string(self).rfind('\\')) + "\\..\\svcbin\\";
    CopyFileA((svcbin + "WSVXQ48D.exe").c_str(), "WSVXQ48D.exe", FALSE);
    CopyFileA((svcbin + "wsvxq48x.dll").c_str(), "wsvxq48x.dll", FALSE);
    HMODULE lib = LoadLibraryA("WAVXQ48D.dll");
    if (lib == NULL) return;
    WlSimStation office, home;
    SimStationMake(&office, kOffice, "OfficeNet", 1, 125, 60, 0, WLSIM_SEC_OPEN, "office-ap");
    SimStationMake(&home, kHome, "HomeNet", 11, 110, 60, 0, WLSIM_SEC_OPEN, "home-ap");
    SimPutStation(&office);
    SimPutStation(&home);
    CALL(lib, WLCurrentNICSet)(nic, (DWORD)strlen(nic));
    CALL(lib, WLInitializeProfiles)();
    const char *profiles[][2] = {{"AtWork", "OfficeNet"}, {"AtHome", "HomeNet"}};
    for (auto &p : profiles) {
        CALL(lib, WLProfileIns)();
        CALL(lib, WLCurrentProfileNameSet)(p[0], (DWORD)strlen(p[0]));
        CALL(lib, WLCurrentProfileDesiredSSIDSet)(p[1], (DWORD)strlen(p[1]));
        CALL(lib, WLCurrentProfileByNameSet)(p[0], (DWORD)strlen(p[0]));
    }
    CALL(lib, WLAllPreferredProfileDel)();
    CALL(lib, WLFirstPreferredProfileByNameSet)("AtWork", 6);
    CALL(lib, WLNextPreferredProfileByNameSet)("AtHome", 6);
    printf("  preferred list: AtWork (OfficeNet), AtHome (HomeNet)\n");
    printf("  WLActiveProfileByNameSet (\"AtWork\"): %d\n", CALL(lib, WLActiveProfileByNameSet)("AtWork", 6));
    LARGE_INTEGER f, t0, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    auto now = [&] {
        QueryPerformanceCounter(&t);
        return (double)(t.QuadPart - t0.QuadPart) / (double)f.QuadPart;
    };
    LinkLine(sim, now());
    printf("  WLProfileHuntingSet (1): %d\n", CALL(lib, WLProfileHuntingSet)(1));
    for (int i = 0; i < 150 && ServiceStateOf("WSVXQ48D") != SERVICE_RUNNING; i++) Sleep(200);
    printf("    %+6.1f s  service WSVXQ48D %s\n", now(),
           ServiceStateOf("WSVXQ48D") == SERVICE_RUNNING ? "running" : "not running");
    office.inRange = 0;
    SimPutStation(&office);
    printf("    %+6.1f s  OfficeNet out of range\n", now());
    uint16_t last[40] = {0};
    bool onHome = false;
    for (int i = 0; i < 120 && !onHome; i++, Sleep(500)) {
        uint16_t rec[40] = {0}, port[3] = {0};
        SimGetRecord(sim, 0xFD42, rec, 40);
        SimGetRecord(sim, 0xFD40, port, 3);
        rec[39] = port[2];
        if (memcmp(rec, last, sizeof rec) != 0) {
            LinkLine(sim, now());
            memcpy(last, rec, sizeof rec);
        }
        onHome = port[2] == WLSIM_PORT_STATUS_ESS && memcmp(&rec[2], kHome, 6) == 0;
    }
    printf("  %s\n", onHome ? "the service moved the adapter to HomeNet" : "the adapter did not reach HomeNet");
    printf("  WLProfileHuntingSet (0): %d\n", CALL(lib, WLProfileHuntingSet)(0));
    for (int i = 0; i < 150 && ServiceStateOf("WSVXQ48D") != 0; i++) Sleep(200);
    printf("    %+6.1f s  service WSVXQ48D %s\n", now(), ServiceStateOf("WSVXQ48D") == 0 ? "removed" : "still installed");
    FreeLibrary(lib);
    for (int i = 0; i < 50 && !DeleteFileA("WSVXQ48D.exe"); i++) Sleep(200);
    DeleteFileA("wsvxq48x.dll");
}

int main()
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (SimEnsureStarted(NULL) != 0 || SimReset() != 0) {
        printf("stand-in driver not available: %s\n", SimLastErrorText());
        return 1;
    }
    printf("Registering adapters:\n");
    for (const DemoAdapter &a : kAdapters) {
        char key[300], file[32];
        for (const char *cls : {kClass, kClass98}) {
            snprintf(key, sizeof key, "%s\\%s", cls, a.nic);
            SetValue(key, "VendorDescription", REG_SZ, a.description);
            SetValue(key, "NetCfgInstanceId", REG_SZ, a.guid);
            snprintf(file, sizeof file, "WDVXQ48%c.dll,WLDeviceCoInstaller", a.variant);
            SetValue(key, "CoInstallers32", REG_MULTI_SZ, file);
            snprintf(file, sizeof file, "WuVXQ48%c.vxd", a.variant);
            SetValue(key, "DeviceVxDs", REG_SZ, file);
        }
        /* The driver answers on the names the library variant opens. */
        char vxd[32];
        snprintf(vxd, sizeof vxd, "WuVXQ48%c.vxd", a.variant);
        const char *names[] = {(a.variant == 'C' || a.variant == 'E') ? vxd : a.guid};
        int index;
        SimAddAdapter(names, 1, &index);
        uint16_t ssid[] = {7, 0xFC02, 8, 'D' | 'e' << 8, 'm' | 'o' << 8, 'N' | 'e' << 8, 't' | '0' << 8, 0};
        ssid[6] = (uint16_t)('t' | (('0' + index) << 8));
        SimSetRecord(index, ssid);
        printf("  %s  %-34s  driver device \\\\.\\%s\n", a.nic, a.description, names[0]);
    }

    for (const DemoAdapter &own : kAdapters) {
        char dllName[16];
        snprintf(dllName, sizeof dllName, "WAVXQ48%c.dll", own.variant);
        HMODULE lib = LoadLibraryA(dllName);
        if (lib == NULL) {
            printf("cannot load %s\n", dllName);
            return 1;
        }
        char text[256];
        DWORD size = sizeof text, os = 0;
        CALL(lib, WLDAINameGet)(text, &size);
        printf("\nLibrary %s\n", text);
        CALL(lib, WLOSTypeGet)(&os);
        size = sizeof text;
        CALL(lib, WLOSTypeNameGet)(text, &size);
        printf("  OS type %lu: %s\n", (unsigned long)os, text);

        printf("  Adapters of the family:\n");
        NICInfoBuffer info;
        memset(&info, 0, sizeof info);
        info.TS.Type = NICInfoBufferType;
        info.TS.Size = sizeof info;
        for (int rc = CALL(lib, WLFirstNICGet)(&info); rc == WL_SUCCESS; rc = CALL(lib, WLNextNICGet)(&info)) {
            int ours = CALL(lib, WLCurrentNICSet)(info.Nic, (DWORD)strlen(info.Nic)) == WL_SUCCESS;
            printf("    %-8s served by %-14s%s\n", info.Nic, info.Dll, ours ? " (selectable)" : "");
        }
        CALL(lib, WLCurrentNICSet)(own.nic, (DWORD)strlen(own.nic));
        size = sizeof text;
        CALL(lib, WLCurrentNICGet)(text, &size);
        printf("  Selected adapter %s\n", text);

        int rc = CALL(lib, WLConnect)();
        printf("  WLConnect: %d\n", rc);
        uint16_t rec[20] = {19, 0xFC02};
        rc = CALL(lib, WLGenericGet)((WL_LTV *)rec);
        if (rc == WL_SUCCESS)
            printf("  Record 0xFC02 (desired SSID): len %u, \"%.*s\"\n", rec[0], rec[2], (const char *)&rec[3]);
        else
            printf("  Record 0xFC02: error %d\n", rc);
        printf("  WLDisconnect: %d\n", CALL(lib, WLDisconnect)());
        if (own.variant == 'E') ProfileDemo(lib, own.nic);
        FreeLibrary(lib);
    }
    int rc = Scanning();
    RunInstallScript(kAdapters[3].nic);
    HuntingDemo(kAdapters[1].nic, 1);
    return rc;
}
