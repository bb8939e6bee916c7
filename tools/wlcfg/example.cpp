/* wlcfg_example: the worked example of the README, against the stand-in's
 * world. Registers one dual-band adapter (variant F) in the registry and in
 * the stand-in driver, puts four networks on the air, then runs wlcfg.exe
 * (beside this program) command by command and prints each command line
 * with the tool's output and, when not 0, its exit code. Run it in a
 * folder of its own: hunting needs a copy of the service program there
 * (scripts/wlcfg_example.sh does all of that). Every wait is bounded. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "simclient.h"

static const char kClass[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
static const char kNic[] = "0210";
static const char kGuid[] = "{5F1D2C3B-0000-4000-8000-000000000210}";

static void SetValue(const std::string &key, const char *name, DWORD type, const char *text)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return;
    std::string data(text);
    data.push_back('\0');
    if (type == REG_MULTI_SZ) data.push_back('\0');
    RegSetValueExA(h, name, 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(h);
}

static std::string Folder()
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string p(self);
    return p.substr(0, p.rfind('\\'));
}

/* Runs wlcfg with `args`; prints the command line and the output unless
 * `quiet`. Returns the exit code (-1 when it did not run). */
static int Wlcfg(const std::vector<std::string> &args, bool quiet = false)
{
    std::string line = "\"" + Folder() + "\\wlcfg.exe\"", shown = "$ wlcfg";
    for (const std::string &a : args) {
        const bool q = a.find(' ') != std::string::npos || a.empty();
        line += q ? " \"" + a + "\"" : " " + a;
        shown += q ? " \"" + a + "\"" : " " + a;
    }
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    const BOOL ok = CreateProcessA(NULL, cmd.data(), NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
    CloseHandle(writeEnd);
    if (!ok) {
        CloseHandle(readEnd);
        printf("%s\n(cannot start wlcfg.exe: error %lu)\n\n", shown.c_str(), (unsigned long)GetLastError());
        return -1;
    }
    std::string out;
    char buf[512];
    DWORD n;
    while (ReadFile(readEnd, buf, sizeof buf, &n, NULL) && n > 0) out.append(buf, n);
    CloseHandle(readEnd);
    DWORD exit = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &exit);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    if (!quiet) {
        std::string text;
        for (char c : out)
            if (c != '\r') text += c;
        printf("%s\n%s", shown.c_str(), text.c_str());
        if (exit != 0) printf("(exit %lu)\n", (unsigned long)exit);
        printf("\n");
    }
    return (int)exit;
}

static DWORD ServiceState(const char *name)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    SC_HANDLE s = scm ? OpenServiceA(scm, name, SERVICE_QUERY_STATUS) : NULL;
    SERVICE_STATUS st;
    DWORD state = s && QueryServiceStatus(s, &st) ? st.dwCurrentState : 0;
    if (s) CloseServiceHandle(s);
    if (scm) CloseServiceHandle(scm);
    return state;
}

int main()
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (SimEnsureStarted(NULL) != 0 || SimReset() != 0) {
        printf("stand-in driver not available: %s\n", SimLastErrorText());
        return 1;
    }
    const std::string key = std::string(kClass) + "\\" + kNic;
    SetValue(key, "VendorDescription", REG_SZ, "Wireless LAN PCI Card (dual band)");
    SetValue(key, "NetCfgInstanceId", REG_SZ, kGuid);
    SetValue(key, "CoInstallers32", REG_MULTI_SZ, "WDVXQ48F.dll,WLDeviceCoInstaller");
    SetValue(key, "DeviceVxDs", REG_SZ, "WuVXQ48F.vxd");
    const char *names[] = {kGuid};
    int sim = -1;
    if (SimAddAdapter(names, 1, &sim) != 0) {
        printf("cannot add the adapter to the stand-in: %s\n", SimLastErrorText());
        return 1;
    }
    static const struct {
        unsigned char bssid[6];
        const char *ssid;
        int channel, level, peer, security;
    } kAir[] = {
        {{0x00, 0x40, 0x96, 0x20, 0x00, 0x01}, "HomeNet", 6, 118, 0, WLSIM_SEC_OPEN},
        {{0x00, 0x40, 0x96, 0x20, 0x00, 0x02}, "OfficeNet", 1, 130, 0, WLSIM_SEC_WEP},
        {{0x00, 0x40, 0x96, 0x20, 0x00, 0x03}, "Library", 36, 104, 0, WLSIM_SEC_WPA2},
        {{0x02, 0x40, 0x96, 0x20, 0x00, 0x04}, "Party", 11, 96, 1, WLSIM_SEC_OPEN},
    };
    for (const auto &a : kAir) {
        WlSimStation st;
        if (SimStationMake(&st, a.bssid, a.ssid, a.channel, a.level, 40, a.peer, a.security, a.ssid) != 0 ||
            SimPutStation(&st) != 0) {
            printf("cannot put %s on the air: %s\n", a.ssid, SimLastErrorText());
            return 1;
        }
    }
    const std::string svcbin = Folder() + "\\..\\svcbin\\";
    CopyFileA((svcbin + "WSVXQ48F.exe").c_str(), "WSVXQ48F.exe", FALSE);
    CopyFileA((svcbin + "wsvxq48x.dll").c_str(), "wsvxq48x.dll", FALSE);
    for (const char *p : {"Office", "Home"}) Wlcfg({"-a", kNic, "profiles", "delete", p}, true);

    Wlcfg({"adapters"});
    Wlcfg({"scan", "--acs"});
    Wlcfg({"profiles", "create", "Office", "OfficeNet", "auth", "shared", "encryption", "on", "key0", "hex:0A1B2C3D4E",
           "txkey", "0"});
    Wlcfg({"profiles", "create", "Home", "HomeNet"});
    Wlcfg({"preferred", "set", "Office", "Home"});
    Wlcfg({"profiles", "activate", "Home"});
    Wlcfg({"adapters"});
    Wlcfg({"scan"});
    SimLinkShape(20, 0); /* the access point leaves every fifth link test unanswered */
    Wlcfg({"linktest", "00:40:96:20:00:01", "-n", "10", "-i", "100"});
    SimLinkShape(0, 0);
    Wlcfg({"hunting", "threshold", "signal", "-75"});
    Wlcfg({"hunting", "on"});
    for (int i = 0; i < 150 && ServiceState("WSVXQ48F") != SERVICE_RUNNING; i++) Sleep(200);
    Wlcfg({"hunting", "status"});
    Wlcfg({"export", "Office", "xml"});
    Wlcfg({"--json", "profiles", "show", "Office"});

    /* leave the prefix as it was */
    Wlcfg({"hunting", "off"}, true);
    Wlcfg({"hunting", "threshold", "signal", "none"}, true);
    for (int i = 0; i < 150 && ServiceState("WSVXQ48F") != 0; i++) Sleep(200);
    for (const char *p : {"Office", "Home"}) Wlcfg({"profiles", "delete", p}, true);
    SimReset();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    for (int i = 0; i < 50 && !DeleteFileA("WSVXQ48F.exe"); i++) Sleep(200);
    DeleteFileA("wsvxq48x.dll");
    return 0;
}
