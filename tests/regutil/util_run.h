/* Runs the utility programs and sets up what they look at: adapters in the
 * registry (with their enumeration keys), profiles, the stand-in driver. */
#ifndef REGUTIL_TEST_UTIL_RUN_H
#define REGUTIL_TEST_UTIL_RUN_H

#include <memory>
#include <string>
#include <vector>

#include "wltest.h"

struct UtilResult {
    DWORD exit;
    std::string out;
};

/* Path of a variant's utility, or of a copy of variant E that the prefix
 * reports Windows version `winver` to ("nt40", "win98", "win2k"). */
std::string UtilPath(char variant = 'E');
std::string UtilAs(const char *winver);

UtilResult RunUtil(const std::string &exe, const std::vector<std::string> &args);

/* Registry helpers under HKEY_LOCAL_MACHINE. */
void RegDeleteTree(const std::string &key);
void RegSetText(const std::string &key, const char *name, const std::string &value);
void RegSetNumber(const std::string &key, const char *name, DWORD value);
bool RegGetText(const std::string &key, const char *name, std::string *out);
bool RegGetNumber(const std::string &key, const char *name, DWORD *out);

extern const char kProfileRoot[];
std::string ProfileKeyOf(int n);

/* The exchanges the stand-in saw since the last SimClearLog, one word each:
 * "C" connect, "D" disconnect, "G0827" get, "P0900" put, "A130" action. */
std::string Exchanges();

/* The plain key record of a stored coded text; empty when it does not
 * decode to the full record. */
std::vector<uint8_t> DecodeKeyText(const std::string &text);

class UtilTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    /* An NT family adapter with registry version 8.24. */
    RegAdapter &AddAdapter(const std::string &nic, bool win98 = false);
    /* A stand-in adapter answering on the given device names. */
    int AddDriver(const std::vector<std::string> &names);
    /* Adapter 0150 in the registry and on the driver. */
    void StandardAdapter();
    void AddProfile(int n, const std::string &name, const std::string &ssid = "");
    UtilResult Run(const std::vector<std::string> &args) { return RunUtil(UtilPath(), args); }

    std::vector<std::unique_ptr<RegAdapter>> adapters_;
    int driver_ = -1;
};

#endif
