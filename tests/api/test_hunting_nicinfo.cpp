/* The current adapter's description, and its PCI identity and status. */
#include "sim_session.h"

class NicInfoTest : public testing::TestWithParam<Variant> {
protected:
    void SetUp() override { s_.reset(new SimSession(GetParam(), "0175")); }
    void TearDown() override { s_.reset(); }
    /* WLCurrentNICInfoGet into a buffer whose every other byte is `fill`. */
    int Info(Guarded<CurrentNICInfoBuffer> *g) { return WL(s_->lib, WLCurrentNICInfoGet)(&g->b); }
    static void SetEnumString(const RegAdapter &a, const char *name, const char *value)
    {
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, a.enumKey().c_str(), &h));
        RegSetValueExA(h, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
        RegCloseKey(h);
    }
    static void DeleteEnumValue(const RegAdapter &a, const char *name)
    {
        HKEY h;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, a.enumKey().c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
        RegDeleteValueA(h, name);
        RegCloseKey(h);
    }
    std::unique_ptr<SimSession> s_;
};

TEST_P(NicInfoTest, FieldByField)
{
    s_->reg.writeDword("ProfileHunting", 1);
    s_->reg.deleteValue("SystrayIcon");
    s_->Set({2, 0x0908, 2});
    Guarded<CurrentNICInfoBuffer> g(CurrentNICInfoBufferType, 0x5A);
    ASSERT_EQ(WL_SUCCESS, Info(&g)) << s_->lib.returnString();
    EXPECT_STREQ("0175", g.b.Nic);
    EXPECT_STREQ("Wireless LAN PC Card", g.b.FriendlyName) << "DeviceDesc without a FriendlyName";
    EXPECT_STREQ("8.24.0.629", g.b.DriverVersion);
    EXPECT_STREQ("Config01", g.b.ConfigName);
    EXPECT_EQ(1, g.b.ProfileHunting);
    EXPECT_EQ(1, g.b.SystrayIcon) << "missing SystrayIcon reports 1";
    DWORD stored = 0;
    EXPECT_TRUE(s_->reg.readDword("SystrayIcon", &stored));
    EXPECT_EQ(1u, stored) << "and 1 is stored";
    EXPECT_EQ(2, g.b.ConnectionMode);
    EXPECT_EQ(1, g.b.Present);
    uint32_t word;
    memcpy(&word, &g.b.ThirdPartyConfiguration, sizeof word);
    EXPECT_EQ(0x5A5A5A5Au & ~0x1Fu, word) << "bits 5 to 31 as the caller set them, no manager";
    EXPECT_TRUE(g.GuardIntact());

    s_->reg.writeDword("SystrayIcon", 0);
    s_->reg.writeDword("ThirdPartyConfiguration", 1);
    Guarded<CurrentNICInfoBuffer> h(CurrentNICInfoBufferType, 0);
    ASSERT_EQ(WL_SUCCESS, Info(&h));
    EXPECT_EQ(0, h.b.SystrayIcon);
    EXPECT_EQ(1u, h.b.ThirdPartyConfiguration.Own);
    EXPECT_EQ(0u, h.b.ThirdPartyConfiguration.NotOwn);
}

TEST_P(NicInfoTest, WithoutDriverNotPresentButRegistryFilled)
{
    SimReset();
    Guarded<CurrentNICInfoBuffer> g(CurrentNICInfoBufferType, 0x5A);
    ASSERT_EQ(WL_SUCCESS, Info(&g));
    EXPECT_EQ(0, g.b.Present);
    EXPECT_STREQ("0175", g.b.Nic);
    EXPECT_STREQ("8.24.0.629", g.b.DriverVersion);
    EXPECT_STREQ("Config01", g.b.ConfigName);
    EXPECT_EQ(0x5A5A5A5A, g.b.ConnectionMode) << "a failed read keeps the caller's value";
    EXPECT_EQ(0x5A5A5A5A, g.b.ProfileHunting) << "no value stored: the caller's value";
    EXPECT_TRUE(g.GuardIntact());
}

