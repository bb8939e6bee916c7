/*
 * The Advanced page's 3rd-party switch: shown from the adapter description
 * at every activation, stored when the page is left and on apply, and
 * locked while another configuration manager claims the adapter.
 */
#include "advanced_fixture.h"

namespace {

const char kOutsideClient[] = "Software\\Funk Software, Inc.\\Odyssey\\client\\control";

class ThirdPartyPage : public AdvancedPageTest {
protected:
    void SetUp() override
    {
        AdvancedPageTest::SetUp();
    }
    void TearDown() override
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, kOutsideClient);
        AdvancedPageTest::TearDown();
    }
    void Leave()
    {
        NMHDR n = {page().sheet(), 0, (UINT)PSN_KILLACTIVE};
        SendMessageA(page().page(), WM_NOTIFY, 0, (LPARAM)&n);
        page().pump();
    }
    DWORD Stored()
    {
        DWORD v = 0xDEAD;
        reg_->readDword("ThirdPartyConfiguration", &v);
        return v;
    }
};

TEST_F(ThirdPartyPage, StoredSwitchIsShown)
{
    reg_->writeDword("ThirdPartyConfiguration", 1);
    Open();
    EXPECT_TRUE(page().checked(IDC_THIRD_PARTY));
    EXPECT_TRUE(page().enabled(IDC_THIRD_PARTY));
}

TEST_F(ThirdPartyPage, LeavingThePageStoresTheSwitchAtOnce)
{
    reg_->writeDword("ThirdPartyConfiguration", 0);
    Open();
    EXPECT_FALSE(page().checked(IDC_THIRD_PARTY));
    SimClearLog();
    page().click(IDC_THIRD_PARTY);
    Leave();
    EXPECT_EQ(1u, Stored());
    EXPECT_TRUE(PutTypes(Exchanges()).empty());
    page().click(IDC_THIRD_PARTY);
    Leave();
    EXPECT_EQ(0u, Stored());
}

TEST_F(ThirdPartyPage, ApplyStoresTheSwitch)
{
    reg_->writeDword("ThirdPartyConfiguration", 0);
    Open();
    page().click(IDC_THIRD_PARTY);
    page().press(PSBTN_OK);
    EXPECT_EQ(1u, Stored());
}

TEST_F(ThirdPartyPage, AnotherManagerLocksTheBox)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, kOutsideClient, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    DWORD one = 1;
    RegSetValueExA(key, "enabled", 0, REG_DWORD, (const BYTE *)&one, sizeof one);
    RegCloseKey(key);
    reg_->writeDword("ThirdPartyConfiguration", 0);
    Open();
    EXPECT_TRUE(page().checked(IDC_THIRD_PARTY));
    EXPECT_FALSE(page().enabled(IDC_THIRD_PARTY));
    /* the locked box is not taken over when the page is left */
    Leave();
    EXPECT_EQ(0u, Stored());
}

} // namespace
