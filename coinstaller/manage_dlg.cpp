/*
 * "Network Profile Management": every profile of the machine beside the
 * adapter's preferred list; profiles are created, edited and deleted here,
 * and added to or removed from the preferred list after a check against
 * the adapter's regulatory domain.
 */
#include "netpage.h"

#include <string.h>

#include <string>
#include <vector>

#include "netlogic.h"
#include "pagelogic.h"
#include "proplogic.h"
#include "res/resource.h"

namespace {

const int kVisiblePreferred = 12;

struct ManageState {
    int allRows, preferredRows;
    HBITMAP arrows[2];
};
ManageState g_Manage;

NetworksPageBlock *Blk(HWND dlg) { return reinterpret_cast<NetworksPageBlock *>(GetWindowLongPtrA(dlg, DWLP_USER)); }
HWND Item(HWND dlg, int id) { return GetDlgItem(dlg, id); }
void Enable(HWND dlg, int id, bool on) { EnableWindow(Item(dlg, id), on ? TRUE : FALSE); }

int ListWidth(HWND list)
{
    RECT r;
    GetClientRect(list, &r);
    return r.right - r.left;
}

void Buttons(HWND dlg)
{
    bool all = ListSelected(Item(dlg, IDC_MGMT_ALL_LIST)) >= 0;
    bool pref = ListSelected(Item(dlg, IDC_PREFERRED_LIST)) >= 0;
    Enable(dlg, IDC_MGMT_DELETE, all);
    Enable(dlg, IDC_MGMT_EDIT, all);
    Enable(dlg, IDC_MGMT_ADD, all);
    Enable(dlg, IDC_MGMT_REMOVE, pref);
    Enable(dlg, IDC_PREFERRED_EDIT, pref);
}

void FillAll(HWND dlg)
{
    HWND list = Item(dlg, IDC_MGMT_ALL_LIST);
    std::vector<std::string> names = StoredProfileNames();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (const std::string &n : names) {
        if (WLCurrentProfileByNameGet(n.c_str(), 32) != WL_SUCCESS) continue;
        char ssid[258] = "";
        DWORD ssize = 257;
        if (WLCurrentProfileDesiredSSIDGet(ssid, &ssize) != WL_SUCCESS) ssid[0] = 0;
        ssid[ssize < 258 ? ssize : 257] = 0;
        ssid[PROFILE_NAME_CHARS - 1] = 0;
        int mode = 0;
        if (WLCurrentProfileConnectionModeGet(&mode) != WL_SUCCESS) mode = 0;
        ListAddRow(list, n.c_str(), ssid, ProfileRowIcon(mode), 0, 0);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    g_Manage.allRows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    InvalidateRect(list, NULL, TRUE);
}

void FillPreferred(HWND dlg, AdapterPageContext *c)
{
    FillPreferredList(Item(dlg, IDC_PREFERRED_LIST), c, &g_Manage.preferredRows, kVisiblePreferred);
}

void FillBoth(HWND dlg, AdapterPageContext *c)
{
    FillAll(dlg);
    FillPreferred(dlg, c);
    Buttons(dlg);
}

void SelectedName(HWND dlg, int listId, char *out, int size)
{
    out[0] = 0;
    HWND list = Item(dlg, listId);
    int row = ListSelected(list);
    if (row >= 0) ListText(list, row, ListTextColumn(list), out, size);
}

void Init(HWND dlg, NetworksPageBlock *b)
{
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(b));
    static const int kControls[] = {IDC_MGMT_ALL_LIST, IDC_MGMT_CREATE, IDC_MGMT_EDIT, IDC_MGMT_DELETE,
                                    IDC_MGMT_ADD, IDC_MGMT_REMOVE, IDC_PREFERRED_LIST, IDC_MOVE_UP,
                                    IDC_MOVE_DOWN, IDC_PREFERRED_EDIT, IDC_MGMT_CLOSE, IDC_MGMT_HELP};
    for (int id : kControls) HelpSubclass(Item(dlg, id));
    memset(&g_Manage, 0, sizeof g_Manage);
    SetMoveBitmaps(dlg, g_Manage.arrows);
    HWND all = Item(dlg, IDC_MGMT_ALL_LIST), pref = Item(dlg, IDC_PREFERRED_LIST);
    /* Both text columns share what the icon column leaves. */
    ListSetUp(all, 16, (ListWidth(all) - 16) / 2 - 2, false);
    ListSetUp(pref, 0, ListWidth(pref) / 2 - 4, true);
    if (!b || !b->Context) return;
    AdapterPageContext *c = b->Context;
    FillAll(dlg);
    DropVanishedPreferred(c);
    FillPreferred(dlg, c);
    WLCurrentNICSet(c->NicId, 4);
    RefreshCurrentNICInfo();
    SetDlgItemTextA(dlg, IDC_MGMT_ADAPTER_NAME, g_CurrentNICInfo.FriendlyName);
    Buttons(dlg);
}

/* The compatibility check and its questions; false cancels the Add. */
bool CompatibleOrConfirmed(HWND dlg, const AdapterPageContext *c, const char *name)
{
    /* The profile as the properties dialog would show it. */
    NetworksPageBlock loaded;
    memset(&loaded, 0, sizeof loaded);
    EditReset(&loaded, 1);
    lstrcpynA(loaded.ProfileName, name, sizeof loaded.ProfileName);
    LoadProfileForEdit(dlg, &loaded);
    CompatProfile p = {loaded.ConnectionMode, loaded.ConnectionControl, {loaded.Channel[0], loaded.Channel[1]}};
    RegulatoryDomainBuffer domain;
    memset(&domain, 0, sizeof domain);
    domain.TS.Type = RegulatoryDomainBufferType;
    domain.TS.Size = sizeof domain;
    int present = g_CurrentNICInfo.Present != 0;
    if (present && WLCountryRegulatoryDomainGet(&domain) != WL_SUCCESS) present = 0;
    char country[33] = "", choose[64];
    ResString(IDS_CHOOSE_LOCATION, choose, sizeof choose);
    if (c->CountryCode[0]) {
        lstrcpynA(country, c->CountryCode, sizeof country);
    } else {
        char cc[8] = "", env[8] = "";
        if (WLCountryCurrentCountryCodeGet(cc, env) == WL_SUCCESS) lstrcpynA(country, cc, sizeof country);
    }
    Compatibility r = CheckCompatibility(present, domain, p, country, choose);
    if (r == COMPAT_OK) return true;
    char tail[128];
    ResString(3140, tail, sizeof tail);
    UINT text = r == COMPAT_INCOMPATIBLE ? 3136 : 3138, caption = r == COMPAT_INCOMPATIBLE ? 3137 : 3139;
    return ResMessage(dlg, text, caption, MB_YESNO | MB_ICONWARNING, tail) == IDYES;
}

void AddSelected(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    char name[PROFILE_NAME_CHARS];
    SelectedName(dlg, IDC_MGMT_ALL_LIST, name, sizeof name);
    if (!name[0]) return;
    if (!PreferredHasRoom(dlg, c)) return;
    if (!CompatibleOrConfirmed(dlg, c, name)) return;
    if (PreferredInsert(c, name, 0) < 0) return;
    FillPreferred(dlg, c);
    ListSelect(Item(dlg, IDC_PREFERRED_LIST), PreferredFind(c, name));
    Buttons(dlg);
}

void Delete(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    char name[PROFILE_NAME_CHARS];
    SelectedName(dlg, IDC_MGMT_ALL_LIST, name, sizeof name);
    if (!name[0]) {
        MessageBeep(MB_OK);
        return;
    }
    if (ResMessage(dlg, 3039, IDS_NETWORK_PROPERTIES, MB_YESNO | MB_ICONWARNING, name) != IDYES) return;
    if (WLProfileByNameDel(name, (DWORD)strlen(name)) == WL_SUCCESS) {
        FillPreferred(dlg, c);
        if (lstrcmpiA(name, g_CurrentNICInfo.ConfigName) == 0) WLDefaultProfileSet();
    }
    DropVanishedPreferred(c);
    FillBoth(dlg, c);
}

void Create(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    if (!PreferredHasRoom(dlg, c)) return;
    EditReset(b, 1);
    b->LastCommand = IDC_MGMT_CREATE;
    SetUpNewProfile(dlg, b);
    if (!RunPropertiesDialog(dlg, b)) return;
    PreferredInsert(c, b->ProfileName, 0);
    FillBoth(dlg, c);
}

void EditProfile(HWND dlg, NetworksPageBlock *b, int listId, int command)
{
    AdapterPageContext *c = b->Context;
    char name[PROFILE_NAME_CHARS];
    SelectedName(dlg, listId, name, sizeof name);
    if (!name[0]) return;
    b->LastCommand = command;
    lstrcpynA(b->ProfileName, name, sizeof b->ProfileName);
    LoadProfileForEdit(dlg, b);
    char ssid[PROFILE_NAME_CHARS];
    lstrcpynA(ssid, b->NetworkName, sizeof ssid);
    if (!RunPropertiesDialog(dlg, b)) return;
    if (command == IDC_PREFERRED_EDIT || strcmp(name, b->ProfileName) != 0 || strcmp(ssid, b->NetworkName) != 0)
        FillBoth(dlg, c);
}

void Command(HWND dlg, NetworksPageBlock *b, int id, int code)
{
    if (code != BN_CLICKED) return;
    AdapterPageContext *c = b->Context;
    switch (id) {
    case IDC_MGMT_CREATE: Create(dlg, b); return;
    case IDC_MGMT_EDIT: EditProfile(dlg, b, IDC_MGMT_ALL_LIST, IDC_MGMT_EDIT); return;
    case IDC_PREFERRED_EDIT: EditProfile(dlg, b, IDC_PREFERRED_LIST, IDC_PREFERRED_EDIT); return;
    case IDC_MGMT_DELETE: Delete(dlg, b); return;
    case IDC_MGMT_ADD: AddSelected(dlg, b); return;
    case IDC_MGMT_REMOVE: {
        int row = ListSelected(Item(dlg, IDC_PREFERRED_LIST));
        if (row < 0) return;
        PreferredRemove(c, row);
        FillPreferred(dlg, c);
        Buttons(dlg);
        return;
    }
    case IDC_MOVE_UP:
    case IDC_MOVE_DOWN:
        MoveSelectedPreferred(Item(dlg, IDC_PREFERRED_LIST), c, id == IDC_MOVE_UP ? -1 : 1,
                              &g_Manage.preferredRows, kVisiblePreferred);
        Buttons(dlg);
        return;
    case IDC_MGMT_HELP:
        HelpSetPending(IDC_MGMT_HELP);
        HelpShow(IDC_MGMT_HELP);
        return;
    case IDC_MGMT_CLOSE:
    case IDCANCEL:
        EndDialog(dlg, id);
        return;
    }
}

} // namespace

extern "C" INT_PTR CALLBACK ManageProfDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    NetworksPageBlock *b = Blk(dlg);
    switch (msg) {
    case WM_INITDIALOG:
        Init(dlg, reinterpret_cast<NetworksPageBlock *>(lp));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDC_MGMT_CLOSE) {
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        if (b && b->Context) Command(dlg, b, LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *n = reinterpret_cast<const NMHDR *>(lp);
        if (n->code == LVN_ITEMCHANGED) Buttons(dlg);
        return FALSE;
    }
    case WM_DESTROY:
        FreeMoveBitmaps(g_Manage.arrows);
        return FALSE;
    case WM_HELP:
        HelpFromHelpInfo(lp);
        return TRUE;
    }
    return FALSE;
}
