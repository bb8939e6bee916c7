/*
 * Typed buffers of the WL configuration interface.
 *
 * Every structured buffer that crosses the interface starts with a TS header:
 * the caller sets TS.Type to the buffer's type constant (<Name>Type) and
 * TS.Size to sizeof (<Name>); the library checks both before anything else.
 * The layouts are fixed byte for byte (little-endian, 32-bit Windows), so the
 * buffers are declared under 4-byte packing with every gap spelled out, and
 * each layout is checked at compile time: a build whose sizes or offsets
 * drift does not compile.
 *
 * Plain declarations only, usable from C (C89 apart from <stdint.h>) and C++.
 * Fields are 32-bit unless noted; counts, levels and settings are signed so
 * that range checks such as 0 <= x stay meaningful, counters and the header
 * are unsigned.
 */
#ifndef WLBUFFERS_H
#define WLBUFFERS_H

#include <stddef.h>
#include <stdint.h>

/* ------------------------------------------------------------------------ */
/* Compile-time layout checks                                               */
/* ------------------------------------------------------------------------ */

#if defined(__cplusplus) && \
    (__cplusplus >= 201103L || (defined(_MSC_VER) && _MSC_VER >= 1600))
#define WL_LAYOUT_CHECK(tag, cond) static_assert(cond, #tag)
#else
#define WL_LAYOUT_CHECK(tag, cond) \
    typedef char wl_layout_check_##tag[(cond) ? 1 : -1]
#endif

