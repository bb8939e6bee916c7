/*
 * The optional link thresholds of the per-NIC store consulted by WLAPHPP's
 * link verdict: a usable link below a set minimum signal or margin is left
 * for the next preferred profile; without the values nothing changes.
 */
#include "wlsession.h"

#define PROFILE_ROOT "Software\\Wireless\\Driver"

class HuntingThresholdTest : public AdapterTest {
protected:
    HuntingThresholdTest() : AdapterTest("0177") {}
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROFILE_ROOT);
        AdapterTest::SetUp();
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLInitializeProfiles)());
        s_.reg->writeDword("ProfileHunting", 1);
        const std::string name = "One", ssid = "NetOne";
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLProfileIns)());
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileNameSet)(name.data(), (DWORD)name.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDSet)(ssid.data(), (DWORD)ssid.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileByNameSet)(name.data(), (DWORD)name.size()));
        ASSERT_EQ(WL_SUCCESS, WL(lib(), WLFirstPreferredProfileByNameSet)("One", 3));
        s_.SetRecord({2, 0xFD40, 4});                /* a usable link */
        s_.SetRecord({4, 0xFD43, 20, 100, 50});      /* signal -49 dBm, noise -99 dBm */
    }
    void TearDown() override
    {
        AdapterTest::TearDown();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROFILE_ROOT);
    }
    std::string ConfigName()
    {
        std::string s;
        s_.reg->readString("ConfigName", &s);
        return s;
    }
};

TEST_P(HuntingThresholdTest, ThresholdAboveTheSignalHuntsWithoutItStays)
{
    struct { const char *value; int set; bool hunts; } cases[] = {
        {nullptr, 0, false},
        {"HuntingMinSignal", -60, false},
        {"HuntingMinSNR", 50, false},
        {"HuntingMinSignal", -40, true},
        {"HuntingMinSNR", 51, true},
    };
    for (auto &c : cases) {
        s_.reg->writeString("ConfigName", "Config01");
        if (c.value) s_.reg->writeDword(c.value, (DWORD)c.set);
        int rc = WL(lib(), WLAPHPP)();
        EXPECT_EQ(c.hunts ? "One" : "Config01", ConfigName()) << (c.value ? c.value : "none") << " " << c.set;
        EXPECT_EQ(c.hunts ? WL_DATA_NOT_AVAILABLE : WL_SUCCESS, rc) << why();
        if (c.value) s_.reg->deleteValue(c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, HuntingThresholdTest, testing::ValuesIn(kVariants), VariantName);
