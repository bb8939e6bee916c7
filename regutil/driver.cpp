/* The utility's own connection with the adapter driver: one at a time,
 * allocated on open and freed on close. Every exchange is one device I/O
 * control request carrying the 8204-byte interface block.
 */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "glue.h"
#include "tables.h"

#define BUSY_ATTEMPTS 3
#define BUSY_WAIT_MS 100
#define TYPE_COMPAT_RANGE 0x0827

struct Connection {
    HANDLE device;
    char path[KEY_PATH_SIZE];
    char dosName[64];            /* NT 4 */
    char dosTarget[KEY_PATH_SIZE];
    bool definedDos;             /* this connection defined dosName */
    Block connectBlock;          /* connect and disconnect exchanges */
    Block requestBlock;          /* every other request */
    int family;                  /* 41, 52 or 48; 0 = not connected */
    int openResult;
    int connects;                /* connects not yet undone */
};

static Connection *Conn;

/* One exchange; false when the call itself failed or answered fewer bytes
 * than the block header (then the block still holds the request, or only
 * part of an answer, and none of it is the driver's). *returned: the bytes
 * the driver answered. */
static bool Exchange(HANDLE device, Block *blk, DWORD *returned = NULL)
{
    DWORD id = WLDRV_OBJECT_ID, bytes = 0;
    const bool ok = DeviceIoControl(device, WLDRV_IOCTL, &id, sizeof id, blk->b, WLDRV_BLOCK_SIZE,
                                    &bytes, NULL) != FALSE &&
                    bytes >= WLDRV_HEADER_SIZE;
    if (returned)
        *returned = ok ? bytes : 0;
    return ok;
}

/* A connect exchange: the driver's result and interface pointer, or the
 * preset result and no pointer when the exchange failed. */
static int Connect(Connection *c, uint16_t preset, uint32_t *ifbp)
{
    memset(c->connectBlock.b, 0, WLDRV_BLOCK_SIZE);
    BlockSetHeader(&c->connectBlock, WLDRV_OP_CONNECT, preset, 0, 0);
    if (!Exchange(c->device, &c->connectBlock)) {
        *ifbp = 0;
        return preset;
    }
    *ifbp = BlockIfbp(c->connectBlock);
    return BlockResult(c->connectBlock);
}

static HANDLE OpenDevice(const char *path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, 0, NULL);
}

static void SendDisconnect(Connection *c)
{
    memset(c->connectBlock.b, 0, WLDRV_BLOCK_SIZE);
    BlockSetHeader(&c->connectBlock, WLDRV_OP_DISCONNECT, DRV_PRESET, 0, 0);
    Exchange(c->device, &c->connectBlock);
    if (c->connects > 0)
        c->connects--;
}

/* Get into the request block of connection c (connected or not). */
static int GetWith(Connection *c, uint16_t *ltv, int words)
{
    Block *blk = &c->requestBlock;
    BlockSetHeader(blk, WLDRV_OP_GET_INFO, 0, 0, 0);
    BlockLoadRecord(blk, ltv, words, BLOCK_GET_IN_WORDS);
    DWORD returned;
    if (!Exchange(c->device, blk, &returned))
        return DRV_NOT_CONNECTED;
    const int result = BlockResult(*blk);
    if (result == 0 || result == WLDRV_RES_LEN)
        BlockCopyBack(*blk, ltv, words, returned);
    return result;
}

/* Steps of one device path: open, probe with busy retries, compatibility,
 * reconnect. On success c->device is open and connected; otherwise it is
 * closed. Returns 0, DRV_NOT_CONNECTED (this path failed), WLDRV_RES_IN_USE or
 * WLDRV_RES_INCOMP_DRV. */
static int TryPath(Connection *c, const char *path, bool *opened)
{
    uint32_t ifbp = 0;
    *opened = false;
    for (int attempt = 1;; attempt++) {
        c->device = OpenDevice(path);
        if (c->device == INVALID_HANDLE_VALUE)
            return DRV_NOT_CONNECTED;
        *opened = true;
        const int result = Connect(c, 0, &ifbp);
        if (result == 0 && ifbp != 0)
            break;
        CloseHandle(c->device);
        c->device = INVALID_HANDLE_VALUE;
        if (result != WLDRV_RES_IN_USE)
            return DRV_NOT_CONNECTED;
        if (attempt == BUSY_ATTEMPTS)
            return WLDRV_RES_IN_USE;
        Sleep(BUSY_WAIT_MS);
    }
    c->connects++;
    memset(c->requestBlock.b, 0, WLDRV_BLOCK_SIZE);
    BlockSetIfbp(&c->requestBlock, ifbp);

    /* Role, Id, Variant, Bottom, Top */
    uint16_t range[7] = {6, TYPE_COMPAT_RANGE, 0, 0, 0, 0, 0};
    GetWith(c, range, 7);
    if (range[0] < 6 || !DriverCompatible(range[4], range[5], range[6])) {
        SendDisconnect(c);
        CloseHandle(c->device);
        c->device = INVALID_HANDLE_VALUE;
        return WLDRV_RES_INCOMP_DRV;
    }

    SendDisconnect(c);
    if (Connect(c, DRV_PRESET, &ifbp) != 0 || ifbp == 0) {
        /* a reconnect the driver refused leaves no usable connection */
        CloseHandle(c->device);
        c->device = INVALID_HANDLE_VALUE;
        return DRV_NOT_CONNECTED;
    }
    c->connects++;
    BlockSetIfbp(&c->requestBlock, ifbp);
    snprintf(c->path, sizeof c->path, "%s", path);
    return 0;
}

