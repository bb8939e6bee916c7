/*
 * "Wireless Networks" and "Network Profile Management" driven through
 * messages in a property sheet on a thread of its own, against the
 * stand-in's radio world: what the page lists, what reached the profile
 * store, the preferred list and the adapter.
 */
#include "modal_harness.h"
#include "page_harness.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "coinstaller/res/resource.h"

namespace {

const char kNic[] = "0170";

struct Row {
    std::string profile, ssid;
    int icon = -1, state = 0;
};

/* Rows of a list view; text columns follow an icon column when the list
 * has three columns. */
std::vector<Row> Rows(HWND list)
{
    std::vector<Row> out;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int first = SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) == 3 ? 1 : 0;
    int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        Row r;
        char buf[64];
        for (int k = 0; k < 2; k++) {
            LVITEMA it;
            memset(&it, 0, sizeof it);
            buf[0] = 0;
            it.iSubItem = first + k;
            it.pszText = buf;
            it.cchTextMax = sizeof buf;
            SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)i, reinterpret_cast<LPARAM>(&it));
            (k ? r.ssid : r.profile) = buf;
        }
        LVITEMA it;
        memset(&it, 0, sizeof it);
        it.mask = LVIF_IMAGE | LVIF_STATE;
        it.iItem = i;
        it.stateMask = LVIS_STATEIMAGEMASK;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        r.icon = it.iImage;
        int s = (int)((it.state & LVIS_STATEIMAGEMASK) >> 12);
        r.state = s ? 13 + s : 0; /* state images 14 to 21 */
        out.push_back(r);
    }
    return out;
}

std::vector<std::string> Column(const std::vector<Row> &rows, bool ssid = false)
{
    std::vector<std::string> out;
    for (const Row &r : rows) out.push_back(ssid ? r.ssid : r.profile);
    return out;
}

using Names = std::vector<std::string>;

class NetworksPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        reg_.reset(new RegAdapter(AdapterSpec(kNic, "Wireless LAN PC Card", true, 'E')));
        coinst_.reset(new CoInstaller('E'));
        lib_.reset(new WLLib(kVariants[2]));
        sim_ = SimAdapterFor(*reg_, kVariants[2]);
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentNICSet)(kNic, 4));
        RemoveProfiles();
        WL(*lib_, WLAllPreferredProfileDel)();
        block_ = NewBlock(kNic);
    }
    void TearDown() override
    {
        sheet_.reset();
        RemoveProfiles();
        FreeBlock(block_);
        lib_.reset();
        coinst_.reset();
        reg_.reset();
    }

    const WLLib &lib() const { return *lib_; }
    void RemoveProfiles() { RemoveStoredProfiles(*lib_); }
    Names Stored() const { return StoredProfiles(*lib_); }
    Names Preferred() const
    {
        Names out;
        char name[33];
        DWORD size = sizeof name;
        for (int rc = WL(*lib_, WLFirstPreferredProfileByNameGet)(name, &size); rc == WL_SUCCESS;
             size = sizeof name, rc = WL(*lib_, WLNextPreferredProfileByNameGet)(name, &size))
            out.push_back(std::string(name, size));
        return out;
    }
    void MakeProfile(const std::string &name, const std::string &ssid, int mode = 0)
    {
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLProfileIns)());
        WL(*lib_, WLCurrentProfileNameSet)(name.c_str(), (DWORD)name.size());
        WL(*lib_, WLCurrentProfileDesiredSSIDSet)(ssid.c_str(), (DWORD)ssid.size());
        WL(*lib_, WLCurrentProfileConnectionModeSet)(mode);
        ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLCurrentProfileByNameSet)(name.c_str(), (DWORD)name.size()));
    }
    void SetPreferred(const Names &names)
    {
        WL(*lib_, WLAllPreferredProfileDel)();
        for (const std::string &n : names)
            ASSERT_EQ(WL_SUCCESS, WL(*lib_, WLNextPreferredProfileByNameSet)(n.c_str(), (DWORD)n.size()));
    }
    void Station(uint8_t last, const char *ssid, int peer = 0, int level = 60)
    {
        const uint8_t bssid[6] = {0x02, 0x57, 0x4C, 0x00, 0x02, last};
        WlSimStation st;
        ASSERT_EQ(0, SimStationMake(&st, bssid, ssid, 6, level, 10, peer, WLSIM_SEC_OPEN, "ap"));
        ASSERT_EQ(0, SimPutStation(&st));
    }
    std::string ConfigName() const
    {
        CurrentNICInfoBuffer info = TypedBuffer<CurrentNICInfoBuffer>(CurrentNICInfoBufferType);
        WL(*lib_, WLCurrentNICInfoGet)(&info);
        return info.ConfigName;
    }

    /* The page in a modal sheet on its own thread, shown until its first
     * scan has ended. */
    void Open(HINSTANCE resources = NULL, bool scans = true)
    {
        HINSTANCE res = resources ? resources : coinst_->module();
        DLGPROC proc = coinst_->proc("WirelessDlgProc");
        ASSERT_TRUE(proc != NULL);
        NetworksPageBlock *b = block_;
        DWORD start = GetTickCount();
        sheet_.reset(new ModalDialog(
            [res, proc, b]() -> INT_PTR {
                PROPSHEETPAGEA psp;
                memset(&psp, 0, sizeof psp);
                psp.dwSize = sizeof psp;
                psp.dwFlags = PSP_USETITLE;
                psp.hInstance = res;
                psp.pszTemplate = MAKEINTRESOURCEA(IDD_WIRELESS_NETWORKS);
                psp.pszTitle = MAKEINTRESOURCEA(IDS_WIRELESS_NETWORKS);
                psp.pfnDlgProc = proc;
                psp.lParam = reinterpret_cast<LPARAM>(b);
                PROPSHEETHEADERA psh;
                memset(&psh, 0, sizeof psh);
                psh.dwSize = sizeof psh;
                psh.dwFlags = PSH_PROPSHEETPAGE;
                psh.hInstance = res;
                psh.pszCaption = "Wireless LAN PC Card";
                psh.nPages = 1;
                psh.ppsp = &psp;
                return PropertySheetA(&psh);
            },
            [](HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }));
        SetWindowPos(sheet_->root(), HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (scans) WaitScan();
        firstScanMs_ = GetTickCount() - start;
    }
    ModalDialog &page() { return *sheet_; }
    /* A scan has ended when Refresh is enabled again. */
    void WaitScan()
    {
        for (int i = 0; i < 200 && !page().enabled(IDC_REFRESH); i++) Sleep(25);
        ASSERT_TRUE(page().enabled(IDC_REFRESH)) << "the scan did not end";
    }
    std::vector<Row> Available() { return Rows(page().item(IDC_AVAILABLE_LIST)); }
    std::vector<Row> PreferredRows() { return Rows(page().item(IDC_PREFERRED_LIST)); }
    void SelectRow(ModalDialog &d, int list, int row)
    {
        HWND w = d.item(list);
        d.run([w, row] {
            LVITEMA it;
            memset(&it, 0, sizeof it);
            it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            it.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(w, LVM_SETITEMSTATE, (WPARAM)row, reinterpret_cast<LPARAM>(&it));
        });
    }
    int Selected(ModalDialog &d, int list)
    {
        return (int)SendMessageA(d.item(list), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    }
    void Apply()
    {
        HWND sheet = page().root();
        page().run([sheet] { SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); });
    }
    /* The dialog the last command opened. */
    std::unique_ptr<ModalDialog> Popup(ModalDialog &from)
    {
        HWND w = from.popup();
        EXPECT_TRUE(w != NULL) << "no dialog opened";
        return std::unique_ptr<ModalDialog>(new ModalDialog(from, w));
    }
    void ExpectBox(ModalDialog &d, const std::string &text, const std::string &caption, int answer)
    {
        std::string t, c;
        ASSERT_TRUE(d.box(&t, &c)) << "no message box";
        EXPECT_EQ(text, t);
        EXPECT_EQ(caption, c);
        d.answer(answer);
    }

    std::unique_ptr<RegAdapter> reg_;
    std::unique_ptr<CoInstaller> coinst_;
    std::unique_ptr<WLLib> lib_;
    std::unique_ptr<ModalDialog> sheet_;
    NetworksPageBlock *block_ = nullptr;
    int sim_ = -1;
    DWORD firstScanMs_ = 0;
};

