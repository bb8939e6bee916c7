/*
 * The current profile: defaults, its fields one by one, its keys in text or
 * hexadecimal form (handed out masked), and the driver identity recorded in
 * the registry.
 */
#include "profiles/profile.h"

#include "params/radio.h"

NorlanInfo recNorlanInfo;

#define _istprint(c) KeyCharIsPrint((unsigned char)(c))
#define _istxdigit(c) KeyCharIsHexDigit((unsigned char)(c))

/* ---- Key forms ---- */

static int IsAsc(const char *key, long len)
{
    WL_FRAME("IsAsc");
    WL_CHECK(!((len == 0) || (len == 5) || (len == 13)), WL_INVALID_PARAMETER);
    for (long i = 0; i < len; i++) WL_CHECK(_istprint (key [i]) == 0, WL_INVALID_PARAMETER);
    WL_RETURN(WL_SUCCESS);
}

static int IsHex(const char *key, long len)
{
    WL_FRAME("IsHex");
    WL_CHECK(!((len == 0) || (len == 10) || (len == 26)), WL_INVALID_PARAMETER);
    for (long i = 0; i < len; i++) WL_CHECK(_istxdigit (key [i]) == 0, WL_INVALID_PARAMETER);
    WL_RETURN(WL_SUCCESS);
}

static int AscOrHex(int Form, const char *Key, long Len)
{
    return Form == WL_KEYASC ? IsAsc(Key, Len) : IsHex(Key, Len);
}

static int ValidEncryptionData(const KeyBuffer *Val)
{
    WL_FRAME("ValidEncryptionData");
    WL_CHECK(!((Val->AsciiHex == WL_KEYASC) || (Val->AsciiHex == WL_KEYHEX)), WL_INVALID_PARAMETER);
    WL_CHECK(!INTERVAL (0, <=, Val->KeyId, <, MAX_NUM_KEYS), WL_INVALID_PARAMETER);
    auto asc_hex = [Val](const char *k, long l) { return AscOrHex(Val->AsciiHex, k, l); };
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        const KeyBufferKey *Key = &Val->Key[i];
        WL_CHECK(asc_hex (Key->Keypos, Key->Len) != WL_SUCCESS, WL_INVALID_PARAMETER);
    }
    WL_RETURN(WL_SUCCESS);
}

/* The form a slot is shown in: text unless it fails the text rule. */
static int SlotForm(const KeySlot &Slot)
{
    unsigned n = KeySlotLength(Slot);
    /* A stored length beyond the material is no text key. */
    if (n != Slot.Len) return WL_KEYHEX;
    return IsAsc((const char *)Slot.Key, (long)n) == WL_SUCCESS ? WL_KEYASC : WL_KEYHEX;
}

static int GetEncryptionData(KeyBuffer *Val)
{
    WL_FRAME("GetEncryptionData");
    const KeyRecord &rec = recNorlanInfo.recEncryption;
    int form = WL_KEYASC;
    for (int i = 0; i < MAX_NUM_KEYS && form == WL_KEYASC; i++) form = SlotForm(rec.Slot[i]);
    KeyRecordToBuffer(rec, form, Val);
    WL_RETURN(WL_SUCCESS);
}

