// Country table, regulatory domain table and locale list.
#include "wlcore/country_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/country_order.h"

namespace {

const char kListF[] = "AR AU BR CA CL CO HK MY MX NZ PH SG TW TH US VE";
const char kListE[] = "AT BE DK FI FR DE GR IE IT LU NL PO ES SE UK CY EE HU "
                      "IS LV LI LT NO PL SA ZA CH TR TH AE";

std::vector<std::string> Words(const std::string &text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

std::string CodeOf(const CFG_CNF_COUNTRY_INFO_MAX_STRCT &rec)
{
    return std::string{static_cast<char>(rec.country_code[0]),
                       static_cast<char>(rec.country_code[1])};
}

std::vector<std::string> CountriesOf(const RegulatoryDomainRow &row)
{
    std::vector<std::string> codes;
    for (int i = 0; i < row.NumCountries; i++)
        codes.push_back(row.Countries[i]);
    return codes;
}

struct Set {
    int first, count, power;
};

void ExpectSets(const char *cc, const std::vector<Set> &sets)
{
    SCOPED_TRACE(cc);
    const CFG_CNF_COUNTRY_INFO_MAX_STRCT *rec = CountryInfoByCode(cc);
    ASSERT_NE(nullptr, rec);
    ASSERT_EQ(sets.size(), rec->n_channel_sets);
    EXPECT_EQ(COUNTRY_INFO_LEN(sets.size()), rec->len);
    for (size_t i = 0; i < sets.size(); i++) {
        EXPECT_EQ(sets[i].first, rec->channel_set[i].first_channel) << i;
        EXPECT_EQ(sets[i].count, rec->channel_set[i].number_of_channels) << i;
        EXPECT_EQ(sets[i].power, rec->channel_set[i].max_tx_power) << i;
    }
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> v;
    for (int c = first; c <= last; c++)
        v.push_back(c);
    return v;
}

} // namespace

TEST(CountryTable, HoldsTheCountriesInTheirOrder)
{
    const std::vector<std::string> order = CountryOrder();
    ASSERT_EQ(108u, order.size());
    ASSERT_EQ(108, COUNTRY_TABLE_SIZE);
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++)
        EXPECT_EQ(order[i], CodeOf(CountryTable[i])) << "index " << i;
    EXPECT_EQ("NL", CodeOf(CountryTable[0]));
    EXPECT_EQ("PR", CodeOf(CountryTable[107]));
}

TEST(CountryTable, RecordsAreWellFormed)
{
    EXPECT_EQ(96u, sizeof(CFG_CNF_COUNTRY_INFO_MAX_STRCT));
    EXPECT_EQ(14, MAX_NUM_CHANNEL_SETS);
    std::set<std::string> seen;
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++) {
        const CFG_CNF_COUNTRY_INFO_MAX_STRCT &rec = CountryTable[i];
        SCOPED_TRACE(CodeOf(rec));
        EXPECT_TRUE(seen.insert(CodeOf(rec)).second) << "duplicate code";
        EXPECT_EQ(0xFC29, rec.typ);
        EXPECT_TRUE(rec.n_channel_sets == 1 || rec.n_channel_sets == 2);
        EXPECT_EQ(5 + 3 * rec.n_channel_sets, rec.len);
        EXPECT_EQ(' ', rec.environment);
        for (int s = 0; s < MAX_NUM_CHANNEL_SETS; s++) {
            const CountryChannelSet &set = rec.channel_set[s];
            if (s < rec.n_channel_sets) {
                EXPECT_GE(set.first_channel, 1);
                EXPECT_GE(set.number_of_channels, 1);
                EXPECT_LE(set.first_channel + set.number_of_channels - 1, 14);
                EXPECT_GT(set.max_tx_power, 0);
            } else {
                EXPECT_EQ(0, set.first_channel | set.number_of_channels |
                                 set.max_tx_power)
                    << "unused set " << s;
            }
        }
    }
}

