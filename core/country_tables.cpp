// Country table, regulatory domain table and locale list.
#include "wlcore/country_tables.h"

// A table row: code characters, number of channel sets, the sets. The
// environment is a blank in every row.
#define COUNTRY(a, b, n, ...)                                               \
    {                                                                       \
        COUNTRY_INFO_LEN(n), COUNTRY_INFO_RECORD_TYPE, n, {a, b}, ' ',      \
        {                                                                   \
            __VA_ARGS__                                                     \
        }                                                                   \
    }

static_assert(sizeof(CFG_CNF_COUNTRY_INFO_MAX_STRCT) == 96,
              "country record is 96 bytes in its largest form");

const CFG_CNF_COUNTRY_INFO_MAX_STRCT CountryTable[COUNTRY_TABLE_SIZE] = {
    COUNTRY('N', 'L', 1, {1, 13, 20}), // 0
    COUNTRY('S', 'A', 1, {1, 13, 20}), // 1
    COUNTRY('B', 'G', 1, {1, 13, 20}), // 2
    COUNTRY('E', 'S', 1, {1, 13, 20}), // 3
    COUNTRY('T', 'W', 1, {1, 13, 30}), // 4
    COUNTRY('C', 'Z', 1, {1, 13, 20}), // 5
    COUNTRY('D', 'K', 1, {1, 13, 20}), // 6
    COUNTRY('D', 'E', 1, {1, 13, 20}), // 7
    COUNTRY('G', 'R', 1, {1, 13, 20}), // 8
    COUNTRY('U', 'S', 1, {1, 11, 30}), // 9
    COUNTRY('F', 'I', 1, {1, 13, 20}), // 10
    COUNTRY('F', 'R', 1, {1, 13, 20}), // 11
    COUNTRY('I', 'L', 1, {4, 5, 20}), // 12
    COUNTRY('H', 'U', 1, {1, 13, 20}), // 13
    COUNTRY('I', 'S', 1, {1, 13, 20}), // 14
    COUNTRY('I', 'T', 1, {1, 13, 20}), // 15
    COUNTRY('J', 'P', 1, {1, 14, 20}), // 16
    COUNTRY('K', 'R', 1, {1, 13, 20}), // 17
    COUNTRY('N', 'O', 1, {1, 13, 20}), // 18
    COUNTRY('P', 'L', 1, {1, 13, 20}), // 19
    COUNTRY('B', 'R', 1, {1, 11, 30}), // 20
    COUNTRY('R', 'O', 1, {1, 13, 20}), // 21
    COUNTRY('R', 'U', 1, {1, 13, 20}), // 22
    COUNTRY('H', 'R', 1, {1, 13, 20}), // 23
    COUNTRY('S', 'K', 1, {1, 13, 20}), // 24
    COUNTRY('A', 'L', 1, {1, 13, 20}), // 25
    COUNTRY('S', 'E', 1, {1, 13, 20}), // 26
    COUNTRY('T', 'H', 1, {1, 13, 20}), // 27
    COUNTRY('T', 'R', 1, {1, 13, 20}), // 28
    COUNTRY('P', 'K', 1, {1, 13, 20}), // 29
    COUNTRY('I', 'D', 1, {1, 13, 20}), // 30
    COUNTRY('U', 'A', 1, {1, 13, 20}), // 31
    COUNTRY('B', 'Y', 1, {1, 13, 20}), // 32
    COUNTRY('S', 'I', 1, {1, 13, 20}), // 33
    COUNTRY('E', 'E', 1, {1, 13, 20}), // 34
    COUNTRY('L', 'V', 1, {1, 13, 20}), // 35
    COUNTRY('L', 'T', 1, {1, 13, 20}), // 36
    COUNTRY('I', 'R', 1, {1, 13, 20}), // 37
    COUNTRY('V', 'N', 1, {1, 13, 20}), // 38
    COUNTRY('A', 'M', 1, {1, 13, 20}), // 39
    COUNTRY('A', 'Z', 1, {1, 13, 20}), // 40
    COUNTRY('M', 'K', 1, {1, 13, 20}), // 41
    COUNTRY('Z', 'A', 1, {1, 13, 20}), // 42
    COUNTRY('G', 'E', 1, {1, 13, 20}), // 43
    COUNTRY('F', 'O', 1, {1, 13, 20}), // 44
    COUNTRY('I', 'N', 1, {1, 13, 20}), // 45
    COUNTRY('M', 'Y', 1, {1, 13, 30}), // 46
    COUNTRY('K', 'Z', 1, {1, 13, 20}), // 47
    COUNTRY('K', 'E', 1, {1, 13, 20}), // 48
    COUNTRY('U', 'Z', 1, {1, 13, 20}), // 49
    COUNTRY('T', 'A', 1, {1, 13, 20}), // 50
    COUNTRY('I', 'Q', 1, {1, 13, 20}), // 51
    COUNTRY('C', 'N', 1, {1, 13, 20}), // 52
    COUNTRY('C', 'H', 1, {1, 13, 20}), // 53
    COUNTRY('G', 'B', 1, {1, 13, 20}), // 54
    COUNTRY('M', 'X', 1, {1, 11, 28}), // 55
    COUNTRY('B', 'E', 1, {1, 13, 20}), // 56
    COUNTRY('P', 'T', 1, {1, 13, 20}), // 57
    COUNTRY('S', 'P', 1, {1, 13, 20}), // 58
    COUNTRY('B', 'N', 1, {1, 13, 20}), // 59
    COUNTRY('E', 'G', 1, {1, 13, 20}), // 60
    COUNTRY('H', 'K', 2, {1, 11, 30}, {12, 2, 20}), // 61
    COUNTRY('A', 'T', 1, {1, 13, 20}), // 62
    COUNTRY('A', 'U', 2, {1, 9, 30}, {10, 4, 20}), // 63
    COUNTRY('C', 'A', 1, {1, 11, 30}), // 64
    COUNTRY('L', 'Y', 1, {1, 13, 20}), // 65
    COUNTRY('S', 'G', 1, {1, 13, 20}), // 66
    COUNTRY('L', 'U', 1, {1, 13, 20}), // 67
    COUNTRY('G', 'T', 1, {1, 11, 20}), // 68
    COUNTRY('D', 'Z', 1, {1, 13, 20}), // 69
    COUNTRY('M', 'O', 1, {1, 13, 20}), // 70
    COUNTRY('L', 'I', 1, {1, 13, 20}), // 71
    COUNTRY('N', 'Z', 1, {1, 13, 20}), // 72
    COUNTRY('C', 'R', 1, {1, 13, 20}), // 73
    COUNTRY('M', 'A', 1, {1, 13, 20}), // 74
    COUNTRY('I', 'E', 1, {1, 13, 20}), // 75
    COUNTRY('P', 'A', 1, {1, 11, 30}), // 76
    COUNTRY('M', 'C', 1, {1, 13, 20}), // 77
    COUNTRY('T', 'N', 1, {1, 13, 20}), // 78
    COUNTRY('D', 'O', 1, {1, 13, 20}), // 79
    COUNTRY('O', 'M', 1, {1, 13, 20}), // 80
    COUNTRY('J', 'M', 1, {1, 13, 20}), // 81
    COUNTRY('V', 'E', 1, {1, 13, 30}), // 82
    COUNTRY('Y', 'E', 1, {1, 13, 20}), // 83
    COUNTRY('C', 'B', 1, {1, 13, 20}), // 84
    COUNTRY('C', 'O', 1, {1, 13, 30}), // 85
    COUNTRY('S', 'Y', 1, {1, 13, 20}), // 86
    COUNTRY('B', 'Z', 1, {1, 13, 20}), // 87
    COUNTRY('P', 'E', 1, {1, 13, 20}), // 88
    COUNTRY('J', 'O', 1, {10, 4, 20}), // 89
    COUNTRY('T', 'T', 1, {1, 13, 20}), // 90
    COUNTRY('A', 'R', 1, {1, 11, 30}), // 91
    COUNTRY('L', 'B', 1, {1, 13, 20}), // 92
    COUNTRY('Z', 'W', 1, {1, 13, 20}), // 93
    COUNTRY('E', 'C', 1, {1, 13, 20}), // 94
    COUNTRY('K', 'W', 1, {1, 13, 20}), // 95
    COUNTRY('P', 'H', 1, {1, 13, 20}), // 96
    COUNTRY('C', 'L', 1, {1, 11, 20}), // 97
    COUNTRY('A', 'E', 1, {1, 13, 20}), // 98
    COUNTRY('U', 'Y', 1, {1, 11, 30}), // 99
    COUNTRY('B', 'H', 1, {1, 13, 20}), // 100
    COUNTRY('P', 'Y', 1, {1, 11, 30}), // 101
    COUNTRY('Q', 'A', 1, {1, 13, 20}), // 102
    COUNTRY('B', 'O', 1, {1, 13, 20}), // 103
    COUNTRY('S', 'V', 1, {1, 13, 20}), // 104
    COUNTRY('H', 'N', 1, {1, 11, 30}), // 105
    COUNTRY('N', 'I', 1, {1, 13, 30}), // 106
    COUNTRY('P', 'R', 1, {1, 13, 20}), // 107
};

