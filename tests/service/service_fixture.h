/*
 * Support for the profile hunting service tests: a folder of the test's
 * own holding a copy of a variant's service program, the event message
 * file and recording stand-ins of the library; programs run with a bounded
 * wait; the service as the prefix's service control manager sees it.
 */
#ifndef SERVICE_FIXTURE_H
#define SERVICE_FIXTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

/* Folder of a built file set beside bin/ ("svcbin", "testdll"). */
std::string BuildFolder(const char *name);

/* A fresh folder below the current directory, removed with its files. */
class TestFolder {
public:
    explicit TestFolder(const std::string &name);
    ~TestFolder();
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "\\" + name; }
    void copy(const std::string &from, const std::string &as) const;
    void write(const std::string &name, const std::string &text) const;
    std::string read(const std::string &name) const;

private:
    std::string path_;
};

/* Runs a program and waits at most timeoutMs; answers its exit code, or -1
 * when it could not be started or did not end (it is then ended). */
int RunProgram(const std::string &exe, const std::string &args, const std::string &cwd, DWORD timeoutMs = 60000);

/* The prefix's view of a service. */
bool ServiceInstalled(const std::string &name);
DWORD ServiceState(const std::string &name); /* 0 when it cannot be queried */
DWORD ServiceProcessId(const std::string &name);
/* Stops and deletes the service and waits (bounded) until it is gone. */
void ServiceRemove(const std::string &name);
/* Waits (bounded) until the service is in `state`, or gone for state 0. */
bool ServiceWait(const std::string &name, DWORD state, DWORD timeoutMs = 30000);

/* Count of adapter instances under the driver service's "Enum" key;
 * a negative count removes the value. */
void DriverCountSet(char variant, int count);
void DriverKeyRemove(char variant);

/* Lines of a text (without their line breaks). */
std::vector<std::string> Lines(const std::string &text);
/* Waits (bounded) until pred holds, checking every 200 ms. */
template <class P> bool WaitFor(P pred, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 200) {
        if (pred()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(200);
    }
}

#endif
