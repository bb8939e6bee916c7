/*
 * The profile hunting service program under the prefix's service control
 * manager: install and removal switches, the service's properties and
 * event source, control handling, hunting passes over the adapters of a
 * recording stand-in library, application mode, and the event message file.
 */
#include <stdio.h>

#include "service_fixture.h"

static std::string ServiceName(char v) { return std::string("WSVXQ48") + v; }

/* A folder with variant v's service program, the message file and the
 * recording library under the enumeration library's name and the names
 * `dlls` that the adapter list hands out. */
class ServiceTest : public testing::Test {
protected:
    void Prepare(char v, const std::string &folder, const std::string &adapters,
                 const std::vector<std::string> &dlls = {})
    {
        v_ = v;
        ServiceRemove(ServiceName(v));
        DriverKeyRemove(v);
        dir_.reset(new TestFolder(folder));
        exe_ = dir_->file(ServiceName(v) + ".exe");
        dir_->copy(BuildFolder("svcbin") + "\\" + ServiceName(v) + ".exe", ServiceName(v) + ".exe");
        dir_->copy(BuildFolder("svcbin") + "\\wsvxq48x.dll", "wsvxq48x.dll");
        std::string probe = BuildFolder("testdll") + "\\aphprobe.dll";
        dir_->copy(probe, std::string("WAVXQ48") + v + ".DLL");
        for (const std::string &d : dlls) dir_->copy(probe, d);
        dir_->write("aphprobe.txt", adapters);
    }
    void TearDown() override
    {
        if (v_) {
            ServiceRemove(ServiceName(v_));
            DriverKeyRemove(v_);
            RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                          ("SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + ServiceName(v_)).c_str());
        }
        dir_.reset();
    }
    int Run(const std::string &args) { return RunProgram(exe_, args, dir_->path()); }
    std::vector<std::string> ProbeLog() { return Lines(dir_->read("aphprobe.log")); }

    char v_ = 0;
    std::unique_ptr<TestFolder> dir_;
    std::string exe_;
};

struct ServiceConfig {
    DWORD type = 0, start = 0, error = 0;
    std::string path, group, account, display;
    bool ok = false;
};

static ServiceConfig ConfigOf(const std::string &name)
{
    ServiceConfig c;
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE s = scm ? OpenServiceA(scm, name.c_str(), SERVICE_QUERY_CONFIG) : NULL;
    std::vector<BYTE> buf(8192);
    DWORD need;
    if (s && QueryServiceConfigA(s, (QUERY_SERVICE_CONFIGA *)buf.data(), (DWORD)buf.size(), &need)) {
        const QUERY_SERVICE_CONFIGA *q = (const QUERY_SERVICE_CONFIGA *)buf.data();
        c.type = q->dwServiceType;
        c.start = q->dwStartType;
        c.error = q->dwErrorControl;
        c.path = q->lpBinaryPathName ? q->lpBinaryPathName : "";
        c.group = q->lpLoadOrderGroup ? q->lpLoadOrderGroup : "";
        c.account = q->lpServiceStartName ? q->lpServiceStartName : "";
        c.display = q->lpDisplayName ? q->lpDisplayName : "";
        c.ok = true;
    }
    if (s) CloseServiceHandle(s);
    if (scm) CloseServiceHandle(scm);
    return c;
}

/* A value of a key under HKEY_LOCAL_MACHINE as raw bytes, with its type. */
static std::string RegValue(const std::string &key, const char *name, DWORD *type)
{
    HKEY h;
    *type = REG_NONE;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
    char buf[512];
    DWORD size = sizeof buf;
    LONG rc = RegQueryValueExA(h, name, NULL, type, (BYTE *)buf, &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? std::string(buf, size) : "<no value>";
}

class ServiceInstallTest : public ServiceTest, public testing::WithParamInterface<char> {};

TEST_P(ServiceInstallTest, ServiceSwitchCreatesTheServiceAndItsEventSource)
{
    const char v = GetParam();
    const std::string name = ServiceName(v);
    Prepare(v, std::string("svcinst") + v, "");
    EXPECT_EQ(1, Run("/Service"));
    ServiceConfig c = ConfigOf(name);
    ASSERT_TRUE(c.ok);
    EXPECT_EQ((DWORD)SERVICE_WIN32_OWN_PROCESS, c.type);
    EXPECT_EQ((DWORD)SERVICE_AUTO_START, c.start);
    EXPECT_EQ((DWORD)SERVICE_ERROR_NORMAL, c.error);
    EXPECT_EQ(exe_, c.path) << "unquoted image path without arguments";
    EXPECT_EQ("", c.group);
    EXPECT_EQ("LocalSystem", c.account);
    EXPECT_EQ(name + " Wireless Profile Hunting", c.display);
    DWORD type;
    /* Wine's QueryServiceConfigA reports no dependencies: read the key. */
    EXPECT_EQ(std::string("RPCSS\0\0", 7),
              RegValue("SYSTEM\\CurrentControlSet\\Services\\" + name, "DependOnService", &type));
    EXPECT_EQ((DWORD)REG_MULTI_SZ, type);
    const std::string source = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + name;
    static const char kFile[] = "%SystemRoot%\\System32\\wsvxq48x.dll";
    EXPECT_EQ(std::string(kFile, sizeof kFile), RegValue(source, "EventMessageFile", &type));
    EXPECT_EQ((DWORD)REG_EXPAND_SZ, type);
    EXPECT_EQ(std::string("\7\0\0\0", 4), RegValue(source, "TypesSupported", &type));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_TRUE(ServiceWait(name, SERVICE_RUNNING)) << "started after creation";
    char sys[MAX_PATH];
    GetSystemDirectoryA(sys, sizeof sys);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(sys) + "\\wsvxq48x.dll").c_str()))
        << "message file installed into the system directory";
    /* Removal without the driver's Enum key: stopped and deleted. */
    EXPECT_EQ(1, Run("/UnregService"));
    EXPECT_TRUE(ServiceWait(name, 0));
}

