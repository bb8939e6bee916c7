/*
 * The synchronous scan family: ask the adapter to scan, wait for its scan
 * record and keep it for the result getters.
 */
#include "mailbox/wlmailbox.h"
#include "wlcore/mbconv.h"

/* A scan for one SSID reads records until one lists only that SSID; it
 * gives up after this much time in all. */
#define SCAN_SSID_WAIT_MS 10000

/* The last scan record; after a scan its first word holds the number of
 * entries instead of the length word. */
static struct {
    unsigned short len;
    unsigned short typ;
    unsigned char val[MB_SCAN_MAX * MB_SCAN_ENTRY];
} APs;
static_assert(sizeof APs == 1604, "scan record");

/* The BSSID the adapter was associated with when WLScanAPGet ran. */
static unsigned char ScanCurrentBSSID[6];

static int WLSendScanData(const char *ssid, DWORD sz, unsigned short action)
{
    WL_FRAME("WLSendScanData");
    WL_CHECK(ssid == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(sz > 32, WL_INVALID_PARAMETER);
    WL_CHECK(WLScanSSIDSet (ssid, sz) != WL_SUCCESS, WL_DATA_NOT_WRITEABLE);
    WL_CHECK(WLEmptyMailbox () != WL_SUCCESS, WL_GENERAL_ERROR);
    int retval = ChannelAction(action);
    WL_CHECK(retval != WL_SUCCESS, retval);
    WL_RETURN(WL_SUCCESS);
}

static int WLScanGet(int *num, const char *ssid, DWORD sz, DWORD channel, unsigned short action)
{
    WL_FRAME("WLScanGet");
    (void)channel; /* the adapter scans its own channel set */
    WL_CHECK(num == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(ssid == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(sz > 32, WL_INVALID_PARAMETER);
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);

    const char *reason = NULL;
    int rc = WLSendScanData(ssid, sz, action);
    bool anySsid = sz == 0 || ssid[0] == '\0';
    DWORD start = GetTickCount();
    APs.len = 0;
    while (rc == WL_SUCCESS) {
        int len = sizeof APs;
        rc = WLReceiveScanData((WL_LTV *)&APs, &len);
        if (rc != WL_SUCCESS) {
            APs.len = 0;
            break;
        }
        /* a wait that ended without a scan record brings no entries */
        const unsigned char *rec = (const unsigned char *)&APs;
        size_t bytes = MbRecordBytes(rec, sizeof APs);
        size_t n = APs.typ == MB_SCAN ? ScanEntryCount(rec, bytes) : 0;
        bool done = anySsid || (n > 0 && ScanRecordAllSsid(rec, bytes, (const uint8_t *)ssid, sz));
        APs.len = (unsigned short)n;
        if (done) break;
        if (GetTickCount() - start >= SCAN_SSID_WAIT_MS) {
            APs.len = 0;
            rc = WL_DATA_NOT_AVAILABLE;
            reason = "no scan record of only that SSID within 10 seconds";
        }
    }
    *num = APs.len;
    if (t.opened && WLDisconnect() != WL_SUCCESS) WL_FAIL("WLDisconnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    if (reason) WL_FAIL(reason, rc);
    WL_RETURN(rc);
}

int WLAPI WLScanAPGet(int *Num)
{
    WL_FRAME("WLScanAPGet");
    WL_CHECK(Num == NULL, WL_INVALID_PARAMETER);
    char ssid[33] = {0};
    DWORD sz = 32;
    int channels = 0;
    WL_CHECK(WLCurrentBSSIDGet (ScanCurrentBSSID) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(WLDesiredSSIDGet (ssid, &sz) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(WLCurrentChannelGet (&channels) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WLScanGet(Num, ssid, sz > 32 ? 32 : sz, (DWORD)channels, 6));
}

int WLAPI WLScanNetworkGet(int *Num)
{
    WL_FRAME("WLScanNetworkGet");
    WL_CHECK(Num == NULL, WL_INVALID_PARAMETER);
    WL_RETURN(WLScanGet(Num, "", 0, 0x3FFF, 6));
}

int WLAPI WLScanAnyGet(int *Num, const char *SSID, DWORD Size, DWORD Channel)
{
    WL_FRAME("WLScanAnyGet");
    WL_CHECK(Num == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(SSID == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Size > 32, WL_INVALID_PARAMETER);
    WL_RETURN(WLScanGet(Num, SSID, Size, Channel, 6));
}

static int WLScanResultGet(ScanResultBuffer *Val, int Num)
{
    WL_FRAME("WLScanResultGet");
    WL_CHECK(!INTERVAL (1, <=, Num, <=, APs.len), WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != ScanResultBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (ScanResultBuffer), WL_INVALID_PARAMETER);
    ScanEntryToResult(ScanEntry((const uint8_t *)&APs, (size_t)(Num - 1)), Val);
    WL_RETURN(WL_SUCCESS);
}

/* The checks of a result getter, then the entry. */
static int ResultGet(const char *name, ScanResultBuffer *Val, int Num)
{
    WL_FRAME_AS(name);
    WL_CHECK(!INTERVAL (1, <=, Num, <=, APs.len), WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != ScanResultBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (ScanResultBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(WLScanResultGet (Val, Num) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    WL_RETURN(WL_SUCCESS);
}

int WLAPI WLScanNetworkResultGet(ScanResultBuffer *Val, int Num)
{
    return ResultGet("WLScanNetworkResultGet", Val, Num);
}

int WLAPI WLScanAnyResultGet(ScanResultBuffer *Val, int Num)
{
    return ResultGet("WLScanAnyResultGet", Val, Num);
}

/* ---- the access point's name, through a link test ---- */

#pragma pack(push, 1)
struct LinkTestRecord {
    unsigned short len;
    unsigned short typ;
    union {
        unsigned char raw[MB_RECORD_BYTES - 4];
        struct {
            unsigned char before[80]; /* record bytes 4 to 83 */
            unsigned char Version;
            unsigned char Type;
            unsigned short ID;
            char Name[32];
        } LTRes;
    } data;
};
#pragma pack(pop)
static_assert(sizeof(LinkTestRecord) == MB_RECORD_BYTES, "link test record");

static int LinkTestRequest(const unsigned char *bssid)
{
    WL_FRAME("LinkTestRequest");
    unsigned char frame[WMP_LINK_TEST_LEN];
    size_t len = WmpBuildRequest(frame, WMP_LINK_TEST_REQ, bssid, 0);
    WL_RETURN(WLSendWMPData(frame, (int)len));
}

/* A valid answer gives the responder's name (at most 32 bytes). */
static int LinkTestResponse(char *name)
{
    WL_FRAME("LinkTestResponse");
    static LinkTestRecord rx;
    memset(&rx, 0, sizeof rx);
    int len = sizeof rx;
    int rc = WLReceiveWMPData((WL_LTV *)&rx, &len);
    WL_CHECK(rx.data.LTRes.Version != 0, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(rx.data.LTRes.Type != 1, WL_DATA_NOT_AVAILABLE);
    WL_CHECK(rx.data.LTRes.ID != 0, WL_DATA_NOT_AVAILABLE);
    if (rc == WL_SUCCESS) {
        /* bytes beyond what the record delivered are still zero */
        memset(name, 0, 33);
        memcpy(name, rx.data.LTRes.Name, sizeof rx.data.LTRes.Name);
    }
    WL_RETURN(rc);
}

static int WLAPNameGet(char *name, const unsigned char *bssid)
{
    WL_FRAME("WLAPNameGet");
    TempConnection t;
    if (TempConnect(&t) != WL_SUCCESS) WL_FAIL("WLConnect () != WL_SUCCESS", WL_NOT_CONNECTED);
    int rc = LinkTestRequest(bssid);
    if (rc == WL_SUCCESS) rc = LinkTestResponse(name);
    TempDisconnect(&t);
    WL_RETURN(rc);
}

int WLAPI WLScanAPResultGet(ScanResultBuffer *Val, int Num)
{
    WL_FRAME("WLScanAPResultGet");
    WL_CHECK(!INTERVAL (1, <=, Num, <=, APs.len), WL_INVALID_PARAMETER);
    WL_CHECK(Val == NULL, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Type != ScanResultBufferType, WL_INVALID_PARAMETER);
    WL_CHECK(Val->TS.Size != sizeof (ScanResultBuffer), WL_INVALID_PARAMETER);
    WL_CHECK(WLScanResultGet (Val, Num) != WL_SUCCESS, WL_DATA_NOT_AVAILABLE);
    if (memcmp(Val->BSSID, ScanCurrentBSSID, 6) == 0) WLAPNameGet(Val->Name, Val->BSSID);
    WL_RETURN(WL_SUCCESS);
}
