/*
 * The mailbox: reading its records, the management protocol frames, the
 * mailbox clients with their typed buffers, and the actions that make the
 * adapter fill the mailbox.
 */
#include <stdio.h>
#include <stdlib.h>

#include "mailbox/wlmailbox.h"
#include "wlcore/mbconv.h"

/* Records one WLMBGet hands on at most: a mailbox that never empties must
 * not hold its caller for ever. The adapter queues far fewer at a time. */
#define MB_GET_MAX_RECORDS 256

/* ---- sinks of the conversions ---- */

static void LogSink(void *, const char *text) { WLLog("%s", text); }
static void StdoutSink(void *, const char *text) { fputs(text, stdout); }
static const MbSinks s_Sinks = {LogSink, NULL, StdoutSink, NULL};

/* ---- reading ---- */

int WLReadMailbox(WL_LTV *rx, int size, unsigned short type, bool wait)
{
    WL_FRAME("WLReadMailbox");
    WL_CHECK(rx == NULL, WL_INVALID_PARAMETER);
    DWORD start = GetTickCount();
    for (;;) {
        rx->len = (unsigned short)((size + 1) / 2 - 1);
        rx->typ = MB_REQUEST;
        int retval = ChannelGetInfo(rx);
        WL_CHECK(retval != WL_SUCCESS, retval);
        WLLog("mailbox received type 0x%04X\n", rx->typ);
        if (rx->typ == type || !wait) {
            if (rx->typ != type && rx->typ == MB_REQUEST) WL_RETURN(WL_DATA_NOT_AVAILABLE);
            WL_RETURN(WL_SUCCESS);
        }
        if (rx->typ != MB_REQUEST) WLLog("mailbox received type 0x%04X\n", rx->typ);
        Sleep(50);
        if (GetTickCount() - start > MB_READ_WAIT_MS) WL_RETURN(WL_SUCCESS);
    }
}