/* One row per matching profile (SSIDs compared ignoring case), one
 * " <<New>>" row for a network without one, icons by kind, and the
 * "Show :" filter over the same scan. */
TEST_F(NetworksPageTest, ScanRowsAndFilter)
{
    Station(1, "OfficeNet");
    Station(2, "CafeNet");
    Station(3, "PeerGroup", 1);
    Station(4, " ");
    MakeProfile("Office A", "officenet");
    MakeProfile("Office B", "OfficeNet");
    SetPreferred({"Office B"});
    Open();
    auto rows = Available();
    struct Want {
        const char *profile, *ssid;
        int icon;
    };
    const Want want[] = {{"Office A", "OfficeNet", 0}, {"Office B", "OfficeNet", 0}, {" <<New>>", "CafeNet", 0},
                         {" <<New>>", "PeerGroup", 3}};
    ASSERT_EQ(4u, rows.size()) << testing::PrintToString(Column(rows));
    for (size_t i = 0; i < 4; i++) {
        EXPECT_EQ(want[i].profile, rows[i].profile);
        EXPECT_EQ(want[i].ssid, rows[i].ssid);
        EXPECT_EQ(want[i].icon, rows[i].icon) << rows[i].ssid;
    }
    EXPECT_EQ(0, Selected(page(), IDC_AVAILABLE_LIST));
    EXPECT_TRUE(page().enabled(IDC_SCAN_EDIT));
    EXPECT_EQ(Names({"Office B"}), Column(PreferredRows()));
    EXPECT_FALSE(page().enabled(IDC_ACTIVATE)) << "no preferred row is selected yet";
    EXPECT_TRUE(page().screenshot("networks_en")) << "screenshot not written";

    page().select(IDC_SHOW_FILTER, 1);
    EXPECT_EQ(Names({"PeerGroup"}), Column(Available(), true));
    page().select(IDC_SHOW_FILTER, 2);
    EXPECT_EQ(Names({"OfficeNet", "OfficeNet", "CafeNet"}), Column(Available(), true));
    printf("first scan shown after %lu ms\n", (unsigned long)firstScanMs_);
}

/* As many networks as the stand-in's world holds (32, the page's client
 * buffer holds as many): the list shows them all and its text columns make
 * room for the scroll bar, 9 pixels each, and get them back when the list
 * shrinks. Prints how long the page took to show them. */
TEST_F(NetworksPageTest, ThirtyTwoNetworks)
{
    for (int i = 0; i < 32; i++) {
        char ssid[16];
        snprintf(ssid, sizeof ssid, "Net%02d", i);
        Station((uint8_t)(0x40 + i), ssid, 0, 40 + i);
    }
    Open();
    EXPECT_EQ(32u, Available().size());
    HWND list = page().item(IDC_AVAILABLE_LIST);
    int narrow = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0);
    EXPECT_EQ(narrow, (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, 2, 0));
    RECT r;
    GetClientRect(list, &r);
    EXPECT_LE(16 + 2 * narrow, r.right - r.left) << "no horizontal scroll bar";
    printf("32 networks shown %lu ms after the page opened\n", (unsigned long)firstScanMs_);
    ASSERT_EQ(0, SimReset());
    sim_ = SimAdapterFor(*reg_, kVariants[2]);
    page().click(IDC_REFRESH);
    WaitScan();
    EXPECT_EQ(0u, Available().size());
    for (int col = 1; col <= 2; col++) EXPECT_EQ(narrow + 9, (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, (WPARAM)col, 0));
}

