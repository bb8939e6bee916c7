// Domain code read and coded country text write.
#include "wlinternal.h"

#include "country/country_records.h"

#include <stdlib.h>

int DomainCodeRead(int *Val)
{
    WL_FRAME("DomainCodeRead");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(ScalarRead(DOMAIN_CODE_RECORD_TYPE, Val));
}

int CodedCountryTextSend(const char *Val, DWORD Size)
{
    WL_FRAME("CodedCountryTextSend");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size == 0, WL_INVALID_PARAMETER);
    // An area of n bytes takes (n + 1) / 2 value words; the block carries at
    // most WL_IFB_MAX_LEN - 1 of them.
    WL_CHECK(Size > 2u * (WL_IFB_MAX_LEN - 1), WL_INVALID_PARAMETER);
    const DWORD words = (Size + 1) / 2;
    WL_LTV *ltv = (WL_LTV *)calloc(1, WL_LTV_BYTES(words));
    WL_CHECK(ltv == NULL, WL_NO_MEMORY);
    ltv->len = (uint16_t)WL_LTV_LEN(words);
    ltv->typ = CODED_COUNTRY_RECORD_TYPE;
    memcpy((unsigned char *)ltv + 4, Val, Size);
    int rc = WLFirmwareSet(ltv);
    free(ltv);
    WL_RETURN(rc);
}
