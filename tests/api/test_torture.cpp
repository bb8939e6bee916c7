/*
 * Every export of the loaded library, called with hostile arguments and
 * hostile driver answers: null pointers, zero and maximal sizes, buffers of
 * wrong TS types and sizes, each ending at a guard page; the driver absent,
 * answering errors, failing the call, answering short records or records
 * longer than asked. No call may crash, write outside a caller's buffer,
 * answer anything but a WL_* code, or change a buffer when it refuses its
 * arguments before reaching the driver.
 *
 * The parameters of each export come from its prototype in the public
 * header; the callee's own stack cleanup is measured on every call and must
 * match the prototype.
 */
#include <algorithm>
#include <regex>
#include <set>

#include "sim_session.h"

namespace {

/* Exports this test does not call, and why. */
const std::set<std::string> kSkipped = {
    "WLLog",             /* variadic (cdecl): a format text, tested by the trace tests */
    "WLLogDump",         /* runs the editor and waits for it */
    "WLLogErrorDump",    /* the same */
    "WLCfgDialogGet",    /* starts the co-installer's dialog on a thread of its own */
    "WLProfileHuntingSet", /* starts the service program */
    "WLAPHPP",           /* waits for a profile to settle */
};

/* Exports that wait up to 2 s for scan results that never come: called
 * with the first pattern of each driver mode and with null pointers only. */
const std::set<std::string> kWaiting = {"WLScanAPGet", "WLScanAnyGet", "WLScanNetworkGet"};

enum ParamKind { P_VALUE, P_SIZE_VALUE, P_SIZE_PTR, P_BUFFER };

struct Param {
    ParamKind kind;
    std::string text;
    bool typed() const { return kind == P_BUFFER && text.find("Buffer") != std::string::npos; }
};

struct Prototype {
    std::string name;
    std::vector<Param> params;
};

std::string Trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

bool NamedSize(const std::string &p)
{
    std::smatch m;
    static const std::regex last(R"((\w+)\s*$)");
    if (!std::regex_search(p, m, last)) return false;
    std::string n = m[1];
    for (char &c : n) c = (char)tolower((unsigned char)c);
    return n == "size" || n == "len" || n == "sz" || n.find("size") != std::string::npos;
}

Param Classify(const std::string &p)
{
    bool ptr = p.find('*') != std::string::npos;
    if (ptr) return {NamedSize(p) && p.find("DWORD") != std::string::npos ? P_SIZE_PTR : P_BUFFER, p};
    return {NamedSize(p) ? P_SIZE_VALUE : P_VALUE, p};
}

/* Prototypes of the public header, by name. */
std::map<std::string, Prototype> ReadPrototypes()
{
    std::string path = std::string("Z:") + WL_SOURCE_DIR + "/include/wlapi.h";
    std::string text = ReadFile(path);
    std::map<std::string, Prototype> out;
    static const std::regex proto(R"(int\s+WLAPI\s+(\w+)\s*\(([^)]*)\)\s*;)");
    for (std::sregex_iterator it(text.begin(), text.end(), proto), end; it != end; ++it) {
        Prototype p;
        p.name = (*it)[1];
        std::string list = Trim((*it)[2]);
        if (list != "void") {
            size_t start = 0;
            while (start <= list.size()) {
                size_t comma = list.find(',', start);
                if (comma == std::string::npos) comma = list.size();
                p.params.push_back(Classify(Trim(list.substr(start, comma - start))));
                start = comma + 1;
            }
        }
        out[p.name] = p;
    }
    return out;
}

/* A caller buffer of kBufBytes that ends at an inaccessible page. */
const size_t kPage = 4096;
const size_t kBufBytes = 4 * kPage;

struct GuardedPage {
    unsigned char *base = nullptr;
    GuardedPage()
    {
        base = (unsigned char *)VirtualAlloc(NULL, kBufBytes + kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        if (base) VirtualProtect(base + kBufBytes, kPage, PAGE_NOACCESS, &old);
    }
    ~GuardedPage()
    {
        if (base) VirtualFree(base, 0, MEM_RELEASE);
    }
};

/* Calls fn with n 32-bit arguments; *popped is what the callee removed. */
int CallStd(FARPROC fn, const DWORD *args, DWORD n, DWORD *popped)
{
    DWORD a = (DWORD)(UINT_PTR)fn, c = n, d = (DWORD)(UINT_PTR)args;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "jecxz 2f\n\t"
        "1:\n\t"
        "pushl -4(%%edx,%%ecx,4)\n\t"
        "loop 1b\n\t"
        "2:\n\t"
        "movl %%esp, %%edi\n\t"
        "call *%%eax\n\t"
        "movl %%esp, %%edx\n\t"
        "subl %%edi, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "+a"(a), "+c"(c), "+d"(d)
        :
        : "esi", "edi", "memory", "cc");
    *popped = d;
    return (int)a;
}

/* What the process was doing when it faulted. */
char g_Current[256];

LONG CALLBACK ReportFault(EXCEPTION_POINTERS *e)
{
    if (e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION ||
        e->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) {
        fprintf(stderr, "FAULT 0x%08lX during %s\n", (unsigned long)e->ExceptionRecord->ExceptionCode, g_Current);
        fflush(stderr);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

/* One set of arguments: how every parameter of a kind is filled. */
struct Pattern {
    const char *name;
    bool nullPointers;
    int fill;          /* byte every buffer is filled with */
    bool tsHeader;     /* buffers start with TS.Type = tsType, TS.Size = tsSize */
    DWORD tsType, tsSize;
    DWORD sizePtr;     /* what a size pointer points at */
    DWORD sizeValue;
    DWORD value;
};

std::vector<Pattern> Patterns(bool full)
{
    std::vector<Pattern> p = {
        {"zeroed buffers, zero sizes", false, 0, false, 0, 0, 0, 0, 0},
        /* sizes by value may count words: half the buffer, less a record header */
        {"0xFF buffers, maximal sizes, values -1", false, 0xFF, false, 0, 0, (DWORD)kBufBytes,
         (DWORD)kBufBytes / 2 - 8, 0xFFFFFFFF},
    };
    if (!full) return p;
    p.push_back({"null pointers, zeros", true, 0, false, 0, 0, 0, 0, 0});
    p.push_back({"text buffers, size 1, INT_MAX", false, 'A', false, 0, 0, 1, 1, 0x7FFFFFFF});
    p.push_back({"values 0x10000, INT_MIN", false, 0x5A, false, 0, 0, 2, 2, 0x80000000});
    p.push_back({"values 0x10000", false, 0x01, false, 0, 0, 64, 64, 0x10000});
    /* every TS type in use (1 to 39) with a wrong size, too small or the
     * whole buffer by turns */
    for (DWORD t = 1; t <= 39; t++) {
        if (t % 2) p.push_back({"TS type, small size", false, 0, true, t, 8, 8, 8, t});
        else p.push_back({"TS type, buffer size", false, 0x33, true, t, (DWORD)kBufBytes, (DWORD)kBufBytes, 16, 1});
    }
    return p;
}

/* A selected adapter served by the stand-in, without the error log (the
 * calls fail by the thousand). */
struct Session {
    explicit Session(const Variant &v, const char *nic)
        : reg(AdapterSpec(nic, "Wireless LAN PC Card", true, v.letter)), lib(v)
    {
        RemoveFile("\\wlerr.txt");
        sim = SimAdapterFor(reg, v);
        EXPECT_EQ(WL_SUCCESS, WL(lib, WLCurrentNICSet)(nic, (DWORD)strlen(nic)));
    }
    void Set(const std::vector<uint16_t> &ltv) { EXPECT_EQ(0, SimSetRecord(sim, ltv.data())) << SimLastErrorText(); }
    RegAdapter reg;
    WLLib lib;
    int sim = -1;
};

bool HasTypedBuffer(const Prototype &p)
{
    for (const Param &q : p.params)
        if (q.typed()) return true;
    return false;
}

struct Counts {
    unsigned calls = 0, refusedUntouched = 0, exports = 0;
};

class Torture : public testing::TestWithParam<Variant> {
protected:
    static void SetUpTestSuite() { s_Handler = AddVectoredExceptionHandler(1, ReportFault); }
    static void TearDownTestSuite() { RemoveVectoredExceptionHandler(s_Handler); }
    static PVOID s_Handler;

    GuardedPage pages_[8];
    std::vector<unsigned char> before_[8];
    DWORD exchanges_ = 0;
    std::set<std::string> reachesDriver_; /* exports seen reaching the driver */
    std::map<std::string, DWORD> ms_;      /* time spent in each export */

    /* Fills the arguments of one call; answers the argument words. */
    std::vector<DWORD> Arguments(const Prototype &p, const Pattern &pat)
    {
        std::vector<DWORD> args;
        for (size_t i = 0; i < p.params.size() && i < 8; i++) {
            unsigned char *buf = pages_[i].base;
            memset(buf, pat.fill, kBufBytes);
            /* texts end inside the buffer */
            memset(buf + kBufBytes - 4, 0, 4);
            if (pat.tsHeader) {
                memcpy(buf, &pat.tsType, 4);
                memcpy(buf + 4, &pat.tsSize, 4);
            }
            switch (p.params[i].kind) {
            case P_VALUE: args.push_back(pat.value); break;
            case P_SIZE_VALUE: args.push_back(pat.sizeValue); break;
            case P_SIZE_PTR:
                memcpy(buf + kBufBytes - 4, &pat.sizePtr, 4);
                args.push_back(pat.nullPointers ? 0 : (DWORD)(UINT_PTR)(buf + kBufBytes - 4));
                break;
            case P_BUFFER: args.push_back(pat.nullPointers ? 0 : (DWORD)(UINT_PTR)buf); break;
            }
            before_[i].assign(buf, buf + kBufBytes);
        }
        return args;
    }

    bool Untouched(size_t n)
    {
        for (size_t i = 0; i < n && i < 8; i++)
            if (memcmp(before_[i].data(), pages_[i].base, kBufBytes) != 0) return false;
        return true;
    }

    /* Calls every export of the library with every pattern. */
    void RunAll(Session &s, const std::map<std::string, Prototype> &protos, const char *mode,
                bool full, Counts *counts)
    {
        exchanges_ = SimCountersNow().exchanges;
        const std::vector<Pattern> patterns = Patterns(full);
        for (size_t pi = 0; pi < patterns.size(); pi++) {
            const Pattern &pat = patterns[pi];
            for (const auto &entry : kExportNames()) {
                const std::string &name = entry;
                if (kSkipped.count(name)) continue;
                if (kWaiting.count(name) && pi != 0 && !pat.nullPointers) continue;
                FARPROC fn = GetProcAddress(s.lib.module(), name.c_str());
                if (!fn) continue;
                auto it = protos.find(name);
                ASSERT_NE(protos.end(), it) << name << " has no prototype in wlapi.h";
                const Prototype &p = it->second;
                if (pat.tsHeader && !HasTypedBuffer(p)) continue;
                /* with a hostile driver: the exports that reach it */
                if (!full && !reachesDriver_.count(name)) continue;
                std::vector<DWORD> args = Arguments(p, pat);
                snprintf(g_Current, sizeof g_Current, "%s, %s, driver %s", name.c_str(), pat.name, mode);
                DWORD popped = 0, t0 = GetTickCount();
                int rc = CallStd(fn, args.data(), (DWORD)args.size(), &popped);
                ms_[name] += GetTickCount() - t0;
                counts->calls++;
                /* nothing between two calls reaches the driver */
                DWORD before = exchanges_;
                exchanges_ = SimCountersNow().exchanges;
                ASSERT_EQ(4 * args.size(), popped) << g_Current << ": arguments removed by the callee";
                EXPECT_TRUE(rc == WL_SUCCESS || (rc >= WL_GENERAL_ERROR && rc <= WL_DRIVER_BUSY))
                    << g_Current << " returned " << rc;
                if (exchanges_ != before) reachesDriver_.insert(name);
                if (rc == WL_INVALID_PARAMETER && exchanges_ == before) {
                    EXPECT_TRUE(Untouched(args.size())) << g_Current << " refused its arguments but changed a buffer";
                    counts->refusedUntouched++;
                }
                /* a changed selection or apply mode must not starve the rest */
                if (name == "WLApplySet") WL(s.lib, WLApplySet)(0);
                if (name == "WLCurrentNICSet")
                    WL(s.lib, WLCurrentNICSet)(s.reg.spec().nic.c_str(), (DWORD)s.reg.spec().nic.size());
            }
        }
    }

    static const std::vector<std::string> &kExportNames()
    {
        static const std::vector<std::string> names = {
#define WL_ORDINAL(ord, name) #name,
#include "api/ordinals.inc"
#undef WL_ORDINAL
        };
        return names;
    }
};

PVOID Torture::s_Handler;

/* Record types the stand-in holds, probed through its control device. */
std::vector<uint16_t> StoredTypes(int sim)
{
    std::vector<uint16_t> types;
    const uint16_t ranges[][2] = {{0x0800, 0x09FF}, {0xF100, 0xF2FF}, {0xFC00, 0xFDFF}};
    uint16_t buf[4];
    for (auto &r : ranges)
        for (unsigned t = r[0]; t <= r[1]; t++)
            if (SimGetRecord(sim, (uint16_t)t, buf, 4) == 0) types.push_back((uint16_t)t);
    return types;
}

bool KeyExists(HKEY root, const char *path)
{
    HKEY h;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void DeleteTree(HKEY root, const char *path)
{
    HKEY h;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
    char sub[256];
    for (;;) {
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(h, 0, sub, &n, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        DeleteTree(h, sub);
    }
    RegCloseKey(h);
    RegDeleteKeyA(root, path);
}

}  // namespace

TEST_P(Torture, EveryExportUnderHostileArgumentsAndAnswers)
{
    const std::map<std::string, Prototype> protos = ReadPrototypes();
    ASSERT_GT(protos.size(), 100u);
    /* profile and third-party keys the calls may create are removed again */
    const bool hadHklm = KeyExists(HKEY_LOCAL_MACHINE, "Software\\Wireless");
    const bool hadHkcu = KeyExists(HKEY_CURRENT_USER, "Software\\Wireless");

    struct Mode {
        const char *name;
        bool full;
        std::function<void(Session &)> arm;
    };
    const uint32_t kMany = 1u << 30;
    const Mode modes[] = {
        {"answering", true, [](Session &) {}},
        {"absent", false, [](Session &s) { SimRemoveAdapter(s.sim); }},
        {"answering errors", false,
         [&](Session &) {
             for (int op : {WLSIM_OP_GET_INFO, WLSIM_OP_PUT_INFO, WLSIM_OP_ACTION, WLSIM_OP_SEND_DIAG_MSG})
                 SimFault(op, kMany, WLSIM_RES_LEN);
         }},
        {"failing calls", false,
         [&](Session &) {
             for (int op : {WLSIM_OP_GET_INFO, WLSIM_OP_PUT_INFO, WLSIM_OP_ACTION}) SimFailIoctl(op, kMany);
         }},
        {"short records", false,
         [](Session &s) {
             for (uint16_t t : StoredTypes(s.sim)) s.Set({2, t, 0xFFFF});
         }},
        {"oversized records", false,
         [&](Session &s) {
             std::vector<uint16_t> big(WLSIM_LTV_MAX_LEN + 1, 0xFFFF);
             big[0] = WLSIM_LTV_MAX_LEN;
             for (uint16_t t : StoredTypes(s.sim)) {
                 big[1] = t;
                 s.Set(big);
             }
             WlSimFault f = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, (int32_t)kMany, 0, WLSIM_ANY_ADAPTER};
             SimArmFault(&f);
         }},
    };

    Counts counts;
    for (const Mode &m : modes) {
        SCOPED_TRACE(m.name);
        Counts mc;
        {
            Session s(GetParam(), "0190");
            m.arm(s);
            RunAll(s, protos, m.name, m.full, &mc);
            for (int op = 0; op < WLSIM_OPS; op++) {
                SimFault(op, 0, 0);
                SimFailIoctl(op, 0);
            }
            WlSimFault off = {WLSIM_OP_GET_INFO, WLSIM_FAULT_TRUE_LEN, 0, 0, WLSIM_ANY_ADAPTER};
            SimArmFault(&off);
        }
        printf("[ variant %c ] driver %-18s %6u calls%s\n", GetParam().letter, m.name, mc.calls,
               m.full ? "" : " (the exports that reached the driver)");
        counts.calls += mc.calls;
        counts.refusedUntouched += mc.refusedUntouched;
    }
    unsigned exported = 0;
    {
        WLLib lib(GetParam());
        for (const std::string &n : kExportNames()) exported += GetProcAddress(lib.module(), n.c_str()) != NULL;
    }
    printf("[ variant %c ] %u exports present, %u skipped, %u reach the driver; %u calls, %u argument refusals "
           "checked untouched\n",
           GetParam().letter, exported, (unsigned)kSkipped.size(), (unsigned)reachesDriver_.size(), counts.calls,
           counts.refusedUntouched);
    std::vector<std::pair<DWORD, std::string>> slow;
    for (const auto &e : ms_) slow.push_back({e.second, e.first});
    std::sort(slow.rbegin(), slow.rend());
    printf("[ variant %c ] slowest:", GetParam().letter);
    for (size_t i = 0; i < slow.size() && i < 8; i++) printf(" %s %lu ms", slow[i].second.c_str(), (unsigned long)slow[i].first);
    printf("\n");
    RecordProperty("calls", (int)counts.calls);
    EXPECT_GT(counts.calls, 1000u);
    if (!hadHklm) DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Wireless");
    if (!hadHkcu) DeleteTree(HKEY_CURRENT_USER, "Software\\Wireless");
}

INSTANTIATE_TEST_SUITE_P(All, Torture, testing::ValuesIn(kVariants), VariantName);
