/*
 * Support for the end-to-end tests: a freshly loaded API library per test,
 * adapters in the prefix's registry, the stand-in driver, files in the root
 * of the current drive.
 */
#ifndef WLTEST_H
#define WLTEST_H

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "simclient.h"
#include "wlapi.h"
#include "wlcore/siblings.h"

/* The four variants: letter and number. */
struct Variant {
    char letter;
    int number;
    std::string dll() const { return std::string("WAVXQ48") + letter; }
    /* A sibling deliverable's file name: sibling(WL_SIBLING_COINSTALLER, ".dll"). */
    std::string sibling(char which, const char *ext) const
    {
        char name[64];
        return WLSiblingName(dll().c_str(), which, ext, name, sizeof name) < 0 ? std::string() : name;
    }
    bool cd() const { return number <= 4; }
    bool vxdName() const { return letter == 'C' || letter == 'E'; }
};
extern const Variant kVariants[4];
std::string VariantName(const testing::TestParamInfo<Variant> &info);

/* One loaded instance of a variant's library; unloading it drops all of its
 * process-wide state, so every test starts from a freshly loaded library. */
class WLLib {
public:
    explicit WLLib(const Variant &v);
    ~WLLib();
    FARPROC proc(const char *name) const;
    HMODULE module() const { return h_; }
    const Variant &variant() const { return v_; }
    /* The exit line of the last call (WLReturnStringGet). */
    std::string returnString() const;
    /* WLGeneralErrorStringGet. */
    std::string generalError() const;

private:
    HMODULE h_;
    Variant v_;
};

/* Calls an export through its prototype in wlapi.h. */
#define WL(lib, fn) (reinterpret_cast<decltype(&fn)>(reinterpret_cast<void *>((lib).proc(#fn))))

/* A typed buffer with its TS header set and every other byte `fill`. */
template <class T> T TypedBuffer(uint32_t type, int fill = 0)
{
    T b;
    memset(&b, fill, sizeof b);
    b.TS.Type = type;
    b.TS.Size = sizeof b;
    return b;
}

/* A typed buffer as TypedBuffer makes it, with a guard area behind it that
 * no call may touch. */
template <class T> struct Guarded {
    explicit Guarded(uint32_t type, unsigned char fill = 0x5A) : b(TypedBuffer<T>(type, fill))
    {
        memset(guard, 0xA5, sizeof guard);
    }
    bool GuardIntact() const
    {
        for (unsigned char c : guard)
            if (c != 0xA5) return false;
        return true;
    }
    T b;
    unsigned char guard[64];
};

/* A byte buffer with a guard area behind its Size bytes. */
struct GuardedBytes {
    explicit GuardedBytes(size_t size, unsigned char fill = 'x') : bytes(size + 64, fill), size(size)
    {
        memset(&bytes[size], 0xA5, 64);
    }
    bool GuardIntact() const
    {
        for (size_t i = size; i < bytes.size(); i++)
            if (bytes[i] != 0xA5) return false;
        return true;
    }
    char *text() { return (char *)bytes.data(); }
    unsigned char *raw() { return bytes.data(); }
    std::vector<unsigned char> bytes;
    size_t size;
};

/* The reason of the exit line `line` ("...returned [reason] (..."), or the
 * whole line when it has none. */
std::string ReasonOf(const std::string &line);

/* Expects a call's result rc to be `code`, refused for `reason`: the reason
 * of the library's last exit line. Failures name the caller's line. */
void ExpectRefused(const WLLib &lib, int rc, int code, const std::string &reason,
                   const char *file = __builtin_FILE(), int line = __builtin_LINE());

/* ---- Adapters in the registry ---- */

struct AdapterSpec {
    AdapterSpec(const std::string &n, const std::string &d = "Wireless LAN PC Card", bool hasD = true,
                char v = 'E', bool w98 = false)
        : nic(n), description(d), hasDescription(hasD), variant(v), win98(w98) {}
    std::string nic;         /* instance subkey, e.g. "0100" */
    std::string description; /* VendorDescription */
    bool hasDescription;
    char variant;            /* library that serves it */
    bool win98;              /* Windows 98 layout */
    std::string guid;        /* NetCfgInstanceId; generated when empty */
};

/* Creates the adapter's keys (NIC key, connection and device key) and
 * removes them again when destroyed. */
class RegAdapter {
public:
    explicit RegAdapter(const AdapterSpec &spec);
    ~RegAdapter();
    const AdapterSpec &spec() const { return spec_; }
    std::string nicKey() const;
    /* The device's key under Enum (NT family layout). */
    std::string enumKey() const;
    /* Raw reads and writes of the NIC key's values. */
    bool readString(const char *name, std::string *out) const;
    bool readDword(const char *name, DWORD *out, DWORD *type = nullptr) const;
    void writeString(const char *name, const char *value) const;
    void writeDword(const char *name, DWORD value) const;
    void deleteValue(const char *name) const;

private:
    AdapterSpec spec_;
};

std::string ClassKey(bool win98);
std::string GuidFor(const std::string &nic);

/* ---- Stand-in driver ---- */

/* Resets the driver and adds an adapter answering on the names the given
 * variant opens for this registry adapter; returns the driver's index. */
int SimAdapterFor(const RegAdapter &a, const Variant &v);
WlSimCounters SimCountersNow();
/* The stand-in's stored record of type typ, len word first (at most
 * maxWords words); empty when the adapter has no such record. */
std::vector<uint16_t> SimRecord(int adapter, uint16_t typ, int maxWords = WLSIM_LTV_MAX_LEN + 1);

/* ---- Files in the root of the current drive ---- */

std::string ReadFile(const std::string &path);
bool FileExists(const std::string &path);
void WriteFile(const std::string &path, const std::string &text);
void RemoveFile(const std::string &path);

/* Whether a log (trace or error log text) holds an exit line of function
 * fn whose reason is `reason`, followed by `tail` (such as
 * "(WL_GENERAL_ERROR, 0x00002328, 9000) ERROR" or just a prefix of it). */
bool HasExitLine(const std::string &log, const std::string &fn, const std::string &reason,
                 const std::string &tail);

/* Reported OS type of this process as the libraries see it. */
DWORD ExpectedOsType();

#endif
