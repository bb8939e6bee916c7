/*
 * "Wireless Networks": the networks the adapter hears (a channel selection
 * scan through a mailbox client), the adapter's ordered preferred profiles,
 * their activation, and the profile hunting switch. Also the list view and
 * preferred-list steps that the profile management dialog shares.
 */
#include "netpage.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "netlogic.h"
#include "pagelogic.h"
#include "proplogic.h"
#include "res/resource.h"

extern "C" INT_PTR CALLBACK PropertyDlgProc(HWND, UINT, WPARAM, LPARAM);
extern "C" INT_PTR CALLBACK ManageProfDlgProc(HWND, UINT, WPARAM, LPARAM);

int g_ActiveListed;

/* ------------------------------------------------------------------------ */
/* Shared list view steps                                                   */
/* ------------------------------------------------------------------------ */

HIMAGELIST LoadRowImages(bool state)
{
    int first = state ? STATE_FIRST : 0, last = state ? STATE_LAST : IDI_LIST_LAST - IDI_LIST_FIRST;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, last - first + 1, 0);
    if (!list) return NULL;
    for (int i = first; i <= last; i++) {
        HICON icon = static_cast<HICON>(
            LoadImageA(g_ResourceModule, MAKEINTRESOURCEA(IDI_LIST_FIRST + i), IMAGE_ICON, 16, 16, 0));
        /* A missing icon keeps its place so the indexes stay right. */
        if (!icon) icon = static_cast<HICON>(LoadImageA(NULL, MAKEINTRESOURCEA(32512), IMAGE_ICON, 16, 16, LR_SHARED));
        ImageList_AddIcon(list, icon);
        if (icon) DestroyIcon(icon);
    }
    return list;
}

void ListSetUp(HWND list, int iconWidth, int textWidth, bool stateImages)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    /* The list destroys its image lists with itself. */
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(LoadRowImages(false)));
    if (stateImages) SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(LoadRowImages(true)));
    char text[64];
    LVCOLUMNA col;
    memset(&col, 0, sizeof col);
    int at = 0;
    if (iconWidth > 0) {
        col.mask = LVCF_WIDTH;
        col.cx = iconWidth;
        SendMessageA(list, LVM_INSERTCOLUMNA, (WPARAM)at++, reinterpret_cast<LPARAM>(&col));
    }
    for (UINT s = 3050; s <= 3051; s++) {
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = textWidth;
        col.pszText = const_cast<char *>(ResString(s, text, sizeof text));
        SendMessageA(list, LVM_INSERTCOLUMNA, (WPARAM)at++, reinterpret_cast<LPARAM>(&col));
    }
    SetWindowLongPtrA(list, GWLP_USERDATA, iconWidth > 0 ? 1 : 0);
}

int ListTextColumn(HWND list) { return (int)GetWindowLongPtrA(list, GWLP_USERDATA); }

void ListWidthRule(HWND list, int before, int after, int visible)
{
    int delta = ColumnWidthDelta(before, after, visible);
    if (!delta) return;
    int first = ListTextColumn(list);
    for (int i = first; i < first + 2; i++) {
        int w = (int)SendMessageA(list, LVM_GETCOLUMNWIDTH, (WPARAM)i, 0);
        SendMessageA(list, LVM_SETCOLUMNWIDTH, (WPARAM)i, MAKELPARAM(w + delta, 0));
    }
}

int ListSelected(HWND list) { return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }

void ListSelect(HWND list, int row)
{
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)row, reinterpret_cast<LPARAM>(&it));
    SendMessageA(list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void ListText(HWND list, int row, int column, char *out, int size)
{
    out[0] = 0;
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.iSubItem = column;
    it.pszText = out;
    it.cchTextMax = size;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, reinterpret_cast<LPARAM>(&it));
}

int ListAddRow(HWND list, const char *profile, const char *ssid, int icon, int state, LPARAM data)
{
    int first = ListTextColumn(list);
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | (state ? LVIF_STATE : 0);
    it.iItem = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    it.pszText = const_cast<char *>(first ? "" : profile);
    it.iImage = icon;
    it.lParam = data;
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = state ? INDEXTOSTATEIMAGEMASK(state - STATE_FIRST + 1) : 0;
    int row = (int)SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    if (row < 0) return row;
    const char *texts[2] = {profile, ssid};
    for (int k = first ? 0 : 1; k < 2; k++) {
        LVITEMA sub;
        memset(&sub, 0, sizeof sub);
        sub.iSubItem = first + k;
        sub.pszText = const_cast<char *>(texts[k]);
        SendMessageA(list, LVM_SETITEMTEXTA, (WPARAM)row, reinterpret_cast<LPARAM>(&sub));
    }
    return row;
}

