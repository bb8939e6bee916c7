/*
 * The "Wireless Advanced" page end to end: what it shows of the adapter,
 * the rate rows, the country box, Default and Cancel, and apply's driver
 * exchanges.
 */
#include "advanced_fixture.h"

#include <setupapi.h>

namespace {

const uint16_t kPowerMode = 0x0907, kScale = 0xFC06, kTxPower = 0xFC2A, kRates = 0xFC84;
const uint16_t kCoexistence = 0xFCC7, kWiFi = 0xFC35, kDomain = 0xFD25;

TEST_F(AdvancedPageTest, ShowsTheAdapterSettings)
{
    Set({2, kPowerMode, 3});
    Set({2, kScale, 3});
    Set({2, kTxPower, 14});
    Set({3, kRates, 0x000F, 0x0FF0});
    Set({2, kCoexistence, 0x0002});
    Set({2, kWiFi, 0});
    Open();
    EXPECT_EQ("Automatic", page().selectedText(IDC_POWER_MANAGEMENT));
    EXPECT_EQ((std::vector<std::string>{"Large", "Medium", "Small", "Minicell", "Microcell"}),
              page().entries(IDC_SYSTEM_SCALE));
    EXPECT_EQ("Small", page().selectedText(IDC_SYSTEM_SCALE));
    EXPECT_EQ((std::vector<std::string>{"8", "10", "12", "14", "16", "18", "20"}), page().entries(IDC_TX_POWER));
    EXPECT_EQ("14", page().selectedText(IDC_TX_POWER));
    EXPECT_EQ(0x00Fu, RowMask(IDC_RATE24_FIRST));
    EXPECT_EQ(0xFF0u, RowMask(IDC_RATE5_FIRST));
    EXPECT_TRUE(page().checked(IDC_LONG_PREAMBLE));
    EXPECT_TRUE(page().checked(IDC_ALLOW_11G_IBSS));
    const char *labels[12] = {" 1", " 2", "5.5", "11", " 6", " 9", "12", "18", "24", "36", "48", "54"};
    for (int i = 0; i < 12; i++) EXPECT_EQ(labels[i], page().text(IDC_RATE_LABEL_FIRST + i));
    for (int i = 0; i < 4; i++) EXPECT_FALSE(page().visible(IDC_RATE5_FIRST + i));
    EXPECT_EQ("Wireless Advanced", page().tabTitle());
}

TEST_F(AdvancedPageTest, TransmitPowerNotListedSelects20)
{
    Set({2, kTxPower, 15});
    Open();
    EXPECT_EQ("20", page().selectedText(IDC_TX_POWER));
}

/* Power mode 4 is "OS Controlled", offered on Windows XP only. */
TEST_F(AdvancedPageTest, PowerModeFourByOsType)
{
    Set({2, kPowerMode, 4});
    Open();
    if (ExpectedOsType() == OS_WIN2001) {
        EXPECT_EQ((std::vector<std::string>{"Disabled", "Automatic", "OS Controlled"}),
                  page().entries(IDC_POWER_MANAGEMENT));
        EXPECT_EQ("OS Controlled", page().selectedText(IDC_POWER_MANAGEMENT));
    } else {
        EXPECT_EQ((std::vector<std::string>{"Disabled", "Automatic"}), page().entries(IDC_POWER_MANAGEMENT));
        EXPECT_EQ(-1, page().selection(IDC_POWER_MANAGEMENT));
        /* Apply leaves a mode the box cannot show alone. */
        page().click(IDC_LONG_PREAMBLE);
        page().press(PSBTN_OK);
        EXPECT_EQ((std::vector<uint16_t>{2, kPowerMode, 4}), Rec(kPowerMode));
    }
}

TEST_F(AdvancedPageTest, LastRateOfARowCannotBeUnchecked)
{
    Set({3, kRates, 0x0007, 0x0FF0});
    Open();
    page().click(IDC_RATE24_FIRST + 0);
    EXPECT_TRUE(page().enabled(IDC_RATE24_FIRST + 1));
    page().click(IDC_RATE24_FIRST + 1);
    EXPECT_EQ(0x004u, RowMask(IDC_RATE24_FIRST));
    EXPECT_FALSE(page().enabled(IDC_RATE24_FIRST + 2));
    /* the 5 GHz row is not affected */
    EXPECT_TRUE(page().enabled(IDC_RATE5_FIRST + 4));
    page().click(IDC_RATE24_FIRST + 11);
    EXPECT_TRUE(page().enabled(IDC_RATE24_FIRST + 2));
    EXPECT_EQ(0x804u, RowMask(IDC_RATE24_FIRST));
}

TEST_F(AdvancedPageTest, LoneRateIsDisabledWhenShown)
{
    Set({3, kRates, 0x0008, 0x0FF0});
    Open();
    EXPECT_FALSE(page().enabled(IDC_RATE24_FIRST + 3));
    EXPECT_TRUE(page().enabled(IDC_RATE24_FIRST + 4));
}

/* Domain 7 (FCC, 2.4 GHz only) has both 5 GHz flags 0. */
TEST_F(AdvancedPageTest, DomainWithout5GHzDisablesTheRowAndApplyKeepsIt)
{
    Set({2, kDomain, 7});
    Set({3, kRates, 0x0F5F, 0x0150});
    Open();
    for (int bit = 0; bit < 4; bit++) EXPECT_FALSE(page().visible(IDC_RATE5_FIRST + bit));
    for (int bit = 4; bit < 12; bit++) {
        EXPECT_FALSE(page().enabled(IDC_RATE5_FIRST + bit)) << bit;
        EXPECT_FALSE(page().checked(IDC_RATE5_FIRST + bit)) << bit;
    }
    EXPECT_TRUE(page().enabled(IDC_RATE24_FIRST));
    page().click(IDC_RATE24_FIRST + 5); /* allow 9 Mbit/s */
    page().press(PSBTN_OK);
    EXPECT_EQ((std::vector<uint16_t>{3, kRates, 0x0F7F, 0x0150}), Rec(kRates));
}

TEST_F(AdvancedPageTest, ApplyWritesInOrderInsideOneConnection)
{
    Set({2, kPowerMode, 0});
    Set({2, kScale, 2});
    Set({2, kTxPower, 20});
    Set({2, kCoexistence, 0});
    Set({2, kWiFi, 1});
    Open();
    page().select(IDC_POWER_MANAGEMENT, ExpectedOsType() == OS_WIN2001 ? 2 : 1);
    page().select(IDC_SYSTEM_SCALE, 4);
    page().selectText(IDC_TX_POWER, "8");
    page().click(IDC_RATE24_FIRST + 0); /* 1 Mbit/s off */
    page().click(IDC_RATE5_FIRST + 5);  /* 9 Mbit/s on */
    page().click(IDC_LONG_PREAMBLE);
    page().click(IDC_ALLOW_11G_IBSS);
    SimClearLog();
    page().press(PSBTN_APPLYNOW);
    ASSERT_FALSE(page().closed());

    std::vector<WlSimExchange> x = Exchanges();
    std::vector<uint16_t> puts = PutTypes(x);
    EXPECT_EQ((std::vector<uint16_t>{kPowerMode, kScale, kTxPower, kRates, kCoexistence, kWiFi}), puts);
    /* One connection holds every write and ends with the one apply
     * action; what the sheet does after the apply (the page's activation
     * reads the adapter description again) comes after it. */
    std::string seen;
    for (const WlSimExchange &e : x) seen += " " + std::to_string(e.op) + ":" + std::to_string(e.typ);
    size_t open = x.size(), close = x.size();
    for (size_t i = 0; i < x.size() && close == x.size(); i++) {
        if (x[i].op == WLSIM_OP_CONNECT && open == x.size()) open = i;
        else if (x[i].op == WLSIM_OP_DISCONNECT && open != x.size()) close = i;
    }
    ASSERT_LT(close, x.size()) << seen;
    int applies = 0;
    size_t applyAt = 0;
    for (size_t i = 0; i < x.size(); i++) {
        bool inside = i > open && i < close;
        if (x[i].op == WLSIM_OP_PUT_INFO) {
            EXPECT_TRUE(inside) << "write " << i << " outside:" << seen;
        }
        if (x[i].op == WLSIM_OP_CONNECT || x[i].op == WLSIM_OP_DISCONNECT) {
            EXPECT_FALSE(inside) << seen;
        }
        if (x[i].op == WLSIM_OP_ACTION && x[i].typ == WL_ACTION_APPLY) applies++, applyAt = i;
    }
    EXPECT_EQ(1, applies) << seen;
    EXPECT_EQ(close - 1, applyAt) << "the apply action ends the connection:" << seen;

    EXPECT_EQ((std::vector<uint16_t>{2, kPowerMode, (uint16_t)(ExpectedOsType() == OS_WIN2001 ? 4 : 3)}),
              Rec(kPowerMode));
    EXPECT_EQ((std::vector<uint16_t>{2, kScale, 5}), Rec(kScale));
    EXPECT_EQ((std::vector<uint16_t>{2, kTxPower, 8}), Rec(kTxPower));
    EXPECT_EQ((std::vector<uint16_t>{3, kRates, 0x0F5E, 0x0F70}), Rec(kRates));
    EXPECT_EQ((std::vector<uint16_t>{2, kCoexistence, 2}), Rec(kCoexistence));
    EXPECT_EQ((std::vector<uint16_t>{2, kWiFi, 0}), Rec(kWiFi)); /* 802.11g in IBSS allowed */
    DWORD stored = 0;
    EXPECT_TRUE(reg_->readDword("TxPowerLevel", &stored));
    EXPECT_EQ(8u, stored);
}

TEST_F(AdvancedPageTest, UncheckedBoxesWriteTheirInverse)
{
    Set({2, kCoexistence, 0x0006});
    Set({2, kWiFi, 0});
    Open();
    page().click(IDC_LONG_PREAMBLE);
    page().click(IDC_ALLOW_11G_IBSS);
    page().press(PSBTN_OK);
    EXPECT_TRUE(page().closed());
    /* the other bits of the coexistence word are written as 0 */
    EXPECT_EQ((std::vector<uint16_t>{2, kCoexistence, 0}), Rec(kCoexistence));
    EXPECT_EQ((std::vector<uint16_t>{2, kWiFi, 1}), Rec(kWiFi));
}

TEST_F(AdvancedPageTest, DefaultShowsDefaultsAndCancelWritesNothing)
{
    Set({2, kPowerMode, 3});
    Set({2, kScale, 5});
    Set({2, kTxPower, 10});
    Set({3, kRates, 0x0003, 0x0030});
    Set({2, kCoexistence, 2});
    Set({2, kWiFi, 0});
    Open();
    SimClearLog();
    page().click(IDC_DEFAULT);
    EXPECT_EQ("Disabled", page().selectedText(IDC_POWER_MANAGEMENT));
    EXPECT_EQ("Medium", page().selectedText(IDC_SYSTEM_SCALE));
    EXPECT_EQ("20", page().selectedText(IDC_TX_POWER));
    EXPECT_EQ((unsigned)DEFAULT_RATES24, RowMask(IDC_RATE24_FIRST));
    EXPECT_EQ((unsigned)DEFAULT_RATES5, RowMask(IDC_RATE5_FIRST));
    EXPECT_FALSE(page().checked(IDC_LONG_PREAMBLE));
    EXPECT_FALSE(page().checked(IDC_ALLOW_11G_IBSS));
    EXPECT_TRUE(PutTypes(Exchanges()).empty());
    page().press(PSBTN_CANCEL);
    EXPECT_TRUE(page().closed());
    EXPECT_TRUE(PutTypes(Exchanges()).empty());
    EXPECT_EQ((std::vector<uint16_t>{2, kPowerMode, 3}), Rec(kPowerMode));
    EXPECT_EQ((std::vector<uint16_t>{3, kRates, 0x0003, 0x0030}), Rec(kRates));
}

/* A domain code outside the table: the country list cannot be read. */
TEST_F(AdvancedPageTest, NoCountriesSupported)
{
    Set({2, kDomain, 12});
    Open();
    EXPECT_EQ((std::vector<std::string>{"No Countries Supported"}), page().entries(IDC_COUNTRY));
}

/* Countries of the adapter's domain that have a name. */
size_t NamedCountries(WLLib &lib)
{
    CountryCodeBuffer *list = new CountryCodeBuffer();
    list->TS.Type = CountryCodeBufferType;
    list->TS.Size = sizeof *list;
    EXPECT_EQ(WL_SUCCESS, WL(lib, WLCountryCountryCodeGet)(list));
    size_t n = 0;
    for (int i = 0; i < list->NumCodes; i++) {
        char name[48] = "";
        DWORD size = sizeof name;
        if (WL(lib, WLCountryLocalizedNameGet)(list->Code[i], name, &size) == WL_SUCCESS && name[0]) n++;
    }
    delete list;
    return n;
}

TEST_F(AdvancedPageTest, ChooseLocationOfferedUntilACountryIsChosen)
{
    size_t countries = NamedCountries(lib());
    EXPECT_GT(countries, 100u); /* domain 0: every country of the table */
    Open();
    std::vector<std::string> names = page().entries(IDC_COUNTRY);
    EXPECT_EQ(countries + 1, names.size());
    EXPECT_EQ(" Choose location...", page().selectedText(IDC_COUNTRY));

    char name[48] = "";
    DWORD size = sizeof name;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryLocalizedNameGet)("DE", name, &size));
    page().selectText(IDC_COUNTRY, name);
    EXPECT_EQ(name, page().selectedText(IDC_COUNTRY));
    EXPECT_EQ(countries, page().entries(IDC_COUNTRY).size());
    EXPECT_STREQ("DE", ctx_->CountryCode);
    page().press(PSBTN_OK);
    char cc[3] = {0, 0, 0}, env = 0;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryCurrentCountryCodeGet)(cc, &env));
    EXPECT_STREQ("DE", cc);
}

