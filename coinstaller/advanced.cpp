/*
 * The "Wireless Advanced" property page: adapter-wide radio settings, read
 * at initialization and written on apply inside one connection with
 * deferred apply; the third-party switch is stored when the page is left.
 */
#include "coinst.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "pagelogic.h"
#include "res/resource.h"

namespace {

/* Country names shown in the box and their codes (the box sorts). */
struct CountryEntry {
    char code[3];
    char name[64];
};
const int kMaxCountries = MAX_NUM_COUNTRY_CODES;
CountryEntry g_Countries[kMaxCountries];
int g_CountryCount;

const char *const kRateTexts[12] = {" 1", " 2", "5.5", "11", " 6", " 9", "12", "18", "24", "36", "48", "54"};

/* Rows of rate boxes: index 0 the 5 GHz row, 1 the 2.4 GHz row. */
int RowOf(int id) { return id >= IDC_RATE24_FIRST ? 1 : 0; }
int FirstOf(int row) { return row ? IDC_RATE24_FIRST : IDC_RATE5_FIRST; }

AdapterPageContext *Ctx(HWND dlg) { return reinterpret_cast<AdapterPageContext *>(GetWindowLongPtrA(dlg, DWLP_USER)); }

const CountryEntry *CountryByName(const char *name)
{
    for (int i = 0; i < g_CountryCount; i++)
        if (strcmp(g_Countries[i].name, name) == 0) return &g_Countries[i];
    return NULL;
}

const char *CountryNameOf(const char *code)
{
    for (int i = 0; i < g_CountryCount; i++)
        if (g_Countries[i].code[0] == code[0] && g_Countries[i].code[1] == code[1] && code[0])
            return g_Countries[i].name;
    return NULL;
}

/* Text of the selected entry of a combo box in `out`; false with no
 * selection or a text that does not fit. */
bool SelectedText(HWND box, char *out, size_t size)
{
    out[0] = 0;
    LRESULT sel = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (sel == CB_ERR) return false;
    LRESULT len = SendMessageA(box, CB_GETLBTEXTLEN, (WPARAM)sel, 0);
    if (len == CB_ERR || (size_t)len >= size) return false;
    SendMessageA(box, CB_GETLBTEXT, (WPARAM)sel, (LPARAM)out);
    return true;
}

LRESULT FindExact(HWND box, const char *text)
{
    return SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
}

const char *ChooseLocation(char *buf, int size) { return ResString(IDS_CHOOSE_LOCATION, buf, size); }

/* Keeps the row's checked-rate mask in step with each box's check state,
 * so that one rate of each row always stays allowed. */
LRESULT CALLBACK RateBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    if (msg == BM_SETCHECK) {
        int id = GetDlgCtrlID(hwnd);
        int row = RowOf(id), bit = id - FirstOf(row);
        bool was = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        bool now = wp == BST_CHECKED;
        LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        if (was != now) {
            HWND dlg = GetParent(hwnd);
            int other = now ? RateBoxChecked(&g_CheckedRates[row], bit)
                            : RateBoxUnchecked(&g_CheckedRates[row], bit);
            if (other >= 0) EnableWindow(GetDlgItem(dlg, FirstOf(row) + other), now ? TRUE : FALSE);
        }
        return r;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, RateBoxProc, 2);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void SetCheck(HWND dlg, int id, bool on) { SendDlgItemMessageA(dlg, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
bool Checked(HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

/* Band presence from the regulatory domain: [0] 5 GHz, [1] 2.4 GHz. */
void BandsPresent(bool present[2])
{
    RegulatoryDomainBuffer rd;
    memset(&rd, 0, sizeof rd);
    rd.TS.Type = RegulatoryDomainBufferType;
    rd.TS.Size = sizeof rd;
    int read = WLCountryRegulatoryDomainGet(&rd) == WL_SUCCESS;
    present[0] = BandPresent(read, rd.Flags5GHz) != 0;
    present[1] = BandPresent(read, rd.Flags2GHz) != 0;
}

void ReadSettings(AdapterPageContext *c)
{
    c->ThirdParty = (c->ThirdParty & ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) | SharedThirdPartyBits();
    c->ProfileHunting = g_CurrentNICInfo.ProfileHunting;
    if (!c->NicId[0]) IdentifyAdapter(c);

    char cc[3] = {0, 0, 0}, env = 'E';
    if (WLCountryCurrentCountryCodeGet(cc, &env) == WL_SUCCESS) {
        memcpy(c->CountryCode, cc, 2);
        c->CountryCode[2] = 0;
        c->CountryEnvironment = env;
    }
    int v = 0;
    int rc = WLPowerModeGet(&v);
    c->PowerMode = PowerIndexFromRead(rc, v);
    rc = WLSystemScaleGet(&v);
    c->SystemScale = ScaleFromRead(rc, v);

    DataRate2GHzBuffer r24;
    DataRate5GHzBuffer r5;
    memset(&r24, 0, sizeof r24);
    memset(&r5, 0, sizeof r5);
    r24.TS.Type = DataRate2GHzBufferType, r24.TS.Size = sizeof r24;
    r5.TS.Type = DataRate5GHzBufferType, r5.TS.Size = sizeof r5;
    rc = WLTXRateControlFrequencyBandGet(&r24, &r5);
    RatesFromRead(rc, r24.data.DataRate, r5.data.DataRate, &c->Rates24, &c->Rates5);

    if (WLTXPowerLevelGet(&v) == WL_SUCCESS) c->TxPowerLevel = v;
    CoexistenceBehaviourBuffer co;
    memset(&co, 0, sizeof co);
    co.TS.Type = CoexistenceBehaviourBufferType, co.TS.Size = sizeof co;
    if (WLCoexistenceBehaviourGet(&co) == WL_SUCCESS) c->LongPreamble = (co.data.Behaviour >> 1) & 1;
    if (WLWiFiCompatibleGet(&v) == WL_SUCCESS) c->WiFiCompatible = v;
}

void FillCountryBox(HWND dlg)
{
    HWND box = GetDlgItem(dlg, IDC_COUNTRY);
    char text[64];
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    g_CountryCount = 0;
    CountryCodeBuffer *list = static_cast<CountryCodeBuffer *>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *list));
    if (!list) return;
    list->TS.Type = CountryCodeBufferType;
    list->TS.Size = sizeof *list;
    if (WLCountryCountryCodeGet(list) != WL_SUCCESS) {
        HeapFree(GetProcessHeap(), 0, list);
        SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)ResString(IDS_NO_COUNTRIES, text, sizeof text));
        return;
    }
    int n = list->NumCodes < 0 ? 0 : list->NumCodes > kMaxCountries ? kMaxCountries : list->NumCodes;
    for (int i = 0; i < n; i++) {
        char name[48] = "";
        DWORD size = sizeof name;
        char code[3] = {list->Code[i][0], list->Code[i][1], 0};
        if (WLCountryLocalizedNameGet(code, name, &size) != WL_SUCCESS) continue;
        name[sizeof name - 1] = 0;
        if (!name[0]) continue;
        SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)name);
        CountryEntry &e = g_Countries[g_CountryCount++];
        memcpy(e.code, code, 3);
        snprintf(e.name, sizeof e.name, "%s", name);
    }
    HeapFree(GetProcessHeap(), 0, list);

    char cc[3] = {0, 0, 0}, env = 'E';
    if (WLCountryCurrentCountryCodeGet(cc, &env) != WL_SUCCESS) {
        SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)ChooseLocation(text, sizeof text));
        return;
    }
    const char *name = CountryNameOf(cc);
    if (name && FindExact(box, name) != CB_ERR) return;
    LRESULT choose = FindExact(box, ChooseLocation(text, sizeof text));
    SendMessageA(box, CB_SETCURSEL, choose != CB_ERR ? (WPARAM)choose : 0, 0);
    WLCountryCurrentCountryCodeSet("", (DWORD)(unsigned char)env);
}

