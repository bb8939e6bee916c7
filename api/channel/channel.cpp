/*
 * The driver channel: one device handle and one 8204-byte interface block
 * per process; every request is one device I/O control call carrying the
 * block with an operation code and one LTV record.
 */
#include <stdio.h>

#include "wlvariant.h"
#include "trace/wltrace.h"
#include "nic/wlnic.h"
#include "channel/wlchannel.h"
#include "wlcore/siblings.h"

static HANDLE s_Device = INVALID_HANDLE_VALUE;
static char s_DeviceNic[NIC_ID_SIZE + 1]; /* adapter the open device serves */
static HANDLE s_ParkedDevice = INVALID_HANDLE_VALUE;
static char s_ParkedNic[NIC_ID_SIZE + 1];
static WLDrvBlock s_Ifb;
static unsigned long s_Exchanges;
static DWORD s_Returned; /* bytes of the block the last exchange answered */

unsigned long ChannelExchangeCount(void) { return s_Exchanges; }

/* One device I/O control call with the block; answers the call's success. */
static BOOL ChannelExchange(unsigned short function)
{
    static const DWORD objectId = WLDRV_OBJECT_ID;
    s_Ifb.function = function;
    s_Ifb.result = 0;
    WLLog("Data1: ifbp %p, result %d, function %d, len %d, typ %x\n", (void *)(UINT_PTR)s_Ifb.ifbp,
          0, s_Ifb.function, s_Ifb.len, s_Ifb.typ);
    DWORD bytes = 0;
    s_Exchanges++;
    BOOL ok = DeviceIoControl(s_Device, WLDRV_IOCTL, (LPVOID)&objectId, sizeof objectId, &s_Ifb,
                              sizeof s_Ifb, &bytes, NULL);
    if (!ok) WLLog("DeviceIoControl returned GetLastError %d\n", (int)GetLastError());
    WLLog("_DeviceIoControl read %d bytes\n", (int)bytes);
    WLLog("_DeviceIoControl returned %d\n", ok ? 1 : 0);
    /* Fewer bytes than the header answer nothing: the block still holds the
     * request, which must not be taken for the driver's answer. */
    if (ok && bytes < WLDRV_HEADER_SIZE) {
        WLLog("_DeviceIoControl answer shorter than the block header\n");
        ok = FALSE;
    }
    s_Returned = ok ? bytes : 0;
    WLLog("Data2: ifbp %p, result %d, function %d, len %d, typ %x\n", (void *)(UINT_PTR)s_Ifb.ifbp,
          s_Ifb.result, s_Ifb.function, s_Ifb.len, s_Ifb.typ);
    return ok;
}

/* Reports a non-zero low-level code and maps it to a WL_* code. */
static int LowLevelResult(const char *operation, int code)
{
    if (code == 0) return WL_SUCCESS;
    char text[260];
    snprintf(text, sizeof text, "<%s> low level error code [%s] (0x%x, %d)", operation,
             ReturnCodeName(code), (unsigned)code, code);
    WLGeneralErrorStringSet(text);
    switch (code) {
    case WLDRV_RES_INCOMP_DRV: return WL_INCOMPATIBLE;
    case WLDRV_RES_IN_USE: return WL_IN_USE;
    case WLDRV_RES_BUSY: return WL_DRIVER_BUSY;
    case WLDRV_RES_LEN: return WL_INPUT_BUFFER_INSUFFICIENT;
    default: return WL_GENERAL_ERROR;
    }
}

/* The device this library variant opens, in the device namespace. */
static bool DeviceName(char *name, size_t size)
{
    char id[256];
    if (VariantOpensVxdName()) {
        DWORD n = sizeof id;
        char device[256];
        if (WLDAINameGet(id, &n) != WL_SUCCESS || n < 2) return false;
        if (WLSiblingName(id, WL_SIBLING_DEVICE, ".vxd", device, sizeof device) < 0) return false;
        snprintf(name, size, "\\\\.\\%s", device);
    } else {
        DWORD n = sizeof id;
        if (WLGUIDGet(id, &n) != WL_SUCCESS) return false;
        snprintf(name, size, "\\\\.\\%s", id);
    }
    return true;
}

static int DoConnect(void)
{
    char name[300];
    if (!DeviceName(name, sizeof name)) {
        WLLog("CreateFile returned GetLastError %d\n", (int)ERROR_FILE_NOT_FOUND);
        return WLDRV_RES_NO_NIC;
    }
    s_Device = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (s_Device == INVALID_HANDLE_VALUE) {
        WLLog("CreateFile returned GetLastError %d\n", (int)GetLastError());
        return WLDRV_RES_NO_NIC;
    }
    BOOL ok = ChannelExchange(WLDRV_OP_CONNECT);
    if (!ok || s_Ifb.result != 0) {
        CloseHandle(s_Device);
        s_Device = INVALID_HANDLE_VALUE;
    } else {
        snprintf(s_DeviceNic, sizeof s_DeviceNic, "%s", CurrentNic());
    }
    return ok ? s_Ifb.result : WLDRV_RES_NO_NIC;
}

int ChannelConnect(void)
{
    int code = CurrentNic() ? DoConnect() : WL_DATA_NOT_AVAILABLE;
    return LowLevelResult("connect", code);
}