static int SetEncryptionData(const KeyBuffer *Val)
{
    WL_FRAME("SetEncryptionData");
    KeyBufferToRecord(*Val, &recNorlanInfo.recEncryption);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Coding of the key record ---- */

int _WEPCode(void)
{
    WL_FRAME("_WEPCode");
    NorlanInfo &p = recNorlanInfo;
    if (p.recEncryption.Enabled == 0) {
        /* Encryption off: the keys are not stored. */
        snprintf(p.szEncryption, sizeof p.szEncryption, "%s", DefaultCodedKey);
        WL_RETURN(WL_SUCCESS);
    }
    int n = WEPCode(CRYPT_CODE, p.szEncryption, (int)sizeof p.szEncryption, &p.recEncryption,
                    (int)sizeof p.recEncryption);
    WL_CHECK(n == 0, WL_DATA_NOT_WRITEABLE);
    WL_RETURN(WL_SUCCESS);
}

int _WEPDecode(void)
{
    WL_FRAME("_WEPDecode");
    KeyRecord rec;
    memset(&rec, 0, sizeof rec);
    int n = WEPDecode(CRYPT_CODE, &rec, (int)sizeof rec, recNorlanInfo.szEncryption);
    WL_CHECK(n == 0, WL_DATA_NOT_AVAILABLE);
    recNorlanInfo.recEncryption = rec;
    WL_RETURN(WL_SUCCESS);
}

/* ---- Defaults and registry information ---- */

int WLAPI WLProfileIns(void)
{
    WL_FRAME("WLProfileIns");
    NorlanInfo &p = recNorlanInfo;
    p.OSType = OSTypeGet();
    p.OwnChannel = 10;
    p.Authentication = 1;
    memset(p.szConfigName, 0, sizeof p.szConfigName);
    memset(p.szSSID, 0, sizeof p.szSSID);
    snprintf(p.szEncryption, sizeof p.szEncryption, "%s", DefaultCodedKey);
    _WEPDecode();
    WL_RETURN(WL_SUCCESS);
}

int ReadRegistryInfo(void)
{
    WL_FRAME("ReadRegistryInfo");
    NorlanInfo &p = recNorlanInfo;
    char name[33] = "";
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) name[0] = '\0';
    memset(p.szOwnName, 0, sizeof p.szOwnName);
    memcpy(p.szOwnName, name, strnlen(name, sizeof name - 1));
    DWORD v;
    if (WLNICAnyIntGet("DriverVariant", &v) == WL_SUCCESS) p.DriverVariant = v;
    if (WLNICAnyIntGet("DriverMajor", &v) == WL_SUCCESS) p.DriverMajor = v;
    if (WLNICAnyIntGet("DriverMinor", &v) == WL_SUCCESS) p.DriverMinor = v;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLInitializeProfiles(void)
{
    WL_FRAME("WLInitializeProfiles");
    WLProfileIns();
    ReadRegistryInfo();
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLREGIdentityGet(IdentityBuffer *Val)
{
    WL_FRAME("WLREGIdentityGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != IdentityBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (IdentityBuffer), WL_INVALID_PARAMETER);
    ReadRegistryInfo();
    Val->V = (int32_t)recNorlanInfo.DriverVariant;
    Val->M = (int32_t)recNorlanInfo.DriverMajor;
    Val->m = (int32_t)recNorlanInfo.DriverMinor;
    WL_RETURN(WL_SUCCESS);
}

/* ---- Text fields ---- */

/* Copies the field's text into Val (terminated when it fits). */
static void TextFieldGet(const char *Field, char *Val, DWORD *Size)
{
    size_t n = strnlen(Field, PROFILE_TEXT_SIZE);
    memcpy(Val, Field, n);
    if (n < *Size) Val[n] = '\0';
    *Size = (DWORD)n;
}

static void TextFieldSet(char *Field, const char *Val, DWORD Size)
{
    memset(Field, 0, PROFILE_TEXT_SIZE + 1);
    memcpy(Field, Val, Size);
}

int WLAPI WLCurrentProfileNameGet(char *Val, DWORD *Size)
{
    WL_FRAME("WLCurrentProfileNameGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < SIZEOF (recNorlanInfo.szConfigName), WL_INVALID_PARAMETER);
    TextFieldGet(recNorlanInfo.szConfigName, Val, Size);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileNameSet(const char *Val, DWORD Size)
{
    WL_FRAME("WLCurrentProfileNameSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > SIZEOF (recNorlanInfo.szConfigName), WL_INVALID_PARAMETER);
    TextFieldSet(recNorlanInfo.szConfigName, Val, Size);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileDesiredSSIDGet(char *Val, DWORD *Size)
{
    WL_FRAME("WLCurrentProfileDesiredSSIDGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*Size < SIZEOF (recNorlanInfo.szSSID), WL_INVALID_PARAMETER);
    TextFieldGet(recNorlanInfo.szSSID, Val, Size);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileDesiredSSIDSet(const char *Val, DWORD Size)
{
    WL_FRAME("WLCurrentProfileDesiredSSIDSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > SIZEOF (recNorlanInfo.szSSID), WL_INVALID_PARAMETER);
    TextFieldSet(recNorlanInfo.szSSID, Val, Size);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileInfoGet(CurrentProfileInfoBuffer *Val)
{
    WL_FRAME("WLCurrentProfileInfoGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != CurrentProfileInfoBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (CurrentProfileInfoBuffer), WL_INVALID_PARAMETER);
    /* The text and its terminator, at most the field's 33 bytes. */
    size_t n = strnlen(recNorlanInfo.szSSID, sizeof Val->SSID);
    memcpy(Val->SSID, recNorlanInfo.szSSID, n < sizeof Val->SSID ? n + 1 : n);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Keys ---- */

int WLAPI WLCurrentProfileEncryptionGet(KeyBuffer *Val)
{
    WL_FRAME("WLCurrentProfileEncryptionGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != KeyBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (KeyBuffer), WL_INVALID_PARAMETER);
    GetEncryptionData(Val);
    int valid = ValidEncryptionData(Val);
    /* Callers see form, KeyId and lengths, never key material. */
    KeyBufferMask(Val);
    WL_CHECK(valid != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionSet(const KeyBuffer *Val)
{
    WL_FRAME("WLCurrentProfileEncryptionSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != KeyBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (KeyBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(ValidEncryptionData (Val) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);
    SetEncryptionData(Val);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionEnabledGet(int *Val)
{
    WL_FRAME("WLCurrentProfileEncryptionEnabledGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = recNorlanInfo.recEncryption.Enabled;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionEnabledSet(int Val)
{
    WL_FRAME("WLCurrentProfileEncryptionEnabledSet");
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 7), WL_INVALID_PARAMETER);
    /* A record never set before (all zero at load) gets its tag and header. */
    KeyRecordHeaderSet(&recNorlanInfo.recEncryption);
    recNorlanInfo.recEncryption.Enabled = (uint16_t)Val;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionActiveKeyGet(int *Val)
{
    WL_FRAME("WLCurrentProfileEncryptionActiveKeyGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = recNorlanInfo.recEncryption.KeyId;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionActiveKeySet(int Val)
{
    WL_FRAME("WLCurrentProfileEncryptionActiveKeySet");
    WL_CHECK(!INTERVAL (0, <=, Val, <, MAX_NUM_KEYS), WL_INVALID_PARAMETER);
    KeyRecordHeaderSet(&recNorlanInfo.recEncryption);
    recNorlanInfo.recEncryption.KeyId = (uint16_t)Val;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionKeyGet(int KeyNum, int *AscHex, char *KeyVal, DWORD *KeyLen)
{
    WL_FRAME("WLCurrentProfileEncryptionKeyGet");
    WL_CHECK(!INTERVAL (0, <=, KeyNum, <, MAX_NUM_KEYS), WL_INVALID_PARAMETER);
    WL_CHECK(AscHex == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(KeyVal == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(KeyLen == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(*KeyLen < 2*13, WL_INVALID_PARAMETER);
    const KeySlot &slot = recNorlanInfo.recEncryption.Slot[KeyNum];
    int form = SlotForm(slot);
    int n = KeySlotRender(slot, form, KeyVal, *KeyLen);
    /* A stored slot longer than a key renders in up to 28 digits. */
    if (n < 0) {
        *KeyLen = 0;
        WL_FAIL("KeySlotRender (Slot, Form, KeyVal, *KeyLen) < 0", WL_INPUT_BUFFER_INSUFFICIENT);
    }
    memset(KeyVal, '*', (size_t)n);
    if ((DWORD)n < *KeyLen) KeyVal[n] = '\0';
    *AscHex = form;
    *KeyLen = (DWORD)n;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileEncryptionKeySet(int KeyNum, int AscHex, const char *KeyVal, DWORD KeyLen)
{
    WL_FRAME("WLCurrentProfileEncryptionKeySet");
    WL_CHECK(!INTERVAL (0, <=, KeyNum, <, MAX_NUM_KEYS), WL_INVALID_PARAMETER);
    WL_CHECK(!((AscHex == WL_KEYASC) || (AscHex == WL_KEYHEX)), WL_INVALID_PARAMETER);
    WL_CHECK(KeyVal == NULL, WL_INVALID_PARAMETER);
    auto asc_hex = [AscHex](const char *k, DWORD l) {
        return AscOrHex(AscHex, k, l > 0x7FFFFFFF ? -1L : (long)l);
    };
    WL_CHECK(asc_hex (KeyVal, KeyLen) != WL_SUCCESS, WL_INVALID_PARAMETER);
    KeyRecordHeaderSet(&recNorlanInfo.recEncryption);
    KeySlotStore(&recNorlanInfo.recEncryption.Slot[KeyNum], AscHex, KeyVal, (long)KeyLen);
    WL_RETURN(WL_SUCCESS);
}

/* ---- Numbers ---- */

int WLAPI WLCurrentProfileConnectionModeGet(int *Val)
{
    WL_FRAME("WLCurrentProfileConnectionModeGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = (int)recNorlanInfo.ConnectionMode;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileConnectionModeSet(int Val)
{
    WL_FRAME("WLCurrentProfileConnectionModeSet");
    WL_CHECK(!INTERVAL (CONNECTION_MODE_ESS, <=, Val, <=, CONNECTION_MODE_SOFTAP), WL_INVALID_PARAMETER);
    recNorlanInfo.ConnectionMode = (DWORD)Val;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileAuthenticationGet(int *Val)
{
    WL_FRAME("WLCurrentProfileAuthenticationGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = (int)recNorlanInfo.Authentication;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileAuthenticationSet(int Val)
{
    WL_FRAME("WLCurrentProfileAuthenticationSet");
    WL_CHECK(!INTERVAL (AUTHENTICATION_ALGORITHM_AUTO, <=, Val, <=, AUTHENTICATION_ALGORITHM_SHARED_KEY), WL_INVALID_PARAMETER);
    recNorlanInfo.Authentication = (DWORD)Val;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileConnectionControlGet(int *Val)
{
    WL_FRAME("WLCurrentProfileConnectionControlGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    *Val = (int)recNorlanInfo.ConnectionControl;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileConnectionControlSet(int Val)
{
    WL_FRAME("WLCurrentProfileConnectionControlSet");
    WL_CHECK(!INTERVAL (CONNECTION_CONTROL_2GHz, <=, Val, <=, CONNECTION_CONTROL_5GHz_2GHz), WL_INVALID_PARAMETER);
    recNorlanInfo.ConnectionControl = (DWORD)Val;
    WL_RETURN(WL_SUCCESS);
}

/* ---- Channel and band (dual-band firmware only) ---- */

int WLAPI WLCurrentProfileChannelFrequencyBandGet(ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLCurrentProfileChannelFrequencyBandGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Val)->TS.Type != ChannelFrequencyBandBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Val)->TS.Size != sizeof (ChannelFrequencyBandBuffer), WL_INVALID_PARAMETER);
    Val->data.Channel = (uint8_t)(recNorlanInfo.OwnChannel & 0xFF);
    Val->data.Band = (uint8_t)((recNorlanInfo.OwnChannel >> 8) & 0xFF);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLCurrentProfileChannelFrequencyBandSet(const ChannelFrequencyBandBuffer *Val)
{
    WL_FRAME_DUAL_BAND("WLCurrentProfileChannelFrequencyBandSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Val)->TS.Type != ChannelFrequencyBandBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Val)->TS.Size != sizeof (ChannelFrequencyBandBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(ValidChannelFrequencyBand (Val) != WL_SUCCESS, WL_INVALID_PARAMETER);
    DWORD word = (DWORD)Val->data.Channel | ((DWORD)Val->data.Band << 8);
    recNorlanInfo.OwnChannel = (recNorlanInfo.OwnChannel & 0xFFFF0000u) | word;
    WL_RETURN(WL_SUCCESS);
}