/* An access point taken out of range is gone at the next Refresh; a scan
 * that does not finish within 3 seconds leaves the list empty and the page
 * usable. */
TEST_F(NetworksPageTest, RefreshAndScanTimeout)
{
    Station(1, "OfficeNet");
    Station(2, "CafeNet");
    Open();
    EXPECT_EQ(Names({"OfficeNet", "CafeNet"}), Column(Available(), true));
    const uint8_t cafe[6] = {0x02, 0x57, 0x4C, 0x00, 0x02, 2};
    ASSERT_EQ(0, SimRemoveStation(cafe));
    page().click(IDC_REFRESH);
    WaitScan();
    EXPECT_EQ(Names({"OfficeNet"}), Column(Available(), true));

    /* A record for no client of the page answers every mailbox read: the
     * scan's own records never come through. */
    const uint8_t value[12] = {0};
    ASSERT_EQ(0, SimPushMailbox(sim_, WLSIM_MB_STICKY, 7, 0xF202, value, sizeof value)) << SimLastErrorText();
    DWORD start = GetTickCount();
    page().click(IDC_REFRESH);
    EXPECT_FALSE(page().enabled(IDC_REFRESH)) << "the scan is running";
    EXPECT_EQ(0u, Available().size());
    WaitScan();
    DWORD took = GetTickCount() - start;
    ASSERT_EQ(0, SimMailboxClear(sim_));
    EXPECT_GE(took, 2900u);
    EXPECT_LE(took, 4500u);
    EXPECT_EQ(0u, Available().size());
    page().click(IDC_REFRESH);
    WaitScan();
    EXPECT_EQ(Names({"OfficeNet"}), Column(Available(), true));
}

/* Move Up and Down keep the moved row selected and do nothing at either
 * end; Apply writes the order and, with no profile active yet, activates
 * the first preferred profile, which joins its network. */
TEST_F(NetworksPageTest, MoveAndApplyActivatesTheFirst)
{
    Station(1, "OfficeNet");
    MakeProfile("A", "OfficeNet");
    MakeProfile("B", "HomeNet");
    MakeProfile("C", "CafeNet");
    SetPreferred({"A", "B", "C"});
    reg_->writeString("ConfigName", ""); /* no profile made active yet */
    ASSERT_EQ("", ConfigName());
    Open();
    const struct {
        int row, button;
        Names order;
        int selected;
    } steps[] = {
        {0, IDC_MOVE_UP, {"A", "B", "C"}, 0},
        {2, IDC_MOVE_DOWN, {"A", "B", "C"}, 2},
        {1, IDC_MOVE_UP, {"B", "A", "C"}, 0},
        {1, IDC_MOVE_DOWN, {"B", "C", "A"}, 2},
        {2, IDC_MOVE_UP, {"B", "A", "C"}, 1},
    };
    for (const auto &s : steps) {
        SelectRow(page(), IDC_PREFERRED_LIST, s.row);
        page().click(s.button);
        EXPECT_EQ(s.order, Column(PreferredRows()));
        EXPECT_EQ(s.selected, Selected(page(), IDC_PREFERRED_LIST));
    }
    EXPECT_EQ(Names({"A", "B", "C"}), Preferred()) << "nothing is stored before apply";
    Apply();
    EXPECT_EQ(Names({"B", "A", "C"}), Preferred());
    EXPECT_EQ("B", ConfigName());
    auto rows = PreferredRows();
    EXPECT_EQ(6, rows.at(0).icon) << "the active base station profile";
    EXPECT_EQ(0, rows.at(1).icon);
    EXPECT_EQ(15, rows.at(1).state);
}

/* Activate joins the access point; the active row's state image follows
 * the communications quality. Remove drops a name until apply. */
