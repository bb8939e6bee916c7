#include "profile_io.h"

#include <ctype.h>
#include <string.h>

std::string HexOf(const std::string &bytes)
{
    static const char d[] = "0123456789ABCDEF";
    std::string o;
    for (unsigned char c : bytes) {
        o += d[c >> 4];
        o += d[c & 15];
    }
    return o;
}

static int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool FromHex(const std::string &hex, std::string *bytes)
{
    bytes->clear();
    if (hex.size() % 2) return false;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int a = HexDigit(hex[i]), b = HexDigit(hex[i + 1]);
        if (a < 0 || b < 0) return false;
        *bytes += (char)(a << 4 | b);
    }
    return true;
}

static bool AllHex(const std::string &s)
{
    for (char c : s)
        if (HexDigit(c) < 0) return false;
    return true;
}

bool ValidWepKey(const WepKey &k)
{
    if (k.text.empty()) return true;
    if (k.hex) return (k.text.size() == 10 || k.text.size() == 26) && AllHex(k.text);
    if (k.text.size() != 5 && k.text.size() != 13) return false;
    for (unsigned char c : k.text)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

static const char kKeyRule[] = "a WEP key is 5 or 13 characters or 10 or 26 hexadecimal digits";

bool ValidProfile(const Profile &p, std::string *why)
{
    if (p.name.empty() || p.name.size() > 255 || p.name.find_first_of("\\\0", 0, 2) != std::string::npos) {
        *why = "profile name: 1 to 255 characters without a backslash";
        return false;
    }
    if (p.ssid.size() > 32 || p.ssid.find('\0') != std::string::npos) {
        *why = "SSID: at most 32 bytes, no zero byte";
        return false;
    }
    for (int i = 0; i < 4; i++)
        if (!ValidWepKey(p.keys[i])) {
            *why = "key " + std::to_string(i) + ": " + kKeyRule;
            return false;
        }
    if (p.txKey < 0 || p.txKey > 3) {
        *why = "transmit key: 0 to 3";
        return false;
    }
    if (p.encryption && p.keys[p.txKey].text.empty()) {
        *why = "transmit key " + std::to_string(p.txKey) + " is empty";
        return false;
    }
    return true;
}

/* ---- wpa_supplicant ------------------------------------------------------ */

namespace {

std::string Trim(const std::string &s)
{
    size_t a = 0, b = s.size();
    while (a < b && isspace((unsigned char)s[a])) a++;
    while (b > a && isspace((unsigned char)s[b - 1])) b--;
    return s.substr(a, b - a);
}

/* A string value: "text", P"printf-escaped" or hex digits. */
bool WpaString(const std::string &v, std::string *out, bool *quoted)
{
    *quoted = false;
    if (v.size() >= 2 && v[0] == '"' && v.back() == '"') {
        *out = v.substr(1, v.size() - 2);
        *quoted = true;
        return true;
    }
    if (v.size() >= 3 && v[0] == 'P' && v[1] == '"' && v.back() == '"') {
        out->clear();
        *quoted = true;
        const size_t end = v.size() - 1; /* the closing quote */
        for (size_t i = 2; i < end; i++) {
            char c = v[i];
            if (c != '\\') {
                *out += c;
                continue;
            }
            if (i + 1 >= end) return false;
            c = v[++i];
            switch (c) {
            case 'n': *out += '\n'; break;
            case 'r': *out += '\r'; break;
            case 't': *out += '\t'; break;
            case 'e': *out += '\033'; break;
            case 'x':
                if (i + 2 >= end || HexDigit(v[i + 1]) < 0 || HexDigit(v[i + 2]) < 0) return false;
                *out += (char)(HexDigit(v[i + 1]) << 4 | HexDigit(v[i + 2]));
                i += 2;
                break;
            default: *out += c;
            }
        }
        return true;
    }
    return FromHex(v, out) && !v.empty();
}

struct Block {
    Profile p;
    bool haveSsid = false, haveName = false, haveAuth = false, anyKey = false;
};

bool Refuse(std::string *why, int line, const std::string &text)
{
    *why = "line " + std::to_string(line) + ": " + text;
    return false;
}

bool WpaSetting(Block *b, const std::string &k, const std::string &v, int line, std::string *why)
{
    static const char *const kCannot[] = {"psk", "sae_password", "eap", "identity", "anonymous_identity",
                                          "password", "ca_cert", "client_cert", "private_key",
                                          "private_key_passwd", "phase1", "phase2", "pairwise", "group",
                                          "proto", "ieee80211w", "bssid", "frequency", "wps_disabled"};
    for (const char *c : kCannot)
        if (k == c)
            return Refuse(why, line,
                          "\"" + k + "\" cannot be held by the profile store (it keeps WEP keys only: no WPA "
                          "passphrases, no 802.1X)");
    std::string s;
    bool quoted = false;
    if (k == "ssid") {
        if (!WpaString(v, &s, &quoted)) return Refuse(why, line, "ssid: not a quoted, P\"\" or hex string");
        b->p.ssid = s;
        b->haveSsid = true;
        return true;
    }
    if (k == "id_str") {
        if (!WpaString(v, &s, &quoted) || !quoted) return Refuse(why, line, "id_str: not a quoted string");
        b->p.name = s;
        b->haveName = true;
        return true;
    }
    if (k == "mode") {
        if (v == "0") b->p.mode = MODE_ESS;
        else if (v == "1") b->p.mode = MODE_IBSS;
        else if (v == "2") b->p.mode = MODE_SOFTAP;
        else return Refuse(why, line, "mode: 0, 1 or 2");
        return true;
    }
    if (k == "key_mgmt") {
        if (v != "NONE")
            return Refuse(why, line,
                          "key_mgmt=" + v + " cannot be held by the profile store (only NONE: no WPA, no 802.1X)");
        return true;
    }
    if (k == "auth_alg") {
        bool open = false, shared = false;
        std::string w;
        for (size_t i = 0; i <= v.size(); i++) {
            if (i == v.size() || v[i] == ' ') {
                if (w == "OPEN") open = true;
                else if (w == "SHARED") shared = true;
                else if (!w.empty()) return Refuse(why, line, "auth_alg " + w + " cannot be held by the profile store");
                w.clear();
            } else {
                w += v[i];
            }
        }
        if (!open && !shared) return Refuse(why, line, "auth_alg: OPEN, SHARED or both");
        b->p.auth = open && shared ? AUTH_AUTO : open ? AUTH_OPEN : AUTH_SHARED;
        b->haveAuth = true;
        return true;
    }
    if (k == "wep_tx_keyidx") {
        if (v.size() != 1 || v[0] < '0' || v[0] > '3') return Refuse(why, line, "wep_tx_keyidx: 0 to 3");
        b->p.txKey = v[0] - '0';
        return true;
    }
    if (k.size() == 8 && k.compare(0, 7, "wep_key") == 0 && k[7] >= '0' && k[7] <= '3') {
        WepKey key;
        if (v.size() >= 2 && v[0] == '"' && v.back() == '"') {
            key.text = v.substr(1, v.size() - 2);
        } else {
            key.hex = true;
            key.text = v;
        }
        if (key.text.empty() || !ValidWepKey(key)) return Refuse(why, line, k + ": " + kKeyRule);
        b->p.keys[k[7] - '0'] = key;
        b->anyKey = true;
        return true;
    }
    if (k == "scan_ssid" || k == "priority" || k == "disabled") return true; /* scanning hints only */
    return Refuse(why, line, "\"" + k + "\" cannot be held by the profile store");
}

} // namespace

bool WpaParse(const std::string &text, std::vector<Profile> *out, std::string *why)
{
    out->clear();
    if (text.size() > kMaxImportBytes) {
        *why = "file larger than 1 MB";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        *why = "file holds zero bytes: not a text file";
        return false;
    }
    Block b;
    bool inBlock = false;
    int line = 0, blockLine = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string::npos) nl = text.size();
        std::string l = Trim(text.substr(pos, nl - pos));
        pos = nl + 1;
        line++;
        if (l.empty() || l[0] == '#') continue;
        if (!inBlock) {
            std::string c;
            for (char ch : l)
                if (ch != ' ' && ch != '\t') c += ch;
            if (c == "network={") {
                inBlock = true;
                blockLine = line;
                b = Block();
                continue;
            }
            if (l.find('=') == std::string::npos || l.find('{') != std::string::npos || l.find('}') != std::string::npos)
                return Refuse(why, line, "neither a setting nor the start of a network block");
            continue; /* a global setting */
        }
        if (l == "}") {
            inBlock = false;
            if (!b.haveSsid) return Refuse(why, blockLine, "network block without ssid");
            if (!b.haveName) b.p.name = b.p.ssid;
            b.p.encryption = b.anyKey;
            if (!b.haveAuth) b.p.auth = AUTH_AUTO;
            std::string bad;
            if (!ValidProfile(b.p, &bad)) return Refuse(why, blockLine, bad);
            out->push_back(b.p);
            if (out->size() > 256) return Refuse(why, line, "more than 256 network blocks");
            continue;
        }
        size_t eq = l.find('=');
        if (eq == std::string::npos || eq == 0) return Refuse(why, line, "not a setting (name=value)");
        if (!WpaSetting(&b, Trim(l.substr(0, eq)), Trim(l.substr(eq + 1)), line, why)) return false;
    }
    if (inBlock) return Refuse(why, blockLine, "network block not closed");
    if (out->empty()) {
        *why = "no network block";
        return false;
    }
    return true;
}