/* Windows 95/98: the VxD names in order, each also under its "51" name. */
static int OpenVxd(Connection *c)
{
    int rows, last = WLDRV_RES_NO_NIC;
    const char *const *names = VxdNames(&rows);
    for (int r = 0; r < rows; r++) {
        char name[64], path[KEY_PATH_SIZE], retry[KEY_PATH_SIZE];
        if (!FillName(names[r], NULL, name, sizeof name))
            continue;
        snprintf(path, sizeof path, "\\\\.\\%s", name);
        bool opened;
        int rc = TryPath(c, path, &opened);
        if (!opened && Retry51Path(path, retry, sizeof retry))
            rc = TryPath(c, retry, &opened);
        if (rc == 0)
            return 0;
        if (rc != DRV_NOT_CONNECTED)
            last = rc;
    }
    return last;
}

struct WalkOpen {
    Connection *c;
    int os;
    int rc; /* WLDRV_RES_NO_NIC until an adapter opens or fails for good */
};

static bool OpenAdapter(const char *nicKey, void *ctx)
{
    WalkOpen *w = (WalkOpen *)ctx;
    Connection *c = w->c;
    char path[KEY_PATH_SIZE];
    bool opened;
    int rc;
    if (w->os == OS_TYPE_WINNT) {
        char service[64];
        if (!ServiceOfNicKey(nicKey, service, sizeof service))
            return false;
        const int defined = DosDeviceQuery(service);
        if (defined < 0)
            return false;
        snprintf(c->dosName, sizeof c->dosName, "%s", service);
        snprintf(c->dosTarget, sizeof c->dosTarget, "\\Device\\%s", service);
        c->definedDos = false;
        if (defined == 0) {
            if (!DosDeviceDefine(c->dosName, c->dosTarget))
                return false;
            c->definedDos = true;
        }
        snprintf(path, sizeof path, "\\\\.\\%s", service);
        rc = TryPath(c, path, &opened);
        if (rc != 0 && c->definedDos) {
            DosDeviceRemove(c->dosName, c->dosTarget);
            c->definedDos = false;
        }
    } else {
        char id[REG_TEXT_MAX + 1];
        if (!RegReadText(nicKey, "NetCfgInstanceId", id))
            return false;
        snprintf(path, sizeof path, "\\\\.\\%s", id);
        rc = TryPath(c, path, &opened);
    }
    if (rc == DRV_NOT_CONNECTED)
        return false;
    w->rc = rc;
    return true;
}

int DriverOpen(int os)
{
    if (Conn != NULL)
        DriverClose();
    Conn = (Connection *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *Conn);
    if (Conn == NULL)
        return DRV_NO_CONNECTION;
    Conn->device = INVALID_HANDLE_VALUE;
    int rc, family = 0;
    if (os == OS_TYPE_WIN95 || os == OS_TYPE_WIN98) {
        rc = OpenVxd(Conn);
        family = 41;
    } else if (os == OS_TYPE_WINNT || os == OS_TYPE_WIN2000 || os == OS_TYPE_WIN2001) {
        WalkOpen w = {Conn, os, WLDRV_RES_NO_NIC};
        WalkAdapters(os, OpenAdapter, &w);
        rc = w.rc;
        family = os == OS_TYPE_WINNT ? 52 : 48;
    } else {
        rc = WLDRV_RES_NO_NIC;
    }
    Conn->openResult = rc;
    if (rc != 0) {
        HeapFree(GetProcessHeap(), 0, Conn);
        Conn = NULL;
        return rc;
    }
    Conn->family = family;
    return 0;
}

int DriverGet(uint16_t *ltv, int words)
{
    if (Conn == NULL || ltv == NULL || words < 2)
        return DRV_NO_CONNECTION;
    return GetWith(Conn, ltv, words);
}

int DriverPut(uint16_t *ltv, int words)
{
    if (Conn == NULL || ltv == NULL || words < 2)
        return DRV_NO_CONNECTION;
    if (Conn->family == 0)
        return DRV_NOT_CONNECTED;
    Block *blk = &Conn->requestBlock;
    BlockSetHeader(blk, WLDRV_OP_PUT_INFO, 0, 0, 0);
    BlockLoadRecord(blk, ltv, words, WLDRV_LTV_MAX_LEN - 1);
    DWORD returned;
    if (!Exchange(Conn->device, blk, &returned))
        return DRV_NOT_CONNECTED;
    const int result = BlockResult(*blk);
    if (result == 0 || result == WLDRV_RES_LEN)
        BlockCopyBack(*blk, ltv, words, returned);
    return result;
}

int DriverAction(uint16_t code)
{
    if (Conn == NULL)
        return DRV_NO_CONNECTION;
    if (code != 6 && code != 11 && code != 12 && code != 128 && code != WLDRV_ACTION_APPLY)
        return DRV_NO_CONNECTION;
    if (Conn->family == 0)
        return DRV_NOT_CONNECTED;
    Block *blk = &Conn->requestBlock;
    uint8_t saved[4];
    memcpy(saved, blk->b + 8, 2); /* len stays as the previous request left it */
    BlockSetHeader(blk, WLDRV_OP_ACTION, 0, 0, code);
    memcpy(blk->b + 8, saved, 2);
    if (!Exchange(Conn->device, blk))
        return DRV_NOT_CONNECTED;
    return BlockResult(*blk);
}

void DriverClose()
{
    if (Conn == NULL)
        return;
    if (Conn->device != INVALID_HANDLE_VALUE) {
        SendDisconnect(Conn);
        CloseHandle(Conn->device);
    }
    if (Conn->definedDos)
        DosDeviceRemove(Conn->dosName, Conn->dosTarget);
    SecureZeroMemory(Conn, sizeof *Conn);
    HeapFree(GetProcessHeap(), 0, Conn);
    Conn = NULL;
}