TEST(CountryTable, ChannelSetsOfEachCountry)
{
    const std::set<std::string> special = {
        "TW", "MY", "VE", "CO", "NI", "US", "BR", "CA", "PA", "AR", "UY",
        "PY", "HN", "GT", "CL", "MX", "JP", "IL", "JO", "HK", "AU"};
    for (const char *cc : {"TW", "MY", "VE", "CO", "NI"})
        ExpectSets(cc, {{1, 13, 30}});
    for (const char *cc : {"US", "BR", "CA", "PA", "AR", "UY", "PY", "HN"})
        ExpectSets(cc, {{1, 11, 30}});
    for (const char *cc : {"GT", "CL"})
        ExpectSets(cc, {{1, 11, 20}});
    ExpectSets("MX", {{1, 11, 28}});
    ExpectSets("JP", {{1, 14, 20}});
    ExpectSets("IL", {{4, 5, 20}});
    ExpectSets("JO", {{10, 4, 20}});
    ExpectSets("HK", {{1, 11, 30}, {12, 2, 20}});
    ExpectSets("AU", {{1, 9, 30}, {10, 4, 20}});
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++) {
        const std::string cc = CodeOf(CountryTable[i]);
        if (special.count(cc) == 0)
            ExpectSets(cc.c_str(), {{1, 13, 20}});
    }
}

TEST(CountryLookup, MatchesTwoCharactersExactly)
{
    EXPECT_EQ(0, CountryIndexByCode("NL"));
    EXPECT_EQ(9, CountryIndexByCode("US"));
    EXPECT_EQ(107, CountryIndexByCode("PR"));
    EXPECT_EQ(9, CountryIndexByCode("USA")) << "only two characters count";
    EXPECT_EQ(-1, CountryIndexByCode("us"));
    EXPECT_EQ(-1, CountryIndexByCode("Us"));
    EXPECT_EQ(-1, CountryIndexByCode("UK")) << "in a domain list only";
    EXPECT_EQ(-1, CountryIndexByCode("U"));
    EXPECT_EQ(-1, CountryIndexByCode(""));
    EXPECT_EQ(-1, CountryIndexByCode(nullptr));

    EXPECT_EQ(&CountryTable[61], CountryInfoByCode("HK"));
    EXPECT_EQ(nullptr, CountryInfoByCode("XX"));
    EXPECT_EQ(nullptr, CountryInfoByCode(nullptr));
    EXPECT_EQ(&CountryTable[0], CountryInfoByIndex(0));
    EXPECT_EQ(&CountryTable[107], CountryInfoByIndex(107));
    EXPECT_EQ(nullptr, CountryInfoByIndex(108));
    EXPECT_EQ(nullptr, CountryInfoByIndex(-1));
}

TEST(CountryLookup, EveryTableCountryIsFoundAtItsOwnIndex)
{
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++)
        EXPECT_EQ(i, CountryIndexByCode(CodeOf(CountryTable[i]).c_str()));
}

TEST(RegulatoryDomains, RowsLabelsAndCountryLists)
{
    ASSERT_EQ(12, DomainDataSize);
    const char *labels[] = {"All",           "World",
                            "FCC (Dual Band)", "ETS (Dual Band)",
                            "JP (Dual Band)",  "KR (Dual Band)",
                            "CN (Dual Band)",  "FCC (2.4 GHz)",
                            "ETS (2.4 GHz)",   "JP (2.4 GHz)",
                            "KR (2.4 GHz)",    "CN (2.4 GHz)"};
    for (int dc = 0; dc < DomainDataSize; dc++) {
        EXPECT_EQ(dc, DomainData[dc].DC);
        EXPECT_STREQ(labels[dc], DomainData[dc].Label);
        EXPECT_LT(strlen(DomainData[dc].Label), sizeof DomainData[dc].Label);
    }

    const std::vector<std::string> f = Words(kListF);
    const std::vector<std::string> e = Words(kListE);
    std::vector<std::string> w = f;
    w.insert(w.end(), e.begin(), e.end());
    ASSERT_EQ(46u, w.size());
    ASSERT_EQ(16u, f.size());
    ASSERT_EQ(30u, e.size());

    EXPECT_EQ(0, DomainData[0].NumCountries);
    EXPECT_EQ(w, CountriesOf(DomainData[1]));
    EXPECT_EQ(f, CountriesOf(DomainData[2]));
    EXPECT_EQ(e, CountriesOf(DomainData[3]));
    EXPECT_EQ(f, CountriesOf(DomainData[7]));
    EXPECT_EQ(e, CountriesOf(DomainData[8]));
    const std::vector<std::string> jp = {"JP"}, kr = {"KR"}, cn = {"CN"};
    EXPECT_EQ(jp, CountriesOf(DomainData[4]));
    EXPECT_EQ(kr, CountriesOf(DomainData[5]));
    EXPECT_EQ(cn, CountriesOf(DomainData[6]));
    EXPECT_EQ(jp, CountriesOf(DomainData[9]));
    EXPECT_EQ(kr, CountriesOf(DomainData[10]));
    EXPECT_EQ(cn, CountriesOf(DomainData[11]));
}