namespace {

/* SSID and connection mode of the profile just made current. */
void CurrentSsidAndMode(char ssid[258], int *mode)
{
    ssid[0] = 0;
    DWORD size = 256;
    if (WLCurrentProfileDesiredSSIDGet(ssid, &size) != WL_SUCCESS) ssid[0] = 0;
    ssid[size < 257 ? size : 256] = 0;
    ssid[PROFILE_NAME_CHARS - 1] = 0; /* SSIDs have at most 32 characters */
    int m = 0;
    if (WLCurrentProfileConnectionModeGet(&m) != WL_SUCCESS || m < 0 || m > 2) m = 0;
    *mode = m;
}

bool ProfileLoads(const char *name) { return WLCurrentProfileByNameGet(name, 32) == WL_SUCCESS; }

} // namespace

std::vector<std::string> StoredProfileNames()
{
    std::vector<std::string> names;
    char name[PROFILE_NAME_CHARS + 1];
    DWORD size = sizeof name;
    for (int rc = WLFirstProfileByNameGet(name, &size); rc == WL_SUCCESS; rc = WLNextProfileByNameGet(name, &size)) {
        name[sizeof name - 1] = 0;
        names.push_back(name);
        size = sizeof name;
    }
    return names;
}

void FillPreferredList(HWND list, AdapterPageContext *c, int *rows, int visible)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    g_ActiveListed = 0;
    for (int i = 0; i < c->PreferredCount;) {
        const char *name = c->PreferredNames[i];
        if (!name || !ProfileLoads(name)) {
            PreferredRemove(c, i);
            continue;
        }
        bool active = lstrcmpiA(name, g_CurrentNICInfo.ConfigName) == 0;
        int level = 6;
        if (active) {
            g_ActiveListed = 1;
            CommunicationsQualityBuffer q;
            memset(&q, 0, sizeof q);
            q.TS.Type = CommunicationsQualityBufferType;
            q.TS.Size = sizeof q;
            if (WLCommunicationsQualityGet(&q) == WL_SUCCESS) level = q.Level;
        }
        char ssid[258];
        int mode;
        CurrentSsidAndMode(ssid, &mode);
        RowImages img = PreferredRowImages(mode, active, level);
        ListAddRow(list, name, ssid, img.icon, img.state, i);
        i++;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    int now = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    ListWidthRule(list, *rows, now, visible);
    *rows = now;
    InvalidateRect(list, NULL, TRUE);
}

void DropVanishedPreferred(AdapterPageContext *c)
{
    /* One walk of the store for the whole list, not one per name. */
    std::vector<std::string> stored = StoredProfileNames();
    for (int i = 0; i < c->PreferredCount;) {
        bool found = false;
        for (size_t k = 0; k < stored.size() && !found && c->PreferredNames[i]; k++)
            found = lstrcmpiA(stored[k].c_str(), c->PreferredNames[i]) == 0;
        if (found)
            i++;
        else
            PreferredRemove(c, i);
    }
}

