/*
 * One-word records: the read and write that every single-value parameter
 * uses, and the port status check of the readings that need a link.
 */
#include "trace/wltrace.h"
#include "channel/wlchannel.h"
#include "params/wlparams.h"

int ScalarRead(unsigned short Type, int *Val)
{
    WL_FRAME("ScalarRead");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    unsigned short rec[3] = {2, Type, 0};
    int rc = GenericRead((WL_LTV *)rec);
    if (rc == WL_SUCCESS) {
        *Val = rec[2];
        IntValueLog(*Val);
    }
    WL_RETURN(rc);
}

int ScalarWrite(unsigned short Type, int Val)
{
    WL_FRAME("ScalarWrite");
    IntValueLog(Val);
    unsigned short rec[3] = {2, Type, i2us(Val)};
    WL_RETURN(WLFirmwareSet((WL_LTV *)rec));
}

int MACPortStatusGet(void)
{
    WL_FRAME("MACPortStatusGet");
    int port_status = 0;
    WL_CHECK(WLPortStatusGet (&port_status) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    if (INTERVAL (3, <=, port_status, <=, 5)) WL_RETURN(WL_SUCCESS);
    WL_CHECK(!INTERVAL (1, <=, port_status, <=, 7), WL_DATA_NOT_AVAILABLE);
    WL_CHECK(port_status == 6, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(!INTERVAL (3, <=, port_status, <=, 5), WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}
