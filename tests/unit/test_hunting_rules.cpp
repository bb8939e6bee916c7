/* Pure rules of profile hunting, the PCI record and the service's switches. */
#include <gtest/gtest.h>

#include <string.h>

#include "wlcore/hunting_rules.h"
#include "wlcore/pcirecord.h"
#include "service/switches.h"

static const unsigned char kBssid[6] = {0x02, 0x57, 0x4C, 0x53, 0x4D, 0x01};
static const unsigned char kZero[6] = {0};

TEST(HuntingRules, LinkVerdict)
{
    const struct {
        int ok, port, link;
        const unsigned char *bssid;
        LinkVerdict want;
    } rows[] = {
        {0, 0, 0, kBssid, LINK_STAY},  /* a failed reading: stay */
        {1, 4, 0, kBssid, LINK_STAY},  /* port 4 */
        {1, 3, 1, kBssid, LINK_STAY},  /* port 3, link 1, a BSSID */
        {1, 3, 0, kZero, LINK_STAY},   /* port 3, no BSSID */
        {1, 3, 0, kBssid, LINK_HUNT},  /* port 3, link lost */
        {1, 3, 2, kBssid, LINK_HUNT},
        {1, 1, 1, kBssid, LINK_HUNT},  /* port disabled */
        {1, 2, 1, kZero, LINK_HUNT},   /* the BSSID counts only at port 3 */
        {1, 5, 1, kBssid, LINK_HUNT},
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.want, LinkVerdictOf(r.ok, r.port, r.link, r.bssid)) << r.ok << " " << r.port << " " << r.link;
}

TEST(HuntingRules, SettleTimeByConnectionMode)
{
    const int want[] = {2000, 10000, 2000, 2000, 0, 0};
    for (int mode = 0; mode < 6; mode++) EXPECT_EQ((unsigned)want[mode], SettleTimeMs(mode)) << mode;
    EXPECT_EQ(0u, SettleTimeMs(-1));
}

TEST(HuntingRules, ThirdPartyWord)
{
    const struct {
        uint32_t caller, tp, zc, fk, want;
    } rows[] = {
        {0, 0, 0, 0, 0},
        {0, 1, 0, 0, THIRD_PARTY_OWN},
        {0, 2, 0, 0, 0}, /* only bit 0 of the stored switch */
        {0, 0, 2, 0, THIRD_PARTY_NOT_OWN | THIRD_PARTY_MICROSOFT},
        {0, 0, 3, 0, 0},
        {0, 0, 0, 1, THIRD_PARTY_NOT_OWN | THIRD_PARTY_FUNK},
        {0, 0, 0, 2, THIRD_PARTY_NOT_OWN}, /* enabled but bit 0 clear */
        {0xFFFFFFFFu, 0, 0, 0, 0xFFFFFFE0u}, /* bits 5 to 31 kept, 0 to 4 set here */
        {0xA0u, 1, 2, 1, 0xA0u | 0x0Fu},
    };
    for (const auto &r : rows) EXPECT_EQ(r.want, ThirdPartyWord(r.caller, r.tp, r.zc, r.fk));
}

TEST(HuntingRules, RegistryInteger)
{
    const unsigned char dword[4] = {0x01, 0x02, 0x00, 0x00};
    EXPECT_EQ(0x201u, RegistryInteger(REG_DWORD, dword, 4));
    EXPECT_EQ(0x1u, RegistryInteger(REG_BINARY, dword, 1)) << "never past the value's size";
    EXPECT_EQ(0u, RegistryInteger(REG_DWORD, dword, 0));
    EXPECT_EQ(12u, RegistryInteger(REG_SZ, (const unsigned char *)"12abc", 5));
    EXPECT_EQ(1u, RegistryInteger(REG_SZ, (const unsigned char *)"12", 1)) << "unterminated text ends at its size";
    EXPECT_EQ(0u, RegistryInteger(REG_SZ, (const unsigned char *)"on", 3));
    std::string longText(64, '7');
    EXPECT_NE(0u, RegistryInteger(REG_EXPAND_SZ, (const unsigned char *)longText.data(), 64));
}

TEST(PciRecord, RequestAndWords)
{
    PciInfoLtv r;
    memset(&r, 0xEE, sizeof r);
    PciRecordRequest(&r);
    EXPECT_EQ(107, r.len);
    EXPECT_EQ(0x0903, r.typ);
    EXPECT_EQ(2, r.val[0]);
    for (int i = 1; i < 106; i++) ASSERT_EQ(0, r.val[i]) << i;

    for (int i = 0; i < 106; i++) r.val[i] = (uint16_t)(0x8000 + i);
    IdentityBuffer id;
    PciRecordIdentity(&r, &id);
    EXPECT_EQ(0x800D, id.C) << "zero-extended";
    EXPECT_EQ(0x800E, id.V);
    EXPECT_EQ(0x800F, id.M);
    EXPECT_EQ(0x8010, id.m);
    EXPECT_EQ(0x800A, PciRecordStatus(&r));

    /* A short answer: words past its len read as 0. */
    r.len = 12; /* typ and words 0 to 10 */
    PciRecordIdentity(&r, &id);
    EXPECT_EQ(0, id.C);
    EXPECT_EQ(0, id.m);
    EXPECT_EQ(0x800A, PciRecordStatus(&r));
    r.len = 11;
    EXPECT_EQ(0, PciRecordStatus(&r));
    r.len = 0;
    EXPECT_EQ(0, PciRecordStatus(&r));
    /* A len beyond the record is held to the record. */
    r.len = 0xFFFF;
    PciRecordIdentity(&r, &id);
    EXPECT_EQ(0x8010, id.m);
}

TEST(ServiceSwitches, Recognition)
{
    const struct {
        const char *args;
        ServiceSwitch want;
    } rows[] = {
        {"/Service", SWITCH_SERVICE},
        {"-service", SWITCH_SERVICE},
        {"/UnregService", SWITCH_UNREG_SERVICE},
        {"-unregservice", SWITCH_UNREG_SERVICE},
        {"/SERVICE", SWITCH_SERVICE},
        {"/Service ", SWITCH_NONE}, /* nothing may follow, not even a blank */
        {" /Service", SWITCH_SERVICE},
        {"Service", SWITCH_NONE},
        {"", SWITCH_NONE},
        {"/x /Service", SWITCH_SERVICE},    /* scanning goes on after a switch character */
        {"/Service /x", SWITCH_NONE},
        {"a-b/UnregService", SWITCH_UNREG_SERVICE},
        {"//Service", SWITCH_SERVICE},
        {"/", SWITCH_NONE},
    };
    for (const auto &r : rows) EXPECT_EQ(r.want, ServiceSwitchOf(r.args)) << "\"" << r.args << "\"";
    EXPECT_EQ(SWITCH_NONE, ServiceSwitchOf(NULL));
}

TEST(ServiceSwitches, ArgumentsAfterTheProgramName)
{
    EXPECT_STREQ("/Service", ArgumentsOf("\"C:\\Program Files\\WSVXQ48D.exe\" /Service"));
    EXPECT_STREQ("/Service ", ArgumentsOf("C:\\x\\WSVXQ48D.exe  /Service "));
    EXPECT_STREQ("", ArgumentsOf("WSVXQ48D.exe"));
    EXPECT_STREQ("", ArgumentsOf("\"unterminated"));
    EXPECT_STREQ("", ArgumentsOf(NULL));
}
