/*
 * simclient.c - user-mode access to the stand-in adapter driver.
 */
#include "simclient.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

#define START_WAIT_MS 10000
#define START_POLL_MS 50

static HANDLE Control = INVALID_HANDLE_VALUE;
static char ErrorText[160];

/* Records a failed call: "<what> failed: error <n>". */
static int Fail(const char *what, DWORD error)
{
    snprintf(ErrorText, sizeof ErrorText, "%s failed: error %lu", what, (unsigned long)error);
    return error ? (int)error : (int)ERROR_GEN_FAILURE;
}

/* Records a request refused by the client itself or an empty answer. */
static int Refuse(const char *why, DWORD error)
{
    snprintf(ErrorText, sizeof ErrorText, "%s (error %lu)", why, (unsigned long)error);
    return (int)error;
}

const char *SimLastErrorText(void)
{
    return ErrorText;
}

static int OpenControl(void)
{
    if (Control != INVALID_HANDLE_VALUE)
        return 0;
    Control = CreateFileA(WLSIM_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (Control == INVALID_HANDLE_VALUE)
        return Fail("open " WLSIM_CONTROL_PATH, GetLastError());
    return 0;
}

void SimClose(void)
{
    if (Control != INVALID_HANDLE_VALUE)
        CloseHandle(Control);
    Control = INVALID_HANDLE_VALUE;
}

static int Request(DWORD code, const char *what, const void *in, DWORD inLen, void *out,
                   DWORD outLen)
{
    DWORD got = 0;
    int rc = OpenControl();
    if (rc)
        return rc;
    if (!DeviceIoControl(Control, code, (LPVOID)in, inLen, out, outLen, &got, NULL))
        return Fail(what, GetLastError());
    if (got != outLen)
        return Fail(what, ERROR_INVALID_DATA);
    return 0;
}

/* ---- service ---------------------------------------------------------- */

static int InstallAndStart(SC_HANDLE scm, const char *sysPath)
{
    SC_HANDLE svc = OpenServiceA(scm, WLSIM_SERVICE_NAME, SERVICE_ALL_ACCESS);
    int rc = 0;

    if (!svc) {
        DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DOES_NOT_EXIST || !sysPath)
            return Fail("OpenService", error);
        svc = CreateServiceA(scm, WLSIM_SERVICE_NAME, "Wireless LAN adapter stand-in",
                             SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
                             SERVICE_ERROR_NORMAL, sysPath, NULL, NULL, NULL, NULL, NULL);
        if (!svc)
            return Fail("CreateService", GetLastError());
    } else if (sysPath &&
               !ChangeServiceConfigA(svc, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                     sysPath, NULL, NULL, NULL, NULL, NULL, NULL)) {
        rc = Fail("ChangeServiceConfig", GetLastError());
    }
    if (!rc && !StartServiceA(svc, 0, NULL) &&
        GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        rc = Fail("StartService", GetLastError());
    CloseServiceHandle(svc);
    return rc;
}

int SimEnsureStarted(const char *sysPath)
{
    SC_HANDLE scm;
    DWORD waited;
    int rc;

    SimClose();
    if (OpenControl() == 0)
        return 0;
    scm = OpenSCManagerA(NULL, NULL, SC_MANAGER_ALL_ACCESS);
    if (!scm)
        return Fail("OpenSCManager", GetLastError());
    rc = InstallAndStart(scm, sysPath);
    CloseServiceHandle(scm);
    if (rc)
        return rc;
    for (waited = 0; waited < START_WAIT_MS; waited += START_POLL_MS) {
        rc = OpenControl();
        if (rc == 0)
            return 0;
        Sleep(START_POLL_MS);
    }
    return rc;
}

/* ---- requests --------------------------------------------------------- */

int SimReset(void)
{
    return Request(IOCTL_WLSIM_RESET, "reset", NULL, 0, NULL, 0);
}

static int CopyName(char *dst, const char *src)
{
    size_t n;
    if (!src)
        return 0;
    n = strlen(src);
    if (n == 0 || n >= WLSIM_NAME_CHARS)
        return 0;
    memset(dst, 0, WLSIM_NAME_CHARS);
    memcpy(dst, src, n);
    return 1;
}

int SimAddAdapter(const char *const *names, int n, int *adapter)
{
    WlSimAddAdapter req;
    WlSimAdapterId id;
    int i, rc;

    if (!adapter || n < 0 || n > WLSIM_NAMES_PER_ADD || (n > 0 && !names))
        return Refuse("add adapter: bad arguments", ERROR_INVALID_PARAMETER);
    memset(&req, 0, sizeof req);
    req.nNames = n;
    for (i = 0; i < n; i++)
        if (!CopyName(req.names[i], names[i]))
            return Refuse("add adapter: device name empty or too long", ERROR_INVALID_PARAMETER);
    rc = Request(IOCTL_WLSIM_ADD_ADAPTER, "add adapter", &req, sizeof req, &id, sizeof id);
    if (rc == 0)
        *adapter = id.adapter;
    return rc;
}

int SimRemoveAdapter(int adapter)
{
    WlSimAdapterId id;
    id.adapter = adapter;
    return Request(IOCTL_WLSIM_REMOVE_ADAPTER, "remove adapter", &id, sizeof id, NULL, 0);
}

int SimMapName(int adapter, const char *name)
{
    WlSimMapName req;
    memset(&req, 0, sizeof req);
    req.adapter = adapter;
    if (!CopyName(req.name, name))
        return Refuse("map name: device name empty or too long", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_MAP_NAME, "map name", &req, sizeof req, NULL, 0);
}

int SimSetRecord(int adapter, const uint16_t *ltv)
{
    WlSimRecord rec;
    if (!ltv || ltv[0] < 1 || ltv[0] > WLSIM_LTV_MAX_LEN)
        return Refuse("set record: len must be 1 to 4097", ERROR_INVALID_PARAMETER);
    memset(&rec, 0, sizeof rec);
    rec.adapter = adapter;
    rec.len = ltv[0];
    rec.typ = ltv[1];
    memcpy(rec.val, ltv + 2, 2u * (ltv[0] - 1u));
    return Request(IOCTL_WLSIM_SET_RECORD, "set record", &rec, sizeof rec, NULL, 0);
}

int SimGetRecord(int adapter, uint16_t typ, uint16_t *buf, int maxWords)
{
    WlSimRecord rec;
    WlSimRecordKey key;
    int len, rc;

    if (!buf || maxWords < 2)
        return Refuse("get record: buffer below 2 words", ERROR_INVALID_PARAMETER);
    memset(&key, 0, sizeof key);
    key.adapter = adapter;
    key.typ = typ;
    rc = Request(IOCTL_WLSIM_GET_RECORD, "get record", &key, sizeof key, &rec, sizeof rec);
    if (rc)
        return rc;
    if (rec.len == 0)
        return Refuse("get record: the adapter has no record of that type", ERROR_NOT_FOUND);
    len = rec.len < maxWords - 1 ? rec.len : maxWords - 1;
    buf[0] = (uint16_t)len;
    buf[1] = rec.typ;
    memcpy(buf + 2, rec.val, 2u * (unsigned)(len - 1));
    return 0;
}

int SimDeleteRecord(int adapter, uint16_t typ)
{
    WlSimRecordKey key;
    memset(&key, 0, sizeof key);
    key.adapter = adapter;
    key.typ = typ;
    return Request(IOCTL_WLSIM_DELETE_RECORD, "delete record", &key, sizeof key, NULL, 0);
}

int SimArmFault(const WlSimFault *fault)
{
    if (!fault)
        return Refuse("fault: no fault given", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_FAULT, "fault", fault, sizeof *fault, NULL, 0);
}

int SimFault(int op, int count, int result)
{
    WlSimFault f;
    if (result < 0 || result > 0xFFFF)
        return Refuse("fault: result must be 0 to 65535", ERROR_INVALID_PARAMETER);
    f.op = op;
    f.kind = WLSIM_FAULT_RESULT;
    f.count = count;
    f.value = (uint32_t)result;
    f.adapter = WLSIM_ANY_ADAPTER;
    return SimArmFault(&f);
}

int SimFailIoctl(int op, int count)
{
    WlSimFault f;
    f.op = op;
    f.kind = WLSIM_FAULT_FAIL_CALL;
    f.count = count;
    f.value = 0;
    f.adapter = WLSIM_ANY_ADAPTER;
    return SimArmFault(&f);
}

int SimShortAnswer(int op, int count, uint32_t bytes)
{
    WlSimFault f;
    f.op = op;
    f.kind = WLSIM_FAULT_SHORT_ANSWER;
    f.count = count;
    f.value = bytes;
    f.adapter = WLSIM_ANY_ADAPTER;
    return SimArmFault(&f);
}

int SimClearLog(void)
{
    return Request(IOCTL_WLSIM_CLEAR_LOG, "clear log", NULL, 0, NULL, 0);
}

int SimCounters(WlSimCounters *out)
{
    if (!out)
        return Refuse("counters: no buffer", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_COUNTERS, "counters", NULL, 0, out, sizeof *out);
}

int SimLastExchanges(WlSimExchangeLog *out)
{
    if (!out)
        return Refuse("exchanges: no buffer", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_EXCHANGES, "exchanges", NULL, 0, out, sizeof *out);
}

int SimDiagMessage(int adapter, int back, WlSimDiagMsg *out)
{
    WlSimDiagQuery q;
    if (!out)
        return Refuse("diag: no buffer", ERROR_INVALID_PARAMETER);
    q.adapter = adapter;
    q.back = back;
    return Request(IOCTL_WLSIM_DIAG, "diag", &q, sizeof q, out, sizeof *out);
}

int SimAdapterState(int adapter, WlSimAdapterState *out)
{
    WlSimAdapterId id;
    if (!out)
        return Refuse("adapter state: no buffer", ERROR_INVALID_PARAMETER);
    id.adapter = adapter;
    return Request(IOCTL_WLSIM_ADAPTER_STATE, "adapter state", &id, sizeof id, out,
                   sizeof *out);
}

int SimNames(WlSimNameList *out)
{
    if (!out)
        return Refuse("names: no buffer", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_NAMES, "names", NULL, 0, out, sizeof *out);
}

int SimDiagSetup(const WlSimDiagConfig *cfg)
{
    if (!cfg)
        return Refuse("diag setup: no configuration", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_DIAG_CONFIG, "diag setup", cfg, sizeof *cfg, NULL, 0);
}

int SimDiagStateGet(int adapter, WlSimDiagState *out)
{
    WlSimAdapterId id;
    if (!out)
        return Refuse("diag state: no buffer", ERROR_INVALID_PARAMETER);
    id.adapter = adapter;
    return Request(IOCTL_WLSIM_DIAG_STATE, "diag state", &id, sizeof id, out, sizeof *out);
}

/* ---- counter lookups -------------------------------------------------- */

static const WlSimTypeCount *FindType(const WlSimCounters *c, uint16_t typ)
{
    int i;
    for (i = 0; c && i < c->nTypes && i < WLSIM_TYPE_SLOTS; i++)
        if (c->types[i].typ == typ)
            return &c->types[i];
    return NULL;
}

uint32_t SimTypeGets(const WlSimCounters *c, uint16_t typ)
{
    const WlSimTypeCount *t = FindType(c, typ);
    return t ? t->gets : 0;
}

uint32_t SimTypePuts(const WlSimCounters *c, uint16_t typ)
{
    const WlSimTypeCount *t = FindType(c, typ);
    return t ? t->puts : 0;
}

uint32_t SimActionCount(const WlSimCounters *c, uint16_t code)
{
    int i;
    for (i = 0; c && i < c->nActions && i < WLSIM_ACTION_SLOTS; i++)
        if (c->actions[i].code == code)
            return c->actions[i].count;
    return 0;
}

/* ---- the radio world -------------------------------------------------- */

int SimPutStation(const WlSimStation *st)
{
    if (!st)
        return Refuse("put station: no station", ERROR_INVALID_PARAMETER);
    return Request(IOCTL_WLSIM_STATION_PUT, "put station", st, sizeof *st, NULL, 0);
}

int SimRemoveStation(const uint8_t *bssid)
{
    WlSimStationKey key;
    if (!bssid)
        return Refuse("remove station: no BSSID", ERROR_INVALID_PARAMETER);
    memset(&key, 0, sizeof key);
    memcpy(key.bssid, bssid, 6);
    return Request(IOCTL_WLSIM_STATION_REMOVE, "remove station", &key, sizeof key, NULL, 0);
}

int SimLinkShape(unsigned dropPercent, unsigned delayReads)
{
    WlSimLinkShape shape;
    shape.dropPercent = dropPercent;
    shape.delayReads = delayReads;
    return Request(IOCTL_WLSIM_LINK_SHAPE, "link shape", &shape, sizeof shape, NULL, 0);
}

int SimPushMailbox(int adapter, int flags, uint16_t len, uint16_t typ, const void *value,
                   uint32_t valueBytes)
{
    static WlSimMailboxPush req; /* 2.3 KB: kept off the stack */
    uint32_t room = len > 1 ? 2u * (uint32_t)(len - 1) : 0;
    if (len < 1 || room > WLSIM_MB_VALUE_MAX || valueBytes > room || (valueBytes && !value))
        return Refuse("push mailbox: len 1 to 1153, value within it", ERROR_INVALID_PARAMETER);
    memset(&req, 0, sizeof req);
    req.adapter = adapter;
    req.flags = flags;
    req.len = len;
    req.typ = typ;
    if (valueBytes)
        memcpy(req.value, value, valueBytes);
    return Request(IOCTL_WLSIM_MAILBOX_PUSH, "push mailbox", &req, sizeof req, NULL, 0);
}

int SimMailboxState(int adapter, WlSimMailboxState *out)
{
    WlSimAdapterId id;
    if (!out)
        return Refuse("mailbox state: no buffer", ERROR_INVALID_PARAMETER);
    id.adapter = adapter;
    return Request(IOCTL_WLSIM_MAILBOX_STATE, "mailbox state", &id, sizeof id, out, sizeof *out);
}

int SimMailboxClear(int adapter)
{
    WlSimAdapterId id;
    id.adapter = adapter;
    return Request(IOCTL_WLSIM_MAILBOX_CLEAR, "clear mailbox", &id, sizeof id, NULL, 0);
}

static size_t PutSuite(uint8_t *p, const uint8_t *oui, uint8_t type)
{
    memcpy(p, oui, 3);
    p[3] = type;
    return 4;
}

/* WPA: vendor element 00-50-F2 type 1, TKIP group and pairwise, PSK.
 * WPA2: RSN element with 00-0F-AC suites, CCMP group and pairwise, PSK. */
static uint16_t SecurityElements(uint8_t *p, int security)
{
    static const uint8_t wpaOui[3] = {0x00, 0x50, 0xF2};
    static const uint8_t rsnOui[3] = {0x00, 0x0F, 0xAC};
    size_t n = 0;
    if (security == WLSIM_SEC_WPA) {
        p[n++] = 221;
        p[n++] = 22;
        n += PutSuite(p + n, wpaOui, 1);
        p[n++] = 1, p[n++] = 0; /* version */
        n += PutSuite(p + n, wpaOui, 2);
        p[n++] = 1, p[n++] = 0;
        n += PutSuite(p + n, wpaOui, 2);
        p[n++] = 1, p[n++] = 0;
        n += PutSuite(p + n, wpaOui, 2);
    } else if (security == WLSIM_SEC_WPA2) {
        p[n++] = 48;
        p[n++] = 20;
        p[n++] = 1, p[n++] = 0; /* version */
        n += PutSuite(p + n, rsnOui, 4);
        p[n++] = 1, p[n++] = 0;
        n += PutSuite(p + n, rsnOui, 4);
        p[n++] = 1, p[n++] = 0;
        n += PutSuite(p + n, rsnOui, 2);
        p[n++] = 0, p[n++] = 0; /* capabilities */
    }
    return (uint16_t)n;
}

int SimStationMake(WlSimStation *st, const uint8_t *bssid, const char *ssid, int channel,
                   int level1, int level2, int peer, int security, const char *name)
{
    static const uint8_t rates2[12] = {0x82, 0x84, 0x8B, 0x96, 12, 18, 24, 36, 48, 72, 96, 108};
    static const uint8_t rates5[8] = {0x8C, 18, 0x98, 36, 0xB0, 72, 96, 108};
    size_t n = ssid ? strlen(ssid) : 0;
    if (!st || !bssid || n > 32 || channel < 1 || channel > 200 || level1 < 0 || level1 > 255 ||
        level2 < 0 || level2 > 255 || security < WLSIM_SEC_OPEN || security > WLSIM_SEC_WPA2)
        return Refuse("make station: bad arguments", ERROR_INVALID_PARAMETER);
    memset(st, 0, sizeof *st);
    memcpy(st->bssid, bssid, 6);
    st->channel = (uint8_t)channel;
    st->band = channel > 14 ? WLSIM_BAND_5GHZ : WLSIM_BAND_2GHZ;
    st->capability = (uint16_t)((peer ? 0x0002u : WLSIM_CAP_ESS) |
                                (security != WLSIM_SEC_OPEN ? WLSIM_CAP_PRIVACY : 0));
    st->level1 = (uint8_t)level1;
    st->level2 = (uint8_t)level2;
    st->inRange = 1;
    st->ssidLen = (uint8_t)n;
    memcpy(st->ssid, ssid, n);
    if (name)
        strncpy(st->name, name, sizeof st->name);
    if (st->band == WLSIM_BAND_5GHZ) {
        st->nRates = sizeof rates5;
        memcpy(st->rates, rates5, sizeof rates5);
    } else {
        st->nRates = sizeof rates2;
        memcpy(st->rates, rates2, sizeof rates2);
    }
    st->ieLen = SecurityElements(st->ies, security);
    return 0;
}
