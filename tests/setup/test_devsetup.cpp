/*
 * A stand-in adapter installed and removed through SetupAPI from the
 * family's INF (devsetup.exe), and its advanced pages as Setup hands them
 * to the Device Manager (devprops.exe): Setup's route to the co-installer
 * end to end, in the tools' own processes under the reported Windows
 * versions.
 */
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "coinstaller/res/resource.h"
#include "wltest.h"

namespace {

const char kClassKey[] = "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kNetworkKey[] = "System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kEnumPci[] = "System\\CurrentControlSet\\Enum\\PCI\\VEN_1260&DEV_3886";
const char kProfiles[] = "Software\\Wireless\\Driver";
const char kOutsideClient[] = "Software\\Funk Software, Inc.\\Odyssey\\client\\control";
const char kWorkDir[] = "C:\\wltest\\devsetup";
const uint16_t kScale = 0xFC06;

/* The files the INF copies into the system directory. */
const char *const kInstalledFiles[] = {"WAVXQ48E.DLL", "WDVXQ48E.DLL", "WSVXQ48E.EXE", "wsvxq48x.dll",
                                       "WNVXQNLS.CHM"};

std::string WinPath(const char *unixPath)
{
    std::string p = std::string("Z:") + unixPath;
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
}

std::string Tool(const char *name) { return WinPath(WL_DEVSETUP_DIR) + "\\" + name; }

bool KeyExists(HKEY root, const std::string &key)
{
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

std::string ReadString(const std::string &key, const char *name, bool *present = nullptr)
{
    char buf[512] = "";
    DWORD size = sizeof buf - 1, type = 0;
    HKEY h;
    bool ok = false;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
        ok = RegQueryValueExA(h, name, NULL, &type, (BYTE *)buf, &size) == ERROR_SUCCESS;
        RegCloseKey(h);
    }
    if (present) *present = ok;
    if (!ok) return std::string();
    buf[size] = 0;
    return buf;
}

std::vector<std::string> Subkeys(const std::string &key)
{
    std::vector<std::string> out;
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return out;
    char name[256];
    DWORD n = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(h, i, name, &n, NULL, NULL, NULL, NULL) == ERROR_SUCCESS; i++, n = sizeof name)
        out.push_back(name);
    RegCloseKey(h);
    std::sort(out.begin(), out.end());
    return out;
}

std::string SystemDir()
{
    char dir[MAX_PATH];
    GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

/* A running tool: its standard output goes to a file in the work folder. */
class Process {
public:
    Process(const std::string &cmd, const std::string &outName)
    {
        out_ = std::string(kWorkDir) + "\\" + outName;
        SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
        HANDLE f = CreateFileA(out_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                               0, NULL);
        STARTUPINFOA si;
        memset(&si, 0, sizeof si);
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = f;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        memset(&pi_, 0, sizeof pi_);
        std::string line = cmd;
        started_ = CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, kWorkDir, &si, &pi_) != 0;
        CloseHandle(f);
    }
    ~Process()
    {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    /* Exit code, or -1 when it did not end within the time. */
    int wait(DWORD ms = 120000)
    {
        if (!started_ || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return (int)code;
    }
    std::string output() const { return ReadFile(out_); }

private:
    std::string out_;
    PROCESS_INFORMATION pi_;
    bool started_ = false;
};

/* The value of a "name value" line of a tool's output. */
std::string Field(const std::string &out, const std::string &name)
{
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, name.size() + 1, name + " ") == 0) return line.substr(name.size() + 1);
    }
    return std::string();
}

std::vector<std::string> Pages(const std::string &out)
{
    std::vector<std::string> pages;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 6, "page \"") == 0 && line.size() > 7) pages.push_back(line.substr(6, line.size() - 7));
    }
    return pages;
}

void SetAppVersion(const char *exe, const char *version)
{
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + exe;
    if (!version) {
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        return;
    }
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL));
    RegSetValueExA(h, "Version", 0, REG_SZ, (const BYTE *)version, (DWORD)strlen(version) + 1);
    RegCloseKey(h);
}

/* Installs variant E's adapter with the tools under a reported Windows
 * version; removes what a test left installed and the files the INF put
 * into the system directory that were not there before. */