INSTANTIATE_TEST_SUITE_P(Variants, ServiceInstallTest, testing::Values('C', 'D', 'E', 'F'),
                         [](const testing::TestParamInfo<char> &i) { return std::string(1, i.param); });

TEST_F(ServiceTest, InstallAndRemovalFollowTheDriversAdapterCount)
{
    Prepare('D', "svccount", "");
    ASSERT_EQ(1, Run("/Service"));
    ASSERT_TRUE(ServiceWait("WSVXQ48D", SERVICE_RUNNING));
    DWORD pid = ServiceProcessId("WSVXQ48D");
    ASSERT_NE(0u, pid);

    DriverCountSet('D', 2);
    EXPECT_EQ(1, Run("/Service")) << "present: left unchanged";
    EXPECT_EQ(1, Run("/UnregService")) << "other adapters still use the driver";
    EXPECT_EQ((DWORD)SERVICE_RUNNING, ServiceState("WSVXQ48D"));
    EXPECT_EQ(pid, ServiceProcessId("WSVXQ48D")) << "the service was not restarted";

    /* Count 1: "/Service" removes the service and creates it again. */
    DriverCountSet('D', 1);
    EXPECT_EQ(1, Run("/Service"));
    EXPECT_TRUE(ServiceInstalled("WSVXQ48D")) << "created again once the removed one was gone";
    EXPECT_TRUE(ServiceWait("WSVXQ48D", SERVICE_RUNNING));
    EXPECT_NE(pid, ServiceProcessId("WSVXQ48D"));

    /* The removal switch in lower case after a hyphen. */
    EXPECT_EQ(1, Run("-unregservice"));
    EXPECT_TRUE(ServiceWait("WSVXQ48D", 0));
    EXPECT_EQ(1, Run("/UnregService")) << "not installed";
}

