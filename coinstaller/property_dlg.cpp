/*
 * "Wireless Network Properties": edits one profile of the profile store
 * through the API library's current profile, in the NetworksPageBlock its
 * opener loaded or set up, and stores it at OK.
 */
#include "profiles.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "pagelogic.h"
#include "proplogic.h"
#include "res/resource.h"

int g_PreferredDirty;

namespace {

const char kAsterisks[] = "**************************"; /* 26 */
const int kNoCountry = -1;

/* State of the open dialog (one at a time: it is modal). */
char g_OriginalProfileName[PROFILE_NAME_CHARS];
unsigned g_EnteredKeys;  /* bit i: key slot i was typed */
bool g_CapsWarned;
bool g_Filling;          /* programmatic changes set nothing dirty */
int g_KeyIndex;          /* selection of the key index box */
bool g_AdapterPresent;
BandFlags g_Flags;
RegulatoryDomainBuffer g_Domain;

NetworksPageBlock *Block(HWND dlg) { return reinterpret_cast<NetworksPageBlock *>(GetWindowLongPtrA(dlg, DWLP_USER)); }

HWND Item(HWND dlg, int id) { return GetDlgItem(dlg, id); }

int CurSel(HWND dlg, int id) { return (int)SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0); }

int SelData(HWND dlg, int id, int fallback)
{
    int sel = CurSel(dlg, id);
    if (sel < 0) return fallback;
    return (int)SendDlgItemMessageA(dlg, id, CB_GETITEMDATA, (WPARAM)sel, 0);
}

/* Selects the entry carrying data; false when there is none. */
bool SelectData(HWND dlg, int id, int data)
{
    int n = (int)SendDlgItemMessageA(dlg, id, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++)
        if ((int)SendDlgItemMessageA(dlg, id, CB_GETITEMDATA, (WPARAM)i, 0) == data) {
            SendDlgItemMessageA(dlg, id, CB_SETCURSEL, (WPARAM)i, 0);
            return true;
        }
    return false;
}

void AddEntry(HWND dlg, int id, const char *text, int data)
{
    LRESULT i = SendDlgItemMessageA(dlg, id, CB_ADDSTRING, 0, (LPARAM)text);
    if (i >= 0) SendDlgItemMessageA(dlg, id, CB_SETITEMDATA, (WPARAM)i, (LPARAM)data);
}

void AddString(HWND dlg, int id, UINT str, int data)
{
    char buf[128];
    AddEntry(dlg, id, ResString(str, buf, sizeof buf), data);
}

void Text(HWND dlg, int id, char *out, int size)
{
    out[0] = 0;
    GetDlgItemTextA(dlg, id, out, size);
}

void ReadDomain()
{
    memset(&g_Domain, 0, sizeof g_Domain);
    g_Domain.TS.Type = RegulatoryDomainBufferType;
    g_Domain.TS.Size = sizeof g_Domain;
    memset(&g_Flags, 0, sizeof g_Flags);
    if (WLCountryRegulatoryDomainGet(&g_Domain) == WL_SUCCESS) {
        g_Flags.create5 = g_Domain.Flags5GHz[0];
        g_Flags.connect5 = g_Domain.Flags5GHz[1];
        g_Flags.create24 = g_Domain.Flags2GHz[0];
        g_Flags.connect24 = g_Domain.Flags2GHz[1];
    } else {
        g_Domain.NumChannels2GHz = g_Domain.NumChannels5GHz = 0;
    }
    g_AdapterPresent = RefreshCurrentNICInfo() == WL_SUCCESS && g_CurrentNICInfo.Present != 0;
}

void FillModeBox(HWND dlg)
{
    int offered[3];
    OfferedModes(g_AdapterPresent, g_Flags, offered);
    static const UINT kModeStrings[3] = {3064, 3066, 3067};
    for (int m = 0; m < 3; m++)
        if (offered[m]) AddString(dlg, IDC_CONNECTION_MODE, kModeStrings[m], m);
}

/* Band box for a mode, keeping the selected band when it is still
 * offered, else "Auto (2.4 GHz then 5 GHz)", else the first entry. */
