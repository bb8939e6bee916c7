/*
 * Caller-visible connection, deferred apply and generic record access on top
 * of the driver channel.
 */
#include <limits.h>
#include <stdlib.h>

#include "wlvariant.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"

static int s_Connected = WL_NOT_CONNECTED;
static int s_ApplyNeed;
static int s_ApplyDelayed;

#define SCRATCH_LEN 1201 /* room for 1200 value words */

bool RecordNeedsApply(unsigned short Type)
{
    if (Type >= 0xFC00 && Type <= 0xFC7F) return Type != 0xFC21 || VariantIsCD();
    switch (Type) {
    case 0xFC84: case 0xFCC7: case 0x0902: case 0x0905: case 0x0907: case 0x0908: return true;
    default: return false;
    }
}

int WLAPI WLConnected(void)
{
    WL_FRAME("WLConnected");
    WL_RETURN(s_Connected);
}

int WLAPI WLConnect(void)
{
    WL_FRAME("WLConnect");
    if (s_Connected == WL_SUCCESS) WL_RETURN(WL_SUCCESS);
    WL_CHECK(OSTypeGet () == OS_UNKNOWN, WL_DATA_NOT_AVAILABLE);
    int rc = ChannelConnect();
    s_Connected = rc == WL_SUCCESS ? WL_SUCCESS : WL_NOT_CONNECTED;
    WL_RETURN(rc);
}

int WLAPI WLDisconnect(void)
{
    WL_FRAME("WLDisconnect");
    int Connected = s_Connected, ApplyNeed = s_ApplyNeed;
    WL_CHECK(Connected == WL_NOT_CONNECTED, WL_NOT_CONNECTED);
    WL_CHECK(ApplyNeed, WL_GENERAL_ERROR);
    int rc = ChannelDisconnect();
    if (rc == WL_SUCCESS) s_Connected = WL_NOT_CONNECTED;
    WL_RETURN(rc);
}

int TempConnect(TempConnection *t)
{
    t->opened = false;
    t->foreign = false;
    if (WLConnected() != WL_NOT_CONNECTED) {
        if (ChannelServesCurrentNic()) return WL_SUCCESS;
        /* A connection serves the adapter it was opened for: reach the
         * current NIC's own device through a connection of its own. */
        WLLog("temporary connection for nic %s\n", CurrentNic() ? CurrentNic() : "");
        ChannelPark();
        int rc = ChannelConnect();
        if (rc != WL_SUCCESS) {
            ChannelUnpark();
            return rc;
        }
        t->opened = true;
        t->foreign = true;
        return WL_SUCCESS;
    }
    int rc = WLConnect();
    if (rc != WL_SUCCESS) {
        WLDisconnect();
        return rc;
    }
    t->opened = true;
    return WL_SUCCESS;
}

void TempDisconnect(TempConnection *t)
{
    if (t->foreign) ChannelUnpark();
    /* Refused while changes wait for WLApply: the channel then stays open. */
    else if (t->opened) WLDisconnect();
    t->opened = false;
    t->foreign = false;
}

/* Runs an action within a temporary connection; failure code WL_GENERAL_ERROR.
 * Only an action on the connection's own adapter settles its pending apply. */
static int ActionInTempConnection(unsigned short code, bool clearsApplyNeed)
{
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) return WL_GENERAL_ERROR;
    int rc = ChannelAction(code);
    if (rc == WL_SUCCESS && clearsApplyNeed && !t.foreign) s_ApplyNeed = 0;
    TempDisconnect(&t);
    return rc;
}

int WLAPI WLApply(void)
{
    WL_FRAME("WLApply");
    int ApplyNeed = s_ApplyNeed;
    WL_CHECK(!ApplyNeed, WL_SUCCESS);
    /* Pending changes belong to the connection's own adapter, whichever
     * adapter is current now. */
    int rc = ChannelAction(WL_ACTION_APPLY);
    if (rc == WL_SUCCESS) s_ApplyNeed = 0;
    WL_RETURN(rc);
}