TEST(RegulatoryDomains, FlagsAndChannels)
{
    const struct {
        int flags5[2];
        std::vector<int> ch5;
        int flags24[2];
        std::vector<int> ch24;
    } rows[] = {
        {{1, 1}, {}, {1, 1}, {}},
        {{0, 0}, {}, {1, 1}, Range(1, 11)},
        {{0, 1}, {}, {1, 1}, Range(1, 11)},
        {{0, 1}, {}, {1, 1}, Range(1, 13)},
        {{1, 1}, {34, 38, 42, 46}, {1, 1}, Range(1, 14)},
        {{1, 1}, {149, 153, 157, 161}, {1, 1}, Range(1, 13)},
        {{1, 1}, {149, 153, 157, 161, 165}, {1, 1}, Range(1, 13)},
        {{0, 0}, {}, {1, 1}, Range(1, 11)},
        {{0, 0}, {}, {1, 1}, Range(1, 13)},
        {{0, 0}, {}, {1, 1}, Range(1, 14)},
        {{0, 0}, {}, {1, 1}, Range(1, 13)},
        {{0, 0}, {}, {1, 1}, Range(1, 13)},
    };
    for (int dc = 0; dc < DomainDataSize; dc++) {
        SCOPED_TRACE(dc);
        const RegulatoryDomainRow &row = DomainData[dc];
        EXPECT_EQ(rows[dc].flags5[0], row.Flags5[0]);
        EXPECT_EQ(rows[dc].flags5[1], row.Flags5[1]);
        EXPECT_EQ(rows[dc].flags24[0], row.Flags24[0]);
        EXPECT_EQ(rows[dc].flags24[1], row.Flags24[1]);
        ASSERT_LE(row.NumChannels5, DOMAIN_CHANNELS_5GHZ_MAX);
        ASSERT_LE(row.NumChannels24, DOMAIN_CHANNELS_24GHZ_MAX);
        EXPECT_EQ(rows[dc].ch5, std::vector<int>(row.Channels5,
                                                 row.Channels5 + row.NumChannels5));
        EXPECT_EQ(rows[dc].ch24,
                  std::vector<int>(row.Channels24,
                                   row.Channels24 + row.NumChannels24));
    }
}

TEST(RegulatoryDomains, LookupByCode)
{
    for (int dc = 0; dc < DomainDataSize; dc++)
        EXPECT_EQ(&DomainData[dc], RegulatoryDomainByCode(dc));
    EXPECT_EQ(nullptr, RegulatoryDomainByCode(12));
    EXPECT_EQ(nullptr, RegulatoryDomainByCode(-1));
}

TEST(LocaleList, ThreeGroupsInIncreasingOrder)
{
    ASSERT_EQ(186, LOCALE_LIST_SIZE);
    // Group boundaries: the first identifier of each group.
    int group = 0;
    for (int i = 0; i < LOCALE_LIST_SIZE; i++) {
        const uint32_t id = LocaleList[i].Lcid;
        SCOPED_TRACE(i);
        if (i > 0 && id <= LocaleList[i - 1].Lcid)
            ADD_FAILURE() << "not increasing";
        if (group == 0 && id >= 0x0400)
            group = 1;
        if (group == 1 && id >= 0x0800)
            group = 2;
        switch (group) {
        case 0:
            EXPECT_LE(id, 0x0057u);
            break;
        case 1:
            EXPECT_GE(id, 0x0400u);
            EXPECT_LE(id, 0x0457u);
            break;
        default:
            EXPECT_GE(id, 0x0801u);
            EXPECT_LE(id, 0x500Au);
            break;
        }
    }
    EXPECT_EQ(0x0000u, LocaleList[0].Lcid);
    EXPECT_EQ(0x500Au, LocaleList[LOCALE_LIST_SIZE - 1].Lcid);
    EXPECT_EQ(2, group);
}

TEST(LocaleList, LabelsAndCoverageOfTheCountryTable)
{
    std::set<std::string> labels;
    for (int i = 0; i < LOCALE_LIST_SIZE; i++) {
        const char *label = LocaleList[i].Label;
        SCOPED_TRACE(i);
        ASSERT_EQ(2u, strlen(label));
        labels.insert(label);
    }
    for (int i = 0; i < COUNTRY_TABLE_SIZE; i++)
        EXPECT_EQ(1u, labels.count(CodeOf(CountryTable[i])))
            << "no locale for " << CodeOf(CountryTable[i]);
}