void FillBoxes(HWND dlg)
{
    char text[64];
    FillCountryBox(dlg);
    HWND power = GetDlgItem(dlg, IDC_POWER_MANAGEMENT);
    SendMessageA(power, CB_RESETCONTENT, 0, 0);
    SendMessageA(power, CB_ADDSTRING, 0, (LPARAM)ResString(IDS_POWER_DISABLED, text, sizeof text));
    SendMessageA(power, CB_ADDSTRING, 0, (LPARAM)ResString(IDS_POWER_AUTOMATIC, text, sizeof text));
    if (g_OsType == OS_WIN2001)
        SendMessageA(power, CB_ADDSTRING, 0, (LPARAM)ResString(IDS_POWER_OS_CONTROLLED, text, sizeof text));
    HWND scale = GetDlgItem(dlg, IDC_SYSTEM_SCALE);
    SendMessageA(scale, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 5; i++)
        SendMessageA(scale, CB_ADDSTRING, 0, (LPARAM)ResString(IDS_SCALE_FIRST + i, text, sizeof text));
    for (int i = 0; i < 12; i++) SetDlgItemTextA(dlg, IDC_RATE_LABEL_FIRST + i, kRateTexts[i]);
    HWND tx = GetDlgItem(dlg, IDC_TX_POWER);
    SendMessageA(tx, CB_RESETCONTENT, 0, 0);
    for (const char *t : kTxPowerTexts) SendMessageA(tx, CB_ADDSTRING, 0, (LPARAM)t);
}

