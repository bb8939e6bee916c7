/* The security of a network in words ("WPA2-PSK CCMP"), from what the
 * library lets the tool see of it: the capability word of every scan
 * answer, the information elements of the association request (record
 * 0xFD8C, read whole through WLGenericGet) for the joined network, and the
 * library's printed walk of the elements of channel selection scan answers.
 * Pure: elements go through the element walk of wlcore/ie_parse.h. */
#ifndef WLCFG_SECURITY_H
#define WLCFG_SECURITY_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

/* Suite bits (IeCipherSuiteBit, IeKeyMgmtSuiteBit) of the WPA element and
 * of the RSN element. */
struct Suites {
    bool wpa = false, rsn = false;
    uint8_t wpaGroup = 0, wpaPairwise = 0, wpaAkm = 0;
    uint8_t rsnGroup = 0, rsnPairwise = 0, rsnAkm = 0;
};

/* The WPA element (vendor element 00 50 F2 type 1) and the RSN element of
 * `n` bytes of elements. False when one of them cannot be read to its end
 * (cut short, or a suite of an identifier the walk does not accept): the
 * suites are then not known. */
bool ElementSuites(const uint8_t *ies, size_t n, Suites *out);

/* The same for the value bytes of record 0xFD8C: reassociation word,
 * capability, listen interval, for a reassociation the current access
 * point, then the request's elements. False when too short. */
bool AssocRequestSuites(const uint8_t *val, size_t len, Suites *out);

/* One answer's part of the library's element walk as printed to standard
 * output ("ssid %s", "typ %d", "oui type %x", "map_cs %d", ...). */
struct WalkChunk {
    std::string ssid;
    std::string text;
};

/* Splits the walk lines of one mailbox read into answers: each starts at its
 * "ssid " line. False when lines come before the first "ssid " line (an
 * answer without SSID: the split cannot be trusted). */
bool SplitWalk(const std::string &text, std::vector<WalkChunk> *out);

/* The suites an answer's walk lines report. */
Suites WalkSuites(const std::string &chunk);

/* Words for a network: "open", "WEP", "WPA2-PSK CCMP", "WPA-PSK TKIP",
 * "WPA2-802.1X CCMP (group TKIP)", both elements joined by ", "; with the
 * suites unknown (null) and the privacy bit set: "privacy, suites not
 * reported". */
std::string SecurityWords(bool privacy, const Suites *known);

#endif
