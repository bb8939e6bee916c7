/*
 * defaults.c - the records every new simulated adapter starts with.
 *
 * One row per record: len, typ, then len - 1 value words, exactly as on the
 * driver channel. A later row of the same type replaces an earlier one.
 * Byte strings are stored as the firmware keeps them: a word with the
 * character count, then the characters packed two to a word, low byte
 * first. To add a record, add a row.
 */
#include "simcore.h"

const uint16_t SimDefaultRecords[] = {
    /* configuration */
    2, 0xFC00, 1,                           /* port type: infrastructure */
    4, 0xFC01, 0x5702, 0x534C, 0x004D,      /* own MAC 02:57:4C:53:4D:00 */
    18, 0xFC02, 6, 0x6C77, 0x6973, 0x306D,  /* desired SSID "wlsim0" */
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    18, 0xFC04, 6, 0x6C77, 0x6973, 0x316D,  /* own SSID "wlsim1" */
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    2, 0xFC05, 0,                           /* ATIM window */
    2, 0xFC06, 1,                           /* system scale: large */
    2, 0xFC07, 2304,                        /* max data length */
    2, 0xFC09, 0,                           /* power management off */
    2, 0xFC0B, 1,                           /* multicast receive */
    2, 0xFC0C, 100,                         /* max sleep duration */
    2, 0xFC0D, 100,                         /* PM holdover duration */
    18, 0xFC0E, 5, 0x4C57, 0x4953, 0x004D,  /* own name "WLSIM" */
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    2, 0xFC20, 0,                           /* encryption off */
    2, 0xFC21, 1,                           /* authentication: open system */
    2, 0xFC23, 2,                           /* multicast rate */
    2, 0xFC83, 2347,                        /* RTS threshold: off */
    2, 0xFC84, 7,                           /* TX rate control: auto */
    2, 0x0907, 0,                           /* power mode: disabled */
    2, 0x0908, 0,                           /* connection mode: ESS */
    /* information */
    2, 0xFD10, 0x1FFF,                      /* channel list 1 to 13 */
    2, 0xFD40, 4,                           /* port status: connected */
    18, 0xFD41, 6, 0x6C77, 0x6973, 0x306D,  /* current SSID "wlsim0" */
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    4, 0xFD42, 0x5702, 0x534C, 0x014D,      /* current BSSID */
    2, 0xFD44, 8,                           /* current TX rate: 11 Mb/s */
    2, 0xFDC1, 6,                           /* current channel */
    /* country and regulatory domain */
    8, 0xFC29, 1, 'U', 'S', ' ', 1, 11, 30, /* channel info: "US", 1 to 11 */
    2, 0xFD25, 0,                           /* domain code 0: "All" */
    /* single-value settings and readings */
    2, 0xFC25, 0,                           /* microwave robustness off */
    2, 0xFC26, 1,                           /* load balancing on */
    2, 0xFC27, 1,                           /* medium distribution on */
    2, 0xFC28, 0,                           /* group address filter off */
    2, 0xFC81, 0,                           /* create IBSS off */
    2, 0xFC85, 0,                           /* promiscuous mode off */
    2, 0xFCB1, 0,                           /* transmit key 0 */
    2, 0xFCE0, 1000,                        /* tick time */
    2, 0x0902, 1,                           /* driver enabled */
    15, 0x0825, 0x0001, 0x0008, 0x0018,     /* driver info: 14 words, */
        0x0002, 0x0000, 0x0000, 0x0000,     /* word 10 bit 14: radio on */
        0x0000, 0x0000, 0x0000, 0x4000,
        0x0000, 0x0000, 0x0000,
    2, 0xFD00, 10,                          /* max load time */
    2, 0xFD12, 1,                           /* temperature type: commercial */
    2, 0xFD24, 1,                           /* bus type: PC Card */
    2, 0xFD45, 100,                         /* beacon interval */
    2, 0xFD47, 100,                         /* protocol response time */
    2, 0xFD48, 7,                           /* short retry limit */
    2, 0xFD49, 4,                           /* long retry limit */
    2, 0xFD4A, 512,                         /* max transmit lifetime */
    2, 0xFD4B, 512,                         /* max receive lifetime */
    2, 0xFD4C, 0,                           /* CF pollable: no */
    2, 0xFD4F, 1,                           /* privacy option implemented */
    2, 0xFD52, 1,                           /* current system scale: large */
    2, 0xFDC0, 2,                           /* PHY type: DSSS */
    2, 0xFDC2, 1,                           /* current power state: awake */
    2, 0xFDC3, 4,                           /* CCA mode */
    2, 0x090B, 1,                           /* link status: connected */
    32, 0xFD89, 6, 2437, 0, 0, 0, 0, 0, 0,  /* current channel: 31 words */
        0, 0, 1, 0, 20, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0,
};

const uint32_t SimDefaultWordCount = sizeof SimDefaultRecords / sizeof SimDefaultRecords[0];
