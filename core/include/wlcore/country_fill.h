// Filling the regulatory domain and country code buffers from the fixed
// tables. Pure data handling: no trace, no system call.
#ifndef WLCORE_COUNTRY_FILL_H
#define WLCORE_COUNTRY_FILL_H

#include "wlbuffers.h"

#include "wlcore/country_tables.h"

// DC, label, both flag pairs, the channel counts and lists of Row. The
// header is left as it is.
void RegulatoryDomainFill(RegulatoryDomainBuffer *Val, const RegulatoryDomainRow *Row);

// DC, label, the number of codes and each code of Row, the third byte of
// every filled slot zero. Slots past the count are left as they are.
void CountryCodesFill(CountryCodeBuffer *Val, const RegulatoryDomainRow *Row);

// Replaces the channel lists of Val by the channels of the country record:
// a set whose first channel lies below 15 appends the 2.4 GHz channels
// first, first + 1, ... and sets the 2.4 GHz flag pair; any other set
// appends the 5 GHz channels first, first + 4, ... and sets the 5 GHz flag
// pair. The counts become the numbers appended. At most
// MAX_NUM_CHANNEL_SETS sets are taken, and a list stops at its capacity.
void RegulatoryDomainChannelsFromCountry(RegulatoryDomainBuffer *Val,
                                         const CFG_CNF_COUNTRY_INFO_MAX_STRCT *Country);

#endif // WLCORE_COUNTRY_FILL_H
