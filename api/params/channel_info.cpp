/*
 * The current channel record 0xFD89, laid out in the caller's
 * CurrentChannelInfoBuffer. Only the dual-band variants support it.
 */
#include <stdlib.h>

#include "wlvariant.h"
#include "trace/wltrace.h"
#include "channel/wlchannel.h"

#define CHANNEL_INFO_TYPE 0xFD89
#define CHANNEL_INFO_LEN 32 /* 31 value words */

int WLAPI WLCurrentChannelInfoGet(CurrentChannelInfoBuffer *Val)
{
    WL_FRAME("WLCurrentChannelInfoGet");
    if (VariantIsCD()) WL_RETURN(WL_FUNCTION_NOT_SUPPORTED);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK_TS(Val, CurrentChannelInfoBuffer);

    /* Zeroed, so words the driver does not answer read as 0. */
    WL_LTV *pLtv = (WL_LTV *)calloc(1, WL_LTV_BYTES(CHANNEL_INFO_LEN - 1));
    WL_CHECK(pLtv == NULL, WL_NO_MEMORY);
    pLtv->len = CHANNEL_INFO_LEN;
    pLtv->typ = CHANNEL_INFO_TYPE;
    int rc = GenericRead(pLtv);

    const uint16_t *w = pLtv->val;
    for (int i = 0; i < 30; i++) Val->Word[i] = w[i];
    Val->Word30 = w[30];
    Val->Low0 = (uint8_t)w[0];
    Val->Low1 = (uint8_t)w[1];
    Val->Low2 = (uint8_t)w[2];
    Val->Low10 = (uint8_t)w[10];
    Val->Low11 = (uint8_t)w[11];
    Val->Low12 = (uint8_t)w[12];
    free(pLtv);
    WL_RETURN(rc);
}