TEST_F(NetworksPageTest, ActivateAndRemove)
{
    Station(1, "OfficeNet");
    MakeProfile("Office", "OfficeNet");
    MakeProfile("Peer", "PeerGroup", 1);
    SetPreferred({"Peer", "Office"});
    Open();
    SelectRow(page(), IDC_PREFERRED_LIST, 1);
    ASSERT_TRUE(page().enabled(IDC_ACTIVATE));
    page().click(IDC_ACTIVATE);
    EXPECT_EQ("Office", ConfigName());
    WlSimMailboxState ms;
    ASSERT_EQ(0, SimMailboxState(sim_, &ms));
    const uint8_t office[6] = {0x02, 0x57, 0x4C, 0x00, 0x02, 1};
    EXPECT_EQ(0, memcmp(ms.joinedBssid, office, 6)) << "the adapter joined the access point";
    CommunicationsQualityBuffer q = TypedBuffer<CommunicationsQualityBuffer>(CommunicationsQualityBufferType);
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCommunicationsQualityGet)(&q));
    auto rows = PreferredRows();
    EXPECT_EQ(3, rows.at(0).icon);
    EXPECT_EQ(15, rows.at(0).state);
    EXPECT_EQ(6, rows.at(1).icon);
    EXPECT_EQ(15 + q.Level, rows.at(1).state);

    SelectRow(page(), IDC_PREFERRED_LIST, 0);
    page().click(IDC_REMOVE);
    EXPECT_EQ(Names({"Office"}), Column(PreferredRows()));
    EXPECT_EQ(Names({"Peer", "Office"}), Preferred());
    Apply();
    EXPECT_EQ(Names({"Office"}), Preferred());
}

/* The scan Edit of a network without a profile: the properties dialog
 * proposes the network's name; OK stores the profile and puts it at the
 * top of the preferred list. */
TEST_F(NetworksPageTest, ScanEditCreatesProfile)
{
    Station(1, "CafeNet");
    MakeProfile("Home", "HomeNet");
    SetPreferred({"Home"});
    Open();
    ASSERT_EQ(" <<New>>", Available().at(0).profile);
    page().click(IDC_SCAN_EDIT);
    auto props = Popup(page());
    EXPECT_EQ("CafeNet", props->text(IDC_NETWORK_NAME));
    EXPECT_FALSE(props->enabled(IDC_NETWORK_NAME));
    EXPECT_EQ("CafeNet", props->text(IDC_PROFILE_NAME));
    props->setText(IDC_PROFILE_NAME, "Cafe");
    props->click(IDOK);
    std::string box;
    EXPECT_FALSE(props->box(&box)) << box;
    EXPECT_TRUE(props->ended());
    props.reset();
    EXPECT_EQ(Names({"Cafe", "Home"}), Column(PreferredRows()));
    EXPECT_EQ(0, Selected(page(), IDC_PREFERRED_LIST));
    Names stored = Stored();
    EXPECT_NE(stored.end(), std::find(stored.begin(), stored.end(), "Cafe"));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileByNameGet)("Cafe", 4));
    char ssid[258] = "";
    DWORD size = 257;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCurrentProfileDesiredSSIDGet)(ssid, &size));
    EXPECT_EQ("CafeNet", std::string(ssid, size));
}

/* With 100 preferred names, Add >>, Create and the scan Edit of a new
 * network are refused with "Limit Reached". */
TEST_F(NetworksPageTest, LimitOfOneHundred)
{
    Names names;
    for (int i = 0; i < 100; i++) {
        char n[16];
        snprintf(n, sizeof n, "P%03d", i);
        names.push_back(n);
        MakeProfile(n, "Net");
    }
    MakeProfile("Extra", "Net");
    SetPreferred(names);
    Station(1, "CafeNet");
    Open();
    ASSERT_EQ(100u, PreferredRows().size());
    page().click(IDC_SCAN_EDIT);
    ExpectBox(page(), "Limit Reached", "Could not create a new Profile", IDOK);

    page().click(IDC_ADD);
    auto manage = Popup(page());
    manage->click(IDC_MGMT_CREATE);
    ExpectBox(*manage, "Limit Reached", "Could not create a new Profile", IDOK);
    SelectRow(*manage, IDC_MGMT_ALL_LIST, 0);
    manage->click(IDC_MGMT_ADD);
    ExpectBox(*manage, "Limit Reached", "Could not create a new Profile", IDOK);
    manage->click(IDC_MGMT_CLOSE);
    EXPECT_TRUE(manage->ended());
}

