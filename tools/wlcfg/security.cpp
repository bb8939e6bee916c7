/* Network security in words from capability, elements or the library's walk. */
#include "security.h"

#include <stdio.h>
#include <string.h>

#include "wlcore/ie_parse.h"

static const uint8_t kWpaId[4] = {0x00, 0x50, 0xF2, 0x01};

bool ElementSuites(const uint8_t *ies, size_t n, Suites *out)
{
    *out = Suites();
    if (ies == nullptr) return n == 0;
    /* The WPA element is the first vendor element with the WPA identifier;
     * other vendor elements (WMM and the like) are passed over. */
    size_t pos = 0;
    IeElement el;
    while (pos < n && IeFind(ies + pos, n - pos, IE_ID_VENDOR, &el)) {
        if (el.len >= 4 && memcmp(el.data, kWpaId, 4) == 0) {
            out->wpa = true;
            if (RsnWpaParse(el.data - 2, el.len + 2, IE_ID_VENDOR, &out->wpaGroup, &out->wpaPairwise, &out->wpaAkm,
                            nullptr, nullptr) != IE_WALK_COMPLETE)
                return false;
            break;
        }
        pos = (size_t)(el.data + el.len - ies);
    }
    if (IeFind(ies, n, IE_ID_RSN, &el)) {
        out->rsn = true;
        if (RsnWpaParse(ies, n, IE_ID_RSN, &out->rsnGroup, &out->rsnPairwise, &out->rsnAkm, nullptr, nullptr) !=
            IE_WALK_COMPLETE)
            return false;
    }
    return true;
}

bool AssocRequestSuites(const uint8_t *val, size_t len, Suites *out)
{
    *out = Suites();
    if (val == nullptr || len < ASSOC_REQ_FIXED_LEN) return false;
    const bool reassociation = (val[0] | val[1] << 8) != 0;
    const size_t fixed = ASSOC_REQ_FIXED_LEN + (reassociation ? ASSOC_REQ_AP_LEN : 0);
    if (len < fixed) return false;
    return ElementSuites(val + fixed, len - fixed, out);
}

bool SplitWalk(const std::string &text, std::vector<WalkChunk> *out)
{
    out->clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t end = text.find('\n', i);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(i, end - i);
        if (line.compare(0, 5, "ssid ") == 0) {
            out->push_back(WalkChunk());
            out->back().ssid = line.substr(5);
        } else if (out->empty()) {
            if (!line.empty()) return false;
        } else {
            out->back().text += line + "\n";
        }
        i = end + 1;
    }
    return true;
}

Suites WalkSuites(const std::string &chunk)
{
    Suites s;
    int element = 0;       /* 221 or 48 while in its walk */
    bool wpaOui = false;   /* "oui 0:50:f2" seen in a vendor element */
    bool wpaCounts = false;
    enum { NONE, GROUP, PAIRWISE, AKM } label = NONE;
    size_t i = 0;
    while (i < chunk.size()) {
        size_t end = chunk.find('\n', i);
        if (end == std::string::npos) end = chunk.size();
        const std::string line = chunk.substr(i, end - i);
        i = end + 1;
        unsigned v;
        if (sscanf(line.c_str(), "typ %u", &v) == 1) {
            element = (int)v;
            wpaOui = wpaCounts = false;
            label = NONE;
            if (element == IE_ID_RSN) s.rsn = true;
        } else if (line == "oui 0:50:f2") {
            wpaOui = element == IE_ID_VENDOR;
        } else if (sscanf(line.c_str(), "oui type %x", &v) == 1) {
            wpaCounts = wpaOui && v == 1;
            if (wpaCounts) s.wpa = true;
        } else if (line.compare(0, 16, "group key suite ") == 0) {
            label = GROUP;
        } else if (line.compare(0, 19, "pairwise key suite ") == 0 && line.find("count") == std::string::npos) {
            label = PAIRWISE;
        } else if (line.compare(0, 35, "authenticated management key suite ") == 0 &&
                   line.find("count") == std::string::npos) {
            label = AKM;
        } else if (sscanf(line.c_str(), "map_cs %u", &v) == 1 || sscanf(line.c_str(), "map_akms %u", &v) == 1) {
            const bool rsn = element == IE_ID_RSN;
            if (!rsn && !(element == IE_ID_VENDOR && wpaCounts)) continue;
            const bool akmLine = line.compare(0, 8, "map_akms") == 0;
            if (akmLine && label == AKM) (rsn ? s.rsnAkm : s.wpaAkm) |= IeKeyMgmtSuiteBit((uint8_t)(v > 255 ? 255 : v));
            else if (!akmLine && label == GROUP)
                (rsn ? s.rsnGroup : s.wpaGroup) |= IeCipherSuiteBit((uint8_t)(v > 255 ? 255 : v));
            else if (!akmLine && label == PAIRWISE)
                (rsn ? s.rsnPairwise : s.wpaPairwise) |= IeCipherSuiteBit((uint8_t)(v > 255 ? 255 : v));
        }
    }
    return s;
}

static std::string Ciphers(uint8_t bits)
{
    static const struct {
        uint8_t bit;
        const char *name;
    } kNames[] = {{0x10, "CCMP"}, {0x04, "TKIP"}, {0x08, "WRAP"}, {0x20, "WEP-104"}, {0x02, "WEP-40"}};
    std::string s;
    for (const auto &k : kNames)
        if (bits & k.bit) s += (s.empty() ? "" : "/") + std::string(k.name);
    return s;
}

static std::string OneElement(const char *name, uint8_t group, uint8_t pairwise, uint8_t akm)
{
    std::string s = name;
    if (akm & 0x04) s += (akm & 0x02) ? "-PSK/802.1X" : "-PSK";
    else if (akm & 0x02) s += "-802.1X";
    const std::string g = Ciphers(group);
    std::string p = Ciphers(pairwise);
    if (p.empty()) p = g; /* pairwise "use the group key", or none listed */
    if (!p.empty()) s += " " + p;
    if (!g.empty() && g != p) s += " (group " + g + ")";
    return s;
}

std::string SecurityWords(bool privacy, const Suites *known)
{
    if (known && (known->rsn || known->wpa)) {
        std::string s;
        if (known->rsn) s = OneElement("WPA2", known->rsnGroup, known->rsnPairwise, known->rsnAkm);
        if (known->wpa)
            s += (s.empty() ? "" : ", ") + OneElement("WPA", known->wpaGroup, known->wpaPairwise, known->wpaAkm);
        return s;
    }
    if (!privacy) return "open";
    return known ? "WEP" : "privacy, suites not reported";
}