class SetupTest : public testing::Test {
protected:
    void SetUp() override
    {
        CreateDirectoryA(kWorkDir, NULL);
        for (const char *f : kInstalledFiles)
            if (!FileExists(SystemDir() + "\\" + f)) newFiles_.push_back(f);
        ASSERT_EQ(0, SimReset()) << SimLastErrorText();
    }
    void TearDown() override
    {
        if (!instance_.empty()) Remove();
        SetAppVersion("devsetup.exe", NULL);
        SetAppVersion("devprops.exe", NULL);
        RegDeleteKeyA(HKEY_CURRENT_USER, kOutsideClient);
        DeleteFileA((std::string(kWorkDir) + "\\shown.txt").c_str());
        /* The service program that removal started may still run for a
         * moment and hold its file. */
        for (const std::string &f : newFiles_) {
            std::string path = SystemDir() + "\\" + f;
            for (int i = 0; i < 150 && !DeleteFileA(path.c_str()) && FileExists(path); i++) Sleep(100);
            EXPECT_FALSE(FileExists(path)) << "installed file left: " << f;
        }
        SimReset();
    }
    void Version(const char *v)
    {
        SetAppVersion("devsetup.exe", v);
        SetAppVersion("devprops.exe", v);
    }
    void Install()
    {
        std::string inf = WinPath(WL_SETUP_MEDIA) + "\\wlvxq48.inf";
        Process p("\"" + Tool("devsetup.exe") + "\" install \"" + inf + "\" E --sim", "install.txt");
        int rc = p.wait();
        std::string out = p.output();
        instance_ = Field(out, "instance");
        ASSERT_EQ(0, rc) << out;
        nic_ = Field(out, "nic");
        guid_ = Field(out, "guid");
        ASSERT_FALSE(nic_.empty()) << out;
    }
    std::string Remove()
    {
        Process p("\"" + Tool("devsetup.exe") + "\" remove \"" + instance_ + "\"", "remove.txt");
        EXPECT_EQ(0, p.wait()) << p.output();
        instance_.clear();
        return p.output();
    }
    std::string NicKey() const { return std::string(kClassKey) + "\\" + nic_; }
    /* Whether the installed co-installer has the Wireless Networks page. */
    bool NetworksPageBuilt() const
    {
        HMODULE m = LoadLibraryExA((SystemDir() + "\\WDVXQ48E.DLL").c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
        bool built = m && GetProcAddress(m, "WirelessDlgProc") != NULL;
        if (m) FreeLibrary(m);
        return built;
    }

    std::vector<std::string> newFiles_;
    std::string instance_, nic_, guid_;
};

/* ---- Installation, per reported Windows version ---- */

struct OsCase {
    const char *version;
    DWORD osType;
    bool rtm;          /* an "RTM" value is written */
    const char *value; /* what it holds */
};
/* Wine's versions: Windows 7 (6.1, build 7601) is of the XP family for the
 * library; Windows XP is build 2600 with service pack 3. */
const OsCase kOsCases[] = {
    {"win7", OS_WIN2001, true, "0"}, {"winxp", OS_WIN2001, true, "0"}, {"win2k", OS_WIN2000, false, ""}};

class SetupInstall : public SetupTest, public testing::WithParamInterface<OsCase> {};

TEST_P(SetupInstall, WritesTheAdapterTheLibraryFinds)
{
    Version(GetParam().version);
    Install();
    EXPECT_EQ("Wireless LAN PC Card (dual band)", ReadString(NicKey(), "VendorDescription"));
    EXPECT_EQ("WDVXQ48E.DLL,WLDeviceCoInstaller", ReadString(NicKey(), "CoInstallers32"));
    EXPECT_EQ("8.24.0.629", ReadString(NicKey(), "DriverVersion"));
    EXPECT_EQ(guid_, ReadString(NicKey(), "NetCfgInstanceId"));
    EXPECT_EQ(instance_, ReadString(std::string(kNetworkKey) + "\\" + guid_ + "\\Connection", "PnPInstanceId"));
    EXPECT_EQ(std::string("{4D36E972-E325-11CE-BFC1-08002BE10318}\\") + nic_,
              ReadString("System\\CurrentControlSet\\Enum\\" + instance_, "Driver"));
    bool has = false;
    std::string rtm = ReadString(NicKey(), "RTM", &has);
    EXPECT_EQ(GetParam().rtm, has);
    EXPECT_EQ(GetParam().value, rtm);

    /* The library of the variant lists the adapter as its own and selects it. */
    WLLib lib(kVariants[2]);
    NICInfoBuffer info = TypedBuffer<NICInfoBuffer>(NICInfoBufferType);
    bool listed = false;
    for (int rc = WL(lib, WLFirstNICGet)(&info); rc == WL_SUCCESS; rc = WL(lib, WLNextNICGet)(&info))
        if (nic_ == info.Nic) listed = _stricmp(info.Dll, "WAVXQ48E.dll") == 0;
    EXPECT_TRUE(listed);
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(nic_.c_str(), (DWORD)nic_.size()));
}