/* The management dialog: Add >> puts a profile at the top; Delete asks,
 * deletes, cleans the preferred list and, for the active profile, applies
 * the default profile. */
TEST_F(NetworksPageTest, ManagementAddAndDelete)
{
    Station(1, "OfficeNet");
    MakeProfile("Office", "OfficeNet");
    MakeProfile("Home", "HomeNet");
    SetPreferred({"Office"});
    Open();
    SelectRow(page(), IDC_PREFERRED_LIST, 0);
    page().click(IDC_ACTIVATE);
    ASSERT_EQ("Office", ConfigName());

    page().click(IDC_ADD);
    auto manage = Popup(page());
    EXPECT_EQ("Wireless LAN PC Card", manage->text(IDC_MGMT_ADAPTER_NAME));
    auto all = Rows(manage->item(IDC_MGMT_ALL_LIST));
    ASSERT_EQ(Names({"Home", "Office"}), Column(all));
    /* The adapter's domain takes its channels from the country, and no
     * country is chosen yet: the check asks, and No cancels. */
    SelectRow(*manage, IDC_MGMT_ALL_LIST, 0);
    manage->click(IDC_MGMT_ADD);
    ExpectBox(*manage,
              "The settings in this profile are not valid for this Network Adapter.\n"
              "Do you want to Continue (Yes) or Cancel (No)?",
              "Incompatible Network Card settings", IDNO);
    EXPECT_EQ(Names({"Office"}), Column(Rows(manage->item(IDC_PREFERRED_LIST))));
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLCountryCurrentCountryCodeSet)("DE", 2));
    manage->click(IDC_MGMT_ADD);
    EXPECT_FALSE(manage->box());
    EXPECT_EQ(Names({"Home", "Office"}), Column(Rows(manage->item(IDC_PREFERRED_LIST))));
    EXPECT_TRUE(manage->screenshot("management_en")) << "screenshot not written";

    SelectRow(*manage, IDC_MGMT_ALL_LIST, 1);
    manage->click(IDC_MGMT_DELETE);
    ExpectBox(*manage, "Are you sure you want to remove profile 'Office' from the system?", "Network Properties",
              IDYES);
    EXPECT_EQ(Names({"Home"}), Stored());
    EXPECT_EQ(Names({"Home"}), Column(Rows(manage->item(IDC_PREFERRED_LIST))));
    char ssid[258] = "";
    DWORD size = 257;
    ASSERT_EQ(WL_SUCCESS, WL(lib(), WLDesiredSSIDGet)(ssid, &size));
    EXPECT_EQ("Ulmar Systems", std::string(ssid, size)) << "the default profile was applied";
    manage->click(IDC_MGMT_CLOSE);
    EXPECT_TRUE(manage->ended());
    manage.reset();
    EXPECT_EQ(Names({"Home"}), Column(PreferredRows()));
}

/* The 3rd-party box: a stored switch opens the page disabled and empty;
 * clearing the box enables it, and leaving the page stores the switch. */