static std::string ReadWhole(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (f == NULL) return std::string();
    std::string s;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

/* The lines one hunting pass leaves in the recording log. */
static std::vector<std::string> PassLines(const std::vector<std::string> &adapters, const char *enumLib)
{
    std::string e(enumLib);
    std::vector<std::string> out = {e + " attach", e + " first"};
    for (const std::string &a : adapters) out.push_back(e + " next after " + a.substr(0, a.find(' ')));
    out.push_back(e + " detach");
    for (auto it = adapters.rbegin(); it != adapters.rend(); ++it) {
        std::string nic = it->substr(0, it->find(' ')), dll = it->substr(it->find(' ') + 1);
        out.push_back(dll + " attach");
        out.push_back(dll + " select " + nic + " " + std::to_string(nic.size()));
        if (nic[0] != 'X') out.push_back(dll + " aphpp");
        out.push_back(dll + " detach");
    }
    return out;
}

/* Whether the report lines of a service's event are in the log text. */
static bool Reported(const std::string &log, const char *type, int id)
{
    char call[64];
    snprintf(call, sizeof call, ",%s,0x0000,0x%08x,00000000,0x0001,", type, id);
    size_t at = log.find(call);
    return at != std::string::npos && log.find("ReportEventW L\"WSVXQ48D\"", at) != std::string::npos;
}

TEST_F(ServiceTest, RunningServiceHuntsInReverseOrderAndAnswersStop)
{
    const std::vector<std::string> adapters = {"A WLRECA.DLL", "X1 WLRECX.DLL", "B WLRECB.DLL"};
    Prepare('D', "svchunt", "A WLRECA.DLL\nX1 WLRECX.DLL\nB WLRECB.DLL\n", {"WLRECA.DLL", "WLRECX.DLL", "WLRECB.DLL"});
    const char *prefixLog = getenv("WL_PREFIX_LOG");
    ASSERT_TRUE(prefixLog != NULL) << "WL_PREFIX_LOG names the prefix's log";
    size_t logStart = ReadWhole(prefixLog).size();

    ASSERT_EQ(1, Run("/Service"));
    ASSERT_TRUE(ServiceWait("WSVXQ48D", SERVICE_RUNNING));
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE svc = OpenServiceA(scm, "WSVXQ48D", SERVICE_ALL_ACCESS);
    ASSERT_TRUE(svc != NULL);
    SERVICE_STATUS st;
    EXPECT_TRUE(ControlService(svc, 128, &st)) << GetLastError();
    EXPECT_EQ((DWORD)SERVICE_RUNNING, ServiceState("WSVXQ48D")) << "user control 128 changes nothing";

    const std::vector<std::string> pass = PassLines(adapters, "WAVXQ48D.DLL");
    EXPECT_TRUE(WaitFor([&] { return ProbeLog().size() >= 2 * pass.size(); }, 30000)) << "two passes";
    EXPECT_TRUE(ControlService(svc, SERVICE_CONTROL_STOP, &st));
    EXPECT_TRUE(ServiceWait("WSVXQ48D", SERVICE_STOPPED));
    CloseServiceHandle(svc);
    CloseServiceHandle(scm);

    std::vector<std::string> log = ProbeLog();
    ASSERT_EQ(0u, log.size() % pass.size()) << "only whole passes: " << dir_->read("aphprobe.log");
    for (size_t i = 0; i < log.size(); i++) EXPECT_EQ(pass[i % pass.size()], log[i]) << "line " << i;

    std::string events = ReadWhole(prefixLog).substr(logStart);
    EXPECT_TRUE(Reported(events, "0x0004", 0)) << "event 0, information, on start";
    EXPECT_TRUE(Reported(events, "0x0004", 1)) << "event 1, information, after stop";
    EXPECT_FALSE(Reported(events, "0x0001", 2));
}

TEST_F(ServiceTest, StartedByHandRunsAsApplication)
{
    Prepare('D', "svcapp", "");
    /* The install switch with a trailing blank is no switch. */
    HANDLE out = CreateFileA(dir_->file("stdout.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                             0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, out);
    SetHandleInformation(out, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    std::string line = "\"" + exe_ + "\" /Service ";
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(exe_.c_str(), cmd.data(), NULL, NULL, TRUE, 0, NULL, dir_->path().c_str(), &si, &pi));
    CloseHandle(out);
    const std::vector<std::string> pass = PassLines({}, "WAVXQ48D.DLL");
    bool ran = WaitFor([&] { return ProbeLog().size() >= 2 * pass.size(); }, 45000);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(ran) << "passes every 5 seconds";
    EXPECT_EQ("WSVXQ48D\r\n", dir_->read("stdout.txt")) << "event 0 as text on standard output";
    EXPECT_FALSE(ServiceInstalled("WSVXQ48D"));
    std::vector<std::string> log = ProbeLog();
    /* No adapter: only the enumeration library is loaded, and let go. */
    for (size_t i = 0; i + 1 < log.size(); i++) EXPECT_EQ(pass[i % pass.size()], log[i]) << "line " << i;
}

TEST(ServiceMessages, MessageFileRendersEveryEvent)
{
    std::string file = BuildFolder("svcbin") + "\\wsvxq48x.dll";
    HMODULE h = LoadLibraryExA(file.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(h != NULL) << file;
    const struct {
        DWORD id;
        const char *words;
    } events[] = {{0, "has started"}, {1, "has stopped"}, {2, "could not register its control handler"}};
    for (const auto &e : events) {
        const char *name = "WSVXQ48D";
        DWORD_PTR args[] = {(DWORD_PTR)name};
        char text[1024];
        DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, h, e.id,
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof text, (va_list *)args);
        ASSERT_NE(0u, n) << "event " << e.id << ": " << GetLastError();
        std::string s(text, n);
        EXPECT_NE(std::string::npos, s.find("service WSVXQ48D")) << s;
        EXPECT_NE(std::string::npos, s.find(e.words)) << s;
    }
    FreeLibrary(h);
}

TEST(ServiceMessages, EveryProgramCarriesItsVersionResource)
{
    for (char v : {'C', 'D', 'E', 'F'}) {
        std::string path = BuildFolder("svcbin") + "\\" + ServiceName(v) + ".exe";
        DWORD handle = 0, size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        ASSERT_NE(0u, size) << path;
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
        char *text = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileDescription", (void **)&text, &len));
        EXPECT_STREQ("Wireless Profile Hunting Service", text);
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\OriginalFilename", (void **)&text, &len));
        EXPECT_EQ(ServiceName(v) + ".EXE", text);
    }
}
