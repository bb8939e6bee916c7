#include "service_fixture.h"

#include <stdio.h>

std::string BuildFolder(const char *name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string p(path);
    return p.substr(0, p.rfind('\\')) + "\\..\\" + name;
}

TestFolder::TestFolder(const std::string &name)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    path_ = std::string(cwd) + "\\" + name;
    CreateDirectoryA(path_.c_str(), NULL);
}

TestFolder::~TestFolder()
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(file(fd.cFileName).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path_.c_str());
}

void TestFolder::copy(const std::string &from, const std::string &as) const
{
    ASSERT_TRUE(CopyFileA(from.c_str(), file(as).c_str(), FALSE)) << from << " -> " << as << ": " << GetLastError();
}

void TestFolder::write(const std::string &name, const std::string &text) const
{
    FILE *f = fopen(file(name).c_str(), "wb");
    ASSERT_TRUE(f != NULL) << name;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

std::string TestFolder::read(const std::string &name) const
{
    FILE *f = fopen(file(name).c_str(), "rb");
    if (f == NULL) return std::string();
    std::string s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
    return s;
}

int RunProgram(const std::string &exe, const std::string &args, const std::string &cwd, DWORD timeoutMs)
{
    std::string line = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(exe.c_str(), cmd.data(), NULL, NULL, FALSE, 0, NULL, cwd.c_str(), &si, &pi)) return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

static SC_HANDLE OpenSvc(SC_HANDLE *scm, const std::string &name, DWORD access)
{
    *scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (*scm == NULL) return NULL;
    SC_HANDLE s = OpenServiceA(*scm, name.c_str(), access);
    if (s == NULL) CloseServiceHandle(*scm);
    return s;
}

bool ServiceInstalled(const std::string &name)
{
    SC_HANDLE scm, s = OpenSvc(&scm, name, SERVICE_QUERY_CONFIG);
    if (s == NULL) return false;
    CloseServiceHandle(s);
    CloseServiceHandle(scm);
    return true;
}

static bool StatusOf(const std::string &name, SERVICE_STATUS_PROCESS *st)
{
    SC_HANDLE scm, s = OpenSvc(&scm, name, SERVICE_QUERY_STATUS);
    if (s == NULL) return false;
    DWORD need;
    BOOL ok = QueryServiceStatusEx(s, SC_STATUS_PROCESS_INFO, (BYTE *)st, sizeof *st, &need);
    CloseServiceHandle(s);
    CloseServiceHandle(scm);
    return ok != FALSE;
}

DWORD ServiceState(const std::string &name)
{
    SERVICE_STATUS_PROCESS st;
    return StatusOf(name, &st) ? st.dwCurrentState : 0;
}

DWORD ServiceProcessId(const std::string &name)
{
    SERVICE_STATUS_PROCESS st;
    return StatusOf(name, &st) ? st.dwProcessId : 0;
}

void ServiceRemove(const std::string &name)
{
    SC_HANDLE scm, s = OpenSvc(&scm, name, SERVICE_STOP | DELETE);
    if (s == NULL) return;
    SERVICE_STATUS st;
    ControlService(s, SERVICE_CONTROL_STOP, &st);
    DeleteService(s);
    CloseServiceHandle(s);
    CloseServiceHandle(scm);
    ServiceWait(name, 0);
}

bool ServiceWait(const std::string &name, DWORD state, DWORD timeoutMs)
{
    return WaitFor([&] { return state == 0 ? !ServiceInstalled(name) : ServiceState(name) == state; }, timeoutMs);
}

static std::string DriverKey(char variant)
{
    return std::string("SYSTEM\\CurrentControlSet\\Services\\WLVXQ48") + variant;
}

void DriverCountSet(char variant, int count)
{
    HKEY h;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, (DriverKey(variant) + "\\Enum").c_str(), &h));
    if (count < 0) {
        RegDeleteValueA(h, "Count");
    } else {
        DWORD v = (DWORD)count;
        RegSetValueExA(h, "Count", 0, REG_DWORD, (const BYTE *)&v, sizeof v);
    }
    RegCloseKey(h);
}

void DriverKeyRemove(char variant)
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (DriverKey(variant) + "\\Enum").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, DriverKey(variant).c_str());
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        start = end + 1;
    }
    return out;
}