/* Removal: Setup deletes the device's keys on every version (the
 * co-installer itself deletes none on the XP family, and Wine keeps no
 * configuration-specific keys that it could delete on Windows 2000); the
 * service program of the variant is run with "/UnregService" (a recording
 * stand-in in its place). */
TEST_P(SetupInstall, RemovalDeletesTheKeysAndUnregistersTheService)
{
    Version(GetParam().version);
    Install();
    /* The recorder in place of the installed service program (the
     * teardown deletes it with the other installed files). */
    ASSERT_TRUE(CopyFileA(WinPath(WL_TESTBIN_DIR "/notepad.exe").c_str(), (SystemDir() + "\\WSVXQ48E.EXE").c_str(),
                          FALSE));
    std::string nicKey = NicKey();
    std::string out = Remove();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, nicKey)) << out;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kNetworkKey) + "\\" + guid_)) << out;
    EXPECT_TRUE(Subkeys(kEnumPci).empty()) << out;
    std::string shown;
    for (int i = 0; i < 100 && shown.empty(); i++) {
        shown = ReadFile(std::string(kWorkDir) + "\\shown.txt");
        if (shown.empty()) Sleep(100);
    }
    EXPECT_EQ("/UnregService", shown);
    if (std::find(newFiles_.begin(), newFiles_.end(), "WSVXQ48E.EXE") == newFiles_.end())
        CopyFileA((WinPath(WL_SETUP_MEDIA) + "\\WSVXQ48E.exe").c_str(), (SystemDir() + "\\WSVXQ48E.EXE").c_str(),
                  FALSE);
}

INSTANTIATE_TEST_SUITE_P(Os, SetupInstall, testing::ValuesIn(kOsCases),
                         [](const testing::TestParamInfo<OsCase> &i) { return std::string(i.param.version); });

/* The version Wine reports to a program it has no version setting for is
 * the one in the registry: the first release of Windows XP (5.1, build
 * 2600, no service pack) for as long as this lives. */
struct RegistryVersion {
    static constexpr const char *kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
    static constexpr const char *kSp = "System\\CurrentControlSet\\Control\\Windows";
    RegistryVersion(const char *version, const char *build, const char *csd, DWORD sp)
    {
        version_ = ReadString(kNt, "CurrentVersion");
        build_ = ReadString(kNt, "CurrentBuildNumber");
        csd_ = ReadString(kNt, "CSDVersion");
        DWORD size = sizeof sp_;
        RegGetValueA(HKEY_LOCAL_MACHINE, kSp, "CSDVersion", RRF_RT_REG_DWORD, NULL, &sp_, &size);
        Write(version, build, csd, sp);
    }
    ~RegistryVersion() { Write(version_.c_str(), build_.c_str(), csd_.c_str(), sp_); }
    static void Write(const char *version, const char *build, const char *csd, DWORD sp)
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNt, 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
            RegSetValueExA(h, "CurrentVersion", 0, REG_SZ, (const BYTE *)version, (DWORD)strlen(version) + 1);
            RegSetValueExA(h, "CurrentBuildNumber", 0, REG_SZ, (const BYTE *)build, (DWORD)strlen(build) + 1);
            RegSetValueExA(h, "CSDVersion", 0, REG_SZ, (const BYTE *)csd, (DWORD)strlen(csd) + 1);
            RegCloseKey(h);
        }
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSp, 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
            RegSetValueExA(h, "CSDVersion", 0, REG_DWORD, (const BYTE *)&sp, sizeof sp);
            RegCloseKey(h);
        }
    }
    std::string version_, build_, csd_;
    DWORD sp_ = 0;
};

/* "RTM" is "1" only on the first release of Windows XP. */
TEST_F(SetupTest, FirstXpReleaseRecordsRtm)
{
    {
        RegistryVersion xp("5.1", "2600", "", 0);
        Install();
    }
    EXPECT_EQ("1", ReadString(NicKey(), "RTM"));
}

