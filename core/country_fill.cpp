// Regulatory domain and country code buffers from the tables.
#include "wlcore/country_fill.h"

#include <string.h>

static_assert(sizeof(((RegulatoryDomainBuffer *)0)->Label) == DOMAIN_LABEL_SIZE,
              "domain label sizes agree");
static_assert(MAX_NUM_5GHZ_CHANNELS == DOMAIN_CHANNELS_5GHZ_MAX &&
                  MAX_NUM_2GHZ_CHANNELS == DOMAIN_CHANNELS_24GHZ_MAX,
              "channel list capacities agree");

void RegulatoryDomainFill(RegulatoryDomainBuffer *Val, const RegulatoryDomainRow *Row)
{
    Val->DC = Row->DC;
    memcpy(Val->Label, Row->Label, sizeof Val->Label);
    Val->Flags5GHz[0] = Row->Flags5[0];
    Val->Flags5GHz[1] = Row->Flags5[1];
    Val->NumChannels5GHz = Row->NumChannels5;
    memcpy(Val->Channels5GHz, Row->Channels5, sizeof Val->Channels5GHz);
    Val->Flags2GHz[0] = Row->Flags24[0];
    Val->Flags2GHz[1] = Row->Flags24[1];
    Val->NumChannels2GHz = Row->NumChannels24;
    memcpy(Val->Channels2GHz, Row->Channels24, sizeof Val->Channels2GHz);
}

void CountryCodesFill(CountryCodeBuffer *Val, const RegulatoryDomainRow *Row)
{
    Val->DC = Row->DC;
    memcpy(Val->Label, Row->Label, sizeof Val->Label);
    int n = Row->NumCountries < MAX_NUM_COUNTRY_CODES ? Row->NumCountries : MAX_NUM_COUNTRY_CODES;
    Val->NumCodes = n;
    for (int i = 0; i < n; i++) {
        Val->Code[i][0] = Row->Countries[i][0];
        Val->Code[i][1] = Row->Countries[i][1];
        Val->Code[i][2] = '\0';
    }
}

void RegulatoryDomainChannelsFromCountry(RegulatoryDomainBuffer *Val,
                                         const CFG_CNF_COUNTRY_INFO_MAX_STRCT *Country)
{
    int n24 = 0, n5 = 0;
    int sets = Country->n_channel_sets < MAX_NUM_CHANNEL_SETS ? Country->n_channel_sets
                                                              : MAX_NUM_CHANNEL_SETS;
    for (int s = 0; s < sets; s++) {
        const int first = Country->channel_set[s].first_channel;
        const int count = Country->channel_set[s].number_of_channels;
        if (first < 15) {
            for (int k = 0; k < count && n24 < MAX_NUM_2GHZ_CHANNELS; k++)
                Val->Channels2GHz[n24++] = first + k;
            Val->Flags2GHz[0] = Val->Flags2GHz[1] = 1;
        } else {
            for (int k = 0; k < count && n5 < MAX_NUM_5GHZ_CHANNELS; k++)
                Val->Channels5GHz[n5++] = first + 4 * k;
            Val->Flags5GHz[0] = Val->Flags5GHz[1] = 1;
        }
    }
    Val->NumChannels2GHz = n24;
    Val->NumChannels5GHz = n5;
}
