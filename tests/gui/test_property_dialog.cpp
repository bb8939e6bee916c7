/*
 * "Wireless Network Properties" driven through messages: its key rules,
 * the name cases of OK, and what reached the profile store.
 */
#include <memory>

#include "coinstaller/res/resource.h"
#include "modal_harness.h"
#include "page_harness.h"
#include "wlcore/wepcode.h"

namespace {

const char kRoot[] = "Software\\Wireless\\Driver";
const std::string kStars(26, '*');
const char kInvalidKey[] =
    "The network key is not valid.\nA key is 5 or 13 characters, or 10 or 26 hexadecimal digits (0-9, A-F).";
const char kMismatch[] =
    "The network keys you typed do not match.\nPlease reenter the network key in the confirmation text box.";

/* The stored key record of a profile: key index, enabled word, slots. */
struct StoredKeys {
    bool read = false;
    int keyId = -1, enabled = -1;
    std::string slot[4];
};

class PropertyDialogTest : public testing::Test {
protected:
    static constexpr const char *kNic = "0160";

    void SetUp() override
    {
        reg_.reset(new RegAdapter(AdapterSpec(kNic, "Wireless LAN PC Card", true, 'E')));
        coinst_.reset(new CoInstaller('E'));
        lib_.reset(new WLLib(kVariants[2]));
        SimAdapterFor(*reg_, kVariants[2]);
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentNICSet)(kNic, 4));
        RemoveProfiles();
        block_ = NewBlock(kNic);
        block_->ConnectionControl = 2;
        block_->Authentication = 1;
        block_->Keys.KeyId = -1;
    }
    void TearDown() override
    {
        dlg_.reset();
        RemoveProfiles();
        FreeBlock(block_);
        lib_.reset();
        coinst_.reset();
        reg_.reset();
    }

    void RemoveProfiles() { RemoveStoredProfiles(*lib_); }
    std::vector<std::string> Stored() { return StoredProfiles(*lib_); }
    /* A stored profile; key (text) in slot keySlot when given. */
    void MakeProfile(const std::string &name, const std::string &ssid, int keySlot = -1, const std::string &key = "")
    {
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLProfileIns)());
        WL(*lib_, WLCurrentProfileNameSet)(name.c_str(), (DWORD)name.size());
        WL(*lib_, WLCurrentProfileDesiredSSIDSet)(ssid.c_str(), (DWORD)ssid.size());
        if (keySlot >= 0) {
            ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileEncryptionKeySet)(keySlot, WL_KEYASC, key.c_str(),
                                                                             (DWORD)key.size()));
            WL(*lib_, WLCurrentProfileEncryptionActiveKeySet)(keySlot);
            WL(*lib_, WLCurrentProfileEncryptionEnabledSet)(1);
        }
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileByNameSet)(name.c_str(), (DWORD)name.size()));
    }
    StoredKeys Keys(const std::string &name)
    {
        StoredKeys k;
        HKEY h;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRoot) + "\\" + name).c_str(), 0, KEY_READ, &h))
            return k;
        char text[256] = "";
        DWORD size = sizeof text - 1, type = 0;
        LONG rc = RegQueryValueExA(h, "Encryption", NULL, &type, (BYTE *)text, &size);
        RegCloseKey(h);
        unsigned char rec[76];
        if (rc != ERROR_SUCCESS || WEPDecode(CRYPT_CODE, rec, sizeof rec, text) != 76) return k;
        k.read = true;
        k.keyId = rec[4] | rec[5] << 8;
        k.enabled = rec[6] | rec[7] << 8;
        for (int i = 0; i < 4; i++) {
            const unsigned char *s = rec + 12 + 16 * i;
            int len = s[0] | s[1] << 8;
            if (len > 14) len = 14;
            k.slot[i].assign(reinterpret_cast<const char *>(s + 2), (size_t)len);
        }
        return k;
    }
    /* What the opener does for a stored profile: load it into the block. */
    void Load(const std::string &name)
    {
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileByNameGet)(name.c_str(), (DWORD)name.size()));
        lstrcpynA(block_->ProfileName, name.c_str(), sizeof block_->ProfileName);
        char ssid[258] = "";
        DWORD size = sizeof ssid - 1;
        WL(*lib_, WLCurrentProfileDesiredSSIDGet)(ssid, &size);
        lstrcpynA(block_->NetworkName, ssid, sizeof block_->NetworkName);
        WL(*lib_, WLCurrentProfileEncryptionEnabledGet)(&block_->EncryptionEnabled);
        block_->Keys = TypedBuffer<KeyBuffer>(KeyBufferType);
        WL(*lib_, WLCurrentProfileEncryptionGet)(&block_->Keys);
    }
    /* What the opener does for a new profile. */
    void New()
    {
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLProfileIns)());
        block_->Keys = TypedBuffer<KeyBuffer>(KeyBufferType);
        block_->Keys.KeyId = -1;
        WL(*lib_, WLCurrentProfileEncryptionSet)(&block_->Keys);
    }
    void Open(std::function<void()> prepare = nullptr, HINSTANCE res = NULL)
    {
        DLGPROC proc = coinst_->proc("PropertyDlgProc");
        ASSERT_TRUE(proc != NULL);
        dlg_.reset(new ModalDialog(res ? res : coinst_->module(), IDD_NETWORK_PROPERTIES, proc, block_, prepare));
        ASSERT_TRUE(dlg_->dlg() != NULL);
    }
    ModalDialog &dlg() { return *dlg_; }
    void Names(const std::string &profile, const std::string &network)
    {
        dlg().setText(IDC_PROFILE_NAME, profile);
        dlg().setText(IDC_NETWORK_NAME, network);
    }
    void Key(const std::string &key, const std::string &confirm)
    {
        dlg().type(IDC_KEY, key);
        dlg().type(IDC_KEY_CONFIRM, confirm);
    }
    /* Expects the message box with text and caption and presses button. */
    void ExpectBox(const std::string &text, const std::string &caption, int button = IDOK)
    {
        std::string t, c;
        ASSERT_TRUE(dlg().box(&t, &c)) << "no message box, expected: " << text;
        EXPECT_EQ(text, t);
        EXPECT_EQ(caption, c);
        dlg().answer(button);
    }
    INT_PTR Result()
    {
        INT_PTR r = -1;
        EXPECT_TRUE(dlg().ended(&r)) << "the dialog is still open";
        return r;
    }
    void FillPreferred(int n)
    {
        AdapterPageContext *c = block_->Context;
        for (int i = 0; i < n; i++) {
            c->PreferredNames[i] = static_cast<char *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 33));
            snprintf(c->PreferredNames[i], 33, "Pref%d", i);
        }
        c->PreferredCount = n;
    }

    std::unique_ptr<RegAdapter> reg_;
    std::unique_ptr<CoInstaller> coinst_;
    std::unique_ptr<WLLib> lib_;
    std::unique_ptr<ModalDialog> dlg_;
    NetworksPageBlock *block_ = NULL;
};

