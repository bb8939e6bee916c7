// Domain code read.
#include "wlinternal.h"

#include "country/country_records.h"


int DomainCodeRead(int *Val)
{
    WL_FRAME("DomainCodeRead");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(ScalarRead(DOMAIN_CODE_RECORD_TYPE, Val));
}