/* sizeof (type) must be size bytes. */
#define WL_SIZE_CHECK(type, size) \
    WL_LAYOUT_CHECK(size_##type, sizeof(type) == (size))

/* The field member of type must start at byte offset off. */
#define WL_OFFSET_CHECK(type, member, off) \
    WL_LAYOUT_CHECK(offset_##type##_##member, offsetof(type, member) == (off))

/* ------------------------------------------------------------------------ */
/* Constants used by the buffers                                            */
/* ------------------------------------------------------------------------ */

/* NIC id: instance subkey name of the adapter, at most 8 characters. */
#define NIC_ID_SIZE 8

/* Compatibility ranges: entries per buffer and the role of the component. */
#define MAX_NUM_VARIANTS 20
#define COMP_ROLE_SUPL 0 /* the component supplies the interface */
#define COMP_ROLE_ACT 1  /* the component uses the interface */

/* Channel sets of a country record and of a ChannelInfoBuffer. */
#define MAX_NUM_CHANNEL_SETS 14

/* Encryption keys of a profile and their written form. */
#define MAX_NUM_KEYS 4
#define WL_KEYASC 0 /* keys are text: 0, 5 or 13 characters */
#define WL_KEYHEX 1 /* keys are hexadecimal digits: 0, 10 or 26 of them */
#define MAX_KEY_CHARS 32 /* characters kept per key in a KeyBuffer */

/* Counters held by the tally buffers. */
#define MAX_NUM_TALLIES 38
#define MAX_NUM_MSF_TALLIES 16

/* Authentication algorithm entries of an AuthenticationAlgorithmBuffer. */
#define MAX_NUM_AUTHENTICATION_ALGORITHMS 6

/* Regulatory domain channel lists and the country list of a domain. */
#define MAX_NUM_5GHZ_CHANNELS 35
#define MAX_NUM_2GHZ_CHANNELS 14
#define MAX_NUM_COUNTRY_CODES 300

/* Frequency band in the high byte of a channel-and-band word. */
#define FREQUENCY_BAND_2GHZ 0
#define FREQUENCY_BAND_5GHZ 1

/* Bits of the ThirdPartyConfiguration word (see ThirdPartyConfigurationFlags). */
#define THIRD_PARTY_OWN 0x01u
#define THIRD_PARTY_NOT_OWN 0x02u
#define THIRD_PARTY_MICROSOFT 0x04u
#define THIRD_PARTY_FUNK 0x08u
#define THIRD_PARTY_MEETING_HOUSE 0x10u

/* ------------------------------------------------------------------------ */
/* Buffer type codes (TS.Type)                                              */
/* ------------------------------------------------------------------------ */

#define DownloadBufferType 1
#define IdentityBufferType 2
#define CompatibilityRangeBufferType 3
#define CardProfileBufferType 4
#define CommunicationsQualityBufferType 5
#define ScaleThresholdBufferType 6
#define AuthenticationAlgorithmBufferType 7
#define KeyInfoBufferType 8
#define ScanResultBufferType 9
#define TalliesBufferType 10
#define KeyBufferType 11
#define DriverInfoBufferType 12
#define ChannelInfoBufferType 13
#define CurrentProfileInfoBufferType 14
#define NICInfoBufferType 15
#define CurrentNICInfoBufferType 16
/* 17 to 22: mailbox client buffers, see the end of this file. */
#define ChannelFrequencyBandBufferType 23
#define QoSParameterSetBufferType 24
#define DCQBufferType 25
#define DSQBufferType 26
#define DataRate2GHzBufferType 27
#define DataRate5GHzBufferType 28
#define Channel2GHzBufferType 29
#define Channel5GHzBufferType 30
#define CoexistenceBehaviourBufferType 31
#define SecurityAuthenticationStatusBufferType 32
#define SecurityCapabilityBufferType 33
#define MSFTalliesBufferType 34
#define CountryCodeBufferType 35
#define RegulatoryDomainBufferType 36
#define CurrentChannelInfoBufferType 37
#define CurrentAssociationRequestInfoBufferType 38
#define CurrentTXPowerLevelBufferType 39

#pragma pack(push, 4)

/* ------------------------------------------------------------------------ */
/* LTV record                                                               */
/* ------------------------------------------------------------------------ */

/*
 * Records are built in word arrays, byte buffers and record types of other
 * sizes and handed on as WL_LTV pointers; with GCC the type may alias any
 * storage so that optimised builds keep such accesses.
 */
#if defined(__GNUC__)
#define WL_MAY_ALIAS __attribute__((__may_alias__))
#else
#define WL_MAY_ALIAS
#endif

/*
 * An adapter or driver record: len counts the 16-bit words after itself
 * (typ plus the value words), typ names the record, val holds len - 1 words.
 * val[1] is only a placeholder: a record with n value words occupies
 * WL_LTV_BYTES (n) = 2 * n + 4 bytes, that is len + 1 words, and callers
 * allocate that much and set len to WL_LTV_LEN (n).
 */
typedef struct WL_MAY_ALIAS {
    uint16_t len;
    uint16_t typ;
    uint16_t val[1];
} WL_LTV;

#define WL_LTV_LEN(n) ((n) + 1)
#define WL_LTV_BYTES(n) (2 * (n) + 4)

/*
 * Declares a record type with room for n value words, for records kept on
 * the stack or in static storage; pass it on as (WL_LTV *) &record.
 */
#define WL_LTV_DECLARE(name, n) \
    typedef struct {            \
        uint16_t len;           \
        uint16_t typ;           \
        uint16_t val[n];        \
    } name

WL_SIZE_CHECK(WL_LTV, 6);

/* ------------------------------------------------------------------------ */
/* TS header                                                                */
/* ------------------------------------------------------------------------ */

typedef struct {
    uint32_t Type; /* buffer type code, <Name>Type */
    uint32_t Size; /* size of the whole buffer in bytes, header included */
} TS_HEADER;

WL_SIZE_CHECK(TS_HEADER, 8);

/* ------------------------------------------------------------------------ */
/* Identities and compatibility                                             */
/* ------------------------------------------------------------------------ */

/* Three value words of the download record 0xFD01, in record order. */
typedef struct {
    TS_HEADER TS;
    int32_t Value[3];
} DownloadBuffer;

WL_SIZE_CHECK(DownloadBuffer, 20);

/*
 * Identity of a component: each field is one value word of an identity
 * record, zero-extended. The PCI identity fills the four fields with the
 * four identity words of the PCI information record in the same order.
 */
typedef struct {
    TS_HEADER TS;
    int32_t C; /* component id */
    int32_t V; /* variant */
    int32_t M; /* major version */
    int32_t m; /* minor version */
} IdentityBuffer;

WL_SIZE_CHECK(IdentityBuffer, 24);

/* Versions Bottom to Top of one variant. */
typedef struct {
    int32_t Variant; /* 0..99 */
    int32_t Bottom;  /* 0..255 */
    int32_t Top;     /* Bottom..255 */
} VariantBottomTop;

typedef struct {
    TS_HEADER TS;
    int32_t Role; /* COMP_ROLE_SUPL or COMP_ROLE_ACT */
    int32_t Id;   /* interface id */
    int32_t Num;  /* entries in use, 1..MAX_NUM_VARIANTS */
    VariantBottomTop Vbt[MAX_NUM_VARIANTS];
} CompatibilityRangeBuffer;

WL_SIZE_CHECK(VariantBottomTop, 12);
WL_SIZE_CHECK(CompatibilityRangeBuffer, 260);
WL_OFFSET_CHECK(CompatibilityRangeBuffer, Vbt, 20);

/* ------------------------------------------------------------------------ */
/* Statistics, quality and keys                                             */
/* ------------------------------------------------------------------------ */

/*
 * Value words 0 to 2 of the card profile record 0xFD14 as 6 bytes. The two
 * bytes after them are never written by the library.
 */
typedef struct {
    TS_HEADER TS;
    uint8_t Profile[6];
    uint8_t Spare[2];
} CardProfileBuffer;

WL_SIZE_CHECK(CardProfileBuffer, 16);

/* Link quality, from record 0xFD43. */
typedef struct {
    TS_HEADER TS;
    int32_t Quality;   /* value word 0 */
    int32_t Signal;    /* value word 1 in dBm */
    int32_t Noise;     /* value word 2 in dBm */
    int32_t Level;     /* quality level 1..5 */
    int32_t RawSignal; /* value word 1 as read */
    int32_t RawNoise;  /* value word 2 as read */
} CommunicationsQualityBuffer;

WL_SIZE_CHECK(CommunicationsQualityBuffer, 32);

/*
 * Scale thresholds, from record 0xFD46: eight thresholds, each the low byte
 * of a value word taken as a signed byte, then three further value words
 * (0 when the record came back too short to hold them).
 */
typedef struct {
    TS_HEADER TS;
    int32_t Threshold[8];
    int32_t Extra[3];
} ScaleThresholdBuffer;

WL_SIZE_CHECK(ScaleThresholdBuffer, 52);
WL_OFFSET_CHECK(ScaleThresholdBuffer, Extra, 40);

/* One supported authentication algorithm: value words 2i and 2i + 1. */
typedef struct {
    int32_t Algorithm;
    int32_t Value; /* second word, as the adapter reports it */
} AuthenticationAlgorithmEntry;

typedef struct {
    TS_HEADER TS;
    int32_t Num; /* entries filled */
    AuthenticationAlgorithmEntry Entry[MAX_NUM_AUTHENTICATION_ALGORITHMS];
} AuthenticationAlgorithmBuffer;

WL_SIZE_CHECK(AuthenticationAlgorithmBuffer, 60);

/* One default key as bytes: Len is 0, 5 or 13. */
typedef struct {
    int32_t Len;
    uint8_t Data[32];
} KeyInfoKey;

/* The four default keys written with record 0xFCB0. */
typedef struct {
    TS_HEADER TS;
    KeyInfoKey Key[MAX_NUM_KEYS];
} KeyInfoBuffer;

WL_SIZE_CHECK(KeyInfoKey, 36);
WL_SIZE_CHECK(KeyInfoBuffer, 152);

/* Transmit and receive tallies, from record 0xF100. */
typedef struct {
    TS_HEADER TS;
    uint32_t Tally[MAX_NUM_TALLIES];
} TalliesBuffer;

WL_SIZE_CHECK(TalliesBuffer, 160);

/* Driver tallies, from record 0x090A. */
typedef struct {
    TS_HEADER TS;
    uint32_t Tally[MAX_NUM_MSF_TALLIES];
} MSFTalliesBuffer;

WL_SIZE_CHECK(MSFTalliesBuffer, 72);

/*
 * Driver information, from record 0x0825; fields named after the value words
 * they come from.
 */
typedef struct {
    TS_HEADER TS;
    uint8_t Words01[4]; /* bytes of value words 0 and 1 */
    uint8_t Words23[4]; /* bytes of value words 2 and 3 */
    int32_t Zero[2];    /* cleared by the library */
    int32_t Word6;      /* value word 6 */
    int32_t Word10;     /* value word 10 */
} DriverInfoBuffer;

WL_SIZE_CHECK(DriverInfoBuffer, 32);
WL_OFFSET_CHECK(DriverInfoBuffer, Word6, 24);

/* ------------------------------------------------------------------------ */
/* Profiles                                                                 */
/* ------------------------------------------------------------------------ */

/* One key of a profile as characters: text or hexadecimal digits. */
typedef struct {
    int32_t Len; /* number of characters */
    char Keypos[MAX_KEY_CHARS];
} KeyBufferKey;

/* The keys of the current profile, their form and the transmit key. */
typedef struct {
    TS_HEADER TS;
    int32_t AsciiHex; /* WL_KEYASC or WL_KEYHEX */
    int32_t KeyId;    /* transmit key, 0..MAX_NUM_KEYS - 1 */
    KeyBufferKey Key[MAX_NUM_KEYS];
} KeyBuffer;

WL_SIZE_CHECK(KeyBufferKey, 36);
WL_SIZE_CHECK(KeyBuffer, 160);

/*
 * Information about the current profile. The library fills only SSID (the
 * desired SSID, at most 33 bytes); every other byte stays as the caller set
 * it.
 */
typedef struct {
    TS_HEADER TS;
    uint8_t Reserved1[33];
    char SSID[33];
    uint8_t Reserved2[170];
} CurrentProfileInfoBuffer;

WL_SIZE_CHECK(CurrentProfileInfoBuffer, 244);
WL_OFFSET_CHECK(CurrentProfileInfoBuffer, SSID, 41);

/* ------------------------------------------------------------------------ */
/* Adapters                                                                 */
/* ------------------------------------------------------------------------ */

/* One adapter of the family, as the enumeration reports it. */
typedef struct {
    TS_HEADER TS;
    char Nic[16]; /* NIC id, zero-terminated */
    char Dll[16]; /* file name of the API library that serves it */
} NICInfoBuffer;

WL_SIZE_CHECK(NICInfoBuffer, 40);

/*
 * Configuration managers that claim the adapter. The library sets bits 0 to
 * 4 and leaves Other as the caller set it; THIRD_PARTY_* give the same bits
 * as masks of the 32-bit word.
 */
typedef struct {
    unsigned int Own : 1;          /* this suite's own switch is set */
    unsigned int NotOwn : 1;       /* another manager is active */
    unsigned int Microsoft : 1;    /* the Windows zero configuration service */
    unsigned int Funk : 1;         /* the outside client's switch */
    unsigned int MeetingHouse : 1; /* always 0 */
    unsigned int Other : 27;
} ThirdPartyConfigurationFlags;

/* Description and settings of the current adapter. */
typedef struct {
    TS_HEADER TS;
    char Nic[16];
    char FriendlyName[64];
    char DriverVersion[16];
    char ConfigName[64]; /* profile last made active */
    int32_t ProfileHunting;
    int32_t SystrayIcon;
    int32_t ConnectionMode;
    int32_t Present; /* 1 when the adapter answers the driver */
    ThirdPartyConfigurationFlags ThirdPartyConfiguration;
} CurrentNICInfoBuffer;

WL_SIZE_CHECK(ThirdPartyConfigurationFlags, 4);
WL_SIZE_CHECK(CurrentNICInfoBuffer, 188);
WL_OFFSET_CHECK(CurrentNICInfoBuffer, ProfileHunting, 168);

/* ------------------------------------------------------------------------ */
/* Country and channel tables                                               */
/* ------------------------------------------------------------------------ */

/* One channel set: first channel, number of channels, maximum transmit power. */
typedef struct {
    int32_t FirstChannel;
    int32_t NumChannels;
    int32_t MaxTxPower;
} ChannelSet;

/* Country and channel sets, the buffer form of a country record. */
typedef struct {
    TS_HEADER TS;
    char CountryCode[2]; /* not terminated */
    char Environment;
    uint8_t Pad;
    int32_t NumChannelSets; /* 0..MAX_NUM_CHANNEL_SETS */
    ChannelSet Set[MAX_NUM_CHANNEL_SETS];
} ChannelInfoBuffer;

WL_SIZE_CHECK(ChannelSet, 12);
WL_SIZE_CHECK(ChannelInfoBuffer, 184);
WL_OFFSET_CHECK(ChannelInfoBuffer, NumChannelSets, 12);

/* A regulatory domain and its countries (two characters per slot). */
typedef struct {
    TS_HEADER TS;
    int32_t DC;     /* domain code */
    char Label[16]; /* zero-terminated */
    int32_t NumCodes;
    char Code[MAX_NUM_COUNTRY_CODES][3];
} CountryCodeBuffer;

WL_SIZE_CHECK(CountryCodeBuffer, 932);
WL_OFFSET_CHECK(CountryCodeBuffer, Code, 32);

/*
 * A regulatory domain and its channels. Of each band's flag pair, the first
 * flag allows creating a network in the band, the second allows joining one.
 */
typedef struct {
    TS_HEADER TS;
    int32_t DC;     /* domain code */
    char Label[16]; /* zero-terminated */
    int32_t Flags5GHz[2];
    int32_t NumChannels5GHz;
    int32_t Channels5GHz[MAX_NUM_5GHZ_CHANNELS];
    int32_t Flags2GHz[2];
    int32_t NumChannels2GHz;
    int32_t Channels2GHz[MAX_NUM_2GHZ_CHANNELS];
} RegulatoryDomainBuffer;

WL_SIZE_CHECK(RegulatoryDomainBuffer, 248);
WL_OFFSET_CHECK(RegulatoryDomainBuffer, Flags2GHz, 180);

/* ------------------------------------------------------------------------ */
/* Current channel (record 0xFD89)                                          */
/* ------------------------------------------------------------------------ */

/* Fields named after the value words of record 0xFD89 they come from. */
typedef struct {
    TS_HEADER TS;
    uint16_t Word[30]; /* value words 0 to 29 */
    uint16_t Word30;
    uint8_t Low0;  /* low byte of value word 0 */
    uint8_t Low1;  /* low byte of value word 1 */
    uint8_t Low2;  /* low byte of value word 2 */
    uint8_t Low10; /* low byte of value word 10 */
    uint8_t Low11; /* low byte of value word 11 */
    uint8_t Low12; /* low byte of value word 12 */
} CurrentChannelInfoBuffer;

WL_SIZE_CHECK(CurrentChannelInfoBuffer, 76);
WL_OFFSET_CHECK(CurrentChannelInfoBuffer, Word30, 68);
WL_OFFSET_CHECK(CurrentChannelInfoBuffer, Low12, 75);

/* ------------------------------------------------------------------------ */
/* Scanning                                                                 */
/* ------------------------------------------------------------------------ */

/* One access point of the last scan. */
typedef struct {
    TS_HEADER TS;
    int32_t Channel;
    int32_t FirstLevel;    /* dBm */
    int32_t SecondLevel;   /* dBm */
    int32_t FirstLevelRaw; /* as reported */
    int32_t SecondLevelRaw;
    uint8_t BSSID[6];
    uint8_t Unused1[2];
    int32_t FirstWord;  /* passed through from the scan entry */
    int32_t SecondWord; /* passed through from the scan entry */
    char SSID[33];
    char Name[33]; /* access point name */
    uint8_t Unused2[2];
} ScanResultBuffer;

WL_SIZE_CHECK(ScanResultBuffer, 112);
WL_OFFSET_CHECK(ScanResultBuffer, SSID, 44);
WL_OFFSET_CHECK(ScanResultBuffer, Name, 77);

/* ------------------------------------------------------------------------ */
/* Radio, rate and band                                                     */
/* ------------------------------------------------------------------------ */
/*
 * These buffers carry their values in a member named data; 16-bit values
 * occupy the low half of a 32-bit field whose upper half the library does
 * not touch.
 */

/* Channel-and-band word: Channel in the low byte, band in the high byte. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint8_t Channel;
        uint8_t Band; /* bit 0: FREQUENCY_BAND_2GHZ or FREQUENCY_BAND_5GHZ */
        uint16_t Reserved;
    } data;
} ChannelFrequencyBandBuffer;