void FillBandBox(HWND dlg, int mode, int wanted)
{
    SendDlgItemMessageA(dlg, IDC_TRANSMIT_BAND, CB_RESETCONTENT, 0, 0);
    int offered[4];
    OfferedBands(g_AdapterPresent, g_Flags, mode, offered);
    for (int b = 0; b < 4; b++)
        if (offered[b]) AddString(dlg, IDC_TRANSMIT_BAND, 3117 + (UINT)b, b);
    if (!SelectData(dlg, IDC_TRANSMIT_BAND, wanted) && !SelectData(dlg, IDC_TRANSMIT_BAND, 2))
        SendDlgItemMessageA(dlg, IDC_TRANSMIT_BAND, CB_SETCURSEL, 0, 0);
}

void FillChannelBox(HWND dlg, int id, const int32_t *channels, int32_t count, int max)
{
    AddString(dlg, id, IDS_CHANNEL_AUTO, 0);
    if (count < 0) count = 0;
    if (count > max) count = max;
    for (int i = 0; i < count; i++) {
        char num[16];
        snprintf(num, sizeof num, "%d", (int)channels[i]);
        AddEntry(dlg, id, num, (int)channels[i]);
    }
}

/* One channel box shown at a time: 2207 for "2.4 GHz only", otherwise 2206
 * (disabled); both on "Auto" and disabled for mode 0. */