struct KeyCase {
    const char *name, *key, *confirm;
    const char *box;    /* refusal's text, NULL when stored */
    const char *stored; /* slot 0 bytes when stored */
};

class PropertyKeys : public PropertyDialogTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(PropertyKeys, KeyRulesAtOk)
{
    const KeyCase &kc = GetParam();
    New();
    Open();
    Names("Keyed", "KeyNet");
    dlg().select(IDC_KEY_INDEX, 1);
    EXPECT_TRUE(dlg().enabled(IDC_KEY));
    Key(kc.key, kc.confirm);
    dlg().click(IDOK);
    if (kc.box) {
        ExpectBox(kc.box, "Network Properties");
        EXPECT_FALSE(dlg().ended());
        EXPECT_TRUE(Stored().empty());
        return;
    }
    EXPECT_EQ(1, Result());
    StoredKeys k = Keys("Keyed");
    ASSERT_TRUE(k.read);
    EXPECT_EQ(1, k.enabled);
    EXPECT_EQ(0, k.keyId);
    EXPECT_EQ(std::string(kc.stored, strlen(kc.stored)), k.slot[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PropertyKeys,
    testing::Values(KeyCase{"Text13", "Secret-Office", "Secret-Office", NULL, "Secret-Office"},
                    KeyCase{"Text5", "a1b2c", "a1b2c", NULL, "a1b2c"},
                    KeyCase{"Hex10CaseMatches", "ABCDEF1234", "abcdef1234", NULL, "\xAB\xCD\xEF\x12\x34"},
                    KeyCase{"Hex10NotHex", "12345678zz", "12345678zz", kInvalidKey, NULL},
                    KeyCase{"Text10Refused", "abcdefghij", "abcdefghij", kInvalidKey, NULL},
                    KeyCase{"Text5CaseDiffers", "Abcde", "abcde", kMismatch, NULL},
                    KeyCase{"Length7", "abcdefg", "abcdefg", kInvalidKey, NULL}),
    [](const testing::TestParamInfo<KeyCase> &i) { return i.param.name; });

TEST_F(PropertyDialogTest, EncryptedProfileShowsAsterisksAndKeepsItsKeys)
{
    MakeProfile("Office", "OfficeNet", 2, "Secret-Office");
    StoredKeys before = Keys("Office");
    Load("Office");
    Open();
    EXPECT_EQ(kStars, dlg().text(IDC_KEY));
    EXPECT_EQ(kStars, dlg().text(IDC_KEY_CONFIRM));
    EXPECT_EQ("3", dlg().selectedText(IDC_KEY_INDEX));
    EXPECT_EQ("OfficeNet", dlg().text(IDC_NETWORK_NAME));
    EXPECT_TRUE(dlg().screenshot("properties_en")) << "screenshot not written";
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
    StoredKeys after = Keys("Office");
    ASSERT_TRUE(after.read);
    EXPECT_EQ("Secret-Office", after.slot[2]);
    EXPECT_EQ(before.keyId, after.keyId);
    EXPECT_EQ(1, after.enabled);
}

TEST_F(PropertyDialogTest, EmptyKeySlotChosenIsRefusedAtOk)
{
    MakeProfile("Office", "OfficeNet", 0, "abcde");
    Load("Office");
    Open();
    dlg().select(IDC_KEY_INDEX, 2);
    EXPECT_EQ("", dlg().text(IDC_KEY)) << "slot 1 is empty";
    dlg().click(IDOK);
    ExpectBox(kInvalidKey, "Network Properties");
    EXPECT_FALSE(dlg().ended());
    /* back to the stored key: asterisks again, and OK is accepted */
    dlg().select(IDC_KEY_INDEX, 1);
    EXPECT_EQ(kStars, dlg().text(IDC_KEY));
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
}

TEST_F(PropertyDialogTest, InvalidKeyRestoresThePreviousKeyNumber)
{
    New();
    Open();
    Names("P", "N");
    dlg().select(IDC_KEY_INDEX, 1);
    Key("abc", "abc");
    dlg().select(IDC_KEY_INDEX, 2);
    ExpectBox(kInvalidKey, "Network Properties");
    EXPECT_EQ(1, dlg().selection(IDC_KEY_INDEX));
    /* a typed key is kept and shown in its digits when its number comes back */
    dlg().setText(IDC_KEY, "");
    dlg().setText(IDC_KEY_CONFIRM, "");
    Key("abcde", "abcde");
    dlg().select(IDC_KEY_INDEX, 2);
    EXPECT_EQ("", dlg().text(IDC_KEY));
    dlg().select(IDC_KEY_INDEX, 1);
    EXPECT_EQ("6162636465", dlg().text(IDC_KEY));
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
    EXPECT_EQ("abcde", Keys("P").slot[0]);
}

TEST_F(PropertyDialogTest, UnencryptedProfileStaysUnencrypted)
{
    MakeProfile("Open", "OpenNet");
    Load("Open");
    Open();
    EXPECT_EQ("Encryption Disabled", dlg().selectedText(IDC_KEY_INDEX));
    EXPECT_EQ("", dlg().text(IDC_KEY));
    EXPECT_FALSE(dlg().enabled(IDC_KEY));
    EXPECT_FALSE(dlg().enabled(IDC_KEY_CONFIRM));
    EXPECT_FALSE(dlg().enabled(IDC_AUTHENTICATION));
    EXPECT_EQ("Open", dlg().selectedText(IDC_AUTHENTICATION));
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
    EXPECT_EQ(0, Keys("Open").enabled);
}

TEST_F(PropertyDialogTest, CaseOnlyRenameKeepsOneProfile)
{
    MakeProfile("office", "OfficeNet", 0, "abcde");
    Load("office");
    FillPreferred(1);
    lstrcpynA(block_->Context->PreferredNames[0], "office", 33);
    Open();
    dlg().setText(IDC_PROFILE_NAME, "Office");
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
    EXPECT_EQ(std::vector<std::string>{"Office"}, Stored());
    EXPECT_STREQ("Office", block_->Context->PreferredNames[0]);
    EXPECT_EQ("abcde", Keys("Office").slot[0]) << "the keys went with the new spelling";
}

TEST_F(PropertyDialogTest, OverwritingAnotherProfileIsAsked)
{
    MakeProfile("Home", "HomeNet", 1, "abcde");
    New();
    Open();
    Names("Home", "Other");
    dlg().click(IDOK);
    ExpectBox("Profile 'Home' already exists!\n\nOverwrite existing profile?", "Network Properties", IDNO);
    EXPECT_FALSE(dlg().ended());
    dlg().click(IDOK);
    ExpectBox("Profile 'Home' already exists!\n\nOverwrite existing profile?", "Network Properties", IDYES);
    EXPECT_EQ(1, Result());
    Load("Home");
    EXPECT_STREQ("Other", block_->NetworkName);
    /* the new profile replaced it whole: none of the old keys is left */
    StoredKeys k = Keys("Home");
    EXPECT_EQ(0, k.enabled);
    EXPECT_EQ("", k.slot[1]);
}

TEST_F(PropertyDialogTest, MissingNamesAreRefused)
{
    New();
    Open();
    dlg().click(IDOK);
    ExpectBox("Please enter a profile name.", "Network Properties");
    dlg().setText(IDC_PROFILE_NAME, "Named");
    dlg().click(IDOK);
    ExpectBox("Please enter a network name.", "Network Properties");
    EXPECT_FALSE(dlg().ended());
    dlg().click(IDCANCEL);
    EXPECT_EQ(2, Result());
    EXPECT_TRUE(Stored().empty()) << "Cancel saves nothing";
}

TEST_F(PropertyDialogTest, NewNameWithAFullPreferredListIsRefused)
{
    FillPreferred(MAX_PREFERRED_NAMES);
    New();
    Open();
    Names("Extra", "ExtraNet");
    dlg().click(IDOK);
    ExpectBox("Limit Reached", "Could not create a new Profile");
    EXPECT_FALSE(dlg().ended());
    /* a listed name may be saved */
    dlg().setText(IDC_PROFILE_NAME, "Pref7");
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
}

TEST_F(PropertyDialogTest, CapsLockWarningOncePerOpening)
{
    New();
    Open([] {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CAPITAL] |= 1;
        SetKeyboardState(keys);
    });
    Names("Caps", "CapsNet");
    dlg().select(IDC_KEY_INDEX, 1);
    dlg().type(IDC_KEY, "a");
    ExpectBox("Warning : 'Capslock' or 'Num Lock' is on!", "Network Properties");
    dlg().type(IDC_KEY, "bcde");
    dlg().type(IDC_KEY_CONFIRM, "abcde");
    EXPECT_FALSE(dlg().box()) << "the warning comes once";
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
}

TEST_F(PropertyDialogTest, ChannelBoxesFollowModeAndBand)
{
    New();
    Open();
    EXPECT_EQ((std::vector<std::string>{"Connect to network", "Create Peer to Peer Group (IBSS)", "Act as base station"}),
              dlg().entries(IDC_CONNECTION_MODE));
    EXPECT_EQ("Auto (2.4 GHz then 5 GHz)", dlg().selectedText(IDC_TRANSMIT_BAND));
    EXPECT_FALSE(dlg().enabled(IDC_CHANNEL_5GHZ));
    EXPECT_FALSE(dlg().enabled(IDC_CHANNEL_2GHZ));
    dlg().select(IDC_CONNECTION_MODE, 1);
    dlg().selectText(IDC_TRANSMIT_BAND, "2.4 GHz only");
    EXPECT_TRUE(dlg().visible(IDC_CHANNEL_2GHZ));
    EXPECT_FALSE(dlg().visible(IDC_CHANNEL_5GHZ));
    EXPECT_TRUE(dlg().enabled(IDC_CHANNEL_2GHZ));
    /* "Auto", then the channels of the adapter's regulatory domain */
    RegulatoryDomainBuffer rd = TypedBuffer<RegulatoryDomainBuffer>(RegulatoryDomainBufferType);
    std::vector<std::string> want{"Auto"};
    if (WL(*lib_, WLCountryRegulatoryDomainGet)(&rd) == WL_SUCCESS)
        for (int i = 0; i < rd.NumChannels2GHz && i < MAX_NUM_2GHZ_CHANNELS; i++)
            want.push_back(std::to_string(rd.Channels2GHz[i]));
    std::vector<std::string> ch = dlg().entries(IDC_CHANNEL_2GHZ);
    EXPECT_EQ(want, ch);
    dlg().select(IDC_CHANNEL_2GHZ, (int)ch.size() - 1);
    Names("Peer", "PeerNet");
    dlg().click(IDOK);
    EXPECT_EQ(1, Result());
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileByNameGet)("Peer", 4));
    int mode = -1, control = -1;
    WL(*lib_, WLCurrentProfileConnectionModeGet)(&mode);
    WL(*lib_, WLCurrentProfileConnectionControlGet)(&control);
    EXPECT_EQ(1, mode);
    EXPECT_EQ(0, control);
    ChannelFrequencyBandBuffer cfb = TypedBuffer<ChannelFrequencyBandBuffer>(ChannelFrequencyBandBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileChannelFrequencyBandGet)(&cfb));
    EXPECT_EQ(ch.size() > 1 ? ch.back() : "0", std::to_string(cfb.data.Channel));
    EXPECT_EQ(0, cfb.data.Band);
}

/* With the German resource library every text of the dialog is German,
 * the entries of its boxes too. */
TEST_F(PropertyDialogTest, GermanDialog)
{
    coinst_.reset();
    LibraryInCurrentDir file("nls");
    coinst_.reset(new CoInstaller('E'));
    HMODULE nls = GetModuleHandleA("WDVXQNLS.DLL");
    ASSERT_TRUE(nls != NULL);
    MakeProfile("Office", "OfficeNet", 0, "abcde");
    Load("Office");
    Open(nullptr, nls);
    EXPECT_EQ(kStars, dlg().text(IDC_KEY));
    EXPECT_EQ("Offen", dlg().selectedText(IDC_AUTHENTICATION));
    EXPECT_TRUE(dlg().screenshot("properties_de")) << "screenshot not written";
    dlg().click(IDCANCEL);
    EXPECT_EQ(2, Result());
    dlg_.reset();
    coinst_.reset();
}

} // namespace
