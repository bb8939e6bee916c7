/* wlcfg: every configuration task of the adapters from one console command,
 * over the configuration API library of each adapter (loaded at run time by
 * the library name the adapter's registry entry gives). */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commandline.h"
#include "json.h"
#include "linkstats.h"
#include "profile_io.h"
#include "security.h"
#include "wlapi.h"
#include "wlbuffers.h"
#include "wlcore/hunting_thresholds.h"
#include "wlcore/siblings.h"
#include "wlcore/wepcode.h"
#include "xmlread.h"

struct Context {
    bool json = false;
    std::string nicWanted;
    HMODULE lib = NULL;
    std::string nic, dll;
    JsonWriter j;
    std::string text; /* readable output */
};

typedef int(WINAPI *FnV)(void);
typedef int(WINAPI *FnInt)(int);
typedef int(WINAPI *FnPInt)(int *);
typedef int(WINAPI *FnPtr)(void *);
typedef int(WINAPI *FnStrGet)(char *, DWORD *);
typedef int(WINAPI *FnStrSet)(const char *, DWORD);

static FARPROC Fn(Context &c, const char *name)
{
    return c.lib ? GetProcAddress(c.lib, name) : NULL;
}

/* Reports a refused call: the library's code and the reason of its exit line. */
static int Refused(Context &c, const char *what, int rc)
{
    char line[1024] = "";
    DWORD size = sizeof line;
    FnStrGet rs = (FnStrGet)(void *)Fn(c, "WLReturnStringGet");
    if (rs) rs(line, &size);
    std::string l = line;
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    fprintf(stderr, "wlcfg: %s failed: code %d\n%s%s", what, rc, l.c_str(), l.empty() ? "" : "\n");
    return EXIT_FAILED;
}

static int Missing(const char *name)
{
    fprintf(stderr, "wlcfg: the library has no %s\n", name);
    return EXIT_FAILED;
}

#define CALL(c, type, name, ...)                                          \
    ([&]() -> int {                                                       \
        type f_ = (type)(void *)Fn(c, name);                              \
        return f_ ? f_(__VA_ARGS__) : -1;                                 \
    }())

/* ---- adapters -------------------------------------------------------- */

struct Adapter {
    std::string nic, dll;
};

static const char *const kLibraries[] = {"WAVXQ48F.DLL", "WAVXQ48E.DLL", "WAVXQ48D.DLL", "WAVXQ48C.DLL"};

static std::vector<Adapter> ListAdapters()
{
    std::vector<Adapter> out;
    for (const char *name : kLibraries) {
        HMODULE h = LoadLibraryA(name);
        if (!h) continue;
        typedef int(WINAPI * Walk)(NICInfoBuffer *);
        Walk first = (Walk)(void *)GetProcAddress(h, "WLFirstNICGet");
        Walk next = (Walk)(void *)GetProcAddress(h, "WLNextNICGet");
        NICInfoBuffer b;
        memset(&b, 0, sizeof b);
        b.TS.Type = NICInfoBufferType;
        b.TS.Size = sizeof b;
        for (int rc = first ? first(&b) : -1; rc == WL_SUCCESS && out.size() < 64; rc = next(&b)) {
            b.Nic[sizeof b.Nic - 1] = 0;
            b.Dll[sizeof b.Dll - 1] = 0;
            out.push_back({b.Nic, b.Dll});
            memset(b.Dll, 0, sizeof b.Dll);
        }
        FreeLibrary(h);
        break;
    }
    return out;
}

static int Select(Context &c, const Adapter &a)
{
    c.lib = LoadLibraryA(a.dll.c_str());
    c.nic = a.nic;
    c.dll = a.dll;
    if (!c.lib) {
        fprintf(stderr, "wlcfg: adapter %s: cannot load its library %s\n", a.nic.c_str(), a.dll.c_str());
        return EXIT_FAILED;
    }
    int rc = CALL(c, FnStrSet, "WLCurrentNICSet", a.nic.c_str(), (DWORD)a.nic.size());
    return rc == WL_SUCCESS ? EXIT_OK : Refused(c, "WLCurrentNICSet", rc);
}

static int SelectWanted(Context &c)
{
    std::vector<Adapter> all = ListAdapters();
    for (const Adapter &a : all)
        if (c.nicWanted.empty() || c.nicWanted == a.nic) return Select(c, a);
    fprintf(stderr, c.nicWanted.empty() ? "wlcfg: no adapter of the family\n" : "wlcfg: no adapter %s\n",
            c.nicWanted.c_str());
    return EXIT_FAILED;
}

static std::string Text(Context &c, const char *getter)
{
    char b[300] = "";
    DWORD size = sizeof b - 1;
    if (CALL(c, FnStrGet, getter, b, &size) != WL_SUCCESS) return "";
    return std::string(b, std::min<DWORD>(size, sizeof b - 1)).c_str();
}

static int CmdAdapters(Context &c, const std::vector<std::string> &)
{
    std::vector<Adapter> all = ListAdapters();
    c.j.beginObject().key("adapters").beginArray();
    char line[300];
    snprintf(line, sizeof line, "%-6s %-14s %-7s %-6s %-20s %-17s %-12s %-7s %s\n", "id", "library", "present",
             "mode", "ssid", "bssid", "channel", "signal", "port");
    c.text += line;
    for (const Adapter &a : all) {
        Context s;
        bool selected = Select(s, a) == EXIT_OK;
        int port = 0, mode = -1, channel = 0;
        bool present = selected && CALL(s, FnPInt, "WLPortStatusGet", &port) == WL_SUCCESS;
        unsigned char bssid[6] = {0};
        CommunicationsQualityBuffer q;
        memset(&q, 0, sizeof q);
        q.TS.Type = CommunicationsQualityBufferType;
        q.TS.Size = sizeof q;
        std::string ssid;
        bool haveQ = false;
        if (present) {
            CALL(s, FnPInt, "WLConnectionModeGet", &mode);
            CALL(s, FnPInt, "WLCurrentChannelGet", &channel);
            CALL(s, FnPtr, "WLCurrentBSSIDGet", bssid);
            ssid = Text(s, "WLCurrentSSIDGet");
            haveQ = CALL(s, FnPtr, "WLCommunicationsQualityGet", &q) == WL_SUCCESS;
        }
        const char *band = channel > 14 ? "5 GHz" : "2.4 GHz";
        c.j.beginObject().field("id", a.nic).field("library", a.dll).field("present", present);
        if (present) {
            c.j.field("mode", ModeWord(mode)).field("ssid", ssid).field("bssid", MacText(bssid));
            c.j.field("channel", channel).field("band", band);
            if (haveQ) c.j.field("signalDbm", (int)q.Signal).field("noiseDbm", (int)q.Noise);
            else c.j.key("signalDbm").null().key("noiseDbm").null();
            c.j.field("portStatus", port).field("portStatusText", PortStatusWord(port));
        }
        c.j.endObject();
        char ch[20], sig[12];
        snprintf(ch, sizeof ch, "%d %s", channel, band);
        snprintf(sig, sizeof sig, haveQ ? "%d dBm" : "-", (int)q.Signal);
        snprintf(line, sizeof line, "%-6s %-14s %-7s %-6s %-20s %-17s %-12s %-7s %s\n", a.nic.c_str(),
                 a.dll.c_str(), present ? "yes" : "no", present ? ModeWord(mode) : "-",
                 present ? ssid.c_str() : "-", present ? MacText(bssid).c_str() : "-", present ? ch : "-",
                 present ? sig : "-", present ? PortStatusWord(port) : "-");
        c.text += line;
    }
    c.j.endArray().endObject();
    return EXIT_OK;
}