#undef COUNTRY

int CountryIndexByCode(const char *CC)
{
    if (CC == nullptr)
        return -1;
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++) {
        // CC[1] is read only after CC[0] matched a (non-zero) code character.
        if (CountryTable[i].country_code[0] == (unsigned char)CC[0] &&
            CountryTable[i].country_code[1] == (unsigned char)CC[1])
            return i;
    }
    return -1;
}

const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfoByCode(const char *CC)
{
    return CountryInfoByIndex(CountryIndexByCode(CC));
}

const CFG_CNF_COUNTRY_INFO_MAX_STRCT *CountryInfoByIndex(int Index)
{
    if (Index < 0 || Index >= COUNTRY_TABLE_SIZE)
        return nullptr;
    return &CountryTable[Index];
}

namespace {

// Country lists of the regulatory domains. The world list is the FCC list
// followed by the ETSI list, so all three share one array.
const char DomainCountries[46][3] = {
    // FCC (16 codes)
    "AR", "AU", "BR", "CA", "CL", "CO", "HK", "MY", "MX", "NZ", "PH", "SG",
    "TW", "TH", "US", "VE",
    // ETSI (30 codes)
    "AT", "BE", "DK", "FI", "FR", "DE", "GR", "IE", "IT", "LU", "NL", "PO",
    "ES", "SE", "UK", "CY", "EE", "HU", "IS", "LV", "LI", "LT", "NO", "PL",
    "SA", "ZA", "CH", "TR", "TH", "AE"};

constexpr const char (*WorldList)[3] = DomainCountries;
constexpr int WorldCount = 46;
constexpr const char (*FccList)[3] = DomainCountries;
constexpr int FccCount = 16;
constexpr const char (*EtsList)[3] = DomainCountries + 16;
constexpr int EtsCount = 30;
constexpr char JpList[1][3] = {"JP"};
constexpr char KrList[1][3] = {"KR"};
constexpr char CnList[1][3] = {"CN"};

} // namespace

