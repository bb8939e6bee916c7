// Fixed country and channel data: the country table with the permitted
// channel sets of each country, the regulatory domain table, and the list of
// Windows locale identifiers walked to find a country's name.
//
// Everything here is constant data plus pure lookups; nothing calls the
// system.
#ifndef WLCORE_COUNTRY_TABLES_H
#define WLCORE_COUNTRY_TABLES_H

#include <stdint.h>

// Most channel sets a country record holds (also in the public buffers).
#ifndef MAX_NUM_CHANNEL_SETS
#define MAX_NUM_CHANNEL_SETS 14
#endif

// Record type of the country record (firmware channel information).
#define COUNTRY_INFO_RECORD_TYPE 0xFC29

// One channel set: channels first, first + 1, ..., first + count - 1.
struct CountryChannelSet {
    uint16_t first_channel;
    uint16_t number_of_channels;
    uint16_t max_tx_power;
};

// Country record in its largest form, an LTV record of 16-bit words in host
// byte order. `len` is the count of words after itself, 5 + 3 * n for n
// channel sets; the sets past n are zero. Code and environment take one
// character per word.
struct CFG_CNF_COUNTRY_INFO_MAX_STRCT {
    uint16_t len;
    uint16_t typ;
    uint16_t n_channel_sets;
    uint16_t country_code[2];
    uint16_t environment;
    CountryChannelSet channel_set[MAX_NUM_CHANNEL_SETS];
};

// `len` of a country record with n channel sets.
#define COUNTRY_INFO_LEN(n) (5 + 3 * (n))

// Number of countries in the table.
#define COUNTRY_TABLE_SIZE 108

// The country table, in its fixed order; a country's position is its index.
extern const CFG_CNF_COUNTRY_INFO_MAX_STRCT CountryTable[COUNTRY_TABLE_SIZE];

// Index of the country whose code is the two characters at `CC` (exact,
// case-sensitive, first match), or -1 when none matches or `CC` is null. A
// text shorter than two characters matches nothing and is not read past its
// terminator.
int CountryIndexByCode(const char *CC);

// The country record for `CC`, or null when the table does not hold it.
const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfoByCode(const char *CC);

// The country record at `Index`, or null when `Index` is outside the table.
const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfoByIndex(int Index);

// Channel list capacities of a regulatory domain, as in the domain buffers.
#define DOMAIN_CHANNELS_5GHZ_MAX 35
#define DOMAIN_CHANNELS_24GHZ_MAX 14
#define DOMAIN_LABEL_SIZE 16

// One row of the regulatory domain table. A band's flag pair tells whether
// a network may be created (first) and joined (second) in that band.
struct RegulatoryDomainRow {
    int32_t DC;
    char Label[DOMAIN_LABEL_SIZE];
    const char (*Countries)[3]; // two-character codes, each terminated
    int32_t NumCountries;
    int32_t Flags5[2];
    int32_t NumChannels5;
    int32_t Channels5[DOMAIN_CHANNELS_5GHZ_MAX];
    int32_t Flags24[2];
    int32_t NumChannels24;
    int32_t Channels24[DOMAIN_CHANNELS_24GHZ_MAX];
};

// Number of rows of the regulatory domain table (domain codes 0 to 11).
const int DomainDataSize = 12;

// The regulatory domain table, indexed by domain code.
extern const RegulatoryDomainRow DomainData[DomainDataSize];

// The row of domain code `DC`, or null when `DC` lies outside the table.
const RegulatoryDomainRow *RegulatoryDomainByCode(int DC);

// One entry of the locale list. The label is the two-letter country code the
// locale stood for when the list was made (for a language-only identifier,
// that of its default-country locale; "--" for the neutral ones). It
// documents the entry and plays no part in any lookup.
struct LocaleListEntry {
    uint32_t Lcid;
    char Label[3];
};

// Number of entries of the locale list.
#define LOCALE_LIST_SIZE 186

// Windows locale identifiers: the language-only identifiers (0x0000 to
// 0x0057), then the default-country locales (0x0400 to 0x0457), then the
// other country variants (0x0801 to 0x500A), increasing within each group.
extern const LocaleListEntry LocaleList[LOCALE_LIST_SIZE];

#endif // WLCORE_COUNTRY_TABLES_H