static bool Printable(const std::string &s)
{
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7E || c == '"') return false;
    return true;
}

std::string WpaWrite(const Profile &p)
{
    std::string o = "network={\n";
    o += Printable(p.name) ? "\tid_str=\"" + p.name + "\"\n" : "";
    o += Printable(p.ssid) && !p.ssid.empty() ? "\tssid=\"" + p.ssid + "\"\n" : "\tssid=" + HexOf(p.ssid) + "\n";
    o += "\tmode=" + std::to_string(p.mode) + "\n";
    o += "\tkey_mgmt=NONE\n";
    o += std::string("\tauth_alg=") + (p.auth == AUTH_AUTO ? "OPEN SHARED" : p.auth == AUTH_OPEN ? "OPEN" : "SHARED") + "\n";
    if (p.encryption) {
        for (int i = 0; i < 4; i++) {
            if (p.keys[i].text.empty()) continue;
            o += "\twep_key" + std::to_string(i) + "=" +
                 (p.keys[i].hex ? p.keys[i].text : "\"" + p.keys[i].text + "\"") + "\n";
        }
        o += "\twep_tx_keyidx=" + std::to_string(p.txKey) + "\n";
    }
    return o + "}\n";
}

/* ---- WLANProfile -------------------------------------------------------- */

static const char kExtNs[] = "urn:wireless-lan-config:wlcfg";

