/*
 * wlsim.c - kernel glue of the stand-in adapter driver.
 *
 * Creates the control device \Device\WlSimCtl (\\.\WLSIMCTL) and one device
 * per adapter device name (\Device\WlSim<slot>, linked as
 * \DosDevices\<name>), and hands every request to simcore under one lock.
 * Requests are completed in the dispatch routine; nothing is pended.
 */
#include <ntddk.h>

#include "simcore.h"
#include "simdiag.h"
#include "simworld.h"

#define WLSIM_TAG 0x6D69536Cu /* "lSim" */
#define LINK_PREFIX L"\\DosDevices\\"
#define DEVICE_PREFIX L"\\Device\\WlSim"

typedef struct SimDevExt {
    int isControl;
    int slot;                            /* adapter devices: name slot */
    char name[WLSIM_NAME_CHARS];         /* the name the link was made for */
    WCHAR linkBuf[sizeof LINK_PREFIX / sizeof(WCHAR) + WLSIM_NAME_CHARS];
    UNICODE_STRING link;
} SimDevExt;

static PDRIVER_OBJECT Driver;
static PDEVICE_OBJECT ControlDevice;
static PDEVICE_OBJECT SlotDevices[WLSIM_MAX_NAMES];
static KMUTEX Lock;

/* Request and answer buffers of the control device, used under Lock. */
static union {
    WlSimAdapterId id;
    WlSimAddAdapter add;
    WlSimMapName map;
    WlSimRecord rec;
    WlSimRecordKey key;
    WlSimFault fault;
    WlSimDiagQuery diag;
    WlSimDiagConfig diagConfig;
} In;

static union {
    WlSimAdapterId id;
    WlSimRecord rec;
    WlSimCounters counters;
    WlSimExchangeLog log;
    WlSimDiagMsg diag;
    WlSimAdapterState state;
    WlSimNameList names;
    WlSimDiagState diagState;
} Out;

void *SimAlloc(uint32_t bytes)
{
    return ExAllocatePoolWithTag(NonPagedPool, bytes, WLSIM_TAG);
}

void SimFree(void *p)
{
    if (p)
        ExFreePoolWithTag(p, WLSIM_TAG);
}

static void LockCore(void)
{
    KeWaitForSingleObject(&Lock, Executive, KernelMode, FALSE, NULL);
}

static void UnlockCore(void)
{
    KeReleaseMutex(&Lock, FALSE);
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR info)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = info;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS StatusOf(int simStatus)
{
    switch (simStatus) {
    case SIM_OK:
        return STATUS_SUCCESS;
    case SIM_E_PARAM:
        return STATUS_INVALID_PARAMETER;
    case SIM_E_NOT_FOUND:
        return STATUS_NOT_FOUND;
    case SIM_E_EXISTS:
        return STATUS_OBJECT_NAME_COLLISION;
    case SIM_E_FULL:
        return STATUS_QUOTA_EXCEEDED;
    default:
        return STATUS_INSUFFICIENT_RESOURCES;
    }
}

/* Appends ASCII text to a wide buffer of `cap` characters; 0 if it does
 * not fit with its terminator. */
static int AppendWide(WCHAR *buf, int cap, int *pos, const char *text)
{
    while (*text) {
        if (*pos >= cap - 1)
            return 0;
        buf[(*pos)++] = (WCHAR)(unsigned char)*text++;
    }
    buf[*pos] = 0;
    return 1;
}

/* ---- adapter devices -------------------------------------------------- */

static void DeleteSlotDevice(int slot)
{
    PDEVICE_OBJECT dev = SlotDevices[slot];
    SimDevExt *ext;
    if (!dev)
        return;
    ext = (SimDevExt *)dev->DeviceExtension;
    IoDeleteSymbolicLink(&ext->link);
    SlotDevices[slot] = NULL;
    IoDeleteDevice(dev);
}

