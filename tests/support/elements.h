/*
 * Builders of 802.11 information elements and request bytes, for the unit
 * tests of the element walk and the end-to-end tests of the records that
 * carry elements. Header only, no Windows dependency.
 */
#ifndef WLTEST_ELEMENTS_H
#define WLTEST_ELEMENTS_H

#include <stdint.h>

#include <initializer_list>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

inline Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &p : parts) all = all + p;
    return all;
}

/* An element with its length byte taken from the data. */
inline Bytes Element(uint8_t id, const Bytes &data) { return Bytes{id, static_cast<uint8_t>(data.size())} + data; }

inline Bytes Ssid(const std::string &s) { return Element(0, Bytes(s.begin(), s.end())); }

/* Rates 1, 2, 5.5, 11 (basic) and 6 to 54 Mb/s in the extended rates. */
inline Bytes AllRates() { return Element(1, {0x82, 0x84, 0x8B, 0x96}) + Element(50, {12, 18, 24, 36, 48, 72, 96, 108}); }

/* Cipher and key management suites: organisation, then type. */
const Bytes kOuiMs = {0x00, 0x50, 0xF2};
const Bytes kOuiIeee = {0x00, 0x0F, 0xAC};
inline Bytes Suite(const Bytes &oui, uint8_t type) { return oui + Bytes{type}; }

/* Suite count word and the suites of one organisation. */
inline Bytes Suites(const Bytes &oui, const Bytes &types)
{
    Bytes d = {static_cast<uint8_t>(types.size()), 0};
    for (uint8_t t : types) d = d + Suite(oui, t);
    return d;
}

/* WPA element: version 1, group, pairwise and key management suites. */
inline Bytes Wpa(uint8_t group, const Bytes &pairwise, const Bytes &akm)
{
    return Element(221, kOuiMs + Bytes{1, 1, 0} + Suite(kOuiMs, group) + Suites(kOuiMs, pairwise) +
                            Suites(kOuiMs, akm));
}

/* RSN element: version 1, suites of the given organisation, capabilities 0x000C. */
inline Bytes Rsn(const Bytes &oui, uint8_t group, const Bytes &pairwise, const Bytes &akm)
{
    return Element(48, Bytes{1, 0} + Suite(oui, group) + Suites(oui, pairwise) + Suites(oui, akm) + Bytes{0x0C, 0});
}

#endif /* WLTEST_ELEMENTS_H */