static bool PathIs(const XmlElement &e, const char *const *names, size_t n)
{
    if (e.path.size() != n) return false;
    for (size_t i = 0; i < n; i++)
        if (e.path[i] != names[i]) return false;
    return true;
}

#define PATH(e, ...) \
    ([&] { static const char *const p_[] = {__VA_ARGS__}; return PathIs(e, p_, sizeof p_ / sizeof p_[0]); }())

static WepKey KeyOfMaterial(const std::string &m)
{
    WepKey k;
    k.text = m;
    k.hex = (m.size() == 10 || m.size() == 26) && AllHex(m);
    return k;
}

bool XmlToProfile(const std::vector<XmlElement> &doc, Profile *out, std::string *why)
{
    Profile p;
    p.auth = AUTH_OPEN;
    bool root = false, haveName = false, haveSsid = false, wep = false, haveKey = false;
    std::string hexSsid, nameSsid, material, keyType;
    bool extKeys = false;
    WepKey ext[4];
    for (const XmlElement &e : doc) {
        if (e.path.empty()) continue;
        if (e.path[0] != "WLANProfile") {
            *why = "not a WLANProfile document (root element " + e.path[0] + ")";
            return false;
        }
        root = true;
        const std::string &t = e.text;
        if (PATH(e, "WLANProfile", "name")) {
            p.name = t;
            haveName = true;
        } else if (PATH(e, "WLANProfile", "SSIDConfig", "SSID", "hex")) {
            hexSsid = t;
        } else if (PATH(e, "WLANProfile", "SSIDConfig", "SSID", "name")) {
            nameSsid = t;
            haveSsid = true;
        } else if (PATH(e, "WLANProfile", "connectionType")) {
            if (t == "ESS") p.mode = MODE_ESS;
            else if (t == "IBSS") p.mode = MODE_IBSS;
            else {
                *why = "connectionType " + t + ": only ESS and IBSS";
                return false;
            }
        } else if (PATH(e, "WLANProfile", "MSM", "security", "authEncryption", "authentication")) {
            if (t == "open") p.auth = AUTH_OPEN;
            else if (t == "shared") p.auth = AUTH_SHARED;
            else {
                *why = "authentication " + t + " cannot be held by the profile store (it keeps open and shared "
                       "key authentication with WEP: no WPA passphrases, no 802.1X)";
                return false;
            }
        } else if (PATH(e, "WLANProfile", "MSM", "security", "authEncryption", "encryption")) {
            if (t == "WEP") wep = true;
            else if (t != "none") {
                *why = "encryption " + t + " cannot be held by the profile store (WEP only)";
                return false;
            }
        } else if (PATH(e, "WLANProfile", "MSM", "security", "authEncryption", "useOneX")) {
            if (t == "true") {
                *why = "useOneX: 802.1X cannot be held by the profile store";
                return false;
            }
        } else if (PATH(e, "WLANProfile", "MSM", "security", "OneX")) {
            *why = "OneX: 802.1X cannot be held by the profile store";
            return false;
        } else if (PATH(e, "WLANProfile", "MSM", "security", "sharedKey", "keyType")) {
            keyType = t;
        } else if (PATH(e, "WLANProfile", "MSM", "security", "sharedKey", "protected")) {
            if (t == "true") {
                *why = "sharedKey is protected (encrypted for its machine): export it with key=clear";
                return false;
            }
        } else if (PATH(e, "WLANProfile", "MSM", "security", "sharedKey", "keyMaterial")) {
            material = t;
            haveKey = true;
        } else if (PATH(e, "WLANProfile", "MSM", "security", "keyIndex")) {
            if (t.size() != 1 || t[0] < '0' || t[0] > '3') {
                *why = "keyIndex " + t + ": 0 to 3";
                return false;
            }
            p.txKey = t[0] - '0';
        } else if (PATH(e, "WLANProfile", "wlcfg", "authentication")) {
            if (t == "auto") p.auth = AUTH_AUTO;
        } else if (e.path.size() == 3 && e.path[1] == "wlcfg" && e.path[2].size() == 4 &&
                   e.path[2].compare(0, 3, "key") == 0 && e.path[2][3] >= '0' && e.path[2][3] <= '3') {
            ext[e.path[2][3] - '0'] = KeyOfMaterial(t);
            extKeys = true;
        }
    }
    if (!root) {
        *why = "no WLANProfile element";
        return false;
    }
    if (!haveName) {
        *why = "WLANProfile without name";
        return false;
    }
    if (!hexSsid.empty()) {
        if (!FromHex(hexSsid, &p.ssid)) {
            *why = "SSID hex " + hexSsid + ": not hexadecimal digits";
            return false;
        }
    } else if (haveSsid) {
        p.ssid = nameSsid;
    } else {
        *why = "WLANProfile without SSID";
        return false;
    }
    if (haveKey && keyType != "networkKey") {
        *why = "sharedKey keyType " + keyType + " (a passphrase) cannot be held by the profile store";
        return false;
    }
    if (extKeys)
        for (int i = 0; i < 4; i++) p.keys[i] = ext[i];
    if (haveKey) p.keys[p.txKey] = KeyOfMaterial(material);
    if (wep && !haveKey) {
        *why = "WEP without sharedKey";
        return false;
    }
    p.encryption = wep;
    if (!ValidProfile(p, why)) return false;
    *out = p;
    return true;
}