TEST_F(NetworksPageTest, ThirdPartyDisablesThePage)
{
    Station(1, "OfficeNet");
    MakeProfile("Office", "OfficeNet");
    SetPreferred({"Office"});
    reg_->writeDword("ThirdPartyConfiguration", 1);
    Open(NULL, false);
    EXPECT_TRUE(page().enabled(IDC_THIRD_PARTY));
    EXPECT_EQ(BST_CHECKED, SendMessageA(page().item(IDC_THIRD_PARTY), BM_GETCHECK, 0, 0));
    for (int id : {IDC_SHOW_FILTER, IDC_REFRESH, IDC_ADD, IDC_HUNT_ENABLE, IDC_MOVE_UP, IDC_NETWORKS_HELP})
        EXPECT_FALSE(page().enabled(id)) << id;
    EXPECT_EQ(0u, Available().size());
    EXPECT_EQ(0u, PreferredRows().size());

    page().click(IDC_THIRD_PARTY);
    EXPECT_TRUE(page().enabled(IDC_REFRESH));
    EXPECT_TRUE(page().enabled(IDC_HUNT_ENABLE));
    EXPECT_EQ(Names({"Office"}), Column(PreferredRows()));
    HWND pg = page().dlg(), sheet = page().root();
    page().run([pg, sheet] {
        NMHDR n = {sheet, 0, (UINT)PSN_KILLACTIVE};
        SendMessageA(pg, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
    });
    DWORD stored = 0xDEAD;
    reg_->readDword("ThirdPartyConfiguration", &stored);
    EXPECT_EQ(0u, stored);
}

/* Every control but the static texts has a tooltip with its text. */
TEST_F(NetworksPageTest, Tooltips)
{
    Open();
    HWND page = this->page().dlg(), tip = NULL;
    struct Find {
        static BOOL CALLBACK Proc(HWND w, LPARAM lp)
        {
            char cls[64] = "";
            GetClassNameA(w, cls, sizeof cls);
            if (strcmp(cls, TOOLTIPS_CLASSA) == 0) *reinterpret_cast<HWND *>(lp) = w;
            return TRUE;
        }
    };
    EnumThreadWindows(GetWindowThreadProcessId(page, NULL), Find::Proc, reinterpret_cast<LPARAM>(&tip));
    ASSERT_TRUE(tip != NULL) << "no tooltip window";
    int controls = 0;
    for (HWND w = GetWindow(page, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) controls++;
    }
    EXPECT_EQ(controls, (int)SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    const struct {
        int id;
        const char *text;
    } cases[] = {{IDC_REFRESH, "Refresh the Scanned Network List"},
                 {IDC_HUNT_ENABLE, "Enable/Disable the Automatic Profile Hunting Service"},
                 {IDC_MOVE_UP, "Raise priority of the selected Preferred Profile"}};
    for (const auto &c : cases) {
        NMTTDISPINFOA di;
        memset(&di, 0, sizeof di);
        di.hdr.hwndFrom = tip;
        di.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(page, c.id));
        di.hdr.code = TTN_GETDISPINFOA;
        di.uFlags = TTF_IDISHWND;
        SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&di));
        EXPECT_STREQ(c.text, di.lpszText ? di.lpszText : "");
    }
}

/* The page, the management dialog and the properties dialog in German,
 * with the German resource library as the co-installer's resources. */
TEST_F(NetworksPageTest, GermanScreenshots)
{
    coinst_.reset();
    LibraryInCurrentDir file("nls");
    coinst_.reset(new CoInstaller('E'));
    HMODULE nls = GetModuleHandleA("WDVXQNLS.DLL");
    ASSERT_TRUE(nls != NULL);
    Station(1, "OfficeNet");
    Station(2, "CafeNet");
    MakeProfile("Office", "OfficeNet");
    MakeProfile("Home", "HomeNet");
    SetPreferred({"Office", "Home"});
    Open(nls);
    EXPECT_EQ(Names({"Alle verf\xfc" "gbaren Netzwerke", "Nur Peer-to-Peer-Netzwerke", "Nur Basisstationsnetzwerke"}),
              page().entries(IDC_SHOW_FILTER));
    EXPECT_EQ(" <<Neu>>", Available().at(1).profile);
    EXPECT_TRUE(page().screenshot("networks_de")) << "screenshot not written";
    page().click(IDC_ADD);
    {
        auto manage = Popup(page());
        EXPECT_TRUE(manage->screenshot("management_de")) << "screenshot not written";
    }
    SelectRow(page(), IDC_AVAILABLE_LIST, 1);
    page().click(IDC_SCAN_EDIT);
    {
        auto props = Popup(page());
        EXPECT_TRUE(props->screenshot("properties_new_de")) << "screenshot not written";
    }
    sheet_.reset();
    coinst_.reset();
}

} // namespace