/* ---- The Device Manager's pages ---- */

bool ServiceExists(const char *name)
{
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!scm) return false;
    SC_HANDLE svc = OpenServiceA(scm, name, SERVICE_QUERY_STATUS);
    if (svc) CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    return svc != NULL;
}


class DeviceProperties : public SetupTest {
protected:
    std::string Shot(const char *name) const
    {
        char dir[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("WL_SHOT_DIR", dir, sizeof dir);
        if (n == 0 || n >= sizeof dir) return std::string(kWorkDir) + "\\" + name + ".bmp";
        std::string d = WinPath(dir);
        CreateDirectoryA(d.c_str(), NULL);
        return d + "\\" + name + ".bmp";
    }
    void OutsideClient()
    {
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_CURRENT_USER, kOutsideClient, 0, NULL, 0, KEY_SET_VALUE, NULL, &h, NULL));
        DWORD one = 1;
        RegSetValueExA(h, "enabled", 0, REG_DWORD, (const BYTE *)&one, sizeof one);
        RegCloseKey(h);
    }
};

/* Both pages when the co-installer has the Wireless Networks page; a
 * build without it shows neither (the Advanced page alone is not added). */
TEST_F(DeviceProperties, ShowsTheCoInstallersPages)
{
    Install();
    Process p("\"" + Tool("devprops.exe") + "\" " + nic_ + " --shot \"" + Shot("devprops_pages") + "\"",
              "props.txt");
    int rc = p.wait();
    if (NetworksPageBuilt()) {
        EXPECT_EQ(0, rc) << p.output();
        EXPECT_EQ((std::vector<std::string>{"Wireless Advanced", "Wireless Networks"}), Pages(p.output()));
    } else {
        EXPECT_EQ(1, rc) << p.output();
        EXPECT_TRUE(Pages(p.output()).empty()) << p.output();
    }
}

/* With another configuration manager active the Wireless Networks page is
 * left out on every OS; the Advanced page is shown. */
TEST_F(DeviceProperties, OtherManagerLeavesOnlyTheAdvancedPage)
{
    OutsideClient();
    for (const char *v : {"win2k", "win7"}) {
        Version(v);
        Install();
        Process p("\"" + Tool("devprops.exe") + "\" " + nic_ + " --shot \"" + Shot("devprops_advanced") + "\"",
                  "props.txt");
        EXPECT_EQ(0, p.wait()) << p.output();
        EXPECT_EQ((std::vector<std::string>{"Wireless Advanced"}), Pages(p.output())) << v;
        Remove();
        SimReset();
    }
}

/* A stand-in "WZCSVC" that runs for as long as this lives. */
struct ZeroConfigService {
    ZeroConfigService()
    {
        scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
        if (!scm) return;
        if (SC_HANDLE old = OpenServiceA(scm, "WZCSVC", SERVICE_ALL_ACCESS)) {
            /* one left by an interrupted run */
            SERVICE_STATUS st;
            ControlService(old, SERVICE_CONTROL_STOP, &st);
            DeleteService(old);
            CloseServiceHandle(old);
            for (int i = 0; i < 100 && ServiceExists("WZCSVC"); i++) Sleep(100);
        }
        svc = CreateServiceA(scm, "WZCSVC", "Wireless Zero Configuration", SERVICE_ALL_ACCESS,
                             SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                             WinPath(WL_TESTBIN_DIR "/svcstub.exe").c_str(), NULL, NULL, NULL, NULL, NULL);
        if (svc && StartServiceA(svc, 0, NULL)) running = WaitState(SERVICE_RUNNING);
    }
    ~ZeroConfigService()
    {
        if (svc) {
            SERVICE_STATUS st;
            ControlService(svc, SERVICE_CONTROL_STOP, &st);
            WaitState(SERVICE_STOPPED);
            DeleteService(svc);
            CloseServiceHandle(svc);
        }
        if (scm) CloseServiceHandle(scm);
    }
    bool WaitState(DWORD state)
    {
        SERVICE_STATUS st;
        for (int i = 0; i < 150; i++, Sleep(100))
            if (QueryServiceStatus(svc, &st) && st.dwCurrentState == state) return true;
        return false;
    }
    SC_HANDLE scm = NULL, svc = NULL;
    bool running = false;
};

/* On the XP family with the zero configuration service running, the
 * Device Manager's route shows only the Advanced page (the tools report
 * Windows 7, of the XP family for the suite). */