/*
 * Always ends disconnected: an open handle is closed whatever the driver
 * answers, and even when the adapter selection was cleared after connecting
 * (the handle still belongs to the device it was opened on).
 */
int ChannelDisconnect(void)
{
    if (s_Device == INVALID_HANDLE_VALUE)
        return CurrentNic() ? WL_SUCCESS : LowLevelResult("disconnect", WL_DATA_NOT_AVAILABLE);
    ChannelExchange(WLDRV_OP_DISCONNECT);
    CloseHandle(s_Device);
    s_Device = INVALID_HANDLE_VALUE;
    s_DeviceNic[0] = '\0';
    return WL_SUCCESS;
}

bool ChannelServesCurrentNic(void)
{
    if (s_Device == INVALID_HANDLE_VALUE) return false;
    /* Variants C and E open one device for all adapters of the driver. */
    if (VariantOpensVxdName()) return true;
    const char *nic = CurrentNic();
    return nic != NULL && strcmp(nic, s_DeviceNic) == 0;
}

void ChannelPark(void)
{
    s_ParkedDevice = s_Device;
    memcpy(s_ParkedNic, s_DeviceNic, sizeof s_ParkedNic);
    s_Device = INVALID_HANDLE_VALUE;
    s_DeviceNic[0] = '\0';
}

void ChannelUnpark(void)
{
    if (s_Device != INVALID_HANDLE_VALUE) ChannelDisconnect();
    s_Device = s_ParkedDevice;
    memcpy(s_DeviceNic, s_ParkedNic, sizeof s_DeviceNic);
    s_ParkedDevice = INVALID_HANDLE_VALUE;
    s_ParkedNic[0] = '\0';
}

/*
 * get_info and put_info: the caller's record goes into the block and the
 * answer comes back over it. A record longer than the block holds is refused
 * with the length error, and the answer is never copied beyond the size the
 * caller's record declared, nor beyond the bytes the driver returned.
 */
static int RecordExchange(unsigned short op, WL_LTV *Ltv, int failedCall)
{
    unsigned short room = Ltv->len; /* words after len the caller's record holds */
    if (room > WL_IFB_MAX_LEN) return WLDRV_RES_LEN;
    s_Ifb.len = room;
    s_Ifb.typ = room >= 1 ? Ltv->typ : 0;
    if (room > 1) memcpy(s_Ifb.val, (const unsigned char *)Ltv + 4, 2u * (room - 1));
    if (!ChannelExchange(op)) return failedCall;
    /* Only the bytes returned are the driver's: typ and the value words
     * within them bound the copy as much as the caller's room does. */
    DWORD returned = s_Returned < sizeof s_Ifb ? s_Returned : (DWORD)sizeof s_Ifb;
    unsigned short carried = (unsigned short)(1 + (returned - WLDRV_HEADER_SIZE) / 2);
    unsigned short back = s_Ifb.len < room ? s_Ifb.len : room;
    if (back > carried) back = carried;
    Ltv->len = back;
    if (back >= 1) Ltv->typ = s_Ifb.typ;
    if (back > 1) memcpy((unsigned char *)Ltv + 4, s_Ifb.val, 2u * (back - 1));
    return s_Ifb.result;
}

int ChannelGetInfo(WL_LTV *Ltv)
{
    int code = CurrentNic() ? RecordExchange(WLDRV_OP_GET_INFO, Ltv, WL_DATA_NOT_AVAILABLE) : WL_DATA_NOT_AVAILABLE;
    return LowLevelResult("get_info", code);
}

int ChannelPutInfo(WL_LTV *Ltv)
{
    int code = CurrentNic() ? RecordExchange(WLDRV_OP_PUT_INFO, Ltv, WL_DATA_NOT_WRITEABLE) : WL_DATA_NOT_AVAILABLE;
    return LowLevelResult("put_info", code);
}

int ChannelAction(unsigned short Code)
{
    int code = WL_DATA_NOT_AVAILABLE;
    if (CurrentNic()) {
        s_Ifb.typ = Code;
        code = ChannelExchange(WLDRV_OP_ACTION) ? s_Ifb.result : WL_DATA_NOT_WRITEABLE;
    }
    return LowLevelResult("action", code);
}

int ChannelSendDiagMsg(const void *Msg, unsigned short Len)
{
    int code = WL_DATA_NOT_AVAILABLE;
    if (CurrentNic()) {
        if (Len > sizeof s_Ifb.val) {
            code = WLDRV_RES_LEN;
        } else {
            s_Ifb.len = Len;
            s_Ifb.typ = 0;
            memcpy(s_Ifb.val, Msg, Len);
            code = ChannelExchange(WLDRV_OP_SEND_DIAG_MSG) ? s_Ifb.result : WL_DATA_NOT_WRITEABLE;
        }
    }
    return LowLevelResult("send_diag_msg", code);
}

/* The library is unloaded while connected: tell the driver this client is
 * gone, so that the next one is not refused as "in use", and close. */
void ChannelDetach(void)
{
    if (s_ParkedDevice != INVALID_HANDLE_VALUE) ChannelUnpark();
    if (s_Device == INVALID_HANDLE_VALUE) return;
    ChannelExchange(WLDRV_OP_DISCONNECT);
    CloseHandle(s_Device);
    s_Device = INVALID_HANDLE_VALUE;
}