void ShowThirdParty(HWND dlg, const AdapterPageContext *c)
{
    SetCheck(dlg, IDC_THIRD_PARTY, (c->ThirdParty & (THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) != 0);
    EnableWindow(GetDlgItem(dlg, IDC_THIRD_PARTY), (c->ThirdParty & THIRD_PARTY_NOT_OWN) == 0);
}

void ShowRates(HWND dlg, const AdapterPageContext *c)
{
    /* Clear both rows first (the masks follow), then enable and check. */
    for (int id = IDC_RATE5_FIRST; id < IDC_RATE24_FIRST + 12; id++) SetCheck(dlg, id, false);
    for (int id = IDC_RATE5_FIRST; id < IDC_RATE24_FIRST + 12; id++) EnableWindow(GetDlgItem(dlg, id), TRUE);
    for (int i = 0; i < 4; i++) ShowWindow(GetDlgItem(dlg, IDC_RATE5_FIRST + i), SW_HIDE);
    bool present[2];
    BandsPresent(present);
    for (int bit = 4; bit < 12; bit++) {
        if (!present[0])
            EnableWindow(GetDlgItem(dlg, IDC_RATE5_FIRST + bit), FALSE);
        else if (c->Rates5 & (1u << bit))
            SetCheck(dlg, IDC_RATE5_FIRST + bit, true);
    }
    for (int bit = 0; bit < 12; bit++) {
        if (!present[1])
            EnableWindow(GetDlgItem(dlg, IDC_RATE24_FIRST + bit), FALSE);
        else if (c->Rates24 & (1u << bit))
            SetCheck(dlg, IDC_RATE24_FIRST + bit, true);
    }
    for (int row = 0; row < 2; row++) {
        int lone = LoneBit(g_CheckedRates[row]);
        if (lone >= 0) EnableWindow(GetDlgItem(dlg, FirstOf(row) + lone), FALSE);
    }
}

void PutContext(HWND dlg, AdapterPageContext *c)
{
    char text[64];
    ShowThirdParty(dlg, c);

    HWND box = GetDlgItem(dlg, IDC_COUNTRY);
    char cc[3] = {0, 0, 0}, env = 'E';
    LRESULT found = CB_ERR;
    if (WLCountryCurrentCountryCodeGet(cc, &env) == WL_SUCCESS) {
        memcpy(c->CountryCode, cc, 2);
        c->CountryCode[2] = 0;
        c->CountryEnvironment = env;
        const char *name = CountryNameOf(cc);
        if (name) found = FindExact(box, name);
    } else {
        c->CountryCode[0] = 0;
        c->CountryEnvironment = 'E';
    }
    if (found == CB_ERR) found = FindExact(box, ChooseLocation(text, sizeof text));
    SendMessageA(box, CB_SETCURSEL, found == CB_ERR ? (WPARAM)-1 : (WPARAM)found, 0);

    SendDlgItemMessageA(dlg, IDC_POWER_MANAGEMENT, CB_SETCURSEL, (WPARAM)c->PowerMode, 0);
    SendDlgItemMessageA(dlg, IDC_SYSTEM_SCALE, CB_SETCURSEL, (WPARAM)(c->SystemScale - 1), 0);
    ShowRates(dlg, c);
    SendDlgItemMessageA(dlg, IDC_TX_POWER, CB_SETCURSEL, (WPARAM)TxPowerIndex(c->TxPowerLevel), 0);
    SetCheck(dlg, IDC_LONG_PREAMBLE, c->LongPreamble != 0);
    SetCheck(dlg, IDC_ALLOW_11G_IBSS, c->WiFiCompatible == 0);
}

void CountryChanged(HWND dlg, AdapterPageContext *c)
{
    HWND box = GetDlgItem(dlg, IDC_COUNTRY);
    char name[64], text[64];
    if (SelectedText(box, name, sizeof name)) {
        const CountryEntry *e = CountryByName(name);
        if (e) snprintf(c->CountryCode, sizeof c->CountryCode, "%s", e->code);
    }
    LRESULT choose = FindExact(box, ChooseLocation(text, sizeof text));
    if (choose == CB_ERR) return;
    SendMessageA(box, CB_DELETESTRING, (WPARAM)choose, 0);
    /* Keep the chosen entry selected wherever the deletion moved it. */
    if (name[0]) {
        LRESULT sel = FindExact(box, name);
        SendMessageA(box, CB_SETCURSEL, sel == CB_ERR ? (WPARAM)-1 : (WPARAM)sel, 0);
    }
}

void Apply(HWND dlg, AdapterPageContext *c)
{
    WLConnect();
    WLApplySet(1);
    ApiThirdPartyConfigurationSet((int)(c->ThirdParty & THIRD_PARTY_OWN));

    char name[64];
    if (SelectedText(GetDlgItem(dlg, IDC_COUNTRY), name, sizeof name)) {
        const CountryEntry *e = CountryByName(name);
        if (e) WLCountryCurrentCountryCodeSet(e->code, (DWORD)(unsigned char)c->CountryEnvironment);
    }

    /* Power: with nothing selected (a mode this OS does not offer) the
     * adapter keeps its mode. */
    int index = (int)SendDlgItemMessageA(dlg, IDC_POWER_MANAGEMENT, CB_GETCURSEL, 0, 0);
    int mode = PowerModeFromIndex(index);
    if (mode >= 0) {
        c->PowerMode = index;
        WLPowerModeSet(mode);
    }
    index = (int)SendDlgItemMessageA(dlg, IDC_SYSTEM_SCALE, CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < 5) {
        c->SystemScale = index + 1;
        WLSystemScaleSet(c->SystemScale);
    }
    char tx[8];
    if (SelectedText(GetDlgItem(dlg, IDC_TX_POWER), tx, sizeof tx)) {
        c->TxPowerLevel = atoi(tx);
        WLTXPowerLevelSet(c->TxPowerLevel);
    }

    bool present[2];
    BandsPresent(present);
    if (present[0]) {
        DWORD m = 0;
        for (int bit = 4; bit < 12; bit++)
            if (Checked(dlg, IDC_RATE5_FIRST + bit)) m |= 1u << bit;
        c->Rates5 = m;
    }
    if (present[1]) {
        DWORD m = 0;
        for (int bit = 0; bit < 12; bit++)
            if (Checked(dlg, IDC_RATE24_FIRST + bit)) m |= 1u << bit;
        c->Rates24 = m;
    }
    DataRate2GHzBuffer r24;
    DataRate5GHzBuffer r5;
    memset(&r24, 0, sizeof r24);
    memset(&r5, 0, sizeof r5);
    r24.TS.Type = DataRate2GHzBufferType, r24.TS.Size = sizeof r24;
    r5.TS.Type = DataRate5GHzBufferType, r5.TS.Size = sizeof r5;
    r24.data.DataRate = (uint16_t)(c->Rates24 & RATES24_MASK);
    r5.data.DataRate = (uint16_t)(c->Rates5 & RATES5_MASK);
    WLTXRateControlFrequencyBandSet(&r24, &r5);

    c->LongPreamble = Checked(dlg, IDC_LONG_PREAMBLE) ? 1 : 0;
    CoexistenceBehaviourBuffer co;
    memset(&co, 0, sizeof co);
    co.TS.Type = CoexistenceBehaviourBufferType, co.TS.Size = sizeof co;
    co.data.Behaviour = c->LongPreamble ? 2 : 0;
    WLCoexistenceBehaviourSet(&co);

    c->WiFiCompatible = Checked(dlg, IDC_ALLOW_11G_IBSS) ? 0 : 1;
    WLWiFiCompatibleSet(c->WiFiCompatible);

    WLApplySet(0);
    WLApply();
    WLDisconnect();
}

void KillActive(HWND dlg, AdapterPageContext *c)
{
    if (IsWindowEnabled(GetDlgItem(dlg, IDC_THIRD_PARTY))) {
        if (Checked(dlg, IDC_THIRD_PARTY))
            c->ThirdParty |= THIRD_PARTY_OWN;
        else
            c->ThirdParty &= ~(DWORD)THIRD_PARTY_OWN;
    }
    g_CurrentNICInfo.ThirdPartyConfiguration.Own = c->ThirdParty & THIRD_PARTY_OWN;
    ApiThirdPartyConfigurationSet((int)(c->ThirdParty & THIRD_PARTY_OWN));
}

void SetActive(HWND dlg, AdapterPageContext *c)
{
    RefreshCurrentNICInfo();
    c->ThirdParty = (c->ThirdParty & ~(DWORD)(THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)) | SharedThirdPartyBits();
    ShowThirdParty(dlg, c);
}

void InitDialog(HWND dlg, AdapterPageContext *c)
{
    static const int kControls[] = {IDC_THIRD_PARTY, IDC_COUNTRY, IDC_POWER_MANAGEMENT, IDC_SYSTEM_SCALE,
                                    IDC_TX_POWER, IDC_RATE5_LABEL, IDC_RATE24_LABEL, IDC_LONG_PREAMBLE,
                                    IDC_ALLOW_11G_IBSS, IDC_DEFAULT, IDC_ADVANCED_HELP};
    for (int id : kControls) HelpSubclass(GetDlgItem(dlg, id));
    for (int i = 0; i < 12; i++) HelpSubclass(GetDlgItem(dlg, IDC_RATE_LABEL_FIRST + i));
    g_CheckedRates[0] = g_CheckedRates[1] = 0;
    for (int id = IDC_RATE5_FIRST; id < IDC_RATE24_FIRST + 12; id++) {
        HWND box = GetDlgItem(dlg, id);
        HelpSubclass(box);
        SetWindowSubclass(box, RateBoxProc, 2, 0);
    }
    if (c) {
        ReadSettings(c);
        FillBoxes(dlg);
        PutContext(dlg, c);
    }
    HelpLocateFile();
}

LRESULT Notify(HWND dlg, AdapterPageContext *c, const NMHDR *n)
{
    LRESULT result = 0;
    switch (n->code) {
    case PSN_APPLY:
        if (c) Apply(dlg, c);
        result = PSNRET_NOERROR;
        break;
    case PSN_KILLACTIVE:
        if (c) KillActive(dlg, c);
        result = FALSE;
        break;
    case PSN_SETACTIVE:
        if (c) SetActive(dlg, c);
        result = 0;
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrA(dlg, DWLP_MSGRESULT, result);
    return TRUE;
}

} // namespace

extern "C" INT_PTR CALLBACK NicSpecificDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    AdapterPageContext *c = Ctx(dlg);
    switch (msg) {
    case WM_INITDIALOG: {
        const PROPSHEETPAGEA *page = reinterpret_cast<const PROPSHEETPAGEA *>(lp);
        c = page ? reinterpret_cast<AdapterPageContext *>(page->lParam) : NULL;
        SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(c));
        InitDialog(dlg, c);
        return TRUE;
    }
    case WM_NOTIFY:
        return Notify(dlg, c, reinterpret_cast<const NMHDR *>(lp));
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case IDC_COUNTRY:
            if (HIWORD(wp) == CBN_SELCHANGE && c) CountryChanged(dlg, c);
            return TRUE;
        case IDC_DEFAULT:
            if (HIWORD(wp) == BN_CLICKED && c) {
                ContextSettingsReset(c);
                g_CheckedRates[0] = g_CheckedRates[1] = 0;
                PutContext(dlg, c);
                PropSheet_Changed(GetParent(dlg), dlg);
            }
            return TRUE;
        case IDC_ADVANCED_HELP:
            if (HIWORD(wp) == BN_CLICKED) {
                HelpSetPending(IDC_ADVANCED_HELP);
                HelpShow(IDC_ADVANCED_HELP);
            }
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 2);
            return TRUE;
        default:
            if (HIWORD(wp) == BN_CLICKED || HIWORD(wp) == CBN_SELCHANGE) PropSheet_Changed(GetParent(dlg), dlg);
            return FALSE;
        }
    case WM_RBUTTONDOWN:
        HelpSetPending(IDD_WIRELESS_ADVANCED);
        return TRUE;
    case WM_RBUTTONUP:
        HelpShow(IDD_WIRELESS_ADVANCED);
        return TRUE;
    case WM_HELP:
        HelpFromHelpInfo(lp);
        return TRUE;
    default:
        return FALSE;
    }
}
