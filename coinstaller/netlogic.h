/*
 * Pure rules of the "Wireless Networks" page and the profile management
 * dialog: row images, the scan filter, the column width rule, the
 * compatibility check of a profile against the regulatory domain, and the
 * tooltip texts. No window or library calls.
 */
#ifndef COINST_NETLOGIC_H
#define COINST_NETLOGIC_H

#include "pagecontext.h"

/* Image list indexes (icon resource id - 131). */
#define ICON_BASE_STATION 0
#define ICON_PEER 3
#define STATE_FIRST 14 /* state images 14 to 21 */
#define STATE_LAST 21

/* Icon and state image of a preferred row. level is the communications
 * quality level (1-5, 6 when it could not be read); used when active. */
struct RowImages {
    int icon, state;
};
RowImages PreferredRowImages(int connectionMode, int active, int level);
/* Icon of a profile row that is not the active one (management dialog). */
int ProfileRowIcon(int connectionMode);

/* Whether a scanned network passes the "Show :" box (index 0 all, 1 peer
 * to peer only, 2 base stations only); thirdWord is its capability word. */
int ScanFilterPasses(int filterIndex, unsigned thirdWord);
/* Whether a scanned SSID is listed at all: neither empty nor one blank. */
int ScanSsidListed(const char *ssid);

/* Column width rule: the change in pixels of each text column when a list
 * goes from `before` to `after` rows, for a list that shows `visible` rows
 * without a scroll bar (-9 on crossing up, +9 on crossing back, else 0). */
int ColumnWidthDelta(int before, int after, int visible);

/* What the compatibility check says of a profile before it is added. */
enum Compatibility { COMPAT_OK = 0, COMPAT_INCOMPATIBLE, COMPAT_UNVERIFIED };
struct CompatProfile {
    int connectionMode;    /* 0, 1, 2 */
    int connectionControl; /* band choice 0-3 */
    int channel[2];        /* 2.4 GHz channel; channel of the other choices */
};
/* present: the adapter answers; country: the adapter's chosen country code
 * (empty or the " Choose location..." text when none is chosen). */
Compatibility CheckCompatibility(int present, const RegulatoryDomainBuffer &domain, const CompatProfile &p,
                                 const char *country, const char *chooseLocation);

/* String id of a control's tooltip. */
unsigned TooltipStringFor(int controlId);

#endif