void SetMoveBitmaps(HWND dlg, HBITMAP out[2])
{
    const int ids[2] = {IDC_MOVE_UP, IDC_MOVE_DOWN};
    const int bitmaps[2] = {IDB_ARROW_UP, IDB_ARROW_DOWN};
    for (int i = 0; i < 2; i++) {
        out[i] = static_cast<HBITMAP>(
            LoadImageA(g_ResourceModule, MAKEINTRESOURCEA(bitmaps[i]), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        if (out[i]) SendDlgItemMessageA(dlg, ids[i], BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(out[i]));
    }
}

void FreeMoveBitmaps(HBITMAP bm[2])
{
    for (int i = 0; i < 2; i++)
        if (bm[i]) {
            DeleteObject(bm[i]);
            bm[i] = NULL;
        }
}

void MoveSelectedPreferred(HWND list, AdapterPageContext *c, int delta, int *rows, int visible)
{
    int row = ListSelected(list);
    int to = row + delta;
    if (row < 0 || row >= c->PreferredCount || to < 0 || to >= c->PreferredCount) return;
    char *t = c->PreferredNames[row];
    c->PreferredNames[row] = c->PreferredNames[to];
    c->PreferredNames[to] = t;
    FillPreferredList(list, c, rows, visible);
    ListSelect(list, to);
}

bool PreferredHasRoom(HWND owner, const AdapterPageContext *c)
{
    if (c->PreferredCount < MAX_PREFERRED_NAMES) return true;
    ResMessage(owner, 3135, 3104, MB_OK | MB_ICONERROR);
    return false;
}

bool RunPropertiesDialog(HWND owner, NetworksPageBlock *b)
{
    return DialogBoxParamA(g_ResourceModule, MAKEINTRESOURCEA(IDD_NETWORK_PROPERTIES), owner, PropertyDlgProc,
                           reinterpret_cast<LPARAM>(b)) == 1;
}

/* ------------------------------------------------------------------------ */
/* The page                                                                 */
/* ------------------------------------------------------------------------ */

namespace {

const UINT_PTR kScanTimer = 1;
const UINT kScanPollMs = 50;
const DWORD kScanLimitMs = 3000;
const int kScanCapacity = 32;
const int kVisibleRows = 3;

struct ScanBuffer {
    MBBufferHeader h;
    MBACSScanEntry e[kScanCapacity];
};

/* State of the page (one per process, as the sheet that shows it). */
struct PageState {
    HWND page;
    NetworksPageBlock *block;
    bool firstActivation;
    int firstCount;        /* preferred names held at the first activation */
    int availableRows, preferredRows;
    int lastScanCount;
    bool scanning;
    int client;
    DWORD scanStart;
    ScanBuffer scan;
    HWND tooltip;
    HHOOK hook;
    HBITMAP arrows[2];
    char tipText[256];
};
PageState g_Page;

/* Controls whose state follows the 3rd-party box. */
const int kPageControls[] = {IDC_SHOW_FILTER, IDC_AVAILABLE_LIST, IDC_REFRESH, IDC_SCAN_EDIT, IDC_PREFERRED_LIST,
                             IDC_ADD, IDC_PREFERRED_EDIT, IDC_ACTIVATE, IDC_REMOVE, IDC_MOVE_UP, IDC_MOVE_DOWN,
                             IDC_HUNT_ENABLE, IDC_HUNT_RESTART, IDC_NETWORKS_HELP};

NetworksPageBlock *Blk(HWND dlg) { return reinterpret_cast<NetworksPageBlock *>(GetWindowLongPtrA(dlg, DWLP_USER)); }
HWND Item(HWND dlg, int id) { return GetDlgItem(dlg, id); }
void Enable(HWND dlg, int id, bool on) { EnableWindow(Item(dlg, id), on ? TRUE : FALSE); }
bool Checked(HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetCheck(HWND dlg, int id, bool on) { SendDlgItemMessageA(dlg, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

int ListWidth(HWND list)
{
    RECT r;
    GetClientRect(list, &r);
    return r.right - r.left;
}

void ShowThirdParty(HWND dlg, const AdapterPageContext *c)
{
    SetCheck(dlg, IDC_THIRD_PARTY, (c->ThirdParty & (THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) != 0);
    Enable(dlg, IDC_THIRD_PARTY, (c->ThirdParty & THIRD_PARTY_NOT_OWN) == 0);
}

void ShowHunting(HWND dlg, const AdapterPageContext *c)
{
    SetCheck(dlg, IDC_HUNT_ENABLE, c->ProfileHunting != 0);
    Enable(dlg, IDC_HUNT_RESTART, c->ProfileHunting != 0 && IsWindowEnabled(Item(dlg, IDC_HUNT_ENABLE)));
}

/* Edit, Remove and Activate wait for a selected preferred row. */
void PreferredButtons(HWND dlg)
{
    bool on = ListSelected(Item(dlg, IDC_PREFERRED_LIST)) >= 0 && IsWindowEnabled(Item(dlg, IDC_PREFERRED_LIST));
    Enable(dlg, IDC_PREFERRED_EDIT, on);
    Enable(dlg, IDC_REMOVE, on);
    Enable(dlg, IDC_ACTIVATE, on);
}

void RefillPreferred(HWND dlg, AdapterPageContext *c)
{
    FillPreferredList(Item(dlg, IDC_PREFERRED_LIST), c, &g_Page.preferredRows, kVisibleRows);
    PreferredButtons(dlg);
}

void EmptyList(HWND list, int *rows)
{
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    ListWidthRule(list, *rows, 0, kVisibleRows);
    *rows = 0;
}

/* Every control but the 3rd-party box. */
void EnablePage(HWND dlg, bool on)
{
    for (int id : kPageControls) Enable(dlg, id, on);
    if (!on) return;
    Enable(dlg, IDC_SCAN_EDIT, ListSelected(Item(dlg, IDC_AVAILABLE_LIST)) >= 0);
    PreferredButtons(dlg);
    Enable(dlg, IDC_HUNT_RESTART, Checked(dlg, IDC_HUNT_ENABLE));
}

void DisablePage(HWND dlg)
{
    EmptyList(Item(dlg, IDC_AVAILABLE_LIST), &g_Page.availableRows);
    EmptyList(Item(dlg, IDC_PREFERRED_LIST), &g_Page.preferredRows);
    EnablePage(dlg, false);
}

/* Names of every stored profile with their SSIDs. */
struct StoredProfile {
    std::string name, ssid;
};
std::vector<StoredProfile> StoredProfiles()
{
    std::vector<StoredProfile> out;
    for (const std::string &n : StoredProfileNames()) {
        if (!ProfileLoads(n.c_str())) continue;
        char ssid[258];
        int mode;
        CurrentSsidAndMode(ssid, &mode);
        out.push_back({n, ssid});
    }
    return out;
}

/* Rows of the last scan through the "Show :" box. */
void ShowScan(HWND dlg)
{
    HWND list = Item(dlg, IDC_AVAILABLE_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int filter = (int)SendDlgItemMessageA(dlg, IDC_SHOW_FILTER, CB_GETCURSEL, 0, 0);
    if (filter < 0) filter = 0;
    char fresh[64];
    ResString(3096, fresh, sizeof fresh);
    std::vector<StoredProfile> profiles;
    bool profilesRead = false;
    std::vector<std::string> listed;
    int n = g_Page.lastScanCount < 0 ? 0 : (g_Page.lastScanCount > kScanCapacity ? kScanCapacity : g_Page.lastScanCount);
    for (int i = 0; i < n; i++) {
        const MBACSScanEntry &e = g_Page.scan.e[i];
        char ssid[PROFILE_NAME_CHARS];
        memcpy(ssid, e.SSID, sizeof ssid - 1);
        ssid[sizeof ssid - 1] = 0;
        if (!ScanSsidListed(ssid) || !ScanFilterPasses(filter, e.ThirdWord)) continue;
        bool seen = false;
        for (const std::string &s : listed) seen = seen || s == ssid;
        if (seen) continue;
        listed.push_back(ssid);
        if (!profilesRead) {
            profiles = StoredProfiles();
            profilesRead = true;
        }
        int base = (e.ThirdWord & 1) != 0;
        int icon = base ? ICON_BASE_STATION : ICON_PEER;
        int rows = 0;
        for (const StoredProfile &p : profiles)
            if (lstrcmpiA(p.ssid.c_str(), ssid) == 0) {
                ListAddRow(list, p.name.c_str(), ssid, icon, 0, base);
                rows++;
            }
        if (!rows) ListAddRow(list, fresh, ssid, icon, 0, base);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    int now = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    ListWidthRule(list, g_Page.availableRows, now, kVisibleRows);
    g_Page.availableRows = now;
    Enable(dlg, IDC_SCAN_EDIT, false);
    if (now > 0) ListSelect(list, 0);
    InvalidateRect(list, NULL, TRUE);
}

void ScanControls(HWND dlg, bool on)
{
    Enable(dlg, IDC_AVAILABLE_LIST, on);
    Enable(dlg, IDC_REFRESH, on);
    Enable(dlg, IDC_SHOW_FILTER, on);
    Enable(dlg, IDC_SCAN_EDIT, on && ListSelected(Item(dlg, IDC_AVAILABLE_LIST)) >= 0);
}

void EndScan(HWND dlg, int count)
{
    KillTimer(dlg, kScanTimer);
    if (g_Page.scanning) WLMBLogoff(g_Page.client);
    g_Page.scanning = false;
    g_Page.lastScanCount = count;
    ScanControls(dlg, true);
    ShowScan(dlg);
}

/* Starts a scan; its results arrive through the poll timer. A scan that
 * cannot start leaves the list empty. */
void StartScan(HWND dlg)
{
    if (g_Page.scanning) return;
    HWND list = Item(dlg, IDC_AVAILABLE_LIST);
    EmptyList(list, &g_Page.availableRows);
    g_Page.lastScanCount = 0;
    ScanControls(dlg, false);

    int client = -1;
    if (WLMBLogon(&client) != WL_SUCCESS) {
        ScanControls(dlg, true);
        return;
    }
    memset(&g_Page.scan, 0, sizeof g_Page.scan);
    g_Page.scan.h.TS.Type = MBACSScanBufferType;
    g_Page.scan.h.TS.Size = sizeof g_Page.scan;
    g_Page.scan.h.Capacity = kScanCapacity;
    Channel2GHzBuffer c24;
    Channel5GHzBuffer c5;
    DataRate2GHzBuffer r24;
    DataRate5GHzBuffer r5;
    memset(&c24, 0, sizeof c24);
    memset(&c5, 0, sizeof c5);
    memset(&r24, 0, sizeof r24);
    memset(&r5, 0, sizeof r5);
    c24.TS.Type = Channel2GHzBufferType;
    c24.TS.Size = sizeof c24;
    c24.data.Channels = 0x3FFF; /* channels 1 to 14 */
    c5.TS.Type = Channel5GHzBufferType;
    c5.TS.Size = sizeof c5;
    c5.data.Channels = 0xFFFFFFFFu; /* all 35 channels */
    c5.data.ChannelsHigh = 0x7;
    r24.TS.Type = DataRate2GHzBufferType;
    r24.TS.Size = sizeof r24;
    r24.data.DataRate = 2; /* probe at 2 Mbit/s */
    r5.TS.Type = DataRate5GHzBufferType;
    r5.TS.Size = sizeof r5;
    r5.data.DataRate = 0x10; /* probe at 6 Mbit/s */
    if (WLMBSet(&g_Page.scan, client) != WL_SUCCESS ||
        WLMBActionACSABGScan("", 0, &c24, &c5, &r24, &r5) != WL_SUCCESS) {
        WLMBLogoff(client);
        ScanControls(dlg, true);
        return;
    }
    g_Page.client = client;
    g_Page.scanning = true;
    g_Page.scanStart = GetTickCount();
    SetTimer(dlg, kScanTimer, kScanPollMs, NULL);
}

void PollScan(HWND dlg)
{
    if (!g_Page.scanning) {
        KillTimer(dlg, kScanTimer);
        return;
    }
    WLMBGet();
    if (g_Page.scan.h.Complete || g_Page.scan.h.Overflow)
        EndScan(dlg, g_Page.scan.h.Count);
    else if (GetTickCount() - g_Page.scanStart >= kScanLimitMs)
        EndScan(dlg, 0);
}

/* Preferred names of the adapter as the library keeps them. */
void LoadPreferred(AdapterPageContext *c)
{
    char name[PROFILE_NAME_CHARS];
    DWORD size = sizeof name;
    for (int rc = WLFirstPreferredProfileByNameGet(name, &size);
         rc == WL_SUCCESS && c->PreferredCount < MAX_PREFERRED_NAMES;
         rc = WLNextPreferredProfileByNameGet(name, &size)) {
        name[size < sizeof name ? size : sizeof name - 1] = 0;
        PreferredInsert(c, name, c->PreferredCount);
        size = sizeof name;
    }
}

/* ---- tooltips ---- */

LRESULT CALLBACK TipHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE && g_Page.tooltip) {
        MSG *m = reinterpret_cast<MSG *>(lp);
        switch (m->message) {
        case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
            if (m->hwnd && GetParent(m->hwnd) == g_Page.page)
                SendMessageA(g_Page.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(m));
            break;
        }
    }
    return CallNextHookEx(g_Page.hook, code, wp, lp);
}

void CreateTooltips(HWND dlg)
{
    g_Page.tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dlg, NULL, g_Instance, NULL);
    if (!g_Page.tooltip) return;
    for (HWND w = GetWindow(dlg, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0) continue;
        TOOLINFOA ti;
        memset(&ti, 0, sizeof ti);
        ti.cbSize = sizeof ti;
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = dlg;
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(g_Page.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    g_Page.hook = SetWindowsHookExA(WH_GETMESSAGE, TipHook, NULL, GetCurrentThreadId());
}

void RemoveTooltips()
{
    if (g_Page.hook) UnhookWindowsHookEx(g_Page.hook);
    g_Page.hook = NULL;
    if (g_Page.tooltip && IsWindow(g_Page.tooltip)) DestroyWindow(g_Page.tooltip);
    g_Page.tooltip = NULL;
}

/* ---- page steps ---- */

void InitPage(HWND dlg, NetworksPageBlock *b)
{
    memset(&g_Page, 0, sizeof g_Page);
    g_Page.page = dlg;
    g_Page.block = b;
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(b));
    HelpSubclass(Item(dlg, IDC_THIRD_PARTY));
    for (int id : kPageControls) HelpSubclass(Item(dlg, id));
    if (!b || !b->Context) return;
    AdapterPageContext *c = b->Context;

    EditReset(b, 1);
    WLInitializeProfiles();
    SetMoveBitmaps(dlg, g_Page.arrows);
    char text[128];
    for (UINT s = 3053; s <= 3055; s++)
        SendDlgItemMessageA(dlg, IDC_SHOW_FILTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ResString(s, text, sizeof text)));
    HWND avail = Item(dlg, IDC_AVAILABLE_LIST), pref = Item(dlg, IDC_PREFERRED_LIST);
    ListSetUp(avail, 16, ListWidth(avail) / 2 - 20, false);
    ListSetUp(pref, 0, ListWidth(pref) / 2 - 4, true);

    PreferredFreeAll(c);
    LoadPreferred(c);
    SendDlgItemMessageA(dlg, IDC_SHOW_FILTER, CB_SETCURSEL, 0, 0);
    c->ProfileHunting = g_CurrentNICInfo.ProfileHunting;
    ShowHunting(dlg, c);

    CreateTooltips(dlg);
    HelpLocateFile();
    g_Page.firstActivation = true;

    c->ThirdParty = (c->ThirdParty & ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) | SharedThirdPartyBits();
    ShowThirdParty(dlg, c);
    PreferredButtons(dlg);
}

void SetActive(HWND dlg, AdapterPageContext *c)
{
    RefreshCurrentNICInfo();
    c->ThirdParty = (c->ThirdParty & ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) | SharedThirdPartyBits();
    ShowThirdParty(dlg, c);
    if (c->ThirdParty & (THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) {
        DisablePage(dlg);
        return;
    }
    EnablePage(dlg, true);
    if (g_Page.firstActivation) {
        g_Page.firstActivation = false;
        g_Page.firstCount = c->PreferredCount;
        StartScan(dlg);
        RefillPreferred(dlg, c);
    } else {
        /* Names another program added meanwhile go to the front. */
        AdapterPageContext read;
        memset(&read, 0, sizeof read);
        LoadPreferred(&read);
        if (read.PreferredCount != g_Page.firstCount) {
            for (int i = read.PreferredCount - 1; i >= 0; i--) PreferredInsert(c, read.PreferredNames[i], 0);
            RefillPreferred(dlg, c);
        }
        PreferredFreeAll(&read);
    }
    c->ProfileHunting = g_CurrentNICInfo.ProfileHunting;
    ShowHunting(dlg, c);
}

void KillActive(HWND dlg, AdapterPageContext *c)
{
    if (IsWindowEnabled(Item(dlg, IDC_THIRD_PARTY)) && !g_CurrentNICInfo.ThirdPartyConfiguration.NotOwn) {
        if (Checked(dlg, IDC_THIRD_PARTY))
            c->ThirdParty |= THIRD_PARTY_OWN;
        else
            c->ThirdParty &= ~(DWORD)THIRD_PARTY_OWN;
    }
    g_CurrentNICInfo.ThirdPartyConfiguration.Own = c->ThirdParty & THIRD_PARTY_OWN;
    ApiThirdPartyConfigurationSet((int)(c->ThirdParty & THIRD_PARTY_OWN));
    c->ProfileHunting = Checked(dlg, IDC_HUNT_ENABLE) ? 1 : 0;
}

void Activate(NetworksPageBlock *b, const char *name)
{
    if (WLActiveProfileByNameSet(name, (DWORD)strlen(name)) != WL_SUCCESS) return;
    lstrcpynA(g_CurrentNICInfo.ConfigName, name, sizeof g_CurrentNICInfo.ConfigName);
    lstrcpynA(b->ProfileName, name, sizeof b->ProfileName);
    g_PreferredDirty = 0;
}

void Apply(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    ApiThirdPartyConfigurationSet((int)(c->ThirdParty & THIRD_PARTY_OWN));
    WLAllPreferredProfileDel();
    for (int i = 0; i < c->PreferredCount; i++)
        WLNextPreferredProfileByNameSet(c->PreferredNames[i], (DWORD)strlen(c->PreferredNames[i]));
    if (c->PreferredCount == 0) return;
    bool noConfig = g_CurrentNICInfo.ConfigName[0] == 0;
    char name[PROFILE_NAME_CHARS];
    if (noConfig || !g_ActiveListed) {
        ListText(Item(dlg, IDC_PREFERRED_LIST), 0, 0, name, sizeof name);
        if (!name[0]) lstrcpynA(name, c->PreferredNames[0], sizeof name);
    } else {
        /* The profile last edited or last activated. */
        lstrcpynA(name, b->ProfileName[0] ? b->ProfileName : g_CurrentNICInfo.ConfigName, sizeof name);
    }
    if (g_PreferredDirty || noConfig || !g_ActiveListed) {
        Activate(b, name);
        RefillPreferred(dlg, c);
    }
}

void SelectedPreferred(HWND dlg, char *name, int size)
{
    name[0] = 0;
    HWND list = Item(dlg, IDC_PREFERRED_LIST);
    int row = ListSelected(list);
    if (row >= 0) ListText(list, row, 0, name, size);
}

void EditScanned(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    HWND list = Item(dlg, IDC_AVAILABLE_LIST);
    int row = ListSelected(list);
    if (row < 0) return;
    LVITEMA it;
    memset(&it, 0, sizeof it);
    it.mask = LVIF_PARAM;
    it.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    char profile[64], ssid[PROFILE_NAME_CHARS], fresh[64];
    ListText(list, row, 1, profile, sizeof profile);
    ListText(list, row, 2, ssid, sizeof ssid);
    ResString(3096, fresh, sizeof fresh);

    EditReset(b, 1);
    b->LastCommand = IDC_SCAN_EDIT;
    b->ConnectionMode = it.lParam ? 0 : 1; /* base station: join; peer to peer: the group */
    lstrcpynA(b->NetworkName, ssid, sizeof b->NetworkName);
    if (strcmp(profile, fresh) == 0) {
        if (!PreferredHasRoom(dlg, c)) return;
        /* A new network's profile is proposed under the network's name:
         * the placeholder text is no name to store a profile under. */
        lstrcpynA(b->ProfileName, ssid, sizeof b->ProfileName);
        SetUpNewProfile(dlg, b);
    } else {
        lstrcpynA(b->ProfileName, profile, sizeof b->ProfileName);
        LoadProfileForEdit(dlg, b);
    }
    if (!RunPropertiesDialog(dlg, b)) return;
    PreferredInsert(c, b->ProfileName, 0);
    RefillPreferred(dlg, c);
    ListSelect(Item(dlg, IDC_PREFERRED_LIST), 0);
    PropSheet_Changed(GetParent(dlg), dlg);
}

void Command(HWND dlg, NetworksPageBlock *b, int id, int code)
{
    AdapterPageContext *c = b->Context;
    char name[PROFILE_NAME_CHARS];
    switch (id) {
    case IDC_THIRD_PARTY:
        if (code != BN_CLICKED) return;
        if (Checked(dlg, IDC_THIRD_PARTY)) {
            DisablePage(dlg);
        } else {
            EnablePage(dlg, true);
            RefillPreferred(dlg, c);
        }
        PropSheet_Changed(GetParent(dlg), dlg);
        return;
    case IDC_SHOW_FILTER:
        if (code == CBN_SELCHANGE && !g_Page.scanning) ShowScan(dlg);
        return;
    case IDC_REFRESH:
        if (code != BN_CLICKED) return;
        StartScan(dlg);
        RefillPreferred(dlg, c);
        RefreshCurrentNICInfo();
        c->ProfileHunting = g_CurrentNICInfo.ProfileHunting;
        ShowHunting(dlg, c);
        return;
    case IDC_SCAN_EDIT:
        if (code == BN_CLICKED) EditScanned(dlg, b);
        return;
    case IDC_ADD:
        if (code != BN_CLICKED) return;
        EditReset(b, 1);
        b->LastCommand = IDC_ADD;
        DialogBoxParamA(g_ResourceModule, MAKEINTRESOURCEA(IDD_PROFILE_MANAGEMENT), dlg, ManageProfDlgProc,
                        reinterpret_cast<LPARAM>(b));
        RefillPreferred(dlg, c);
        PropSheet_Changed(GetParent(dlg), dlg);
        return;
    case IDC_PREFERRED_EDIT:
        if (code != BN_CLICKED) return;
        SelectedPreferred(dlg, name, sizeof name);
        if (!name[0]) return;
        b->LastCommand = IDC_PREFERRED_EDIT;
        lstrcpynA(b->ProfileName, name, sizeof b->ProfileName);
        LoadProfileForEdit(dlg, b);
        if (RunPropertiesDialog(dlg, b)) PropSheet_Changed(GetParent(dlg), dlg);
        RefillPreferred(dlg, c);
        return;
    case IDC_ACTIVATE:
        if (code != BN_CLICKED) return;
        SelectedPreferred(dlg, name, sizeof name);
        if (!name[0]) return;
        Activate(b, name);
        RefillPreferred(dlg, c);
        return;
    case IDC_REMOVE: {
        if (code != BN_CLICKED) return;
        int row = ListSelected(Item(dlg, IDC_PREFERRED_LIST));
        if (row < 0) return;
        PreferredRemove(c, row);
        RefillPreferred(dlg, c);
        PropSheet_Changed(GetParent(dlg), dlg);
        return;
    }
    case IDC_MOVE_UP:
    case IDC_MOVE_DOWN:
        if (code != BN_CLICKED) return;
        MoveSelectedPreferred(Item(dlg, IDC_PREFERRED_LIST), c, id == IDC_MOVE_UP ? -1 : 1, &g_Page.preferredRows,
                              kVisibleRows);
        PreferredButtons(dlg);
        PropSheet_Changed(GetParent(dlg), dlg);
        return;
    case IDC_HUNT_ENABLE: {
        if (code != BN_CLICKED) return;
        bool on = Checked(dlg, IDC_HUNT_ENABLE);
        WLProfileHuntingSet(on ? 1 : 0);
        c->ProfileHunting = on ? 1 : 0;
        Enable(dlg, IDC_HUNT_RESTART, on);
        return;
    }
    case IDC_HUNT_RESTART:
        if (code == BN_CLICKED && WLAPHRestart() == WL_SUCCESS) RefillPreferred(dlg, c);
        return;
    case IDC_NETWORKS_HELP:
        if (code != BN_CLICKED) return;
        HelpSetPending(IDC_NETWORKS_HELP);
        HelpShow(IDC_NETWORKS_HELP);
        return;
    case IDCANCEL:
        RemoveTooltips();
        EndDialog(dlg, 2);
        return;
    }
}

LRESULT Notify(HWND dlg, NetworksPageBlock *b, NMHDR *n)
{
    if (n->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA *di = reinterpret_cast<NMTTDISPINFOA *>(n);
        int id = (di->uFlags & TTF_IDISHWND) ? GetDlgCtrlID(reinterpret_cast<HWND>(n->idFrom)) : (int)n->idFrom;
        ResString(TooltipStringFor(id), g_Page.tipText, sizeof g_Page.tipText);
        di->lpszText = g_Page.tipText;
        di->hinst = NULL;
        return 0;
    }
    if (n->code == LVN_ITEMCHANGED) {
        const NMLISTVIEW *lv = reinterpret_cast<const NMLISTVIEW *>(n);
        if (lv->uChanged & LVIF_STATE) {
            if (n->idFrom == IDC_PREFERRED_LIST) PreferredButtons(dlg);
            if (n->idFrom == IDC_AVAILABLE_LIST)
                Enable(dlg, IDC_SCAN_EDIT, ListSelected(Item(dlg, IDC_AVAILABLE_LIST)) >= 0 && !g_Page.scanning);
        }
        return 0;
    }
    if (!b || !b->Context) return 0;
    LRESULT result = 0;
    switch (n->code) {
    case PSN_SETACTIVE: SetActive(dlg, b->Context); break;
    case PSN_KILLACTIVE: KillActive(dlg, b->Context); result = FALSE; break;
    case PSN_APPLY: Apply(dlg, b); result = PSNRET_NOERROR; break;
    case PSN_RESET: RemoveTooltips(); break;
    default: return 0;
    }
    SetWindowLongPtrA(dlg, DWLP_MSGRESULT, result);
    return 1;
}

void Destroy(HWND dlg, NetworksPageBlock *b)
{
    KillTimer(dlg, kScanTimer);
    if (g_Page.scanning) WLMBLogoff(g_Page.client);
    g_Page.scanning = false;
    RemoveTooltips();
    FreeMoveBitmaps(g_Page.arrows);
    if (b && b->Context) PreferredFreeAll(b->Context);
    g_Page.page = NULL;
    g_Page.block = NULL;
}

} // namespace

void NetworksContextReleased(AdapterPageContext *c)
{
    if (g_Page.block && g_Page.block->Context == c) g_Page.block->Context = NULL;
}

extern "C" INT_PTR CALLBACK WirelessDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    NetworksPageBlock *b = Blk(dlg);
    switch (msg) {
    case WM_INITDIALOG: {
        const PROPSHEETPAGEA *page = reinterpret_cast<const PROPSHEETPAGEA *>(lp);
        InitPage(dlg, page ? reinterpret_cast<NetworksPageBlock *>(page->lParam) : NULL);
        return TRUE;
    }
    case WM_NOTIFY:
        return Notify(dlg, b, reinterpret_cast<NMHDR *>(lp));
    case WM_TIMER:
        if (wp == kScanTimer) PollScan(dlg);
        return TRUE;
    case WM_COMMAND:
        if (b && b->Context) Command(dlg, b, LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_DESTROY:
        Destroy(dlg, b);
        return FALSE;
    case WM_RBUTTONDOWN:
        HelpSetPending(IDD_WIRELESS_NETWORKS);
        return TRUE;
    case WM_RBUTTONUP:
        HelpShow(IDD_WIRELESS_NETWORKS);
        return TRUE;
    case WM_HELP:
        HelpFromHelpInfo(lp);
        return TRUE;
    }
    return FALSE;
}