static NTSTATUS CreateSlotDevice(int slot, const char *name)
{
    static const WCHAR linkPrefix[] = LINK_PREFIX;
    static const WCHAR devPrefix[] = DEVICE_PREFIX;
    WCHAR devBuf[sizeof devPrefix / sizeof(WCHAR) + 4];
    UNICODE_STRING devName;
    PDEVICE_OBJECT dev;
    SimDevExt *ext;
    NTSTATUS status;
    int pos;

    RtlCopyMemory(devBuf, devPrefix, sizeof devPrefix);
    pos = sizeof devPrefix / sizeof(WCHAR) - 1;
    if (slot >= 10)
        devBuf[pos++] = (WCHAR)(L'0' + slot / 10);
    devBuf[pos++] = (WCHAR)(L'0' + slot % 10);
    devBuf[pos] = 0;
    RtlInitUnicodeString(&devName, devBuf);

    status = IoCreateDevice(Driver, sizeof(SimDevExt), &devName, FILE_DEVICE_UNKNOWN, 0, FALSE,
                            &dev);
    if (!NT_SUCCESS(status))
        return status;
    ext = (SimDevExt *)dev->DeviceExtension;
    RtlZeroMemory(ext, sizeof *ext);
    ext->slot = slot;
    RtlCopyMemory(ext->name, name, WLSIM_NAME_CHARS);
    RtlCopyMemory(ext->linkBuf, linkPrefix, sizeof linkPrefix);
    pos = sizeof linkPrefix / sizeof(WCHAR) - 1;
    if (!AppendWide(ext->linkBuf, sizeof ext->linkBuf / sizeof(WCHAR), &pos, name)) {
        IoDeleteDevice(dev);
        return STATUS_OBJECT_NAME_INVALID;
    }
    RtlInitUnicodeString(&ext->link, ext->linkBuf);
    status = IoCreateSymbolicLink(&ext->link, &devName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(dev);
        return status;
    }
    dev->Flags &= ~DO_DEVICE_INITIALIZING;
    SlotDevices[slot] = dev;
    return STATUS_SUCCESS;
}

/* Makes the devices follow the core's name table. A name whose device
 * cannot be made is taken out of the table again; the first failure is
 * returned. */
static NTSTATUS SyncDevices(void)
{
    NTSTATUS first = STATUS_SUCCESS;
    int slot;

    for (slot = 0; slot < WLSIM_MAX_NAMES; slot++) {
        const char *name = SimCoreSlotName(slot);
        PDEVICE_OBJECT dev = SlotDevices[slot];
        if (dev && (!name || strcmp(((SimDevExt *)dev->DeviceExtension)->name, name) != 0))
            DeleteSlotDevice(slot);
        if (name && !SlotDevices[slot]) {
            NTSTATUS status = CreateSlotDevice(slot, name);
            if (!NT_SUCCESS(status)) {
                WlSimMapName unmap;
                RtlZeroMemory(&unmap, sizeof unmap);
                unmap.adapter = WLSIM_ANY_ADAPTER;
                RtlCopyMemory(unmap.name, name, WLSIM_NAME_CHARS);
                SimCoreMapName(&unmap);
                if (NT_SUCCESS(first))
                    first = status;
            }
        }
    }
    return first;
}

/* The name slot a request reaches, or -1 for a device no longer current. */
static int SlotOf(PDEVICE_OBJECT dev)
{
    SimDevExt *ext = (SimDevExt *)dev->DeviceExtension;
    if (ext->slot < 0 || ext->slot >= WLSIM_MAX_NAMES || SlotDevices[ext->slot] != dev)
        return -1;
    return ext->slot;
}

static NTSTATUS AdapterRequest(PDEVICE_OBJECT dev, PIRP irp, PIO_STACK_LOCATION sp)
{
    ULONG outLen = sp->Parameters.DeviceIoControl.OutputBufferLength;
    void *block = NULL;
    uint32_t failStatus = 0;
    int rc;

    if (sp->Parameters.DeviceIoControl.IoControlCode != WLSIM_IOCTL_ADAPTER)
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    if (irp->MdlAddress && outLen) {
        block = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
        if (!block)
            return Complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
    } else {
        outLen = 0;
    }

    LockCore();
    rc = SimCoreExchange(SlotOf(dev), irp->AssociatedIrp.SystemBuffer,
                         sp->Parameters.DeviceIoControl.InputBufferLength, block, outLen,
                         &failStatus);
    UnlockCore();

    switch (rc) {
    case SIM_XCHG_ANSWERED:
        return Complete(irp, STATUS_SUCCESS, WLSIM_BLOCK_SIZE);
    case SIM_XCHG_BAD_INPUT:
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    case SIM_XCHG_SHORT_OUTPUT:
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    case SIM_XCHG_NO_ADAPTER:
        return Complete(irp, STATUS_NO_SUCH_DEVICE, 0);
    case SIM_XCHG_SHORT_ANSWER:
        return Complete(irp, STATUS_SUCCESS, failStatus);
    default:
        return Complete(irp, (NTSTATUS)failStatus, 0);
    }
}

/* ---- control device --------------------------------------------------- */

typedef struct ControlShape {
    ULONG code;
    ULONG inSize;
    ULONG outSize;
} ControlShape;