// Channel count and list of a band.
#define CH_NONE 0, {0}
#define CH_24_1_11 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}
#define CH_24_1_13 13, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}
#define CH_24_1_14 14, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}

const RegulatoryDomainRow DomainData[DomainDataSize] = {
    {0, "All", nullptr, 0, {1, 1}, CH_NONE, {1, 1}, CH_NONE},
    {1, "World", WorldList, WorldCount, {0, 0}, CH_NONE, {1, 1}, CH_24_1_11},
    {2, "FCC (Dual Band)", FccList, FccCount, {0, 1}, CH_NONE, {1, 1},
     CH_24_1_11},
    {3, "ETS (Dual Band)", EtsList, EtsCount, {0, 1}, CH_NONE, {1, 1},
     CH_24_1_13},
    {4, "JP (Dual Band)", JpList, 1, {1, 1}, 4, {34, 38, 42, 46}, {1, 1},
     CH_24_1_14},
    {5, "KR (Dual Band)", KrList, 1, {1, 1}, 4, {149, 153, 157, 161}, {1, 1},
     CH_24_1_13},
    {6, "CN (Dual Band)", CnList, 1, {1, 1}, 5, {149, 153, 157, 161, 165},
     {1, 1}, CH_24_1_13},
    {7, "FCC (2.4 GHz)", FccList, FccCount, {0, 0}, CH_NONE, {1, 1},
     CH_24_1_11},
    {8, "ETS (2.4 GHz)", EtsList, EtsCount, {0, 0}, CH_NONE, {1, 1},
     CH_24_1_13},
    {9, "JP (2.4 GHz)", JpList, 1, {0, 0}, CH_NONE, {1, 1}, CH_24_1_14},
    {10, "KR (2.4 GHz)", KrList, 1, {0, 0}, CH_NONE, {1, 1}, CH_24_1_13},
    {11, "CN (2.4 GHz)", CnList, 1, {0, 0}, CH_NONE, {1, 1}, CH_24_1_13},
};