static std::string XmlText(const std::string &s)
{
    std::string o;
    for (char c : s) {
        if (c == '&') o += "&amp;";
        else if (c == '<') o += "&lt;";
        else if (c == '>') o += "&gt;";
        else if (c == '"') o += "&quot;";
        else o += c;
    }
    return o;
}

static bool XmlSafe(const std::string &s)
{
    for (unsigned char c : s)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

bool XmlWrite(const Profile &p, std::string *out, std::string *why)
{
    if (p.mode == MODE_SOFTAP) {
        *why = "connection mode SoftAP has no WLANProfile form (ESS and IBSS only)";
        return false;
    }
    if (!XmlSafe(p.name)) {
        *why = "profile name has characters outside printable ASCII";
        return false;
    }
    std::string o = "<?xml version=\"1.0\"?>\r\n";
    o += "<WLANProfile xmlns=\"http://www.microsoft.com/networking/WLAN/profile/v1\">\r\n";
    o += "\t<name>" + XmlText(p.name) + "</name>\r\n";
    o += "\t<SSIDConfig>\r\n\t\t<SSID>\r\n\t\t\t<hex>" + HexOf(p.ssid) + "</hex>\r\n";
    if (XmlSafe(p.ssid)) o += "\t\t\t<name>" + XmlText(p.ssid) + "</name>\r\n";
    o += "\t\t</SSID>\r\n\t</SSIDConfig>\r\n";
    o += std::string("\t<connectionType>") + (p.mode == MODE_IBSS ? "IBSS" : "ESS") + "</connectionType>\r\n";
    o += std::string("\t<connectionMode>") + (p.mode == MODE_IBSS ? "manual" : "auto") + "</connectionMode>\r\n";
    o += "\t<MSM>\r\n\t\t<security>\r\n\t\t\t<authEncryption>\r\n";
    o += std::string("\t\t\t\t<authentication>") + (p.auth == AUTH_SHARED ? "shared" : "open") + "</authentication>\r\n";
    o += std::string("\t\t\t\t<encryption>") + (p.encryption ? "WEP" : "none") + "</encryption>\r\n";
    o += "\t\t\t\t<useOneX>false</useOneX>\r\n\t\t\t</authEncryption>\r\n";
    bool others = false;
    if (p.encryption) {
        o += "\t\t\t<sharedKey>\r\n\t\t\t\t<keyType>networkKey</keyType>\r\n\t\t\t\t<protected>false</protected>\r\n";
        o += "\t\t\t\t<keyMaterial>" + XmlText(p.keys[p.txKey].text) + "</keyMaterial>\r\n\t\t\t</sharedKey>\r\n";
        o += "\t\t\t<keyIndex>" + std::to_string(p.txKey) + "</keyIndex>\r\n";
        for (int i = 0; i < 4; i++)
            if (i != p.txKey && !p.keys[i].text.empty()) others = true;
    }
    o += "\t\t</security>\r\n\t</MSM>\r\n";
    /* what the Windows schema has no place for: the automatic choice of
       authentication and the keys besides the transmit key */
    if (others || p.auth == AUTH_AUTO) {
        o += std::string("\t<wlcfg xmlns=\"") + kExtNs + "\">\r\n";
        if (p.auth == AUTH_AUTO) o += "\t\t<authentication>auto</authentication>\r\n";
        for (int i = 0; others && i < 4; i++)
            if (i != p.txKey && !p.keys[i].text.empty())
                o += "\t\t<key" + std::to_string(i) + ">" + XmlText(p.keys[i].text) + "</key" + std::to_string(i) + ">\r\n";
        o += "\t</wlcfg>\r\n";
    }
    *out = o + "</WLANProfile>\r\n";
    return true;
}
