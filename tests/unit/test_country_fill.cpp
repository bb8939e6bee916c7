// Regulatory domain and country code buffers filled from the tables.
#include "wlcore/country_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

RegulatoryDomainBuffer Sentinel()
{
    RegulatoryDomainBuffer b;
    std::memset(&b, 0x77, sizeof b);
    b.TS.Type = RegulatoryDomainBufferType;
    b.TS.Size = sizeof b;
    return b;
}

std::vector<int> List(const int32_t *v, int n)
{
    return std::vector<int>(v, v + n);
}

CFG_CNF_COUNTRY_INFO_MAX_STRCT Country(std::initializer_list<CountryChannelSet> sets)
{
    CFG_CNF_COUNTRY_INFO_MAX_STRCT c;
    std::memset(&c, 0, sizeof c);
    c.typ = COUNTRY_INFO_RECORD_TYPE;
    for (const CountryChannelSet &s : sets) c.channel_set[c.n_channel_sets++] = s;
    c.len = COUNTRY_INFO_LEN(c.n_channel_sets);
    return c;
}

} // namespace

TEST(RegulatoryDomainFill, CopiesEveryFieldOfTheRowAndKeepsTheHeader)
{
    for (int dc = 0; dc < DomainDataSize; dc++) {
        SCOPED_TRACE(dc);
        RegulatoryDomainBuffer b = Sentinel();
        RegulatoryDomainFill(&b, &DomainData[dc]);
        const RegulatoryDomainRow &row = DomainData[dc];
        EXPECT_EQ(RegulatoryDomainBufferType, b.TS.Type);
        EXPECT_EQ(sizeof b, b.TS.Size);
        EXPECT_EQ(dc, b.DC);
        EXPECT_STREQ(row.Label, b.Label);
        EXPECT_EQ(0, std::memcmp(b.Label, row.Label, 16)) << "label zero padded";
        EXPECT_EQ(row.Flags5[0], b.Flags5GHz[0]);
        EXPECT_EQ(row.Flags5[1], b.Flags5GHz[1]);
        EXPECT_EQ(row.Flags24[0], b.Flags2GHz[0]);
        EXPECT_EQ(row.Flags24[1], b.Flags2GHz[1]);
        EXPECT_EQ(row.NumChannels5, b.NumChannels5GHz);
        EXPECT_EQ(row.NumChannels24, b.NumChannels2GHz);
        EXPECT_EQ(0, std::memcmp(b.Channels5GHz, row.Channels5, sizeof b.Channels5GHz));
        EXPECT_EQ(0, std::memcmp(b.Channels2GHz, row.Channels24, sizeof b.Channels2GHz));
    }
}

TEST(CountryCodesFill, CodesWithZeroThirdByteAndTheRestUntouched)
{
    CountryCodeBuffer b;
    std::memset(&b, 'q', sizeof b);
    CountryCodesFill(&b, &DomainData[1]);
    EXPECT_EQ(1, b.DC);
    EXPECT_STREQ("World", b.Label);
    ASSERT_EQ(46, b.NumCodes);
    EXPECT_STREQ("AR", b.Code[0]);
    EXPECT_STREQ("AE", b.Code[45]);
    EXPECT_EQ('q', b.Code[46][0]);
    EXPECT_EQ('q', b.Code[299][2]);

    std::memset(&b, 'q', sizeof b);
    CountryCodesFill(&b, &DomainData[0]);
    EXPECT_EQ(0, b.NumCodes);
    EXPECT_STREQ("All", b.Label);
    EXPECT_EQ('q', b.Code[0][0]);
}

TEST(ChannelsFromCountry, BandsByFirstChannel)
{
    RegulatoryDomainBuffer b = Sentinel();
    RegulatoryDomainFill(&b, &DomainData[0]);
    RegulatoryDomainChannelsFromCountry(&b, CountryInfoByCode("HK"));
    std::vector<int> ch24;
    for (int c = 1; c <= 13; c++) ch24.push_back(c);
    EXPECT_EQ(ch24, List(b.Channels2GHz, b.NumChannels2GHz));
    EXPECT_EQ(0, b.NumChannels5GHz);

    // Sets from channel 15 on are 5 GHz, four channel numbers apart.
    b = Sentinel();
    CFG_CNF_COUNTRY_INFO_MAX_STRCT c = Country({{36, 4, 17}, {1, 2, 20}, {149, 5, 30}});
    b.Flags5GHz[0] = b.Flags5GHz[1] = 0;
    b.Flags2GHz[0] = b.Flags2GHz[1] = 0;
    RegulatoryDomainChannelsFromCountry(&b, &c);
    EXPECT_EQ((std::vector<int>{36, 40, 44, 48, 149, 153, 157, 161, 165}),
              List(b.Channels5GHz, b.NumChannels5GHz));
    EXPECT_EQ((std::vector<int>{1, 2}), List(b.Channels2GHz, b.NumChannels2GHz));
    EXPECT_EQ(1, b.Flags5GHz[0]);
    EXPECT_EQ(1, b.Flags5GHz[1]);
    EXPECT_EQ(1, b.Flags2GHz[0]);
    EXPECT_EQ(1, b.Flags2GHz[1]);

    // 14 is still 2.4 GHz; a band without sets keeps its flags.
    b = Sentinel();
    b.Flags5GHz[0] = b.Flags5GHz[1] = 0;
    c = Country({{14, 1, 20}});
    RegulatoryDomainChannelsFromCountry(&b, &c);
    EXPECT_EQ((std::vector<int>{14}), List(b.Channels2GHz, b.NumChannels2GHz));
    EXPECT_EQ(0, b.Flags5GHz[0]);
    EXPECT_EQ(0, b.NumChannels5GHz);

    // No channel sets: both counts 0.
    b = Sentinel();
    c = Country({});
    RegulatoryDomainChannelsFromCountry(&b, &c);
    EXPECT_EQ(0, b.NumChannels2GHz);
    EXPECT_EQ(0, b.NumChannels5GHz);
}

TEST(ChannelsFromCountry, HostileRecordStaysWithinTheLists)
{
    // A record claiming more sets than it holds, with huge channel counts.
    CFG_CNF_COUNTRY_INFO_MAX_STRCT c;
    std::memset(&c, 0xFF, sizeof c);
    for (int s = 0; s < MAX_NUM_CHANNEL_SETS; s++)
        c.channel_set[s] = {static_cast<uint16_t>(s % 2 ? 3 : 100), 0xFFFF, 1};
    struct {
        RegulatoryDomainBuffer b;
        uint32_t guard[4];
    } g;
    std::memset(&g, 0x77, sizeof g);
    RegulatoryDomainChannelsFromCountry(&g.b, &c);
    EXPECT_EQ(MAX_NUM_2GHZ_CHANNELS, g.b.NumChannels2GHz);
    EXPECT_EQ(MAX_NUM_5GHZ_CHANNELS, g.b.NumChannels5GHz);
    for (uint32_t w : g.guard) EXPECT_EQ(0x77777777u, w);
}
