/* Conversions between the 16-bit partner's records and the 32-bit buffers. */
#include <string.h>

#include "thunk16.h"

namespace {

/* A terminated text into a fixed field, terminated within it. */
template <size_t N, size_t M> void Text(char (&out)[N], const char (&in)[M])
{
    CopyText16(in, M, out, N);
}

int16_t Low(int32_t v) { return (int16_t)(uint16_t)((uint32_t)v & 0xFFFFu); }

} // namespace

size_t CopyText16(const char *in, size_t max, char *out, size_t outSize)
{
    if (outSize == 0) return 0;
    size_t n = 0;
    if (in)
        while (n < max && n + 1 < outSize && in[n]) n++;
    if (n) memcpy(out, in, n);
    out[n] = 0;
    return n;
}

void KeyFrom16(const KeyRecord16 *in, KeyBuffer *out)
{
    out->TS.Type = KeyBufferType;
    out->TS.Size = sizeof *out;
    out->AsciiHex = in->AsciiHex;
    out->KeyId = in->KeyId;
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        int len = in->Key[i].Len;
        out->Key[i].Len = len;
        /* key characters are not terminated: copy the whole field */
        memcpy(out->Key[i].Keypos, in->Key[i].Text, MAX_KEY_CHARS);
    }
}

void KeyTo16(const KeyBuffer *in, KeyRecord16 *out)
{
    out->AsciiHex = Low(in->AsciiHex);
    out->KeyId = Low(in->KeyId);
    for (int i = 0; i < MAX_NUM_KEYS; i++) {
        out->Key[i].Len = Low(in->Key[i].Len);
        memcpy(out->Key[i].Text, in->Key[i].Keypos, MAX_KEY_CHARS);
    }
}

void QualityFrom16(const QualityRecord16 *in, CommunicationsQualityBuffer *out)
{
    out->TS.Type = CommunicationsQualityBufferType;
    out->TS.Size = sizeof *out;
    out->Quality = in->Quality;
    out->Signal = in->Signal;
    out->Noise = in->Noise;
    out->Level = in->Level;
    out->RawSignal = in->RawSignal;
    out->RawNoise = in->RawNoise;
}

void QualityTo16(const CommunicationsQualityBuffer *in, QualityRecord16 *out)
{
    out->Quality = Low(in->Quality);
    out->Signal = Low(in->Signal);
    out->Noise = Low(in->Noise);
    out->Level = Low(in->Level);
    out->RawSignal = Low(in->RawSignal);
    out->RawNoise = Low(in->RawNoise);
}

void NICInfoFrom16(const NICInfoRecord16 *in, CurrentNICInfoBuffer *out)
{
    memset(out, 0, sizeof *out);
    out->TS.Type = CurrentNICInfoBufferType;
    out->TS.Size = sizeof *out;
    Text(out->Nic, in->Nic);
    Text(out->FriendlyName, in->FriendlyName);
    Text(out->DriverVersion, in->DriverVersion);
    Text(out->ConfigName, in->ConfigName);
    out->ProfileHunting = in->ProfileHunting;
    out->SystrayIcon = in->SystrayIcon;
    out->ConnectionMode = in->ConnectionMode;
    out->Present = in->Present;
}

void NICInfoTo16(const CurrentNICInfoBuffer *in, NICInfoRecord16 *out)
{
    Text(out->Nic, in->Nic);
    Text(out->FriendlyName, in->FriendlyName);
    Text(out->DriverVersion, in->DriverVersion);
    Text(out->ConfigName, in->ConfigName);
    out->ProfileHunting = Low(in->ProfileHunting);
    out->SystrayIcon = Low(in->SystrayIcon);
    out->ConnectionMode = Low(in->ConnectionMode);
    out->Present = Low(in->Present);
}

void ScanFrom16(const ScanResultRecord16 *in, ScanResultBuffer *out)
{
    memset(out, 0, sizeof *out);
    out->TS.Type = ScanResultBufferType;
    out->TS.Size = sizeof *out;
    out->Channel = in->Channel;
    out->FirstLevel = in->FirstLevel;
    out->SecondLevel = in->SecondLevel;
    out->FirstLevelRaw = in->FirstLevelRaw;
    out->SecondLevelRaw = in->SecondLevelRaw;
    memcpy(out->BSSID, in->BSSID, sizeof out->BSSID);
    out->FirstWord = in->FirstWord;
    out->SecondWord = in->SecondWord;
    Text(out->SSID, in->SSID);
    Text(out->Name, in->Name);
}

