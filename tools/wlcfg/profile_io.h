/* The profile as the tool moves it between the profile store and files:
 * the Windows WLAN profile document and wpa_supplicant network blocks.
 * Pure: text in, profiles or a reason out. */
#ifndef WLCFG_PROFILE_IO_H
#define WLCFG_PROFILE_IO_H

#include <string>
#include <vector>

enum { MODE_ESS = 0, MODE_IBSS = 1, MODE_SOFTAP = 2 };
enum { AUTH_AUTO = 0, AUTH_OPEN = 1, AUTH_SHARED = 2 };

struct WepKey {
    bool hex = false;
    std::string text; /* characters or hexadecimal digits, as stored */
    bool operator==(const WepKey &o) const { return hex == o.hex && text == o.text; }
};

struct Profile {
    std::string name;
    std::string ssid; /* bytes, at most 32, no zero byte */
    int mode = MODE_ESS;
    int auth = AUTH_OPEN;
    bool encryption = false;
    int txKey = 0;
    WepKey keys[4];
    bool operator==(const Profile &o) const
    {
        for (int i = 0; i < 4; i++)
            if (!(keys[i] == o.keys[i])) return false;
        return name == o.name && ssid == o.ssid && mode == o.mode && auth == o.auth &&
               encryption == o.encryption && txKey == o.txKey;
    }
};

/* Largest file the importers read. */
const size_t kMaxImportBytes = 1 << 20;

/* A WEP key as the store holds it: 5 or 13 printable characters, or 10 or
 * 26 hexadecimal digits; empty is "no key". */
bool ValidWepKey(const WepKey &k);
/* Checks what the store can hold; false with a reason naming the field. */
bool ValidProfile(const Profile &p, std::string *why);

/* ---- wpa_supplicant configuration ---- */

/* Every network block of the file, or false with a reason ("line N: ...").
 * Settings outside the blocks (ctrl_interface, country, ...) are not
 * profile settings and are passed over. */
bool WpaParse(const std::string &text, std::vector<Profile> *out, std::string *why);
std::string WpaWrite(const Profile &p);

/* ---- Windows WLAN profile document ---- */

/* One element of the document, as the XML reader saw it: the local names
 * from the root down to it and its own text (whitespace trimmed). */
struct XmlElement {
    std::vector<std::string> path;
    std::string text;
};

/* The profile of a WLANProfile document read into elements. */
bool XmlToProfile(const std::vector<XmlElement> &doc, Profile *out, std::string *why);
/* The document; false when the profile has no form in it (SoftAP mode). */
bool XmlWrite(const Profile &p, std::string *out, std::string *why);

/* Text helpers shared with the glue. */
std::string HexOf(const std::string &bytes);
bool FromHex(const std::string &hex, std::string *bytes);

#endif