int WLAPI WLApplySet(int Val)
{
    WL_FRAME("WLApplySet");
    int Connected = s_Connected;
    WL_CHECK(!INTERVAL (0, <=, Val, <=, 1), WL_INVALID_PARAMETER);
    WL_CHECK(Connected == WL_NOT_CONNECTED, WL_NOT_CONNECTED);
    s_ApplyDelayed = Val;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLReset(void)
{
    WL_FRAME("WLReset");
    WL_RETURN(ActionInTempConnection(WL_ACTION_RESET, true));
}

int WLAPI WLBlock(void)
{
    WL_FRAME("WLBlock");
    WL_RETURN(ActionInTempConnection(WL_ACTION_BLOCK, false));
}

int WLAPI WLUnblock(void)
{
    WL_FRAME("WLUnblock");
    WL_RETURN(ActionInTempConnection(WL_ACTION_UNBLOCK, false));
}

int GenericRead(WL_LTV *Ltv)
{
    WL_FRAME("GenericRead");
    WL_CHECK(Ltv == NULL, WL_INVALID_PARAMETER);
    TempConnection t;
    WL_CHECK(TempConnect (&t) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    int rc = ChannelGetInfo(Ltv);
    TempDisconnect(&t);
    if (rc == WL_SUCCESS && Ltv->len <= 1) WL_FAIL("Ltv->len <= 1", WL_DATA_NOT_AVAILABLE);
    WL_RETURN(rc);
}

/*
 * Logs a record about to be written, word by word. The values of a record
 * longer than the channel carries are not read: the channel refuses it, and
 * its len may claim far more than the caller's buffer holds. Nothing more
 * is logged when the trace is off.
 */
static void RecordLog(const WL_LTV *Ltv)
{
    const unsigned short *words = (const unsigned short *)Ltv;
    if (WLLog("ltv->len 0x%04X (%d)\n", Ltv->len, Ltv->len) < 0) return; /* no trace */
    WLLog("ltv->typ 0x%04X\n", Ltv->typ);
    if (Ltv->len > WL_IFB_MAX_LEN) return;
    for (int i = 0; i + 1 < Ltv->len; i++) WLLog("ltv->val [%d] 0x%04X\n", i, words[2 + i]);
}

int WLFirmwareSet(WL_LTV *Ltv)
{
    WL_FRAME("WLFirmwareSet");
    WL_CHECK(Ltv == NULL, WL_INVALID_PARAMETER);
    TempConnection t;
    WL_CHECK(TempConnect (&t) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);

    /* Read before write: an unchanged record is neither written nor applied. */
    static unsigned short scratch[SCRATCH_LEN + 1];
    memset(scratch, 0, sizeof scratch);
    scratch[0] = SCRATCH_LEN;
    scratch[1] = Ltv->typ;
    GenericRead((WL_LTV *)scratch);
    if (scratch[0] == Ltv->len && Ltv->len >= 1 && Ltv->len <= SCRATCH_LEN &&
        memcmp(&scratch[2], (const unsigned char *)Ltv + 4, 2u * Ltv->len - 2) == 0) {
        TempDisconnect(&t);
        WL_RETURN(WL_SUCCESS);
    }
    RecordLog(Ltv);
    int rc = ChannelPutInfo(Ltv);
    if (rc == WL_SUCCESS && RecordNeedsApply(Ltv->typ)) {
        if (s_ApplyDelayed && !t.foreign) s_ApplyNeed = 1;
        else rc = ChannelAction(WL_ACTION_APPLY);
    }
    TempDisconnect(&t);
    WL_RETURN(rc);
}

int WLAPI WLGenericGet(WL_LTV *Val)
{
    WL_FRAME("WLGenericGet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(GenericRead(Val));
}

int WLAPI WLGenericSet(WL_LTV *Val)
{
    WL_FRAME("WLGenericSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLFirmwareSet(Val));
}

int WLAPI WLGenericAction(DWORD Code)
{
    WL_FRAME("WLGenericAction");
    /* The channel carries a 16-bit code; a wider one must not be cut into
     * another action. */
    WL_CHECK(Code > USHRT_MAX, WL_INVALID_PARAMETER);
    WL_CHECK(WLConnected () == WL_NOT_CONNECTED, WL_NOT_CONNECTED);
    TempConnection t;
    WL_CHECK(TempConnect (&t) != WL_SUCCESS, WL_GENERAL_ERROR);
    int rc = ChannelAction((unsigned short)Code);
    TempDisconnect(&t);
    WL_RETURN(rc);
}

int WLAPI WLGenericSendDiagMsg(const void *Val, DWORD Len)
{
    WL_FRAME("WLGenericSendDiagMsg");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(WLConnected () == WL_NOT_CONNECTED, WL_NOT_CONNECTED);
    TempConnection t;
    WL_CHECK(TempConnect (&t) != WL_SUCCESS, WL_GENERAL_ERROR);
    int rc = ChannelSendDiagMsg(Val, ui2us(Len));
    TempDisconnect(&t);
    WL_RETURN(rc);
}