static const ControlShape Shapes[] = {
    {IOCTL_WLSIM_RESET, 0, 0},
    {IOCTL_WLSIM_ADD_ADAPTER, sizeof(WlSimAddAdapter), sizeof(WlSimAdapterId)},
    {IOCTL_WLSIM_REMOVE_ADAPTER, sizeof(WlSimAdapterId), 0},
    {IOCTL_WLSIM_MAP_NAME, sizeof(WlSimMapName), 0},
    {IOCTL_WLSIM_SET_RECORD, sizeof(WlSimRecord), 0},
    {IOCTL_WLSIM_GET_RECORD, sizeof(WlSimRecordKey), sizeof(WlSimRecord)},
    {IOCTL_WLSIM_DELETE_RECORD, sizeof(WlSimRecordKey), 0},
    {IOCTL_WLSIM_FAULT, sizeof(WlSimFault), 0},
    {IOCTL_WLSIM_CLEAR_LOG, 0, 0},
    {IOCTL_WLSIM_COUNTERS, 0, sizeof(WlSimCounters)},
    {IOCTL_WLSIM_EXCHANGES, 0, sizeof(WlSimExchangeLog)},
    {IOCTL_WLSIM_DIAG, sizeof(WlSimDiagQuery), sizeof(WlSimDiagMsg)},
    {IOCTL_WLSIM_ADAPTER_STATE, sizeof(WlSimAdapterId), sizeof(WlSimAdapterState)},
    {IOCTL_WLSIM_NAMES, 0, sizeof(WlSimNameList)},
    {IOCTL_WLSIM_DIAG_CONFIG, sizeof(WlSimDiagConfig), 0},
    {IOCTL_WLSIM_DIAG_STATE, sizeof(WlSimAdapterId), sizeof(WlSimDiagState)},
};

/* Runs one control request on In and Out; *outBytes is the answer's size. */
static NTSTATUS RunControl(ULONG code, ULONG *outBytes)
{
    NTSTATUS status;
    int rc = SIM_OK;

    switch (code) {
    case IOCTL_WLSIM_RESET:
        SimCoreReset();
        return SyncDevices();
    case IOCTL_WLSIM_ADD_ADAPTER:
        rc = SimCoreAddAdapter(&In.add, &Out.id.adapter);
        if (rc != SIM_OK)
            break;
        status = SyncDevices();
        if (!NT_SUCCESS(status)) {
            SimCoreRemoveAdapter(Out.id.adapter);
            SyncDevices();
            return status;
        }
        *outBytes = sizeof Out.id;
        return STATUS_SUCCESS;
    case IOCTL_WLSIM_REMOVE_ADAPTER:
        rc = SimCoreRemoveAdapter(In.id.adapter);
        if (rc == SIM_OK)
            return SyncDevices();
        break;
    case IOCTL_WLSIM_MAP_NAME:
        rc = SimCoreMapName(&In.map);
        if (rc == SIM_OK)
            return SyncDevices();
        break;
    case IOCTL_WLSIM_SET_RECORD:
        rc = SimCoreSetRecord(&In.rec);
        break;
    case IOCTL_WLSIM_GET_RECORD:
        rc = SimCoreGetRecord(&In.key, &Out.rec);
        *outBytes = sizeof Out.rec;
        break;
    case IOCTL_WLSIM_DELETE_RECORD:
        rc = SimCoreDeleteRecord(&In.key);
        break;
    case IOCTL_WLSIM_FAULT:
        rc = SimCoreSetFault(&In.fault);
        break;
    case IOCTL_WLSIM_CLEAR_LOG:
        SimCoreClearLog();
        break;
    case IOCTL_WLSIM_COUNTERS:
        SimCoreCounters(&Out.counters);
        *outBytes = sizeof Out.counters;
        break;
    case IOCTL_WLSIM_EXCHANGES:
        SimCoreExchanges(&Out.log);
        *outBytes = sizeof Out.log;
        break;
    case IOCTL_WLSIM_DIAG:
        rc = SimCoreDiag(&In.diag, &Out.diag);
        *outBytes = sizeof Out.diag;
        break;
    case IOCTL_WLSIM_ADAPTER_STATE:
        rc = SimCoreAdapterState(In.id.adapter, &Out.state);
        *outBytes = sizeof Out.state;
        break;
    case IOCTL_WLSIM_DIAG_CONFIG: /* the adapter state read checks the index */
        rc = SimCoreAdapterState(In.diagConfig.adapter, &Out.state);
        if (rc == SIM_OK)
            SimDiagConfigure(&In.diagConfig);
        break;
    case IOCTL_WLSIM_DIAG_STATE:
        rc = SimCoreAdapterState(In.id.adapter, &Out.state);
        if (rc == SIM_OK) {
            SimDiagGetState(In.id.adapter, &Out.diagState);
            *outBytes = sizeof Out.diagState;
        }
        break;
    default: /* IOCTL_WLSIM_NAMES */
        SimCoreNames(&Out.names);
        *outBytes = sizeof Out.names;
        break;
    }
    if (rc != SIM_OK)
        *outBytes = 0;
    return StatusOf(rc);
}