WL_SIZE_CHECK(ChannelFrequencyBandBuffer, 12);

/* Medium access parameters of the four access categories, record 0xFCC1. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t CWmin0, CWmin1, CWmin2, CWmin3;
        uint16_t CWmax0, CWmax1, CWmax2, CWmax3;
        uint16_t AIFS0, AIFS1, AIFS2, AIFS3;
        uint16_t TXOPLimit0, TXOPLimit1, TXOPLimit2, TXOPLimit3;
    } data;
} QoSParameterSetBuffer;

WL_SIZE_CHECK(QoSParameterSetBuffer, 40);

/* Record 0xFFE4, passed through. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint8_t Bytes[24];
    } data;
} DCQBuffer;

WL_SIZE_CHECK(DCQBuffer, 32);

/* Record 0xFFE5, passed through. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint8_t Bytes[16];
    } data;
} DSQBuffer;

WL_SIZE_CHECK(DSQBuffer, 24);

/*
 * Rate bit set: bits 0 to 11 stand for 1, 2, 5.5, 11, 6, 9, 12, 18, 24, 36,
 * 48 and 54 Mb/s; the 5 GHz band uses bits 4 to 11 only.
 */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t DataRate;
        uint16_t Reserved;
    } data;
} DataRate2GHzBuffer;

typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t DataRate;
        uint16_t Reserved;
    } data;
} DataRate5GHzBuffer;

WL_SIZE_CHECK(DataRate2GHzBuffer, 12);
WL_SIZE_CHECK(DataRate5GHzBuffer, 12);

/* Scan channel set of the 2.4 GHz band, one bit per channel. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t Channels;
        uint16_t Reserved;
    } data;
} Channel2GHzBuffer;

/* Scan channel set of the 5 GHz band: 35 bits over two words. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint32_t Channels;     /* bits 0 to 31 */
        uint16_t ChannelsHigh; /* bits 32 and up */
        uint16_t Reserved;
    } data;
} Channel5GHzBuffer;

WL_SIZE_CHECK(Channel2GHzBuffer, 12);
WL_SIZE_CHECK(Channel5GHzBuffer, 16);

/* Coexistence behaviour, record 0xFCC7, passed through. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t Behaviour;
        uint16_t Reserved;
    } data;
} CoexistenceBehaviourBuffer;

WL_SIZE_CHECK(CoexistenceBehaviourBuffer, 12);

/*
 * Security state of the association. Cipher bits: 1 << cipher suite type
 * (0 group key, 1 WEP-40, 2 TKIP, 4 CCMP, 5 WEP-104); key management bits:
 * 1 << key management suite type (1 802.1X, 2 PSK).
 */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t GroupCipher;
        uint16_t PairwiseCipher;
        uint16_t KeyManagement;
        uint16_t Reserved;
    } data;
} SecurityAuthenticationStatusBuffer;