int WLReceiveXData(WL_LTV *rx, int *rx_len, unsigned short type, bool wait)
{
    WL_FRAME("WLReceiveXData");
    WL_CHECK(rx == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(rx_len == NULL, WL_INVALID_PARAMETER);
    int rc = WLReadMailbox(rx, *rx_len, type, wait);
    *rx_len = rx->len >= 1 ? 2 * rx->len - 2 : 0;
    WL_RETURN(rc);
}

int WLReceiveWMPData(WL_LTV *buf, int *len)
{
    WL_FRAME("WLReceiveWMPData");
    WL_CHECK(buf == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(len == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLReceiveXData(buf, len, MB_WMP, true));
}

int WLReceiveScanData(WL_LTV *buf, int *len)
{
    WL_FRAME("WLReceiveScanData");
    WL_CHECK(buf == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(len == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLReceiveXData(buf, len, MB_SCAN, true));
}

int WLEmptyMailbox(void)
{
    WL_FRAME("WLEmptyMailbox");
    static unsigned short rx[MB_RECORD_BYTES / 2];
    WL_RETURN(WLReadMailbox((WL_LTV *)rx, sizeof rx, MB_REQUEST, true));
}

/* ---- management protocol frames ---- */

static int SendFrame(const char *name, unsigned char *buf, int len, bool pickDestination)
{
    WL_FRAME_AS(name);
    WL_CHECK(buf == NULL, WL_INVALID_PARAMETER);
    if (pickDestination && MacIsZero(buf)) {
        int ps = 0;
        if (WLPortStatusGet(&ps) == WL_SUCCESS) {
            if (ps == 4)
                WLCurrentBSSIDGet(buf);
            else if (ps == 3)
                WmpGroupAddress(buf);
        }
    }
    if (MacIsZero(buf + 6)) WLOwnMACAddressGet(buf + 6);
    WmpCompleteHeader(buf, (size_t)len);
    if (!pickDestination) WL_CHECK(WLEmptyMailbox () != WL_SUCCESS, WL_GENERAL_ERROR);
    int retval = ChannelSendDiagMsg(buf, (unsigned short)len);
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_RETURN(WL_SUCCESS);
}

int SendWMPData(unsigned char *buf, int len) { return SendFrame("SendWMPData", buf, len, true); }
int WLSendWMPData(unsigned char *buf, int len) { return SendFrame("WLSendWMPData", buf, len, false); }

/* Sends a request of PDU type pdu (0 link test, 2 access point list). */
static int LTAP(int pdu, const unsigned char *dest, unsigned short id)
{
    WL_FRAME("LTAP");
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    unsigned char frame[WMP_LINK_TEST_LEN];
    size_t len = WmpBuildRequest(frame, (uint8_t)pdu, dest, id);
    int rc = SendWMPData(frame, (int)len);
    if (t.opened && WLDisconnect() != WL_SUCCESS) WL_FAIL("WLDisconnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    WL_RETURN(rc);
}

/* ---- mailbox clients ---- */

struct MBClient {
    MBClient *next, *prev; /* circular, through the anchor */
    char nic[NIC_ID_SIZE + 1];
    int index;
    MBBufferHeader *slot[6];
};

static MBClient s_Anchor = {&s_Anchor, &s_Anchor, "", 0, {0, 0, 0, 0, 0, 0}};

static void ClientListDump(void)
{
    WLLog("anchor %p, next %p, prev %p\n", (void *)&s_Anchor, (void *)s_Anchor.next, (void *)s_Anchor.prev);
    for (MBClient *p = s_Anchor.next; p != &s_Anchor; p = p->next)
        WLLog("obj %p, next %p, prev %p\n", (void *)p, (void *)p->next, (void *)p->prev);
}

static bool SameNic(const MBClient *p, const char *Nic) { return strncmp(p->nic, Nic, NIC_ID_SIZE) == 0; }

static MBClient *ClientFind(const char *Nic, int Index)
{
    WLLog("mbdata_find\n");
    WLLog("mbdata_find nic %s, index %d, anchor %p\n", Nic, Index, (void *)&s_Anchor);
    for (MBClient *p = s_Anchor.next; p != &s_Anchor; p = p->next) {
        if (SameNic(p, Nic) && p->index == Index) {
            WLLog("mbdata_find mbobj %p\n", (void *)p);
            return p;
        }
    }
    WLLog("mbdata_find NULL\n");
    return NULL;
}

int WLAPI WLMBLogon(int *Index)
{
    WL_FRAME("WLMBLogon");
    const char *Nic = CurrentNic();
    WL_CHECK(Nic == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Index == NULL, WL_INVALID_PARAMETER);
    ClientListDump();
    MBClient *p = (MBClient *)calloc(1, sizeof *p);
    WL_CHECK(p == NULL, WL_DATA_NOT_AVAILABLE);
    WLLog("mbdata_add nic %s\n", Nic);
    strncpy(p->nic, Nic, NIC_ID_SIZE);
    int highest = 0;
    for (MBClient *q = s_Anchor.next; q != &s_Anchor; q = q->next)
        if (q->index > highest) highest = q->index;
    p->index = highest + 1;
    p->next = s_Anchor.next;
    p->prev = &s_Anchor;
    s_Anchor.next->prev = p;
    s_Anchor.next = p;
    ClientListDump();
    *Index = p->index;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLMBLogoff(int Index)
{
    WL_FRAME("WLMBLogoff");
    const char *Nic = CurrentNic();
    WL_CHECK(Nic == NULL, WL_INVALID_PARAMETER);
    MBClient *p = ClientFind(Nic, Index);
    WL_CHECK(p == NULL, WL_INVALID_PARAMETER);
    WLLog("mbdata_rls nic %s index %d\n", Nic, Index);
    p->prev->next = p->next;
    p->next->prev = p->prev;
    free(p);
    WL_RETURN(WL_SUCCESS);
}

static int _WLMBSet(DWORD Type, MBBufferHeader *Buf, int Index)
{
    WL_FRAME("_WLMBSet");
    const char *Nic = CurrentNic();
    WL_CHECK(Nic == NULL, WL_INVALID_PARAMETER);
    MBClient *p = ClientFind(Nic, Index);
    WL_CHECK(p == NULL, WL_INVALID_PARAMETER);
    if (Type < MBScanBufferType || Type > MBAPListBufferType) WL_RETURN(WL_INVALID_PARAMETER);
    p->slot[Type - MBScanBufferType] = Buf;
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLMBSet(void *Val, int Index)
{
    WL_FRAME("WLMBSet");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    MBBufferHeader *b = (MBBufferHeader *)Val;
    WL_RETURN(_WLMBSet(b->TS.Type, b, Index));
}

int WLAPI WLMBReset(const DWORD *Val, int Index)
{
    WL_FRAME("WLMBReset");
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(_WLMBSet(*Val, NULL, Index));
}

/* Hands one record to every client of the current adapter, in list order. */
static void HandToClients(const unsigned char *rec, size_t bytes)
{
    const char *Nic = CurrentNic();
    WLLog("mbdata_find_allnic\n");
    if (Nic == NULL) {
        WLLog("mbdata_find_allnic nic NULL\n");
        return;
    }
    bool any = false;
    for (MBClient *p = s_Anchor.next; p != &s_Anchor; p = p->next) {
        WLLog("mbdata_find_nic nic %s, p %p\n", Nic, (void *)p);
        if (!SameNic(p, Nic)) continue;
        WLLog("mbdata_find_nic nic %s, obj %p\n", Nic, (void *)p);
        WLLog("mbdata_find_allnic mbobj %p\n", (void *)p);
        any = true;
        MbSlots slots;
        memcpy(slots.slot, p->slot, sizeof slots.slot);
        MbHandOn(rec, bytes, &slots, &s_Sinks);
    }
    if (!any) WLLog("mbdata_find_allnic NULL\n");
}

int WLAPI WLMBGet(void)
{
    WL_FRAME("WLMBGet");
    static unsigned short rx[MB_RECORD_BYTES / 2];
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    int retval = WL_SUCCESS;
    for (int n = 0; n < MB_GET_MAX_RECORDS; n++) {
        WL_LTV *ltv = (WL_LTV *)rx;
        ltv->len = MB_RECORD_BYTES / 2 - 1;
        ltv->typ = MB_REQUEST;
        retval = ChannelGetInfo(ltv);
        if (retval != WL_SUCCESS) break;
        WLLog("mailbox received type 0x%04X\n", ltv->typ);
        if (ltv->len < 1 || ltv->typ == MB_REQUEST) break;
        const unsigned char *rec = (const unsigned char *)rx;
        HandToClients(rec, MbRecordBytes(rec, sizeof rx));
    }
    TempDisconnect(&t);
    WL_RETURN(retval);
}

/* ---- actions ---- */

static int WLMBActionXScan(const char *SSID, DWORD Size, unsigned short Action)
{
    WL_FRAME("WLMBActionXScan");
    WL_CHECK(SSID == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    int rc = WLScanSSIDSet(SSID, Size);
    if (rc != WL_SUCCESS) {
        TempDisconnect(&t);
        WL_FAIL("WLScanSSIDSet (SSID, Size) != WL_SUCCESS", WL_DATA_NOT_WRITEABLE);
    }
    rc = ChannelAction(Action);
    if (t.opened && WLDisconnect() != WL_SUCCESS) WL_FAIL("WLDisconnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    WL_RETURN(rc);
}

int WLAPI WLMBActionScan(const char *SSID, DWORD Size, DWORD Unused)
{
    WL_FRAME("WLMBActionScan");
    (void)Unused;
    WL_RETURN(WLMBActionXScan(SSID, Size, 6));
}

int WLAPI WLMBActionACSScan(const char *SSID, DWORD Size, DWORD Unused)
{
    WL_FRAME("WLMBActionACSScan");
    (void)Unused;
    /* argument failures reach nothing of the adapter */
    WL_CHECK(SSID == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    /* channel selection scans are not run while the adapter is an access point */
    int connection_mode = 0;
    WL_CHECK(WLConnectionModeGet (&connection_mode) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(connection_mode == CONNECTION_MODE_SOFTAP, WL_FUNCTION_NOT_SUPPORTED);
    WL_RETURN(WLMBActionXScan(SSID, Size, 7));
}

/*
 * The older firmware (variants C and D) has no scan channel or probe rate
 * settings: its channel selection scan runs on the adapter's own channel
 * set, so those two writes are left out there.
 */
static int WLMBActionXABGScan(const char *SSID, DWORD Size, const Channel2GHzBuffer *Channel2GHz,
                              const Channel5GHzBuffer *Channel5GHz, const DataRate2GHzBuffer *Rate2GHz,
                              const DataRate5GHzBuffer *Rate5GHz)
{
    WL_FRAME("WLMBActionXABGScan");
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    const char *reason = NULL;
    int rc = WLScanSSIDSet(SSID, Size);
    if (rc != WL_SUCCESS) {
        reason = "WLScanSSIDSet (SSID, Size) != WL_SUCCESS";
        rc = WL_DATA_NOT_WRITEABLE;
    }
    if (rc == WL_SUCCESS && !VariantIsCD()) {
        rc = WLABGScanChannelSet(Channel2GHz, Channel5GHz);
        if (rc != WL_SUCCESS) reason = "WLABGScanChannelSet (Channel2GHz, Channel5GHz) != WL_SUCCESS";
    }
    if (rc == WL_SUCCESS && !VariantIsCD()) {
        rc = WLProbeDataRateSet(Rate2GHz, Rate5GHz);
        if (rc != WL_SUCCESS) reason = "WLProbeDataRateSet (Rate2GHz, Rate5GHz) != WL_SUCCESS";
    }
    if (rc == WL_SUCCESS) rc = ChannelAction(7);
    if (t.opened && WLDisconnect() != WL_SUCCESS) WL_FAIL("WLDisconnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    if (reason) WL_FAIL(reason, rc);
    WL_RETURN(rc);
}

int WLAPI WLMBActionACSABGScan(const char *SSID, DWORD Size, const Channel2GHzBuffer *Channel2GHz,
                               const Channel5GHzBuffer *Channel5GHz, const DataRate2GHzBuffer *Rate2GHz,
                               const DataRate5GHzBuffer *Rate5GHz)
{
    WL_FRAME("WLMBActionACSABGScan");
    WL_CHECK(SSID == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    WL_CHECK(Channel2GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Channel2GHz)->TS.Type != Channel2GHzBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Channel2GHz)->TS.Size != sizeof (Channel2GHzBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(Channel5GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Channel5GHz)->TS.Type != Channel5GHzBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Channel5GHz)->TS.Size != sizeof (Channel5GHzBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(Rate2GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Rate2GHz)->TS.Type != DataRate2GHzBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Rate2GHz)->TS.Size != sizeof (DataRate2GHzBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(Rate5GHz == NULL, WL_INVALID_PARAMETER);
    WL_CHECK((Rate5GHz)->TS.Type != DataRate5GHzBufferType, WL_INVALID_PARAMETER);
    WL_CHECK((Rate5GHz)->TS.Size != sizeof (DataRate5GHzBuffer), WL_INVALID_PARAMETER);
    /* channel selection scans are not run while the adapter is an access point */
    int connection_mode = 0;
    WL_CHECK(WLConnectionModeGet (&connection_mode) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(connection_mode == CONNECTION_MODE_SOFTAP, WL_FUNCTION_NOT_SUPPORTED);
    WL_RETURN(WLMBActionXABGScan(SSID, Size, Channel2GHz, Channel5GHz, Rate2GHz, Rate5GHz));
}

int WLAPI WLMBActionLinkTest(const unsigned char *Dest, DWORD ID)
{
    WL_FRAME("WLMBActionLinkTest");
    WL_RETURN(LTAP(WMP_LINK_TEST_REQ, Dest, ui2us(ID)));
}

int WLAPI WLMBActionAPList(void)
{
    WL_FRAME("WLMBActionAPList");
    int ps = 0;
    WLPortStatusGet(&ps);
    WL_CHECK(ps != 4, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(LTAP(WMP_APLIST_REQ, NULL, 0));
}
