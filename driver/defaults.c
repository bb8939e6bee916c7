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
    /* radio, rate and band (dual-band firmware) */
    2, 0xFC03, 0x0001,                      /* own channel 1, 2.4 GHz */
    2, 0xFC2A, 16,                          /* transmit power level */
    2, 0xFC30, 0,                           /* connection control */
    2, 0xFC32, 7,                           /* short retry limit */
    2, 0xFC33, 4,                           /* long retry limit */
    2, 0xFC35, 1,                           /* WiFi compatible */
    2, 0xFFE6, 4,                           /* retry counter */
    2, 0xFFE7, 0,                           /* safety margin */
    2, 0xFFE8, 2,                           /* max equal rate retry */
    2, 0xFFE9, 0,                           /* max retry balance */
    2, 0xFFEB, 0,                           /* transmit gain */
    2, 0xFFED, 0,                           /* CTS to self off */
    13, 0xFFE4, 0x0201, 0x0403, 0x0605,     /* DCQ: 24 bytes */
        0x0807, 0x0A09, 0x0C0B, 0x0E0D,
        0x100F, 0x1211, 0x1413, 0x1615, 0x1817,
    9, 0xFFE5, 0x2221, 0x2423, 0x2625,      /* DSQ: 16 bytes */
        0x2827, 0x2A29, 0x2C2B, 0x2E2D, 0x302F,
    17, 0xFCC1, 15, 15, 7, 3,               /* QoS: CWmin 0 to 3, */
        1023, 1023, 15, 7,                  /* CWmax 0 to 3, */
        7, 3, 2, 2,                         /* AIFS 0 to 3, */
        0, 0, 94, 47,                       /* TXOP limit 0 to 3 */
    5, 0xFCC2, 0x1FFF, 0xFFFF, 0x0FFF, 0x0007, /* scan channels of both bands */
    3, 0xFCC5, 0x0001, 0x0010,              /* probe rates: 1 and 6 Mb/s */
    2, 0xFCC7, 0,                           /* coexistence behaviour */
    3, 0xFC88, 0x0FFF, 0x0FF0,              /* supported rates of both bands */
    3, 0xFC89, 0x000F, 0x0150,              /* basic rates of both bands */
    3, 0xFD50, 0x000F, 0x0000,              /* current remote rates */
    3, 0xFD51, 0x0008, 0x0000,              /* current used rates */
    2, 0xFD90, 0x0003,                      /* security capability */
    3, 0xFDC6, 0x0FFF, 0x0FF0,              /* supported data rates */
    6, 0xFDC7, 0x1110, 0x1312, 0x1514,      /* current TX power level: 10 bytes */
        0x1716, 0x1918,
    16, 0xFD8C, 0x0000, 0x0431, 0x000A,     /* association request: open */
        0x0600, 0x6C77, 0x6973, 0x306D,     /* "wlsim0", rates 1 to 11 */
        0x0401, 0x8482, 0x968B,             /* and 6 to 54 Mb/s */
        0x0832, 0x120C, 0x2418, 0x4830, 0x6C60,
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
    2, 0x0904, 0,                           /* wake-on-LAN off */
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
    /* byte strings, addresses and areas */
    2, 0xFCB2, 0,                           /* scan SSID: empty */
    8, 0xFD0A, 0x000C, 0x4C57, 0x3053,      /* serial number "WLS000123456" */
        0x3030, 0x3231, 0x3433, 0x3635,
    4, 0xFD86, 0x5702, 0x534C, 0x004D,      /* NIC MAC 02:57:4C:53:4D:00 */
    4, 0xFFF7, 0x5702, 0x534C, 0x004D,      /* own MAC register */
    7, 0xFC80, 0x0001, 0x005E, 0x0100,      /* group addresses: two */
        0x0001, 0x7F5E, 0xFAFF,
    9, 0xFD13, 0x0301, 0x01D9, 0x1CFF,      /* card information structure */
        0x0304, 0x01D9, 0x18FF, 0xDF02, 0xFF01,
    9, 0xFFF0, 0x1110, 0x1312, 0x1514,      /* SP area: bytes 0x10 to 0x1F */
        0x1716, 0x1918, 0x1B1A, 0x1D1C, 0x1F1E,
    6, 0xFFFF, 0x4C57, 0x4953, 0x2E4D,      /* file name "WLSIM.HEX" */
        0x4548, 0x0058,
    6, 0xFA11, 0x4E50, 0x302D, 0x3231,      /* part number "PN-0123456" */
        0x3433, 0x3635,
    5, 0xFA12, 0x5254, 0x392D, 0x3738,      /* tracer number "TR-98765" */
        0x3536,
    /* download record and identities: component, variant, major, minor */
    4, 0xFD01, 0x0001, 0x2000, 0x0040,      /* download */
    5, 0xFD02, 21, 1, 4, 17,                /* primary firmware 4.17 */
    5, 0xFD0B, 11, 1, 1, 0,                 /* adapter 1.0 */
    5, 0xFD20, 22, 1, 8, 24,                /* station firmware 8.24 */
    5, 0x0826, 44, 5, 8, 24,                /* driver 8.24 */
    5, 0x0880, 81, 1, 8, 24,                /* USB boot image 8.24 */
    5, 0x0882, 82, 1, 8, 24,                /* USB download image 8.24 */
    /* compatibility ranges: role, id, then variant, bottom, top */
    6, 0xFD03, 0, 2, 1, 4, 4,               /* PRI supplier */
    6, 0xFD09, 0, 3, 1, 1, 1,               /* HSI supplier */
    6, 0xFD0C, 0, 1, 1, 4, 6,               /* MFI supplier */
    6, 0xFD0D, 0, 2, 1, 1, 2,               /* CFI supplier */
    6, 0xFD21, 0, 4, 1, 1, 15,              /* STA supplier */
    6, 0x0827, 0, 7, 48, 8, 8,              /* DRV supplier: family 48, 8 */
    6, 0x0881, 0, 8, 1, 1, 1,               /* UBI supplier */
    6, 0x0883, 0, 9, 1, 1, 1,               /* UDI supplier */
    9, 0xFD22, 1, 1, 1, 4, 6, 2, 1, 1,      /* MFI actor, two variants */
    6, 0xFD04, 1, 2, 1, 1, 2,               /* CFI actor of PRI */
    6, 0xFD23, 1, 4, 1, 1, 15,              /* CFI actor of STA */
    6, 0x0828, 1, 2, 1, 4, 4,               /* DRV actor of PRI */
    6, 0x0829, 1, 4, 1, 8, 15,              /* DRV actor of STA */
    6, 0x082A, 1, 3, 1, 1, 1,               /* DRV actor of HSI */
    6, 0x0886, 1, 8, 1, 1, 1,               /* DRV actor of UBI */
    6, 0x0885, 1, 9, 1, 1, 1,               /* DRV actor of UDI */
    6, 0x0884, 1, 9, 1, 1, 1,               /* UBI actor of UDI */
    6, 0x082B, 1, 10, 1, 1, 3,              /* DRV actor of APF */
    /* PCI information: block 2, status word 10, identity words 13 to 16 */
    107, 0x0903, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0290, 0, 0, 0x1A57, 0x4801, 0x1A57, 0x0048,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    /* statistics and readings */
    4, 0xFD43, 20, 100, 50,                 /* quality 20, signal -49, noise -99 dBm */
    12, 0xFD46, 240, 232, 224, 216, 208,    /* scale thresholds -16 to -72 */
        200, 192, 184, 10, 20, 30,
    5, 0xFD4D, 0, 1, 1, 1,                  /* authentication: open, shared key */
    7, 0xFD14, 0x0201, 0x0403, 0x0605,      /* card profile: bytes 1 to 6 */
        0x0000, 0x0000, 0x0000,
    77, 0xF100, 1, 0, 2, 0, 3, 0, 4, 0, 5,  /* tallies: 38 counters 1 to 38 */
        0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0, 11, 0, 12, 0, 13, 0, 14, 0,
        15, 0, 16, 0, 17, 0, 18, 0, 19, 0, 20, 0, 21, 0, 22, 0, 23, 0,
        24, 0, 25, 0, 26, 0, 27, 0, 28, 0, 29, 0, 30, 0, 31, 0, 32, 0,
        33, 0, 34, 0, 35, 0, 36, 0, 37, 0, 38, 0,
    33, 0x090A, 100, 0, 101, 0, 102, 0,     /* driver tallies: 16 counters 100 to 115 */
        103, 0, 104, 0, 105, 0, 106, 0, 107, 0, 108, 0, 109, 0, 110, 0,
        111, 0, 112, 0, 113, 0, 114, 0, 115, 0,
    9, 0x0800, 1, 2, 3, 4, 5, 6, 7, 8,      /* production data */
    2, 0xFFF6, 300,                         /* acknowledge timeout */
    2, 0xFFF9, 100,                         /* beacon interval */
    2, 0xFFFC, 3,                           /* clock control */
    2, 0xFFFD, 1,                           /* memory control */
};

const uint32_t SimDefaultWordCount = sizeof SimDefaultRecords / sizeof SimDefaultRecords[0];