WL_SIZE_CHECK(SecurityAuthenticationStatusBuffer, 16);

/* Security capability, record 0xFD90, passed through. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t Capability;
        uint16_t Reserved;
    } data;
} SecurityCapabilityBuffer;

WL_SIZE_CHECK(SecurityCapabilityBuffer, 12);

/*
 * The (re)association request of the current association, record 0xFD8C.
 * The security words are only added to; the caller clears them.
 */
typedef struct {
    TS_HEADER TS;
    struct {
        uint16_t Capability;
        uint16_t ListenInterval;
        uint8_t CurrentAP[6]; /* reassociation only */
        uint8_t SSID[32];
        uint16_t SSIDEnd; /* cleared with SSID: terminates a 32-byte SSID */
        uint16_t DataRate; /* rate bit set */
        uint16_t GroupCipher;
        uint16_t PairwiseCipher;
        uint16_t KeyManagement;
    } data;
} CurrentAssociationRequestInfoBuffer;

WL_SIZE_CHECK(CurrentAssociationRequestInfoBuffer, 60);

/* Record 0xFDC7, passed through. */
typedef struct {
    TS_HEADER TS;
    struct {
        uint8_t Bytes[10];
        uint8_t Reserved[2];
    } data;
} CurrentTXPowerLevelBuffer;

