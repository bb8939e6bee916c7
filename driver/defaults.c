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
};

const uint32_t SimDefaultWordCount = sizeof SimDefaultRecords / sizeof SimDefaultRecords[0];