/* ---- show / set --------------------------------------------------------- */

static bool ReadSetting(Context &c, const Setting &s, std::string *textOut, long *num, int *rc)
{
    if (s.text) {
        char b[300] = "";
        DWORD size = sizeof b - 1;
        *rc = CALL(c, FnStrGet, s.getter, b, &size);
        *textOut = std::string(b, std::min<DWORD>(size, sizeof b - 1)).c_str();
    } else {
        int v = 0;
        *rc = CALL(c, FnPInt, s.getter, &v);
        *num = v;
    }
    return *rc == WL_SUCCESS;
}

static int CmdShow(Context &c, const std::vector<std::string> &args)
{
    if (SelectWanted(c)) return EXIT_FAILED;
    size_t n;
    const Setting *all = Settings(&n);
    if (!args.empty()) {
        const Setting *s = FindSetting(args[0]);
        if (!s) {
            fprintf(stderr, "wlcfg: no setting %s (wlcfg help show)\n", args[0].c_str());
            return EXIT_USAGE;
        }
        all = s;
        n = 1;
    }
    c.j.beginObject().field("adapter", c.nic).key("settings").beginObject();
    for (size_t i = 0; i < n; i++) {
        std::string t;
        long v = 0;
        int rc;
        if (!Fn(c, all[i].getter)) continue;
        bool ok = ReadSetting(c, all[i], &t, &v, &rc);
        if (!ok && n == 1) return Refused(c, all[i].getter, rc);
        char line[400];
        if (!ok) {
            c.j.key(all[i].name).null();
            snprintf(line, sizeof line, "%-22s (not available: code %d)\n", all[i].name, rc);
        } else if (all[i].text) {
            c.j.field(all[i].name, t);
            snprintf(line, sizeof line, "%-22s \"%s\"\n", all[i].name, t.c_str());
        } else {
            c.j.field(all[i].name, (long long)v);
            snprintf(line, sizeof line, "%-22s %ld\n", all[i].name, v);
        }
        c.text += line;
    }
    c.j.endObject().endObject();
    return EXIT_OK;
}