WL_SIZE_CHECK(CurrentTXPowerLevelBuffer, 20);

/* ------------------------------------------------------------------------ */
/* Mailbox client buffers (types 17 to 22)                                  */
/* ------------------------------------------------------------------------ */
/*
 * A mailbox client registers one buffer per type with WLMBSet; WLMBGet then
 * fills it. A buffer is an MBBufferHeader followed by Capacity entries of the
 * type's entry struct; its TS.Size is MB_BUFFER_SIZE (capacity, entry type).
 * The library sets the flags and Count, the client clears them.
 */
#define MBScanBufferType 17     /* MBScanEntry, from scan results */
#define MBACSScanBufferType 18  /* MBACSScanEntry, channel selection scan */
#define MBWordBufferType 19     /* MBWordEntry */
#define MBTripleBufferType 20   /* MBTripleEntry */
#define MBLinkTestBufferType 21 /* MBLinkTestEntry, link test answers */
#define MBAPListBufferType 22   /* MBAPListEntry, access point lists */

typedef struct {
    TS_HEADER TS;
    int32_t Capacity; /* entries the buffer holds */
    int32_t Count;    /* entries filled */
    uint16_t NewData;
    uint16_t Complete;
    uint16_t Unused;
    uint16_t Overflow; /* a record arrived while the buffer was full */
} MBBufferHeader;