TEST_F(DeviceProperties, ZeroConfigurationLeavesOnlyTheAdvancedPage)
{
    ASSERT_EQ((DWORD)OS_WIN2001, ExpectedOsType());
    ZeroConfigService wzc;
    ASSERT_TRUE(wzc.running);
    Install();
    Process p("\"" + Tool("devprops.exe") + "\" " + nic_ + " --shot \"" + Shot("devprops_zeroconfig") + "\"",
              "props.txt");
    EXPECT_EQ(0, p.wait()) << p.output();
    EXPECT_EQ((std::vector<std::string>{"Wireless Advanced"}), Pages(p.output()));
}

/* Install; on the Advanced page change the distance setting and apply it
 * to the adapter; on the Wireless Networks page (when the co-installer has
 * it) switch profile hunting on, which registers the variant's hunting
 * service; close; remove: the registry is as before, the service is gone
 * again, and only the profiles, which outlive the adapter, are kept. */
TEST_F(DeviceProperties, InstallApplyRemoveLeavesNothingBehind)
{
    const char kService[] = "WSVXQ48E";
    ASSERT_FALSE(ServiceExists(kService));
    const std::vector<std::string> classBefore = Subkeys(kClassKey), networkBefore = Subkeys(kNetworkKey),
                                   enumBefore = Subkeys(kEnumPci);
    Install();
    bool networks = NetworksPageBuilt();
    if (!networks) OutsideClient(); /* then the Advanced page is shown alone */
    std::string ready = std::string(kWorkDir) + "\\ready.txt";
    DeleteFileA(ready.c_str());
    Process p("\"" + Tool("devprops.exe") + "\" " + nic_ + " --ready \"" + ready + "\" --wait", "props.txt");
    std::string text;
    for (int i = 0; i < 600 && text.empty(); i++) {
        text = ReadFile(ready);
        if (text.empty()) Sleep(100);
    }
    ASSERT_FALSE(text.empty()) << p.output();
    HWND sheet = (HWND)(ULONG_PTR)strtoul(text.c_str(), NULL, 10);
    ASSERT_TRUE(IsWindow(sheet));
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    HWND scale = GetDlgItem(page, IDC_SYSTEM_SCALE);
    ASSERT_TRUE(scale != NULL);
    SendMessageA(scale, CB_SETCURSEL, 4, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_SYSTEM_SCALE, CBN_SELCHANGE), (LPARAM)scale);
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
    std::vector<uint16_t> rec;
    for (int i = 0; i < 100 && rec != std::vector<uint16_t>{2, kScale, 5}; i++) {
        Sleep(100);
        rec = SimRecord(0, kScale);
    }
    EXPECT_EQ((std::vector<uint16_t>{2, kScale, 5}), rec) << "the adapter got the new distance setting";
    if (networks) {
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        HWND hunt = GetDlgItem(page, IDC_HUNT_ENABLE);
        ASSERT_TRUE(hunt != NULL);
        EXPECT_TRUE(IsWindowEnabled(hunt));
        SendMessageA(hunt, BM_CLICK, 0, 0);
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        bool registered = false;
        for (int i = 0; i < 100 && !registered; i++, Sleep(100)) registered = ServiceExists(kService);
        EXPECT_TRUE(registered) << "hunting on registers the service";
        DWORD hunting = 0;
        DWORD size = sizeof hunting;
        RegGetValueA(HKEY_LOCAL_MACHINE, NicKey().c_str(), "ProfileHunting", RRF_RT_REG_DWORD, NULL, &hunting, &size);
        EXPECT_EQ(1u, hunting);
    }
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    PostMessageA(sheet, WM_NULL, 0, 0);
    EXPECT_EQ(0, p.wait(60000)) << p.output();
    std::vector<std::string> profiles = Subkeys(kProfiles);

    Remove();
    EXPECT_EQ(classBefore, Subkeys(kClassKey));
    EXPECT_EQ(networkBefore, Subkeys(kNetworkKey));
    EXPECT_EQ(enumBefore, Subkeys(kEnumPci));
    bool gone = false;
    for (int i = 0; i < 300 && !gone; i++, Sleep(100)) gone = !ServiceExists(kService);
    EXPECT_TRUE(gone) << "removal unregisters the hunting service";
    EXPECT_EQ(profiles, Subkeys(kProfiles)) << "the profiles are kept";
}

} // namespace