TEST_P(NicInfoTest, FriendlyNameFallsBackToDeviceDescription)
{
    SetEnumString(s_->reg, "FriendlyName", "Office card");
    Guarded<CurrentNICInfoBuffer> g(CurrentNICInfoBufferType);
    ASSERT_EQ(WL_SUCCESS, Info(&g));
    EXPECT_STREQ("Office card", g.b.FriendlyName);
    SetEnumString(s_->reg, "FriendlyName", "");
    ASSERT_EQ(WL_SUCCESS, Info(&g));
    EXPECT_STREQ("Wireless LAN PC Card", g.b.FriendlyName) << "empty FriendlyName";
    DeleteEnumValue(s_->reg, "FriendlyName");
    DeleteEnumValue(s_->reg, "DeviceDesc");
    ASSERT_EQ(WL_SUCCESS, Info(&g));
    EXPECT_STREQ("", g.b.FriendlyName) << "neither value";
    EXPECT_TRUE(s_->Logged("*Size == 0")) << "FriendlyNameGet answered WL_DATA_NOT_AVAILABLE";
}

TEST_P(NicInfoTest, ChecksTheBuffer)
{
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s_->lib, WLCurrentNICInfoGet)(NULL));
    EXPECT_EQ("Val == NULL", s_->Reason());
    Guarded<CurrentNICInfoBuffer> g(CurrentNICInfoBufferType + 1, 0x5A);
    EXPECT_EQ(WL_INVALID_PARAMETER, Info(&g));
    EXPECT_EQ("Val->TS.Type != CurrentNICInfoBufferType", s_->Reason());
    g.b.TS.Type = CurrentNICInfoBufferType;
    g.b.TS.Size = 187;
    EXPECT_EQ(WL_INVALID_PARAMETER, Info(&g));
    EXPECT_EQ("Val->TS.Size != sizeof (CurrentNICInfoBuffer)", s_->Reason());
    EXPECT_EQ(0x5A5A5A5A, g.b.Present) << "a refused call writes nothing";
}

TEST_P(NicInfoTest, PciIdentityAndStatus)
{
    Guarded<IdentityBuffer> id(IdentityBufferType, 0x5A);
    ASSERT_EQ(WL_SUCCESS, WL(s_->lib, WLPCIIdentityGet)(&id.b)) << s_->lib.returnString();
    EXPECT_EQ(0x1A57, id.b.C);
    EXPECT_EQ(0x4801, id.b.V);
    EXPECT_EQ(0x1A57, id.b.M);
    EXPECT_EQ(0x0048, id.b.m);
    EXPECT_TRUE(id.GuardIntact());
    int status = -1;
    ASSERT_EQ(WL_SUCCESS, WL(s_->lib, WLPCIStatusGet)(&status));
    EXPECT_EQ(0x0290, status);
    EXPECT_EQ(WL_NOT_CONNECTED, WL(s_->lib, WLConnected)()) << "connect-read-disconnect";

    /* Zero-extended words; a short answer gives 0 for the words it lacks. */
    std::vector<uint16_t> rec(2 + 11, 0);
    rec[0] = 12;
    rec[1] = 0x0903;
    rec[2 + 10] = 0xFFFF;
    s_->Set(rec);
    ASSERT_EQ(WL_SUCCESS, WL(s_->lib, WLPCIStatusGet)(&status));
    EXPECT_EQ(0xFFFF, status);
    ASSERT_EQ(WL_SUCCESS, WL(s_->lib, WLPCIIdentityGet)(&id.b));
    EXPECT_EQ(0, id.b.C);
    EXPECT_EQ(0, id.b.m);
}

TEST_P(NicInfoTest, PciReadFailuresAndChecks)
{
    SimReset();
    Guarded<IdentityBuffer> id(IdentityBufferType, 0x5A);
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s_->lib, WLPCIIdentityGet)(&id.b));
    EXPECT_EQ(0, id.b.C) << "written from the record buffer in either case";
    int status = -1;
    EXPECT_EQ(WL_DATA_NOT_AVAILABLE, WL(s_->lib, WLPCIStatusGet)(&status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s_->lib, WLPCIStatusGet)(NULL));
    EXPECT_EQ("Val == NULL", s_->Reason());
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s_->lib, WLPCIIdentityGet)(NULL));
    Guarded<IdentityBuffer> bad(IdentityBufferType + 1);
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s_->lib, WLPCIIdentityGet)(&bad.b));
    EXPECT_EQ("Val->TS.Type != IdentityBufferType", s_->Reason());
    bad.b.TS.Type = IdentityBufferType;
    bad.b.TS.Size = 25;
    EXPECT_EQ(WL_INVALID_PARAMETER, WL(s_->lib, WLPCIIdentityGet)(&bad.b));
    EXPECT_EQ("Val->TS.Size != sizeof (IdentityBuffer)", s_->Reason());
}

INSTANTIATE_TEST_SUITE_P(Variants, NicInfoTest, testing::ValuesIn(kVariants), VariantName);