#define MB_BUFFER_SIZE(capacity, entry) \
    (sizeof(MBBufferHeader) + (size_t)(capacity) * sizeof(entry))

typedef struct {
    int32_t Channel;
    uint8_t BSSID[6];
    uint8_t Unused1[2];
    int32_t FirstWord;   /* passed through */
    int32_t SecondWord;  /* passed through */
    int32_t FirstLevel;  /* dBm */
    int32_t SecondLevel; /* dBm */
    char SSID[33];
    uint8_t Unused2[3];
} MBScanEntry;

typedef struct {
    uint16_t FirstWord; /* passed through */
    uint8_t BSSID[6];
    int32_t SecondWord; /* passed through */
    uint16_t ThirdWord; /* passed through */
    uint8_t Unused1[2];
    int32_t FirstLevel;  /* dBm */
    int32_t SecondLevel; /* dBm */
    char SSID[33];
    uint8_t Unused2[3];
    float Rate; /* Mbit/s */
    uint8_t FirstAddress[6];
    uint8_t SecondAddress[6];
    uint16_t DataRate; /* rate bit set */
    uint8_t Unused3[2];
} MBACSScanEntry;

typedef struct {
    uint16_t Value;
} MBWordEntry;

typedef struct {
    uint32_t Value[3];
} MBTripleEntry;

typedef struct {
    int32_t ID;
    uint8_t Address[6]; /* responder */
    char Name[33];      /* responder, zero-terminated */
    uint8_t Unused;
    int32_t RemoteLevel121; /* dBm, responder's level byte 121 */
    int32_t RemoteLevel120; /* dBm, responder's level byte 120 */
    float RemoteRate;       /* Mbit/s */
    int32_t LocalLevel11;   /* dBm, local level byte 11 */
    int32_t LocalLevel10;   /* dBm, local level byte 10 */
    float LocalRate;        /* Mbit/s */
} MBLinkTestEntry;

typedef struct {
    uint8_t Address[6];
    uint8_t Data[4]; /* passed through */
    char Name[33];   /* zero-terminated */
} MBAPListEntry;

WL_SIZE_CHECK(MBBufferHeader, 24);
WL_SIZE_CHECK(MBScanEntry, 64);
WL_SIZE_CHECK(MBACSScanEntry, 80);
WL_OFFSET_CHECK(MBACSScanEntry, SecondWord, 8);
WL_OFFSET_CHECK(MBACSScanEntry, Rate, 60);
WL_SIZE_CHECK(MBWordEntry, 2);
WL_SIZE_CHECK(MBTripleEntry, 12);
WL_SIZE_CHECK(MBLinkTestEntry, 68);
WL_OFFSET_CHECK(MBLinkTestEntry, RemoteLevel121, 44);
WL_SIZE_CHECK(MBAPListEntry, 43);

#pragma pack(pop)

#endif /* WLBUFFERS_H */