#undef CH_NONE
#undef CH_24_1_11
#undef CH_24_1_13
#undef CH_24_1_14

const RegulatoryDomainRow *RegulatoryDomainByCode(int DC)
{
    if (DC < 0 || DC >= DomainDataSize || DomainData[DC].DC != DC)
        return nullptr;
    return &DomainData[DC];
}

const LocaleListEntry LocaleList[LOCALE_LIST_SIZE] = {
    // Language-only identifiers.
    {0x0000, "--"}, {0x0001, "SA"}, {0x0002, "BG"}, {0x0003, "ES"},
    {0x0004, "TW"}, {0x0005, "CZ"}, {0x0006, "DK"}, {0x0007, "DE"},
    {0x0008, "GR"}, {0x0009, "US"}, {0x000A, "ES"}, {0x000B, "FI"},
    {0x000C, "FR"}, {0x000D, "IL"}, {0x000E, "HU"}, {0x000F, "IS"},
    {0x0010, "IT"}, {0x0011, "JP"}, {0x0012, "KR"}, {0x0013, "NL"},
    {0x0014, "NO"}, {0x0015, "PL"}, {0x0016, "BR"}, {0x0018, "RO"},
    {0x0019, "RU"}, {0x001A, "HR"}, {0x001B, "SK"}, {0x001C, "AL"},
    {0x001D, "SE"}, {0x001E, "TH"}, {0x001F, "TR"}, {0x0020, "PK"},
    {0x0021, "ID"}, {0x0022, "UA"}, {0x0023, "BY"}, {0x0024, "SI"},
    {0x0025, "EE"}, {0x0026, "LV"}, {0x0027, "LT"}, {0x0029, "IR"},
    {0x002A, "VN"}, {0x002B, "AM"}, {0x002C, "AZ"}, {0x002D, "ES"},
    {0x002F, "MK"}, {0x0036, "ZA"}, {0x0037, "GE"}, {0x0038, "FO"},
    {0x0039, "IN"}, {0x003E, "MY"}, {0x003F, "KZ"}, {0x0041, "KE"},
    {0x0043, "UZ"}, {0x0044, "TA"}, {0x0049, "IN"}, {0x004E, "IN"},
    {0x004F, "IN"}, {0x0057, "IN"},
    // Default-country locales.
    {0x0400, "--"}, {0x0401, "SA"}, {0x0402, "BG"}, {0x0403, "ES"},
    {0x0404, "TW"}, {0x0405, "CZ"}, {0x0406, "DK"}, {0x0407, "DE"},
    {0x0408, "GR"}, {0x0409, "US"}, {0x040A, "ES"}, {0x040B, "FI"},
    {0x040C, "FR"}, {0x040D, "IL"}, {0x040E, "HU"}, {0x040F, "IS"},
    {0x0410, "IT"}, {0x0411, "JP"}, {0x0412, "KR"}, {0x0413, "NL"},
    {0x0414, "NO"}, {0x0415, "PL"}, {0x0416, "BR"}, {0x0418, "RO"},
    {0x0419, "RU"}, {0x041A, "HR"}, {0x041B, "SK"}, {0x041C, "AL"},
    {0x041D, "SE"}, {0x041E, "TH"}, {0x041F, "TR"}, {0x0420, "PK"},
    {0x0421, "ID"}, {0x0422, "UA"}, {0x0423, "BY"}, {0x0424, "SI"},
    {0x0425, "EE"}, {0x0426, "LV"}, {0x0427, "LT"}, {0x0429, "IR"},
    {0x042A, "VN"}, {0x042B, "AM"}, {0x042C, "AZ"}, {0x042D, "ES"},
    {0x042F, "MK"}, {0x0436, "ZA"}, {0x0437, "GE"}, {0x0438, "FO"},
    {0x0439, "IN"}, {0x043E, "MY"}, {0x043F, "KZ"}, {0x0441, "KE"},
    {0x0443, "UZ"}, {0x0444, "TA"}, {0x0449, "IN"}, {0x044E, "IN"},
    {0x044F, "IN"}, {0x0457, "IN"},
    // Other country variants.
    {0x0801, "IQ"}, {0x0804, "CN"}, {0x0807, "CH"}, {0x0809, "GB"},
    {0x080A, "MX"}, {0x080C, "BE"}, {0x0810, "CH"}, {0x0813, "BE"},
    {0x0814, "NO"}, {0x0816, "PT"}, {0x081A, "SP"}, {0x081D, "FI"},
    {0x0820, "IN"}, {0x082C, "AZ"}, {0x083E, "BN"}, {0x0843, "UZ"},
    {0x0C01, "EG"}, {0x0C04, "HK"}, {0x0C07, "AT"}, {0x0C09, "AU"},
    {0x0C0A, "ES"}, {0x0C0C, "CA"}, {0x0C1A, "SP"}, {0x1001, "LY"},
    {0x1004, "SG"}, {0x1007, "LU"}, {0x1009, "CA"}, {0x100A, "GT"},
    {0x100C, "CH"}, {0x1401, "DZ"}, {0x1404, "MO"}, {0x1407, "LI"},
    {0x1409, "NZ"}, {0x140A, "CR"}, {0x140C, "LU"}, {0x1801, "MA"},
    {0x1809, "IE"}, {0x180A, "PA"}, {0x180C, "MC"}, {0x1C01, "TN"},
    {0x1C09, "ZA"}, {0x1C0A, "DO"}, {0x2001, "OM"}, {0x2009, "JM"},
    {0x200A, "VE"}, {0x2401, "YE"}, {0x2409, "CB"}, {0x240A, "CO"},
    {0x2801, "SY"}, {0x2809, "BZ"}, {0x280A, "PE"}, {0x2C01, "JO"},
    {0x2C09, "TT"}, {0x2C0A, "AR"}, {0x3001, "LB"}, {0x3009, "ZW"},
    {0x300A, "EC"}, {0x3401, "KW"}, {0x3409, "PH"}, {0x340A, "CL"},
    {0x3801, "AE"}, {0x380A, "UY"}, {0x3C01, "BH"}, {0x3C0A, "PY"},
    {0x4001, "QA"}, {0x400A, "BO"}, {0x440A, "SV"}, {0x480A, "HN"},
    {0x4C0A, "NI"}, {0x500A, "PR"},
};