static int CmdSet(Context &c, const std::vector<std::string> &args)
{
    const Setting *s = FindSetting(args[0]);
    if (!s) {
        fprintf(stderr, "wlcfg: no setting %s (wlcfg help show)\n", args[0].c_str());
        return EXIT_USAGE;
    }
    if (!s->setter) {
        fprintf(stderr, "wlcfg: %s is read only\n", s->name);
        return EXIT_USAGE;
    }
    long v = 0;
    if (!s->text && !ParseInt(args[1], -2147483647L - 1, 2147483647L, &v)) {
        fprintf(stderr, "wlcfg: %s takes a number\n", s->name);
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    if (!Fn(c, s->setter)) return Missing(s->setter);
    int rc = s->text ? CALL(c, FnStrSet, s->setter, args[1].c_str(), (DWORD)args[1].size())
                     : CALL(c, FnInt, s->setter, (int)v);
    if (rc != WL_SUCCESS) return Refused(c, s->setter, rc);
    c.j.beginObject().field("adapter", c.nic).field("setting", s->name);
    if (s->text) c.j.field("value", args[1]);
    else c.j.field("value", (long long)v);
    c.j.endObject();
    c.text += std::string(s->name) + " set to " + args[1] + "\n";
    return EXIT_OK;
}

/* ---- scan -------------------------------------------------------------- */

struct Network {
    std::string ssid;
    unsigned char bssid[6];
    int channel, signal, noise;
    int capability;
    double rate; /* probe answer's rate, channel selection scan only */
    bool known;  /* suites known (from elements) */
    Suites suites;
    const char *from; /* where the security words come from */
};

/* The suites of the joined network: the elements of the association
 * request the adapter sent, record 0xFD8C read whole. False when there is
 * no such link or record. */
static bool JoinedSuites(Context &c, unsigned char bssid[6], Suites *out)
{
    int port = 0;
    if (CALL(c, FnPInt, "WLPortStatusGet", &port) != WL_SUCCESS || port != 4) return false;
    if (CALL(c, FnPtr, "WLCurrentBSSIDGet", bssid) != WL_SUCCESS) return false;
    enum { WORDS = 256 };
    static uint16_t rec[2 + WORDS];
    memset(rec, 0, sizeof rec);
    rec[0] = WL_LTV_LEN(WORDS);
    rec[1] = 0xFD8C;
    typedef int(WINAPI * GenericGet)(WL_LTV *);
    if (CALL(c, GenericGet, "WLGenericGet", (WL_LTV *)rec) != WL_SUCCESS || rec[0] < 2) return false;
    const size_t words = std::min<size_t>(rec[0] - 1u, WORDS);
    return AssocRequestSuites((const uint8_t *)(rec + 2), 2 * words, out);
}

/* The synchronous scan: every answer's capability word, no elements. */
static int SyncScan(Context &c, std::vector<Network> *out)
{
    int num = 0;
    int rc = CALL(c, FnPInt, "WLScanNetworkGet", &num);
    if (rc != WL_SUCCESS) return Refused(c, "WLScanNetworkGet", rc);
    typedef int(WINAPI * ResultGet)(ScanResultBuffer *, int);
    for (int i = 1; i <= num; i++) {
        ScanResultBuffer r;
        memset(&r, 0, sizeof r);
        r.TS.Type = ScanResultBufferType;
        r.TS.Size = sizeof r;
        rc = CALL(c, ResultGet, "WLScanNetworkResultGet", &r, i);
        if (rc != WL_SUCCESS) return Refused(c, "WLScanNetworkResultGet", rc);
        Network n = Network();
        r.SSID[sizeof r.SSID - 1] = 0;
        n.ssid = r.SSID;
        memcpy(n.bssid, r.BSSID, 6);
        n.channel = r.Channel;
        n.signal = r.FirstLevel;
        n.noise = r.SecondLevel;
        n.capability = r.SecondWord & 0xFFFF;
        n.from = "capability";
        out->push_back(n);
    }
    return EXIT_OK;
}

/* The channel selection scan through a mailbox client of type 18, as the
 * profile page runs it: every 2.4 GHz and 5 GHz channel, probes at 2 and
 * 6 Mbit/s, WLMBGet every 50 ms until complete or full, 3 seconds at most.
 * The library prints its walk of each answer's elements to standard output;
 * that goes to a file during each read and is matched to the entries the
 * read added. */
static int AcsScan(Context &c, std::vector<Network> *out)
{
    int index = 0;
    int rc = CALL(c, FnPInt, "WLMBLogon", &index);
    if (rc != WL_SUCCESS) return Refused(c, "WLMBLogon", rc);
    const int cap = 32;
    std::vector<unsigned char> mem(MB_BUFFER_SIZE(cap, MBACSScanEntry));
    MBBufferHeader *h = (MBBufferHeader *)mem.data();
    MBACSScanEntry *e = (MBACSScanEntry *)(h + 1);
    h->TS.Type = MBACSScanBufferType;
    h->TS.Size = (uint32_t)mem.size();
    h->Capacity = cap;
    typedef int(WINAPI * MBSet)(void *, int);
    typedef int(WINAPI * AbgScan)(const char *, DWORD, const Channel2GHzBuffer *, const Channel5GHzBuffer *,
                                  const DataRate2GHzBuffer *, const DataRate5GHzBuffer *);
    rc = CALL(c, MBSet, "WLMBSet", h, index);
    if (rc != WL_SUCCESS) {
        CALL(c, FnInt, "WLMBLogoff", index);
        return Refused(c, "WLMBSet", rc);
    }
    Channel2GHzBuffer c2 = {{Channel2GHzBufferType, sizeof c2}, {0x3FFF, 0}};
    Channel5GHzBuffer c5 = {{Channel5GHzBufferType, sizeof c5}, {0xFFFFFFFFu, 0x0007, 0}};
    DataRate2GHzBuffer r2 = {{DataRate2GHzBufferType, sizeof r2}, {0x0002, 0}};
    DataRate5GHzBuffer r5 = {{DataRate5GHzBufferType, sizeof r5}, {0x0010, 0}};
    rc = CALL(c, AbgScan, "WLMBActionACSABGScan", "", 0, &c2, &c5, &r2, &r5);
    if (rc != WL_SUCCESS) {
        CALL(c, FnInt, "WLMBLogoff", index);
        return Refused(c, "WLMBActionACSABGScan", rc);
    }
    char dir[MAX_PATH], walkFile[MAX_PATH];
    bool capture = GetTempPathA(sizeof dir, dir) && GetTempFileNameA(dir, "wlc", 0, walkFile);
    fflush(stdout);
    capture = capture && freopen(walkFile, "w+b", stdout) != NULL;
    struct Read {
        long from, to;
        int first, count;
    };
    std::vector<Read> reads;
    const DWORD start = GetTickCount();
    bool done = false;
    while (!done) {
        const int before = std::min(h->Count, cap);
        const long from = capture ? ftell(stdout) : 0;
        CALL(c, FnV, "WLMBGet");
        fflush(stdout);
        const int after = std::min(h->Count, cap);
        if (after > before) reads.push_back({from, capture ? ftell(stdout) : 0, before, after - before});
        done = h->Complete || h->Overflow || GetTickCount() - start >= 3000;
        if (!done) Sleep(50);
    }
    CALL(c, FnInt, "WLMBLogoff", index);
    std::string walk;
    if (capture) {
        fflush(stdout);
        long size = ftell(stdout);
        walk.resize(size > 0 ? (size_t)size : 0);
        fseek(stdout, 0, SEEK_SET);
        if (!walk.empty() && fread(&walk[0], 1, walk.size(), stdout) != walk.size()) walk.clear();
    }
    FILE *nul = freopen("NUL", "w", stdout); /* the tool writes through its own handle */
    (void)nul;
    if (capture) DeleteFileA(walkFile);
    if (!h->Complete && !h->Overflow) {
        fprintf(stderr, "wlcfg: the channel selection scan did not complete within 3 seconds\n");
        return EXIT_FAILED;
    }
    const int count = std::min(h->Count, cap);
    for (int k = 0; k < count; k++) {
        Network n = Network();
        e[k].SSID[sizeof e[k].SSID - 1] = 0;
        n.ssid = e[k].SSID;
        memcpy(n.bssid, e[k].BSSID, 6);
        n.channel = e[k].FirstWord;
        n.signal = e[k].FirstLevel;
        n.noise = e[k].SecondLevel;
        n.capability = e[k].ThirdWord;
        n.rate = e[k].Rate;
        n.from = "capability";
        out->push_back(n);
    }
    /* A read's walk belongs to its entries when it splits into one part per
     * entry, each with the entry's SSID; otherwise the suites stay unknown. */
    for (const Read &r : reads) {
        if (r.to > (long)walk.size() || r.from > r.to) continue;
        std::vector<WalkChunk> chunks;
        if (!SplitWalk(walk.substr(r.from, r.to - r.from), &chunks) || (int)chunks.size() != r.count) continue;
        bool match = true;
        for (int k = 0; k < r.count; k++) match = match && chunks[k].ssid == (*out)[r.first + k].ssid;
        for (int k = 0; match && k < r.count; k++) {
            Network &n = (*out)[r.first + k];
            n.suites = WalkSuites(chunks[k].text);
            n.known = true;
            n.from = "elements";
        }
    }
    return EXIT_OK;
}

static int CmdScan(Context &c, const std::vector<std::string> &args)
{
    const bool acs = !args.empty() && args[0] == "--acs";
    if (!args.empty() && !acs) {
        fprintf(stderr, "usage: wlcfg scan [--acs]\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    std::vector<Network> nets;
    if ((acs ? AcsScan : SyncScan)(c, &nets)) return EXIT_FAILED;
    unsigned char joined[6] = {0};
    Suites js;
    const bool haveJoined = JoinedSuites(c, joined, &js);
    c.j.beginObject().field("adapter", c.nic).field("mode", acs ? "channel selection" : "synchronous");
    c.j.key("networks").beginArray();
    char line[300];
    snprintf(line, sizeof line, "%-20s %-17s %-12s %-7s %-6s %-5s %s\n", "ssid", "bssid", "channel", "signal", "noise",
             "kind", "security");
    c.text += line;
    for (Network &n : nets) {
        if (!n.known && haveJoined && memcmp(n.bssid, joined, 6) == 0) {
            n.suites = js;
            n.known = true;
            n.from = "association request";
        }
        const bool privacy = (n.capability & 0x10) != 0;
        const std::string sec = SecurityWords(privacy, n.known ? &n.suites : nullptr);
        const char *kind = n.capability & 1 ? "ap" : "peer";
        const char *band = n.channel > 14 ? "5 GHz" : "2.4 GHz";
        c.j.beginObject().field("ssid", n.ssid).field("bssid", MacText(n.bssid)).field("channel", n.channel);
        c.j.field("band", band).field("signalDbm", n.signal).field("noiseDbm", n.noise).field("kind", kind);
        c.j.field("privacy", privacy).field("security", sec).field("securityFrom", n.from);
        if (acs) c.j.field("rateMbps", n.rate);
        c.j.endObject();
        char ch[20];
        snprintf(ch, sizeof ch, "%d %s", n.channel, band);
        snprintf(line, sizeof line, "%-20s %-17s %-12s %-7d %-6d %-5s %s\n", n.ssid.c_str(), MacText(n.bssid).c_str(),
                 ch, n.signal, n.noise, kind, sec.c_str());
        c.text += line;
    }
    c.j.endArray().endObject();
    return EXIT_OK;
}

/* ---- profiles ------------------------------------------------------------ */

static std::vector<std::string> Walk(Context &c, const char *first, const char *next)
{
    std::vector<std::string> out;
    char b[64];
    DWORD size = sizeof b;
    for (int rc = CALL(c, FnStrGet, first, b, &size); rc == WL_SUCCESS && out.size() < 1000;
         rc = CALL(c, FnStrGet, next, b, &size)) {
        out.push_back(std::string(b, std::min<DWORD>(size, sizeof b)).c_str());
        size = sizeof b;
    }
    return out;
}

static const char kProfileRoot[] = "Software\\Wireless\\Driver\\";

/* The keys of a stored profile: the library hands out only their lengths,
 * so they are decoded from the stored coded record. */
static void StoredKeys(const std::string &name, Profile *p)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kProfileRoot + name).c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
        return;
    char text[300];
    DWORD size = sizeof text - 1, type;
    LONG rc = RegQueryValueExA(h, "Encryption", NULL, &type, (BYTE *)text, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return;
    text[size] = 0;
    unsigned char rec[WEP_KEY_RECORD_SIZE];
    if (WEPDecode(CRYPT_CODE, rec, sizeof rec, text) != WEP_KEY_RECORD_SIZE) return;
    for (int i = 0; i < 4; i++) {
        const unsigned char *slot = rec + 12 + 16 * i;
        int len = slot[0] | slot[1] << 8;
        if (len != 5 && len != 13) continue;
        std::string bytes((const char *)slot + 2, len);
        bool printable = true;
        for (unsigned char ch : bytes)
            if (ch < 0x20 || ch > 0x7E) printable = false;
        p->keys[i].hex = !printable;
        p->keys[i].text = printable ? bytes : HexOf(bytes);
    }
}

static int LoadProfile(Context &c, const std::string &name, Profile *p)
{
    int rc = CALL(c, FnStrSet, "WLCurrentProfileByNameGet", name.c_str(), (DWORD)name.size());
    if (rc != WL_SUCCESS) return Refused(c, "WLCurrentProfileByNameGet", rc);
    int v = 0;
    p->name = Text(c, "WLCurrentProfileNameGet");
    if (p->name.empty()) p->name = name;
    p->ssid = Text(c, "WLCurrentProfileDesiredSSIDGet");
    CALL(c, FnPInt, "WLCurrentProfileConnectionModeGet", &p->mode);
    CALL(c, FnPInt, "WLCurrentProfileAuthenticationGet", &p->auth);
    CALL(c, FnPInt, "WLCurrentProfileEncryptionEnabledGet", &v);
    p->encryption = v != 0;
    CALL(c, FnPInt, "WLCurrentProfileEncryptionActiveKeyGet", &p->txKey);
    if (p->encryption) StoredKeys(name, p);
    return EXIT_OK;
}

/* Stores a profile through the library, all or nothing as far as the
 * library lets: every value is set on the current profile first. */
static int StoreProfile(Context &c, const Profile &p)
{
    std::string why;
    if (!ValidProfile(p, &why)) {
        fprintf(stderr, "wlcfg: %s\n", why.c_str());
        return EXIT_FAILED;
    }
    CALL(c, FnV, "WLProfileIns");
    struct Step {
        const char *name;
        int rc;
    } steps[] = {
        {"WLCurrentProfileNameSet", CALL(c, FnStrSet, "WLCurrentProfileNameSet", p.name.c_str(), (DWORD)p.name.size())},
        {"WLCurrentProfileDesiredSSIDSet",
         CALL(c, FnStrSet, "WLCurrentProfileDesiredSSIDSet", p.ssid.c_str(), (DWORD)p.ssid.size())},
        {"WLCurrentProfileConnectionModeSet", CALL(c, FnInt, "WLCurrentProfileConnectionModeSet", p.mode)},
        {"WLCurrentProfileAuthenticationSet", CALL(c, FnInt, "WLCurrentProfileAuthenticationSet", p.auth)},
    };
    for (const Step &s : steps)
        if (s.rc != WL_SUCCESS) return Refused(c, s.name, s.rc);
    typedef int(WINAPI * KeySet)(int, int, const char *, DWORD);
    for (int i = 0; i < 4; i++) {
        int rc = CALL(c, KeySet, "WLCurrentProfileEncryptionKeySet", i, p.keys[i].hex ? WL_KEYHEX : WL_KEYASC,
                      p.keys[i].text.c_str(), (DWORD)p.keys[i].text.size());
        if (rc != WL_SUCCESS) return Refused(c, "WLCurrentProfileEncryptionKeySet", rc);
    }
    int rc = CALL(c, FnInt, "WLCurrentProfileEncryptionActiveKeySet", p.txKey);
    if (rc != WL_SUCCESS) return Refused(c, "WLCurrentProfileEncryptionActiveKeySet", rc);
    rc = CALL(c, FnInt, "WLCurrentProfileEncryptionEnabledSet", p.encryption ? 1 : 0);
    if (rc != WL_SUCCESS) return Refused(c, "WLCurrentProfileEncryptionEnabledSet", rc);
    rc = CALL(c, FnStrSet, "WLCurrentProfileByNameSet", p.name.c_str(), (DWORD)p.name.size());
    if (rc != WL_SUCCESS) return Refused(c, "WLCurrentProfileByNameSet", rc);
    return EXIT_OK;
}

static void ProfileJson(JsonWriter &j, const Profile &p, bool withKeys)
{
    j.beginObject().field("name", p.name).field("ssid", p.ssid).field("mode", ModeWord(p.mode));
    j.field("authentication", AuthWord(p.auth)).field("encryption", p.encryption).field("txKey", p.txKey);
    j.key("keys").beginArray();
    for (int i = 0; i < 4; i++) {
        j.beginObject().field("length", (int)p.keys[i].text.size()).field("form", p.keys[i].hex ? "hex" : "text");
        if (withKeys) j.field("value", p.keys[i].text);
        j.endObject();
    }
    j.endArray().endObject();
}

/* profiles set NAME FIELD VALUE / create NAME SSID [FIELD VALUE]... */
static bool ApplyField(Profile *p, const std::string &f, const std::string &v, std::string *why)
{
    long n;
    if (f == "ssid") p->ssid = v;
    else if (f == "mode") {
        if (v == "ess") p->mode = MODE_ESS;
        else if (v == "ibss") p->mode = MODE_IBSS;
        else if (v == "softap") p->mode = MODE_SOFTAP;
        else return *why = "mode: ess, ibss or softap", false;
    } else if (f == "auth") {
        if (v == "auto") p->auth = AUTH_AUTO;
        else if (v == "open") p->auth = AUTH_OPEN;
        else if (v == "shared") p->auth = AUTH_SHARED;
        else return *why = "auth: auto, open or shared", false;
    } else if (f == "encryption") {
        if (v == "on") p->encryption = true;
        else if (v == "off") p->encryption = false;
        else return *why = "encryption: on or off", false;
    } else if (f == "txkey") {
        if (!ParseInt(v, 0, 3, &n)) return *why = "txkey: 0 to 3", false;
        p->txKey = (int)n;
    } else if (f.size() == 4 && f.compare(0, 3, "key") == 0 && f[3] >= '0' && f[3] <= '3') {
        WepKey k;
        if (v.compare(0, 4, "hex:") == 0) {
            k.hex = true;
            k.text = v.substr(4);
        } else {
            k.text = v;
        }
        if (!ValidWepKey(k)) return *why = f + ": 5 or 13 characters, or hex: and 10 or 26 digits", false;
        p->keys[f[3] - '0'] = k;
    } else {
        return *why = "unknown field " + f + " (ssid, mode, auth, encryption, txkey, key0..key3)", false;
    }
    return true;
}

static int CmdProfiles(Context &c, const std::vector<std::string> &args)
{
    const std::string &sub = args[0];
    const size_t n = args.size();
    bool ok = (sub == "list" && n == 1) || ((sub == "show" || sub == "delete" || sub == "activate") && n == 2) ||
              (sub == "create" && n >= 3 && n % 2 == 1) || (sub == "set" && n >= 4 && n % 2 == 0);
    if (!ok) {
        fprintf(stderr, "usage: wlcfg profiles list|show NAME|create NAME SSID [FIELD VALUE]...|"
                        "set NAME FIELD VALUE [FIELD VALUE]...|delete NAME|activate NAME\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    if (sub == "list") {
        std::vector<std::string> names = Walk(c, "WLFirstProfileByNameGet", "WLNextProfileByNameGet");
        c.j.beginObject().key("profiles").beginArray();
        for (const std::string &s : names) {
            c.j.value(s);
            c.text += s + "\n";
        }
        c.j.endArray().endObject();
        return EXIT_OK;
    }
    int rc;
    if (sub == "delete" || sub == "activate") {
        const char *fn = sub == "delete" ? "WLProfileByNameDel" : "WLActiveProfileByNameSet";
        rc = CALL(c, FnStrSet, fn, args[1].c_str(), (DWORD)args[1].size());
        if (rc != WL_SUCCESS) return Refused(c, fn, rc);
        c.j.beginObject().field(sub == "delete" ? "deleted" : "activated", args[1]).endObject();
        c.text += "profile " + args[1] + (sub == "delete" ? " deleted\n" : " activated\n");
        return EXIT_OK;
    }
    Profile p;
    std::string why;
    if (sub == "show" || sub == "set") {
        if (LoadProfile(c, args[1], &p)) return EXIT_FAILED;
    } else {
        p.name = args[1];
        p.ssid = args[2];
    }
    for (size_t i = sub == "create" ? 3 : 2; i + 1 < n; i += 2)
        if (!ApplyField(&p, args[i], args[i + 1], &why)) {
            fprintf(stderr, "wlcfg: %s\n", why.c_str());
            return EXIT_USAGE;
        }
    if (sub != "show" && StoreProfile(c, p)) return EXIT_FAILED;
    ProfileJson(c.j, p, false);
    char line[400];
    snprintf(line, sizeof line, "name            %s\nssid            %s\nmode            %s\nauthentication  %s\n"
                                "encryption      %s\ntransmit key    %d\n",
             p.name.c_str(), p.ssid.c_str(), ModeWord(p.mode), AuthWord(p.auth), p.encryption ? "on" : "off", p.txKey);
    c.text += line;
    for (int i = 0; i < 4; i++) {
        snprintf(line, sizeof line, "key %d           %s\n", i,
                 p.keys[i].text.empty() ? "-" : (std::string(p.keys[i].text.size(), '*') +
                                                 (p.keys[i].hex ? " (hex)" : " (text)")).c_str());
        c.text += line;
    }
    return EXIT_OK;
}

static int CmdPreferred(Context &c, const std::vector<std::string> &args)
{
    const std::string &sub = args[0];
    if (!((sub == "list" || sub == "clear") ? args.size() == 1 : sub == "set" && args.size() >= 2)) {
        fprintf(stderr, "usage: wlcfg preferred list|set NAME...|clear\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    if (sub == "set") {
        for (size_t i = 1; i < args.size(); i++) {
            const char *fn = i == 1 ? "WLFirstPreferredProfileByNameSet" : "WLNextPreferredProfileByNameSet";
            int rc = CALL(c, FnStrSet, fn, args[i].c_str(), (DWORD)args[i].size());
            if (rc != WL_SUCCESS) return Refused(c, fn, rc);
        }
    } else if (sub == "clear") {
        CALL(c, FnV, "WLAllPreferredProfileDel");
    }
    std::vector<std::string> names = Walk(c, "WLFirstPreferredProfileByNameGet", "WLNextPreferredProfileByNameGet");
    c.j.beginObject().field("adapter", c.nic).key("preferred").beginArray();
    for (const std::string &s : names) {
        c.j.value(s);
        c.text += s + "\n";
    }
    c.j.endArray().endObject();
    return EXIT_OK;
}

/* ---- link test ----------------------------------------------------------- */

static int CmdLinkTest(Context &c, const std::vector<std::string> &args)
{
    unsigned char dest[6];
    long count = 10, interval = 200;
    bool ok = ParseMac(args[0], dest);
    for (size_t i = 1; ok && i < args.size(); i += 2) {
        if (i + 1 >= args.size()) ok = false;
        else if (args[i] == "-n") ok = ParseInt(args[i + 1], 1, 1000, &count);
        else if (args[i] == "-i") ok = ParseInt(args[i + 1], 10, 10000, &interval);
        else ok = false;
    }
    if (!ok) {
        fprintf(stderr, "usage: wlcfg linktest BSSID [-n COUNT 1..1000] [-i MS 10..10000]\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    int index = 0;
    int rc = CALL(c, FnPInt, "WLMBLogon", &index);
    if (rc != WL_SUCCESS) return Refused(c, "WLMBLogon", rc);
    const int cap = 4;
    std::vector<unsigned char> mem(MB_BUFFER_SIZE(cap, MBLinkTestEntry));
    MBBufferHeader *h = (MBBufferHeader *)mem.data();
    MBLinkTestEntry *e = (MBLinkTestEntry *)(h + 1);
    h->TS.Type = MBLinkTestBufferType;
    h->TS.Size = (uint32_t)mem.size();
    h->Capacity = cap;
    typedef int(WINAPI * MBSet)(void *, int);
    typedef int(WINAPI * LinkTest)(const unsigned char *, DWORD);
    rc = CALL(c, MBSet, "WLMBSet", h, index);
    if (rc != WL_SUCCESS) return Refused(c, "WLMBSet", rc);
    CALL(c, FnV, "WLConnect");
    std::vector<double> rtts;
    std::vector<bool> answered(count, false);
    std::vector<LARGE_INTEGER> sentAt(count);
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    MBLinkTestEntry last;
    memset(&last, 0, sizeof last);
    bool haveLast = false;
    /* request k carries ID k + 1; answers are matched by their ID */
    auto drain = [&](void) {
        CALL(c, FnV, "WLMBGet");
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        for (int k = 0; k < h->Count && k < cap; k++) {
            long id = e[k].ID - 1;
            if (id >= 0 && id < count && !answered[id] && sentAt[id].QuadPart) {
                answered[id] = true;
                rtts.push_back(1000.0 * (now.QuadPart - sentAt[id].QuadPart) / freq.QuadPart);
                last = e[k];
                haveLast = true;
            }
        }
        h->Count = 0;
        h->NewData = h->Complete = h->Overflow = 0;
    };
    int failed = WL_SUCCESS;
    for (long k = 0; k < count; k++) {
        QueryPerformanceCounter(&sentAt[k]);
        rc = CALL(c, LinkTest, "WLMBActionLinkTest", dest, (DWORD)(k + 1));
        if (rc != WL_SUCCESS) {
            failed = rc;
            break;
        }
        DWORD start = GetTickCount();
        do {
            Sleep(10);
            drain();
        } while (GetTickCount() - start < (DWORD)interval);
    }
    /* late answers: one more interval, at least a second */
    DWORD start = GetTickCount();
    while (GetTickCount() - start < (DWORD)std::max<long>(interval, 1000)) {
        Sleep(10);
        drain();
    }
    CALL(c, FnV, "WLDisconnect");
    CALL(c, FnInt, "WLMBLogoff", index);
    if (failed != WL_SUCCESS) return Refused(c, "WLMBActionLinkTest", failed);
    LinkStats s = LinkStatsOf((int)count, rtts);
    c.j.beginObject().field("adapter", c.nic).field("destination", MacText(dest)).field("sent", s.sent);
    c.j.field("received", s.received).field("lossPercent", s.lossPercent);
    if (s.received) {
        c.j.key("rttMs").beginObject().field("min", s.rttMin).field("median", s.rttMedian).field("max", s.rttMax).endObject();
        c.j.key("local").beginObject().field("signalDbm", (int)last.LocalLevel10).field("noiseDbm", (int)last.LocalLevel11)
            .field("rateMbps", (double)last.LocalRate).endObject();
        c.j.key("remote").beginObject().field("signalDbm", (int)last.RemoteLevel120).field("noiseDbm", (int)last.RemoteLevel121)
            .field("rateMbps", (double)last.RemoteRate).endObject();
    } else {
        c.j.key("rttMs").null().key("local").null().key("remote").null();
    }
    c.j.endObject();
    char line[300];
    snprintf(line, sizeof line, "%d sent, %d received, %.1f%% loss\n", s.sent, s.received, s.lossPercent);
    c.text += line;
    if (s.received && haveLast) {
        snprintf(line, sizeof line, "round trip min/median/max %.1f/%.1f/%.1f ms\n", s.rttMin, s.rttMedian, s.rttMax);
        c.text += line;
        snprintf(line, sizeof line, "local  signal %d dBm, noise %d dBm, rate %.1f Mb/s\n", (int)last.LocalLevel10,
                 (int)last.LocalLevel11, (double)last.LocalRate);
        c.text += line;
        snprintf(line, sizeof line, "remote signal %d dBm, noise %d dBm, rate %.1f Mb/s\n", (int)last.RemoteLevel120,
                 (int)last.RemoteLevel121, (double)last.RemoteRate);
        c.text += line;
    }
    return EXIT_OK;
}

/* ---- country ------------------------------------------------------------- */

typedef int(WINAPI *FnCC)(char *);
typedef int(WINAPI *FnName)(const char *, char *, DWORD *);

static int CmdCountry(Context &c, const std::vector<std::string> &args)
{
    const std::string &sub = args[0];
    if (!((sub == "list" || sub == "show") ? args.size() == 1 : sub == "set" && args.size() == 2)) {
        fprintf(stderr, "usage: wlcfg country list|show|set CC\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    if (sub == "list") {
        c.j.beginObject().key("countries").beginArray();
        char cc[8] = "";
        for (int rc = CALL(c, FnCC, "WLCountryFirstCountryCodeGet", cc), n = 0; rc == WL_SUCCESS && n < 400;
             rc = CALL(c, FnCC, "WLCountryNextCountryCodeGet", cc), n++) {
            cc[sizeof cc - 1] = 0;
            char name[128] = "";
            DWORD size = sizeof name - 1;
            if (CALL(c, FnName, "WLCountryEnglishNameGet", cc, name, &size) != WL_SUCCESS) name[0] = 0;
            c.j.beginObject().field("code", cc).field("name", name).endObject();
            c.text += std::string(cc) + "  " + name + "\n";
        }
        c.j.endArray().endObject();
        return EXIT_OK;
    }
    if (sub == "set") {
        int rc = CALL(c, FnStrSet, "WLCountryCurrentCountryCodeSet", args[1].c_str(), (DWORD)args[1].size());
        if (rc != WL_SUCCESS) return Refused(c, "WLCountryCurrentCountryCodeSet", rc);
    }
    char cc[8] = "", env[4] = "";
    typedef int(WINAPI * CurGet)(char *, char *);
    int rc = CALL(c, CurGet, "WLCountryCurrentCountryCodeGet", cc, env);
    if (rc != WL_SUCCESS) return Refused(c, "WLCountryCurrentCountryCodeGet", rc);
    cc[sizeof cc - 1] = 0;
    env[1] = 0;
    c.j.beginObject().field("adapter", c.nic).field("country", cc).field("environment", env).endObject();
    c.text += std::string("country ") + cc + ", environment " + (env[0] ? env : "-") + "\n";
    return EXIT_OK;
}

/* ---- log markers ------------------------------------------------------- */

static int CmdLog(Context &c, const std::vector<std::string> &args)
{
    const std::string &sub = args[0];
    static const char *const kMarkers[] = {"\\wllog.txt", "\\wlerr.txt"};
    if (sub == "on") {
        for (const char *m : kMarkers) {
            HANDLE h = CreateFileA(m, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (h == INVALID_HANDLE_VALUE) {
                fprintf(stderr, "wlcfg: cannot create %s (error %lu)\n", m, (unsigned long)GetLastError());
                return EXIT_FAILED;
            }
            CloseHandle(h);
        }
    } else if (sub == "off") {
        for (const char *m : kMarkers) DeleteFileA(m);
    } else if (sub != "show") {
        fprintf(stderr, "usage: wlcfg log on|off|show\n");
        return EXIT_USAGE;
    }
    bool trace = GetFileAttributesA(kMarkers[0]) != INVALID_FILE_ATTRIBUTES;
    bool errors = GetFileAttributesA(kMarkers[1]) != INVALID_FILE_ATTRIBUTES;
    c.j.beginObject().field("trace", trace).field("errors", errors).key("files").beginArray();
    c.text += std::string("trace log ") + (trace ? "on" : "off") + " (\\wllog.txt), error log " +
              (errors ? "on" : "off") + " (\\wlerr.txt)\n";
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA("\\wllog*.txt", &fd);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(fd.cFileName, "wllog.txt") == 0) continue;
            c.j.value(std::string("\\") + fd.cFileName);
            c.text += std::string("  \\") + fd.cFileName + "\n";
        } while (FindNextFileA(f, &fd));
        FindClose(f);
    }
    c.j.endArray().endObject();
    return EXIT_OK;
}

/* ---- export / import ---------------------------------------------------- */

static bool ReadWholeFile(const std::string &path, std::string *out, std::string *why)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE) return *why = "cannot open " + path, false;
    DWORD high = 0, size = GetFileSize(h, &high);
    if (high || size > kMaxImportBytes) {
        CloseHandle(h);
        return *why = path + ": larger than 1 MB", false;
    }
    out->resize(size);
    DWORD got = 0;
    BOOL ok = size == 0 || ReadFile(h, &(*out)[0], size, &got, NULL);
    CloseHandle(h);
    if (!ok || got != size) return *why = "cannot read " + path, false;
    return true;
}

/* export PROFILE [xml|wpa] [FILE] */
static int CmdExport(Context &c, const std::vector<std::string> &args)
{
    std::string form = args.size() > 1 ? args[1] : "xml";
    if (form != "xml" && form != "wpa") {
        fprintf(stderr, "usage: wlcfg export PROFILE [xml|wpa] [FILE]\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    Profile p;
    if (LoadProfile(c, args[0], &p)) return EXIT_FAILED;
    std::string doc, why;
    if (form == "xml") {
        if (!XmlWrite(p, &doc, &why)) {
            fprintf(stderr, "wlcfg: %s\n", why.c_str());
            return EXIT_FAILED;
        }
    } else {
        doc = WpaWrite(p);
    }
    if (args.size() > 2) {
        HANDLE h = CreateFileA(args[2].c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD put = 0;
        bool ok = h != INVALID_HANDLE_VALUE && WriteFile(h, doc.data(), (DWORD)doc.size(), &put, NULL) &&
                  put == doc.size();
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!ok) {
            fprintf(stderr, "wlcfg: cannot write %s\n", args[2].c_str());
            return EXIT_FAILED;
        }
    }
    c.j.beginObject().field("profile", p.name).field("format", form);
    if (args.size() > 2) c.j.field("file", args[2]);
    else c.j.field("document", doc);
    c.j.endObject();
    c.text += args.size() > 2 ? "profile " + p.name + " written to " + args[2] + "\n" : doc;
    return EXIT_OK;
}

/* The profiles of a file: a WLANProfile document or wpa_supplicant blocks. */
static bool ImportedProfiles(const std::string &bytes, std::vector<Profile> *out, std::string *why)
{
    size_t i = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
    while (i < bytes.size() && isspace((unsigned char)bytes[i])) i++;
    const bool xml = i < bytes.size() && bytes[i] == '<';
    const bool utf16 = bytes.size() >= 2 && ((unsigned char)bytes[0] == 0xFF || (unsigned char)bytes[0] == 0xFE);
    if (xml || utf16) {
        std::vector<XmlElement> doc;
        Profile p;
        if (!XmlReadElements(bytes, &doc, why) || !XmlToProfile(doc, &p, why)) return false;
        out->assign(1, p);
        return true;
    }
    return WpaParse(bytes, out, why);
}

static int CmdImport(Context &c, const std::vector<std::string> &args)
{
    std::string bytes, why;
    std::vector<Profile> ps;
    if (!ReadWholeFile(args[0], &bytes, &why) || !ImportedProfiles(bytes, &ps, &why)) {
        fprintf(stderr, "wlcfg: %s: %s; nothing stored\n", args[0].c_str(), why.c_str());
        return EXIT_FAILED;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    c.j.beginObject().key("imported").beginArray();
    for (const Profile &p : ps) {
        if (StoreProfile(c, p)) return EXIT_FAILED;
        c.j.value(p.name);
        c.text += "profile " + p.name + " imported (SSID " + p.ssid + ")\n";
    }
    c.j.endArray().endObject();
    return EXIT_OK;
}

/* ---- hunting ----------------------------------------------------------------- */

/* The adapter's key in the per-NIC store, by the OS type the library reports. */
static std::string NicKey(Context &c, bool *win98)
{
    DWORD os = 0;
    CALL(c, FnPtr, "WLOSTypeGet", &os);
    *win98 = os == OS_WIN98;
    return std::string(*win98 ? "System\\CurrentControlSet\\Services\\Class\\Net\\"
                              : "System\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\") +
           c.nic;
}

static bool ReadNicInt(const std::string &key, const char *name, long *out)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    unsigned char data[32];
    DWORD size = sizeof data - 1, type = 0;
    LONG rc = RegQueryValueExA(h, name, NULL, &type, data, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS) return false;
    if (type == REG_SZ) {
        data[size] = 0;
        *out = strtol((const char *)data, NULL, 10);
    } else {
        DWORD v = 0;
        memcpy(&v, data, size < 4 ? size : 4);
        *out = (long)(int)v;
    }
    return true;
}

/* Writes (or with `remove`, deletes) one threshold in the form the library
 * reads: a 32-bit number on the NT family, decimal text on Windows 98. */
static bool WriteNicInt(const std::string &key, bool win98, const char *name, long v, bool remove)
{
    HKEY h;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL) != ERROR_SUCCESS)
        return false;
    LONG rc;
    if (remove) {
        rc = RegDeleteValueA(h, name);
        if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    } else if (win98) {
        char t[16];
        snprintf(t, sizeof t, "%ld", v);
        rc = RegSetValueExA(h, name, 0, REG_SZ, (const BYTE *)t, (DWORD)strlen(t) + 1);
    } else {
        DWORD d = (DWORD)v;
        rc = RegSetValueExA(h, name, 0, REG_DWORD, (const BYTE *)&d, sizeof d);
    }
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

/* The state of the variant's service program, which the library installs
 * and starts with the first hunting adapter and removes with the last. */
static const char *ServiceStateWord(const std::string &dll, std::string *name)
{
    char n[32];
    if (WLSiblingName(dll.c_str(), WL_SIBLING_SERVICE, "", n, sizeof n) < 0) return "unknown";
    *name = n;
    SC_HANDLE scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_CONNECT);
    if (!scm) return "unknown";
    SC_HANDLE svc = OpenServiceA(scm, n, SERVICE_QUERY_STATUS);
    const DWORD err = svc ? 0 : GetLastError();
    SERVICE_STATUS st;
    const bool ok = svc && QueryServiceStatus(svc, &st);
    if (svc) CloseServiceHandle(svc);
    CloseServiceHandle(scm);
    if (!svc) return err == ERROR_SERVICE_DOES_NOT_EXIST ? "not installed" : "unknown";
    if (!ok) return "unknown";
    switch (st.dwCurrentState) {
    case SERVICE_RUNNING: return "running";
    case SERVICE_STOPPED: return "stopped";
    case SERVICE_START_PENDING: return "starting";
    case SERVICE_STOP_PENDING: return "stopping";
    default: return "paused";
    }
}

/* hunting on|off|status, hunting threshold signal|snr VALUE|none */
static int CmdHunting(Context &c, const std::vector<std::string> &args)
{
    const std::string &sub = args[0];
    long value = 0;
    bool none = false;
    const char *valueName = nullptr;
    if (sub == "threshold" && args.size() == 3) {
        valueName = args[1] == "signal" ? HUNTING_MIN_SIGNAL_VALUE : args[1] == "snr" ? HUNTING_MIN_SNR_VALUE : nullptr;
        none = args[2] == "none";
        bool okValue = none || (args[1] == "signal" ? ParseInt(args[2], -150, 0, &value) : ParseInt(args[2], 0, 100, &value));
        if (!valueName || !okValue) {
            fprintf(stderr, "usage: wlcfg hunting threshold signal DBM(-150..0)|none, or snr DB(0..100)|none\n");
            return EXIT_USAGE;
        }
    } else if (!((sub == "on" || sub == "off" || sub == "status") && args.size() == 1)) {
        fprintf(stderr, "usage: wlcfg hunting on|off|status|threshold signal|snr VALUE|none\n");
        return EXIT_USAGE;
    }
    if (SelectWanted(c)) return EXIT_FAILED;
    bool win98 = false;
    const std::string key = NicKey(c, &win98);
    if (sub == "on" || sub == "off") {
        if (!Fn(c, "WLProfileHuntingSet")) return Missing("WLProfileHuntingSet");
        int rc = CALL(c, FnInt, "WLProfileHuntingSet", sub == "on" ? 1 : 0);
        if (rc != WL_SUCCESS) return Refused(c, "WLProfileHuntingSet", rc);
    } else if (valueName && !WriteNicInt(key, win98, valueName, value, none)) {
        fprintf(stderr, "wlcfg: cannot write %s of adapter %s\n", valueName, c.nic.c_str());
        return EXIT_FAILED;
    }
    long on = 0, sig = 0, snr = 0;
    ReadNicInt(key, "ProfileHunting", &on);
    bool haveSig = ReadNicInt(key, HUNTING_MIN_SIGNAL_VALUE, &sig);
    bool haveSnr = ReadNicInt(key, HUNTING_MIN_SNR_VALUE, &snr);
    c.j.beginObject().field("adapter", c.nic).field("hunting", on == 1);
    if (haveSig) c.j.field("minSignalDbm", (long long)sig);
    else c.j.key("minSignalDbm").null();
    if (haveSnr) c.j.field("minSnrDb", (long long)snr);
    else c.j.key("minSnrDb").null();
    std::string service;
    const char *state = ServiceStateWord(c.dll, &service);
    c.j.field("service", service).field("serviceState", state);
    c.j.endObject();
    c.text += std::string("hunting ") + (on == 1 ? "on" : "off") + "\n";
    c.text += "service         " + service + " " + state + "\n";
    c.text += "minimum signal  " + (haveSig ? std::to_string(sig) + " dBm" : std::string("none")) + "\n";
    c.text += "minimum margin  " + (haveSnr ? std::to_string(snr) + " dB" : std::string("none")) + "\n";
    return EXIT_OK;
}

/* ---- table ----------------------------------------------------------------- */

static int CmdHelp(Context &c, const std::vector<std::string> &args);

static const Command kCommands[] = {
    {"help", CmdHelp, 0, 1, "help [COMMAND]", "the commands, or one command's usage"},
    {"adapters", CmdAdapters, 0, 0, "adapters", "adapters of the family: library, mode, network, signal, port"},
    {"show", CmdShow, 0, 1, "show [SETTING]", "adapter settings by name (all, or one)"},
    {"set", CmdSet, 2, 2, "set SETTING VALUE", "change one adapter setting; the library checks the range"},
    {"scan", CmdScan, 0, 1, "scan [--acs]",
     "scan for networks (--acs: channel selection scan): SSID, BSSID, channel, signal, noise, kind, security"},
    {"profiles", CmdProfiles, 1, 30,
     "profiles list|show|create|set|delete|activate",
     "stored profiles: create NAME SSID [ssid|mode|auth|encryption|txkey|key0..key3 VALUE]..."},
    {"preferred", CmdPreferred, 1, 64, "preferred list|set NAME...|clear", "the adapter's preferred profiles"},
    {"linktest", CmdLinkTest, 1, 5, "linktest BSSID [-n COUNT] [-i MS]",
     "link tests: answers, loss, round trips, both sides' signal and rate"},
    {"hunting", CmdHunting, 1, 3, "hunting on|off|status|threshold signal|snr VALUE|none",
     "profile hunting and its optional link thresholds (signal in dBm, margin over noise in dB)"},
    {"country", CmdCountry, 1, 2, "country list|show|set CC", "country tables and the adapter's country"},
    {"log", CmdLog, 1, 1, "log on|off|show", "the trace and error log marker files"},
    {"export", CmdExport, 1, 3, "export PROFILE [xml|wpa] [FILE]",
     "a profile as a WLANProfile document or a wpa_supplicant network block"},
    {"import", CmdImport, 1, 1, "import FILE", "profiles from a WLANProfile document or wpa_supplicant.conf"},
};
static const size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

static int CmdHelp(Context &c, const std::vector<std::string> &args)
{
    std::string t = HelpText(kCommands, kCommandCount, args.empty() ? "" : args[0]);
    if (t.empty()) {
        fprintf(stderr, "wlcfg: unknown command %s\n", args[0].c_str());
        return EXIT_USAGE;
    }
    c.text += t;
    c.j.beginObject().field("help", t).endObject();
    return EXIT_OK;
}

int main(int argc, char **argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    CommandLine cl;
    std::string why;
    if (!ParseCommandLine(words, kCommands, kCommandCount, &cl, &why)) {
        fprintf(stderr, "wlcfg: %s\n", why.c_str());
        return EXIT_USAGE;
    }
    /* The libraries write their own lines (DLL attach and detach, the element
       walk of scans) to the C runtime's standard output, which they share
       with the tool: that goes to the null device, and the tool writes its
       one document straight to the standard output handle it started with. */
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    fflush(stdout);
    if (!freopen("NUL", "w", stdout)) out = INVALID_HANDLE_VALUE;
    Context c;
    c.json = cl.json;
    c.nicWanted = cl.nic;
    int rc = cl.command->handler(c, cl.args);
    if (rc == EXIT_OK) {
        const std::string doc = c.json ? c.j.text() + "\n" : c.text;
        DWORD put = 0;
        if (out == INVALID_HANDLE_VALUE || !WriteFile(out, doc.data(), (DWORD)doc.size(), &put, NULL))
            fputs(doc.c_str(), stderr);
    }
    return rc;
}