TEST_F(AdvancedPageTest, CurrentCountryIsSelected)
{
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryCurrentCountryCodeSet)("US", 2));
    Open();
    char name[48] = "";
    DWORD size = sizeof name;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryLocalizedNameGet)("US", name, &size));
    EXPECT_EQ(name, page().selectedText(IDC_COUNTRY));
    EXPECT_EQ(NamedCountries(lib()), page().entries(IDC_COUNTRY).size());
}

/* With no NIC id yet the page finds its adapter from the device's driver
 * key name, as on the Device Manager's route. */
TEST_F(AdvancedPageTest, IdentifiesTheAdapterFromTheDevice)
{
    GUID net = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    HDEVINFO set = SetupDiCreateDeviceInfoList(&net, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, set);
    SP_DEVINFO_DATA dev;
    memset(&dev, 0, sizeof dev);
    dev.cbSize = sizeof dev;
    ASSERT_TRUE(SetupDiCreateDeviceInfoA(set, "WLTESTADAPTER", &net, NULL, NULL, DICD_GENERATE_ID, &dev))
        << "error " << GetLastError();
    std::string driver = std::string("{4d36e972-e325-11ce-bfc1-08002be10318}\\") + kNic;
    ASSERT_TRUE(SetupDiSetDeviceRegistryPropertyA(set, &dev, SPDRP_DRIVER, (const BYTE *)driver.c_str(),
                                                  (DWORD)driver.size() + 1))
        << "error " << GetLastError();
    Set({2, kTxPower, 12});
    /* another adapter is the library's current one before */
    RegAdapter other(AdapterSpec("0162", "Wireless LAN PC Card", true, 'E'));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICSet)("0162", 4));
    ctx_ = NewContext("");
    ctx_->DeviceInfoSet = set;
    ctx_->DeviceInfoData = &dev;
    sheet_.reset(new PageSheet(coinst_->module(), IDD_WIRELESS_ADVANCED, IDS_WIRELESS_ADVANCED,
                               coinst_->proc("NicSpecificDlgProc"), ctx_));
    EXPECT_STREQ(kNic, ctx_->NicId);
    EXPECT_EQ("12", page().selectedText(IDC_TX_POWER));
    char current[16] = "";
    DWORD size = sizeof current;
    EXPECT_EQ(WL_SUCCESS, WL(lib(), WLCurrentNICGet)(current, &size));
    EXPECT_EQ(std::string(kNic), std::string(current, size));
    sheet_.reset();
    SetupDiRemoveDevice(set, &dev);
    SetupDiDestroyDeviceInfoList(set);
}

/* The page opens well under a second: initialization with the country
 * box filled from 108 countries. */
TEST_F(AdvancedPageTest, OpensQuickly)
{
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&a);
    Open();
    QueryPerformanceCounter(&b);
    double ms = 1000.0 * (double)(b.QuadPart - a.QuadPart) / (double)f.QuadPart;
    RecordProperty("open_ms", (int)ms);
    printf("opening the Advanced page: %.1f ms\n", ms);
    EXPECT_LT(ms, 1000.0);
}

} // namespace
