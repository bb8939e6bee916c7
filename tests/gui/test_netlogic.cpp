/* Pure rules of the Wireless Networks page: row images, the scan filter,
 * the column width rule, the compatibility check, tooltip texts. */
#include <gtest/gtest.h>

#include <string.h>

#include "netlogic.h"

namespace {

TEST(RowImages, ByModeAndActivity)
{
    const struct {
        int mode, active, level, icon, state;
    } cases[] = {
        {0, 0, 3, 0, 15}, {0, 1, 3, 6, 18}, {0, 1, 6, 6, 21}, {0, 1, 0, 6, 21}, /* unreadable quality */
        {3, 1, 5, 6, 20}, /* mode 3 reads as 0 */
        {1, 0, 3, 3, 15}, {1, 1, 3, 9, 14}, {2, 0, 3, 12, 15}, {2, 1, 1, 13, 14},
    };
    for (const auto &c : cases) {
        RowImages r = PreferredRowImages(c.mode, c.active, c.level);
        EXPECT_EQ(c.icon, r.icon) << c.mode << "/" << c.active;
        EXPECT_EQ(c.state, r.state) << c.mode << "/" << c.active << "/" << c.level;
    }
    EXPECT_EQ(3, ProfileRowIcon(1));
    EXPECT_EQ(0, ProfileRowIcon(3));
}

TEST(ScanFilter, IndexAgainstCapabilityBit)
{
    /* index 0 all, 1 peer to peer, 2 base stations; bit 0 = base station */
    const int passes[3][2] = {{1, 1}, {1, 0}, {0, 1}};
    for (int f = 0; f < 3; f++)
        for (unsigned base = 0; base < 2; base++) EXPECT_EQ(passes[f][base], ScanFilterPasses(f, base | 0x10)) << f;
    EXPECT_FALSE(ScanSsidListed(""));
    EXPECT_FALSE(ScanSsidListed(" "));
    EXPECT_TRUE(ScanSsidListed("  "));
}

TEST(ColumnWidth, CrossingTheVisibleRows)
{
    EXPECT_EQ(-9, ColumnWidthDelta(3, 4, 3));
    EXPECT_EQ(-9, ColumnWidthDelta(0, 32, 3));
    EXPECT_EQ(9, ColumnWidthDelta(4, 3, 3));
    EXPECT_EQ(0, ColumnWidthDelta(4, 9, 3));
    EXPECT_EQ(0, ColumnWidthDelta(1, 3, 3));
    EXPECT_EQ(-9, ColumnWidthDelta(12, 13, 12));
    EXPECT_EQ(0, ColumnWidthDelta(3, 4, 12));
}

RegulatoryDomainBuffer Domain(int dc, int c5, int j5, int c24, int j24)
{
    RegulatoryDomainBuffer d;
    memset(&d, 0, sizeof d);
    d.DC = dc;
    d.Flags5GHz[0] = c5;
    d.Flags5GHz[1] = j5;
    d.Flags2GHz[0] = c24;
    d.Flags2GHz[1] = j24;
    d.NumChannels2GHz = 11;
    for (int i = 0; i < 11; i++) d.Channels2GHz[i] = i + 1;
    return d;
}

TEST(Compatibility, AgainstTheDomain)
{
    const char kChoose[] = " Choose location...";
    const RegulatoryDomainBuffer both = Domain(1, 1, 1, 1, 1), joinOnly = Domain(1, 0, 1, 0, 1),
                                 no5 = Domain(1, 0, 0, 1, 1), byCountry = Domain(0, 1, 1, 1, 1);
    const struct {
        const char *what;
        int present;
        const RegulatoryDomainBuffer *d;
        CompatProfile p;
        const char *country;
        Compatibility want;
    } cases[] = {
        {"absent adapter", 0, &both, {0, 2, {0, 0}}, "US", COMPAT_UNVERIFIED},
        {"join, auto band", 1, &both, {0, 2, {0, 0}}, "US", COMPAT_OK},
        {"join 5 GHz without it", 1, &no5, {0, 1, {0, 0}}, "US", COMPAT_INCOMPATIBLE},
        {"join auto uses both bands", 1, &no5, {0, 2, {0, 0}}, "US", COMPAT_INCOMPATIBLE},
        {"join 2.4 GHz only", 1, &no5, {0, 0, {0, 0}}, "US", COMPAT_OK},
        {"create where only joining is allowed", 1, &joinOnly, {1, 0, {0, 0}}, "US", COMPAT_INCOMPATIBLE},
        {"join where only joining is allowed", 1, &joinOnly, {0, 2, {0, 0}}, "US", COMPAT_OK},
        {"group on a listed channel", 1, &both, {1, 0, {11, 0}}, "US", COMPAT_OK},
        {"group on an unlisted channel", 1, &both, {1, 0, {13, 0}}, "US", COMPAT_INCOMPATIBLE},
        {"base station with an own 5 GHz channel", 1, &both, {2, 1, {0, 36}}, "US", COMPAT_INCOMPATIBLE},
        {"join ignores channels", 1, &both, {0, 0, {13, 36}}, "US", COMPAT_OK},
        {"domain by country, none chosen", 1, &byCountry, {0, 2, {0, 0}}, "", COMPAT_INCOMPATIBLE},
        {"domain by country, placeholder", 1, &byCountry, {0, 2, {0, 0}}, kChoose, COMPAT_INCOMPATIBLE},
        {"domain by country, chosen", 1, &byCountry, {0, 2, {0, 0}}, "DE", COMPAT_OK},
    };
    for (const auto &c : cases) EXPECT_EQ(c.want, CheckCompatibility(c.present, *c.d, c.p, c.country, kChoose)) << c.what;
}

TEST(Tooltips, TextsById)
{
    const struct {
        int id;
        unsigned text;
    } cases[] = {{1, 3157}, {2052, 3144}, {2057, 3149}, {2165, 3149}, {2060, 3151}, {2166, 3151},
                 {2206, 3169}, {2207, 3169}, {2314, 3141}, {2316, 3154}, {2250, 3165}, {2063, 3116}, {-1, 3116}};
    for (const auto &c : cases) EXPECT_EQ(c.text, TooltipStringFor(c.id)) << c.id;
}

} // namespace
