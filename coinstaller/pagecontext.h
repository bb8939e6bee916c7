/*
 * The per-sheet blocks that the co-installer's pages and dialogs share.
 * A sheet's opener allocates both from the process heap; the page release
 * callback frees each with HeapFree.
 */
#ifndef COINST_PAGECONTEXT_H
#define COINST_PAGECONTEXT_H

#include <windows.h>
#include <setupapi.h>

#include "wlbuffers.h"

#define MAX_PREFERRED_NAMES 100
#define PROFILE_NAME_CHARS 33 /* 32 characters and the terminator */

/* ThirdParty bits (THIRD_PARTY_OWN, THIRD_PARTY_NOT_OWN of wlbuffers.h). */

/* Defaults of the adapter-wide settings (the settings reset). */
#define DEFAULT_SYSTEM_SCALE 2
#define DEFAULT_TX_POWER_LEVEL 20
#define DEFAULT_RATES24 3935 /* all 2.4 GHz rates but 9 and 18 Mbit/s */
#define DEFAULT_RATES5 3920  /* 6, 12, 24, 36, 48, 54 Mbit/s */
#define DEFAULT_WIFI_COMPATIBLE 1

typedef struct {
    HDEVINFO DeviceInfoSet;         /* null on the configuration dialog route */
    SP_DEVINFO_DATA *DeviceInfoData;
    char NicId[NIC_ID_SIZE + 1];    /* empty while not known; room for the
                                       terminator of an 8-character id */
    DWORD ThirdParty;               /* THIRD_PARTY_OWN | THIRD_PARTY_NOT_OWN */
    char CountryCode[33];
    char CountryEnvironment;
    int PowerMode;                  /* index of the power box: 0, 1, 2 */
    int SystemScale;                /* 1 to 5 */
    int TxPowerLevel;               /* dBm */
    DWORD Rates24;                  /* bits 0-11 */
    DWORD Rates5;                   /* bits 4-11 */
    int LongPreamble;
    int WiFiCompatible;
    int PreferredCount;
    int ProfileHunting;
    char *PreferredNames[MAX_PREFERRED_NAMES]; /* each PROFILE_NAME_CHARS bytes */
} AdapterPageContext;

typedef struct {
    AdapterPageContext *Context;
    int LastCommand;
    char ProfileName[PROFILE_NAME_CHARS];
    char NetworkName[PROFILE_NAME_CHARS];
    int ConnectionMode;    /* 0 network, 1 peer-to-peer, 2 act as base station */
    int ConnectionControl; /* band choice 0-3 */
    int Channel[2];        /* 2.4 GHz choice, other choices; 0 = automatic */
    int EncryptionEnabled;
    KeyBuffer Keys;
    int Authentication;    /* 0 auto, 1 open, 2 shared key */
    int KeyIndexChanged;
} NetworksPageBlock;

#endif