void ScanTo16(const ScanResultBuffer *in, ScanResultRecord16 *out)
{
    out->Channel = Low(in->Channel);
    out->FirstLevel = Low(in->FirstLevel);
    out->SecondLevel = Low(in->SecondLevel);
    out->FirstLevelRaw = Low(in->FirstLevelRaw);
    out->SecondLevelRaw = Low(in->SecondLevelRaw);
    memcpy(out->BSSID, in->BSSID, sizeof out->BSSID);
    out->FirstWord = Low(in->FirstWord);
    out->SecondWord = Low(in->SecondWord);
    Text(out->SSID, in->SSID);
    Text(out->Name, in->Name);
}

void ProfileFrom16(const ProfilePageRecord16 *in, NetworksPageBlock *b, AdapterPageContext *c,
                   char names[MAX_PREFERRED_NAMES][PROFILE_NAME_CHARS])
{
    memset(b, 0, sizeof *b);
    memset(c, 0, sizeof *c);
    b->Context = c;
    Text(b->ProfileName, in->ProfileName);
    Text(b->NetworkName, in->NetworkName);
    b->ConnectionMode = in->ConnectionMode;
    b->ConnectionControl = in->ConnectionControl;
    b->Channel[0] = in->Channel[0];
    b->Channel[1] = in->Channel[1];
    b->EncryptionEnabled = in->EncryptionEnabled;
    KeyFrom16(&in->Keys, &b->Keys);
    b->Authentication = in->Authentication;
    c->ThirdParty = (DWORD)(uint16_t)in->ThirdParty & (THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN);
    Text(c->CountryCode, in->CountryCode);
    c->CountryEnvironment = in->CountryEnvironment;
    c->PowerMode = in->PowerMode;
    c->SystemScale = in->SystemScale;
    c->TxPowerLevel = in->TxPowerLevel;
    c->Rates24 = (uint16_t)in->Rates24;
    c->Rates5 = (uint16_t)in->Rates5;
    int count = in->PreferredCount;
    if (count < 0) count = 0;
    if (count > MAX_PREFERRED_NAMES) count = MAX_PREFERRED_NAMES;
    c->PreferredCount = count;
    for (int i = 0; i < count; i++) {
        CopyText16(in->PreferredNames[i], PROFILE_NAME_CHARS, names[i], PROFILE_NAME_CHARS);
        c->PreferredNames[i] = names[i];
    }
}

void ProfileTo16(const NetworksPageBlock *b, const AdapterPageContext *c, ProfilePageRecord16 *out)
{
    Text(out->ProfileName, b->ProfileName);
    Text(out->NetworkName, b->NetworkName);
    out->ConnectionMode = Low(b->ConnectionMode);
    out->ConnectionControl = Low(b->ConnectionControl);
    out->Channel[0] = Low(b->Channel[0]);
    out->Channel[1] = Low(b->Channel[1]);
    out->EncryptionEnabled = Low(b->EncryptionEnabled);
    KeyTo16(&b->Keys, &out->Keys);
    out->Authentication = Low(b->Authentication);
    out->ThirdParty = Low((int32_t)(c->ThirdParty & (THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN)));
    Text(out->CountryCode, c->CountryCode);
    out->CountryEnvironment = c->CountryEnvironment;
    out->PowerMode = Low(c->PowerMode);
    out->SystemScale = Low(c->SystemScale);
    out->TxPowerLevel = Low(c->TxPowerLevel);
    out->Rates24 = Low((int32_t)c->Rates24);
    out->Rates5 = Low((int32_t)c->Rates5);
    int count = c->PreferredCount < 0 ? 0 : c->PreferredCount > MAX_PREFERRED_NAMES ? MAX_PREFERRED_NAMES
                                                                                    : c->PreferredCount;
    out->PreferredCount = (int16_t)count;
    for (int i = 0; i < count; i++)
        CopyText16(c->PreferredNames[i], PROFILE_NAME_CHARS, out->PreferredNames[i], PROFILE_NAME_CHARS);
}