/* Requests of the radio world: stations and mailboxes. */
static NTSTATUS WorldRequest(PIRP irp, ULONG code, ULONG inLen, ULONG outLen, void *buf)
{
    uint32_t inSize, outSize, outBytes = 0;
    int rc;

    if (!SimWorldControlShape(code, &inSize, &outSize))
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    if (inLen != inSize || (inSize && !buf))
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    if (outLen < outSize || (outSize && !buf))
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    LockCore();
    rc = SimWorldControl(code, buf, buf, &outBytes);
    UnlockCore();
    return Complete(irp, StatusOf(rc), rc == SIM_OK ? outBytes : 0);
}

static NTSTATUS ControlRequest(PIRP irp, PIO_STACK_LOCATION sp)
{
    ULONG code = sp->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLen = sp->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLen = sp->Parameters.DeviceIoControl.OutputBufferLength;
    void *buf = irp->AssociatedIrp.SystemBuffer;
    const ControlShape *shape = NULL;
    ULONG outBytes = 0;
    NTSTATUS status;
    unsigned i;

    for (i = 0; i < sizeof Shapes / sizeof Shapes[0]; i++)
        if (Shapes[i].code == code)
            shape = &Shapes[i];
    if (!shape)
        return WorldRequest(irp, code, inLen, outLen, buf);
    if (inLen != shape->inSize || (shape->inSize && !buf))
        return Complete(irp, STATUS_INVALID_PARAMETER, 0);
    if (outLen < shape->outSize || (shape->outSize && !buf))
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);

    LockCore();
    /* input and answer share the system buffer: take the input first */
    if (shape->inSize)
        RtlCopyMemory(&In, buf, shape->inSize);
    status = RunControl(code, &outBytes);
    if (NT_SUCCESS(status) && outBytes)
        RtlCopyMemory(buf, &Out, outBytes);
    else
        outBytes = 0;
    UnlockCore();
    return Complete(irp, status, outBytes);
}

/* ---- dispatch and lifecycle ------------------------------------------- */

static NTSTATUS NTAPI DispatchCreateClose(PDEVICE_OBJECT dev, PIRP irp)
{
    SimDevExt *ext = (SimDevExt *)dev->DeviceExtension;
    UCHAR major = IoGetCurrentIrpStackLocation(irp)->MajorFunction;

    if (!ext->isControl && (major == IRP_MJ_CREATE || major == IRP_MJ_CLOSE)) {
        LockCore();
        SimCoreHandle(SlotOf(dev), major == IRP_MJ_CREATE);
        UnlockCore();
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchDeviceControl(PDEVICE_OBJECT dev, PIRP irp)
{
    SimDevExt *ext = (SimDevExt *)dev->DeviceExtension;
    PIO_STACK_LOCATION sp = IoGetCurrentIrpStackLocation(irp);

    if (ext->isControl)
        return ControlRequest(irp, sp);
    return AdapterRequest(dev, irp, sp);
}

static VOID NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    int slot;
    (void)driver;
    LockCore();
    for (slot = 0; slot < WLSIM_MAX_NAMES; slot++)
        DeleteSlotDevice(slot);
    SimCoreShutdown();
    UnlockCore();
    if (ControlDevice) {
        SimDevExt *ext = (SimDevExt *)ControlDevice->DeviceExtension;
        IoDeleteSymbolicLink(&ext->link);
        IoDeleteDevice(ControlDevice);
        ControlDevice = NULL;
    }
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    static const WCHAR controlLink[] = L"\\DosDevices\\WLSIMCTL";
    UNICODE_STRING devName;
    SimDevExt *ext;
    NTSTATUS status;

    (void)registryPath;
    Driver = driver;
    SimCoreInit();
    KeInitializeMutex(&Lock, 0);

    RtlInitUnicodeString(&devName, L"\\Device\\WlSimCtl");
    status = IoCreateDevice(driver, sizeof(SimDevExt), &devName, FILE_DEVICE_UNKNOWN, 0, FALSE,
                            &ControlDevice);
    if (!NT_SUCCESS(status))
        return status;
    ext = (SimDevExt *)ControlDevice->DeviceExtension;
    RtlZeroMemory(ext, sizeof *ext);
    ext->isControl = 1;
    ext->slot = -1;
    RtlCopyMemory(ext->linkBuf, controlLink, sizeof controlLink);
    RtlInitUnicodeString(&ext->link, ext->linkBuf);
    status = IoCreateSymbolicLink(&ext->link, &devName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(ControlDevice);
        ControlDevice = NULL;
        return status;
    }

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;
    ControlDevice->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}