void ShowChannelBoxes(HWND dlg)
{
    int band = SelData(dlg, IDC_TRANSMIT_BAND, 2);
    int mode = SelData(dlg, IDC_CONNECTION_MODE, 0);
    ShowWindow(Item(dlg, IDC_CHANNEL_2GHZ), band == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(dlg, IDC_CHANNEL_5GHZ), band == 0 ? SW_HIDE : SW_SHOW);
    EnableWindow(Item(dlg, IDC_CHANNEL_5GHZ), FALSE);
    EnableWindow(Item(dlg, IDC_CHANNEL_2GHZ), mode != 0);
    if (mode == 0) {
        SendDlgItemMessageA(dlg, IDC_CHANNEL_2GHZ, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(dlg, IDC_CHANNEL_5GHZ, CB_SETCURSEL, 0, 0);
    }
}

void FillCountryBox(HWND dlg, const AdapterPageContext *c)
{
    if (c && c->CountryCode[0] && c->CountryCode[1]) {
        char name[128] = "";
        DWORD size = sizeof name;
        char cc[3] = {c->CountryCode[0], c->CountryCode[1], 0};
        if (WLCountryLocalizedNameGet(cc, name, &size) != WL_SUCCESS || !name[0]) lstrcpynA(name, cc, sizeof name);
        AddEntry(dlg, IDC_COUNTRY, name, 1);
        SendDlgItemMessageA(dlg, IDC_COUNTRY, CB_SETCURSEL, 0, 0);
    }
    EnableWindow(Item(dlg, IDC_COUNTRY), FALSE);
}

void SetKeyEdits(HWND dlg, const char *text)
{
    bool was = g_Filling;
    g_Filling = true;
    SetDlgItemTextA(dlg, IDC_KEY, text);
    SetDlgItemTextA(dlg, IDC_KEY_CONFIRM, text);
    g_Filling = was;
}

/* Key edits and authentication follow the key index box. */
void EnableKeyControls(HWND dlg, int index)
{
    EnableWindow(Item(dlg, IDC_KEY), index != 0);
    EnableWindow(Item(dlg, IDC_KEY_CONFIRM), index != 0);
    EnableWindow(Item(dlg, IDC_AUTHENTICATION), index != 0);
    if (index == 0) SendDlgItemMessageA(dlg, IDC_AUTHENTICATION, CB_SETCURSEL, 0, 0); /* "Open" */
}

/* What the key edits show for a key number: the digits typed, asterisks
 * for a stored key, nothing for an empty slot. */
void ShowKey(HWND dlg, const NetworksPageBlock *b, int index)
{
    if (index < 1 || index > MAX_NUM_KEYS) {
        SetKeyEdits(dlg, "");
        return;
    }
    const KeyBufferKey &k = b->Keys.Key[index - 1];
    if (g_EnteredKeys & (1u << (index - 1))) {
        char text[MAX_KEY_CHARS + 1] = "";
        int len = k.Len < 0 ? 0 : (k.Len > MAX_KEY_CHARS ? MAX_KEY_CHARS : k.Len);
        memcpy(text, k.Keypos, (size_t)len);
        SetKeyEdits(dlg, text);
    } else {
        SetKeyEdits(dlg, k.Len > 0 ? kAsterisks : "");
    }
}

/* The key rules on the edits for key slot `slot`; shows the message of a
 * refused key. An empty key is answered KEY_EMPTY without a message. */
KeyRuleResult ValidateKey(HWND dlg, NetworksPageBlock *b, int slot)
{
    char key[64], confirm[64];
    Text(dlg, IDC_KEY, key, sizeof key);
    Text(dlg, IDC_KEY_CONFIRM, confirm, sizeof confirm);
    KeyBufferKey stored;
    memset(&stored, 0, sizeof stored);
    KeyRuleResult r = KeyRulesApply(key, confirm, &stored);
    if (r == KEY_MISMATCH)
        ResMessage(dlg, 3038, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
    else if (r == KEY_INVALID)
        ResMessage(dlg, IDS_INVALID_KEY, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
    else if (r == KEY_OK) {
        b->Keys.Key[slot] = stored;
        b->Keys.AsciiHex = WL_KEYHEX;
    }
    return r;
}

void KeyIndexChanged(HWND dlg, NetworksPageBlock *b)
{
    int index = CurSel(dlg, IDC_KEY_INDEX);
    if (index < 0) return;
    int prev = g_KeyIndex;
    if (index != 0 && prev >= 1 && (g_EnteredKeys & (1u << (prev - 1)))) {
        char key[64];
        Text(dlg, IDC_KEY, key, sizeof key);
        if (!key[0]) {
            memset(&b->Keys.Key[prev - 1], 0, sizeof b->Keys.Key[prev - 1]);
        } else if (ValidateKey(dlg, b, prev - 1) != KEY_OK) {
            SendDlgItemMessageA(dlg, IDC_KEY_INDEX, CB_SETCURSEL, (WPARAM)prev, 0);
            return;
        }
    }
    g_KeyIndex = index;
    ShowKey(dlg, b, index);
    EnableKeyControls(dlg, index);
    b->Keys.KeyId = index - 1;
    b->KeyIndexChanged = 1;
    g_PreferredDirty = 1;
}

void CapsWarning(HWND edit)
{
    if (g_CapsWarned) return;
    if (!(GetKeyState(VK_CAPITAL) & 1) && !(GetKeyState(VK_NUMLOCK) & 1)) return;
    g_CapsWarned = true;
    ResMessage(GetParent(edit), 3045, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONWARNING);
}

bool IsTypingKey(WPARAM vk)
{
    switch (vk) {
    case VK_TAB: case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_CAPITAL: case VK_NUMLOCK:
    case VK_RETURN: case VK_ESCAPE:
        return false;
    default:
        return true;
    }
}

/* Key edits: the first key press for the current key number clears the
 * asterisks and marks the key as typed. */
LRESULT CALLBACK KeyEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR)
{
    if (msg == WM_SETFOCUS) {
        LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        CapsWarning(hwnd);
        return r;
    }
    if (msg == WM_KEYDOWN && IsTypingKey(wp)) {
        HWND dlg = GetParent(hwnd);
        NetworksPageBlock *b = Block(dlg);
        int index = CurSel(dlg, IDC_KEY_INDEX);
        if (b && index >= 1 && !(g_EnteredKeys & (1u << (index - 1)))) {
            g_EnteredKeys |= 1u << (index - 1);
            SetKeyEdits(dlg, "");
            g_PreferredDirty = 1;
        }
        CapsWarning(hwnd);
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, KeyEditProc, id);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void InitDialog(HWND dlg, NetworksPageBlock *b)
{
    g_Filling = true;
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(b));
    static const int kHelpControls[] = {IDC_PROFILE_NAME, IDC_NETWORK_NAME, IDC_COUNTRY, IDC_CONNECTION_MODE,
                                        IDC_TRANSMIT_BAND, IDC_CHANNEL_2GHZ, IDC_CHANNEL_5GHZ, IDC_KEY_INDEX,
                                        IDC_AUTHENTICATION, IDOK, IDCANCEL, IDC_PROPERTIES_HELP};
    for (int id : kHelpControls) HelpSubclass(Item(dlg, id));
    SetWindowSubclass(Item(dlg, IDC_KEY), KeyEditProc, 1, 0);
    SetWindowSubclass(Item(dlg, IDC_KEY_CONFIRM), KeyEditProc, 2, 0);
    HelpLocateFile();

    SendDlgItemMessageA(dlg, IDC_PROFILE_NAME, EM_LIMITTEXT, 32, 0);
    SendDlgItemMessageA(dlg, IDC_NETWORK_NAME, CB_LIMITTEXT, 32, 0);
    SendDlgItemMessageA(dlg, IDC_KEY, EM_LIMITTEXT, 26, 0);
    SendDlgItemMessageA(dlg, IDC_KEY_CONFIRM, EM_LIMITTEXT, 26, 0);

    ReadDomain();
    FillCountryBox(dlg, b->Context);
    FillModeBox(dlg);
    FillChannelBox(dlg, IDC_CHANNEL_2GHZ, g_Domain.Channels2GHz, g_Domain.NumChannels2GHz, MAX_NUM_2GHZ_CHANNELS);
    FillChannelBox(dlg, IDC_CHANNEL_5GHZ, g_Domain.Channels5GHz, g_Domain.NumChannels5GHz, MAX_NUM_5GHZ_CHANNELS);
    for (UINT s = IDS_ENCRYPTION_DISABLED; s <= IDS_ENCRYPTION_DISABLED + 4; s++)
        AddString(dlg, IDC_KEY_INDEX, s, (int)(s - IDS_ENCRYPTION_DISABLED));
    AddString(dlg, IDC_AUTHENTICATION, 3180, 1);
    AddString(dlg, IDC_AUTHENTICATION, 3181, 2);
    AddString(dlg, IDC_AUTHENTICATION, 3182, 0);
    lstrcpynA(g_OriginalProfileName, b->ProfileName, sizeof g_OriginalProfileName);

    SetDlgItemTextA(dlg, IDC_PROFILE_NAME, b->ProfileName);
    SetDlgItemTextA(dlg, IDC_NETWORK_NAME, b->NetworkName);
    if (b->LastCommand == IDC_SCAN_EDIT) EnableWindow(Item(dlg, IDC_NETWORK_NAME), FALSE);
    if (!SelectData(dlg, IDC_CONNECTION_MODE, b->ConnectionMode))
        SendDlgItemMessageA(dlg, IDC_CONNECTION_MODE, CB_SETCURSEL, 0, 0);
    FillBandBox(dlg, SelData(dlg, IDC_CONNECTION_MODE, 0), b->ConnectionControl);
    if (!SelectData(dlg, IDC_CHANNEL_2GHZ, b->Channel[0])) SelectData(dlg, IDC_CHANNEL_2GHZ, 0);
    if (!SelectData(dlg, IDC_CHANNEL_5GHZ, b->Channel[1])) SelectData(dlg, IDC_CHANNEL_5GHZ, 0);
    ShowChannelBoxes(dlg);

    int index = 0;
    if (b->EncryptionEnabled) {
        b->Keys.TS.Type = KeyBufferType;
        b->Keys.TS.Size = sizeof b->Keys;
        WLCurrentProfileEncryptionGet(&b->Keys);
        index = b->Keys.KeyId >= 0 && b->Keys.KeyId < MAX_NUM_KEYS ? b->Keys.KeyId + 1 : 1;
    }
    SendDlgItemMessageA(dlg, IDC_KEY_INDEX, CB_SETCURSEL, (WPARAM)index, 0);
    g_KeyIndex = index;
    SetKeyEdits(dlg, b->EncryptionEnabled ? kAsterisks : "");
    SelectData(dlg, IDC_AUTHENTICATION, b->Authentication == 0 ? 0 : (b->Authentication == 2 ? 2 : 1));
    EnableKeyControls(dlg, index);
    g_EnteredKeys = 0;
    g_CapsWarned = false;
    b->KeyIndexChanged = 0;
    g_Filling = false;
}

/* The save, in order; false keeps the dialog open. */
bool Save(HWND dlg, NetworksPageBlock *b)
{
    char name[PROFILE_NAME_CHARS], ssid[PROFILE_NAME_CHARS];
    Text(dlg, IDC_PROFILE_NAME, name, sizeof name);
    Text(dlg, IDC_NETWORK_NAME, ssid, sizeof ssid);
    if (!name[0]) {
        ResMessage(dlg, 3046, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
        return false;
    }
    if (!ssid[0]) {
        ResMessage(dlg, 3040, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
        return false;
    }
    bool isNew = false;
    if (b->LastCommand == IDC_SCAN_EDIT) {
        if (StoredProfileExists(name) && WLCurrentProfileByNameGet(name, 32) != WL_SUCCESS) {
            ResMessage(dlg, 3105, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR, name);
            return false;
        }
        isNew = lstrcmpiA(name, g_OriginalProfileName) != 0;
    }
    lstrcpynA(b->ProfileName, name, sizeof b->ProfileName);
    lstrcpynA(b->NetworkName, ssid, sizeof b->NetworkName);
    WLCurrentProfileNameSet(name, (DWORD)strlen(name));
    WLCurrentProfileDesiredSSIDSet(ssid, (DWORD)strlen(ssid));

    int modeIndex = SelData(dlg, IDC_CONNECTION_MODE, 0);
    b->ConnectionMode = modeIndex >= 2 ? 2 : (modeIndex < 0 ? 0 : modeIndex);
    WLCurrentProfileConnectionModeSet(b->ConnectionMode);

    AdapterPageContext *c = b->Context;
    if (c && CurSel(dlg, IDC_COUNTRY) >= 0 && c->CountryCode[0]) {
        char cc[3] = {c->CountryCode[0], c->CountryCode[1], 0};
        WLCountryCurrentCountryCodeSet(cc, (DWORD)(unsigned char)c->CountryEnvironment);
    }

    int band = SelData(dlg, IDC_TRANSMIT_BAND, 2);
    if (band < 0 || band > 3) band = 2;
    b->ConnectionControl = band;
    WLCurrentProfileConnectionControlSet(band);

    if (b->ConnectionMode == 0) {
        b->Channel[0] = b->Channel[1] = 0;
    } else {
        int channel = SelData(dlg, band == 0 ? IDC_CHANNEL_2GHZ : IDC_CHANNEL_5GHZ, 0);
        b->Channel[band == 0 ? 0 : 1] = channel;
        ChannelFrequencyBandBuffer cfb;
        memset(&cfb, 0, sizeof cfb);
        cfb.TS.Type = ChannelFrequencyBandBufferType;
        cfb.TS.Size = sizeof cfb;
        cfb.data.Band = band == 1 ? 1 : 0;
        cfb.data.Channel = band == 0 ? (uint8_t)channel : 0;
        WLCurrentProfileChannelFrequencyBandSet(&cfb);
    }

    int index = CurSel(dlg, IDC_KEY_INDEX);
    if (index < 0) index = 0;
    b->EncryptionEnabled = index != 0;
    b->Keys.KeyId = index - 1;
    WLCurrentProfileEncryptionEnabledSet(b->EncryptionEnabled);
    if (b->EncryptionEnabled) {
        int slot = index - 1;
        bool typed = (g_EnteredKeys & (1u << slot)) != 0;
        char key[64];
        Text(dlg, IDC_KEY, key, sizeof key);
        /* A key number newly chosen needs a key unless its slot holds one. */
        bool mustEnter = typed || (b->KeyIndexChanged && b->Keys.Key[slot].Len <= 0);
        if (mustEnter && !key[0]) {
            ResMessage(dlg, IDS_INVALID_KEY, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
            return false;
        }
        if (typed && ValidateKey(dlg, b, slot) != KEY_OK) return false;
        if (b->KeyIndexChanged || g_EnteredKeys) {
            WLCurrentProfileEncryptionActiveKeySet(b->Keys.KeyId);
            for (int i = 0; i < MAX_NUM_KEYS; i++) {
                if (!(g_EnteredKeys & (1u << i))) continue;
                const KeyBufferKey &k = b->Keys.Key[i];
                int len = k.Len < 0 ? 0 : (k.Len > MAX_KEY_CHARS ? MAX_KEY_CHARS : k.Len);
                WLCurrentProfileEncryptionKeySet(i, b->Keys.AsciiHex, k.Keypos, (DWORD)len);
            }
        }
    }

    char auth[64];
    Text(dlg, IDC_AUTHENTICATION, auth, sizeof auth);
    char autoText[64], sharedText[64];
    ResString(3182, autoText, sizeof autoText);
    ResString(3181, sharedText, sizeof sharedText);
    b->Authentication = strcmp(auth, autoText) == 0 ? 0 : (strcmp(auth, sharedText) == 0 ? 2 : 1);
    WLCurrentProfileAuthenticationSet(b->Authentication);

    if (WLCurrentProfileByNameSet(name, (DWORD)strlen(name)) != WL_SUCCESS) {
        ResMessage(dlg, 3105, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR, name);
        return false;
    }
    if (isNew && c) PreferredInsert(c, name, 0);
    return true;
}

void OnOk(HWND dlg, NetworksPageBlock *b)
{
    AdapterPageContext *c = b->Context;
    char name[PROFILE_NAME_CHARS];
    Text(dlg, IDC_PROFILE_NAME, name, sizeof name);
    int listed = c ? PreferredFind(c, name) : -1;
    bool room = listed >= 0 || !c || c->PreferredCount < MAX_PREFERRED_NAMES;
    if (strcmp(name, g_OriginalProfileName) == 0) {
        if (!room) {
            ResMessage(dlg, 3135, 3104, MB_OK | MB_ICONERROR);
            return;
        }
    } else if (lstrcmpiA(name, g_OriginalProfileName) == 0) {
        /* The registry names keys ignoring case: the old spelling goes
         * first, so that the save creates the profile under the new one. */
        if (listed >= 0) lstrcpynA(c->PreferredNames[listed], name, PROFILE_NAME_CHARS);
        WLProfileByNameDel(g_OriginalProfileName, (DWORD)strlen(g_OriginalProfileName));
    } else if (StoredProfileExists(name)) {
        if (ResMessage(dlg, 3044, IDS_NETWORK_PROPERTIES, MB_YESNO | MB_ICONWARNING, name) != IDYES) return;
        if (!room) {
            if (Save(dlg, b)) ResMessage(dlg, 3135, 3149, MB_OK | MB_ICONERROR);
            return;
        }
    } else if (!room) {
        ResMessage(dlg, 3135, 3104, MB_OK | MB_ICONERROR);
        return;
    }
    if (Save(dlg, b)) EndDialog(dlg, 1);
}

} // namespace

int ResMessage(HWND owner, UINT text, UINT caption, UINT flags, const char *arg)
{
    char fmt[512], cap[128], out[640];
    ResString(text, fmt, sizeof fmt);
    ResString(caption, cap, sizeof cap);
    if (arg)
        snprintf(out, sizeof out, fmt, arg);
    else
        lstrcpynA(out, fmt, sizeof out);
    return MessageBoxA(owner, out, cap, flags);
}

bool StoredProfileExists(const char *name)
{
    char found[PROFILE_NAME_CHARS + 1];
    DWORD size = sizeof found;
    for (int rc = WLFirstProfileByNameGet(found, &size); rc == WL_SUCCESS; rc = WLNextProfileByNameGet(found, &size)) {
        found[sizeof found - 1] = 0;
        if (lstrcmpiA(found, name) == 0) return true;
        size = sizeof found;
    }
    return false;
}

void LoadProfileForEdit(HWND owner, NetworksPageBlock *b)
{
    if (WLCurrentProfileByNameGet(b->ProfileName, 32) == WL_DATA_NOT_AVAILABLE) {
        ResMessage(owner, 3098, 3050, MB_OK | MB_ICONERROR);
        return;
    }
    char name[PROFILE_NAME_CHARS];
    lstrcpynA(name, b->ProfileName, sizeof name);
    EditReset(b, 1);
    lstrcpynA(b->ProfileName, name, sizeof b->ProfileName);
    char ssid[258] = "";
    DWORD size = sizeof ssid - 1;
    if (WLCurrentProfileDesiredSSIDGet(ssid, &size) == WL_SUCCESS) lstrcpynA(b->NetworkName, ssid, sizeof b->NetworkName);
    int v = 0;
    if (WLCurrentProfileConnectionModeGet(&v) == WL_SUCCESS) b->ConnectionMode = (v >= 0 && v <= 2) ? v : 0;
    if (WLCurrentProfileConnectionControlGet(&v) == WL_SUCCESS) b->ConnectionControl = (v >= 0 && v <= 3) ? v : 2;
    if (b->ConnectionMode != 0) {
        ChannelFrequencyBandBuffer cfb;
        memset(&cfb, 0, sizeof cfb);
        cfb.TS.Type = ChannelFrequencyBandBufferType;
        cfb.TS.Size = sizeof cfb;
        if (WLCurrentProfileChannelFrequencyBandGet(&cfb) == WL_SUCCESS)
            b->Channel[0] = ChannelFromWord(b->ConnectionControl, cfb.data.Channel);
    }
    if (WLCurrentProfileEncryptionEnabledGet(&v) == WL_SUCCESS) b->EncryptionEnabled = (v == 0 || v == 1) ? v : 0;
    b->Keys.TS.Type = KeyBufferType;
    b->Keys.TS.Size = sizeof b->Keys;
    WLCurrentProfileEncryptionGet(&b->Keys);
    if (WLCurrentProfileAuthenticationGet(&v) == WL_SUCCESS) b->Authentication = (v >= 0 && v <= 2) ? v : 0;
}

void SetUpNewProfile(HWND owner, NetworksPageBlock *b)
{
    if (WLProfileIns() != WL_SUCCESS) ResMessage(owner, 3104, IDS_NETWORK_PROPERTIES, MB_OK | MB_ICONERROR);
    for (int i = 0; i < MAX_NUM_KEYS; i++) memset(&b->Keys.Key[i], 0, sizeof b->Keys.Key[i]);
    b->Keys.TS.Type = KeyBufferType;
    b->Keys.TS.Size = sizeof b->Keys;
    WLCurrentProfileEncryptionSet(&b->Keys);
}

extern "C" INT_PTR CALLBACK PropertyDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp)
{
    NetworksPageBlock *b = Block(dlg);
    switch (msg) {
    case WM_INITDIALOG:
        InitDialog(dlg, reinterpret_cast<NetworksPageBlock *>(lp));
        return TRUE;
    case WM_HELP:
        HelpFromHelpInfo(lp);
        return TRUE;
    case WM_COMMAND: {
        if (!b) return FALSE;
        int id = LOWORD(wp), code = HIWORD(wp);
        switch (id) {
        case IDOK:
            OnOk(dlg, b);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 2);
            return TRUE;
        case IDC_PROPERTIES_HELP:
            HelpSetPending(IDD_NETWORK_PROPERTIES);
            HelpShow(IDD_NETWORK_PROPERTIES);
            return TRUE;
        case IDC_CONNECTION_MODE:
            if (code == CBN_SELCHANGE) {
                if (g_AdapterPresent)
                    FillBandBox(dlg, SelData(dlg, IDC_CONNECTION_MODE, 0), SelData(dlg, IDC_TRANSMIT_BAND, 2));
                ShowChannelBoxes(dlg);
                g_PreferredDirty = 1;
            }
            return TRUE;
        case IDC_TRANSMIT_BAND:
            if (code == CBN_SELCHANGE) {
                ShowChannelBoxes(dlg);
                g_PreferredDirty = 1;
            }
            return TRUE;
        case IDC_KEY_INDEX:
            if (code == CBN_SELCHANGE) KeyIndexChanged(dlg, b);
            return TRUE;
        case IDC_NETWORK_NAME:
        case IDC_CHANNEL_2GHZ:
        case IDC_CHANNEL_5GHZ:
            if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) g_PreferredDirty = 1;
            return TRUE;
        case IDC_KEY:
        case IDC_KEY_CONFIRM:
            if (code == EN_CHANGE && !g_Filling) g_PreferredDirty = 1;
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}
