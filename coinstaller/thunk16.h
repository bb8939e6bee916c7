/*
 * Records of the 16-bit partner library, as they cross the flat thunk:
 * packed, integers 16-bit, texts of the sizes of the 32-bit buffers they
 * are converted to and from. The conversions are pure and bounded: every
 * text is copied no further than both sides' sizes and always terminated
 * on the side that keeps terminated texts.
 */
#ifndef COINST_THUNK16_H
#define COINST_THUNK16_H

#include <stdint.h>

#include "pagecontext.h"
#include "wlbuffers.h"

#pragma pack(push, 1)

typedef struct {
    int16_t Len;
    char Text[MAX_KEY_CHARS];
} Key16;

typedef struct {
    int16_t AsciiHex;
    int16_t KeyId;
    Key16 Key[MAX_NUM_KEYS];
} KeyRecord16;

typedef struct {
    int16_t Quality;
    int16_t Signal;
    int16_t Noise;
    int16_t Level;
    int16_t RawSignal;
    int16_t RawNoise;
} QualityRecord16;

typedef struct {
    char Nic[16];
    char FriendlyName[64];
    char DriverVersion[16];
    char ConfigName[64];
    int16_t ProfileHunting;
    int16_t SystrayIcon;
    int16_t ConnectionMode;
    int16_t Present;
} NICInfoRecord16;

typedef struct {
    int16_t Channel;
    int16_t FirstLevel;
    int16_t SecondLevel;
    int16_t FirstLevelRaw;
    int16_t SecondLevelRaw;
    uint8_t BSSID[6];
    int16_t FirstWord;
    int16_t SecondWord;
    char SSID[33];
    char Name[33];
} ScanResultRecord16;

/* The properties dialog's edit record with the adapter context part. */
typedef struct {
    char ProfileName[PROFILE_NAME_CHARS];
    char NetworkName[PROFILE_NAME_CHARS];
    int16_t ConnectionMode;
    int16_t ConnectionControl;
    int16_t Channel[2];
    int16_t EncryptionEnabled;
    KeyRecord16 Keys;
    int16_t Authentication;
    int16_t ThirdParty;
    char CountryCode[33];
    char CountryEnvironment;
    int16_t PowerMode;
    int16_t SystemScale;
    int16_t TxPowerLevel;
    int16_t Rates24;
    int16_t Rates5;
    int16_t PreferredCount; /* 0..MAX_PREFERRED_NAMES */
    char PreferredNames[MAX_PREFERRED_NAMES][PROFILE_NAME_CHARS];
} ProfilePageRecord16;

#pragma pack(pop)

/* Conversions: 16-bit integers sign-extended one way, low words the other;
 * texts copied within both sizes. */
void KeyFrom16(const KeyRecord16 *in, KeyBuffer *out);
void KeyTo16(const KeyBuffer *in, KeyRecord16 *out);
void QualityFrom16(const QualityRecord16 *in, CommunicationsQualityBuffer *out);
void QualityTo16(const CommunicationsQualityBuffer *in, QualityRecord16 *out);
void NICInfoFrom16(const NICInfoRecord16 *in, CurrentNICInfoBuffer *out);
void NICInfoTo16(const CurrentNICInfoBuffer *in, NICInfoRecord16 *out);
void ScanFrom16(const ScanResultRecord16 *in, ScanResultBuffer *out);
void ScanTo16(const ScanResultBuffer *in, ScanResultRecord16 *out);
/* The profile page record into a block and its context; the context's
 * preferred names point into names (kept by the caller). */
void ProfileFrom16(const ProfilePageRecord16 *in, NetworksPageBlock *b, AdapterPageContext *c,
                   char names[MAX_PREFERRED_NAMES][PROFILE_NAME_CHARS]);
void ProfileTo16(const NetworksPageBlock *b, const AdapterPageContext *c, ProfilePageRecord16 *out);

/* Text of a 16-bit caller, read no further than its terminator or `max`
 * bytes, into out (outSize bytes, always terminated). Returns the length. */
size_t CopyText16(const char *in, size_t max, char *out, size_t outSize);

#endif
