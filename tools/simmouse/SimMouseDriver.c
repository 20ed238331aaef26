/* simmouse.sys: the simulated mouse as a kernel driver for Wine's winedevice.exe. It makes
 * "\\.\KV-QuellarDevice", answered by the device model, and "\\.\SimMouseControl", the
 * control channel, and keeps the mouse's memory in a file from one start to the next. It
 * imports from ntoskrnl only; anything else would make Wine's loader take it for an
 * ordinary DLL. */
#include <ntifs.h>
#include <ntimage.h>
#include "SimControl.h"

NTSYSAPI PVOID NTAPI RtlImageDirectoryEntryToData(PVOID base, BOOLEAN image, USHORT directory, PULONG size);
DRIVER_INITIALIZE DriverEntry;

typedef NTSTATUS(NTAPI* ReleaseSemaphoreProc)(HANDLE semaphore, LONG count, PLONG previous);
typedef PVOID(NTAPI* PcToFileHeaderProc)(PVOID pc, PVOID* base);

static SimDevice g_model;
static KMUTEX g_lock;
static PDEVICE_OBJECT g_mouse;
static PDEVICE_OBJECT g_control;
static HANDLE g_semaphore;           /* the service's semaphore, duplicated into this process */
static PFILE_OBJECT g_registrant;    /* the open handle that registered it */
static PFILE_OBJECT g_requestFile;   /* the handle of the request being answered */
static ReleaseSemaphoreProc g_releaseSemaphore;
static SimMemory g_kept;             /* the memory image as the file holds it */

static const WCHAR MOUSE_NAME[] = L"\\Device\\KV-QuellarDevice";
static const WCHAR MOUSE_LINK[] = L"\\??\\KV-QuellarDevice";
static const WCHAR CONTROL_NAME[] = L"\\Device\\SimMouseControl";
static const WCHAR CONTROL_LINK[] = L"\\??\\SimMouseControl";
static const WCHAR MEMORY_FILE[] = L"\\??\\" SIMMOUSE_MEMORY_PATH;

/* The kernel cannot reference a semaphore handle of a user process here, and ntoskrnl does
 * not export NtReleaseSemaphore: it is looked up in ntdll, found through an export that
 * ntoskrnl forwards there. */
static ReleaseSemaphoreProc FindReleaseSemaphore(void)
{
    UNICODE_STRING name;
    PVOID base = NULL;
    ULONG size = 0;
    RtlInitUnicodeString(&name, L"RtlPcToFileHeader");
    PcToFileHeaderProc pcToFileHeader = (PcToFileHeaderProc)MmGetSystemRoutineAddress(&name);
    RtlInitUnicodeString(&name, L"NlsAnsiCodePage");
    PVOID inNtdll = MmGetSystemRoutineAddress(&name);
    if (!pcToFileHeader || !inNtdll || !pcToFileHeader(inNtdll, &base) || !base) return NULL;
    PIMAGE_EXPORT_DIRECTORY exports =
        (PIMAGE_EXPORT_DIRECTORY)RtlImageDirectoryEntryToData(base, TRUE, IMAGE_DIRECTORY_ENTRY_EXPORT, &size);
    if (!exports) return NULL;
    const UCHAR* image = (const UCHAR*)base;
    const ULONG* names = (const ULONG*)(image + exports->AddressOfNames);
    const USHORT* ordinals = (const USHORT*)(image + exports->AddressOfNameOrdinals);
    const ULONG* functions = (const ULONG*)(image + exports->AddressOfFunctions);
    static const char wanted[] = "NtReleaseSemaphore";
    for (ULONG i = 0; i < exports->NumberOfNames; ++i) {
        const char* n = (const char*)(image + names[i]);
        ULONG k = 0;
        while (wanted[k] && n[k] == wanted[k]) ++k;
        if (!wanted[k] && !n[k]) return (ReleaseSemaphoreProc)(ULONG_PTR)(image + functions[ordinals[i]]);
    }
    return NULL;
}

static int64_t HostNow(void* context)
{
    UNREFERENCED_PARAMETER(context);
    return KeQueryPerformanceCounter(NULL).QuadPart;
}

static void CloseSemaphore(void)
{
    if (g_semaphore) ZwClose(g_semaphore);
    g_semaphore = NULL;
    g_registrant = NULL;
}

/* Runs inside the registration request, so the current process is the caller's: its
 * handle is duplicated into this process. */
static int HostRegisterEvent(void* context, uint32_t handleBits)
{
    OBJECT_ATTRIBUTES attributes;
    CLIENT_ID client;
    HANDLE process = NULL, copy = NULL;
    UNREFERENCED_PARAMETER(context);
    InitializeObjectAttributes(&attributes, NULL, OBJ_KERNEL_HANDLE, NULL, NULL);
    client.UniqueProcess = PsGetCurrentProcessId();
    client.UniqueThread = NULL;
    if (!NT_SUCCESS(ZwOpenProcess(&process, PROCESS_DUP_HANDLE, &attributes, &client))) return 0;
    /* A handle's 32 significant bits widen with their sign. */
    HANDLE theirs = (HANDLE)(LONG_PTR)(LONG)handleBits;
    NTSTATUS status = ZwDuplicateObject(process, theirs, NtCurrentProcess(), &copy,
                                        SEMAPHORE_MODIFY_STATE | SYNCHRONIZE, 0, 0);
    ZwClose(process);
    if (!NT_SUCCESS(status)) return 0;
    CloseSemaphore();
    g_semaphore = copy;
    g_registrant = g_requestFile;
    return 1;
}

static void HostUnregisterEvent(void* context)
{
    UNREFERENCED_PARAMETER(context);
    CloseSemaphore();
}

static void HostSignal(void* context, int32_t count)
{
    UNREFERENCED_PARAMETER(context);
    if (g_semaphore && g_releaseSemaphore) g_releaseSemaphore(g_semaphore, count, NULL);
}

static NTSTATUS StatusOf(SimResult r)
{
    switch (r) {
    case SIM_OK: return STATUS_SUCCESS;
    case SIM_BAD_SIZE: return STATUS_INFO_LENGTH_MISMATCH;
    case SIM_BAD_VALUE: return STATUS_INVALID_PARAMETER;
    case SIM_NOT_CONNECTED: return STATUS_DEVICE_NOT_CONNECTED;
    case SIM_NO_EVENT: return STATUS_NO_MORE_ENTRIES;
    case SIM_UNKNOWN_REQUEST: return STATUS_INVALID_DEVICE_REQUEST;
    case SIM_BAD_HANDLE: return STATUS_INVALID_HANDLE;
    case SIM_QUEUE_FULL: return STATUS_INSUFFICIENT_RESOURCES;
    default: return STATUS_UNSUCCESSFUL;
    }
}

static NTSTATUS OpenMemoryFile(HANDLE* file, ACCESS_MASK access, ULONG disposition)
{
    UNICODE_STRING name;
    OBJECT_ATTRIBUTES attributes;
    IO_STATUS_BLOCK io;
    RtlInitUnicodeString(&name, MEMORY_FILE);
    InitializeObjectAttributes(&attributes, &name, OBJ_KERNEL_HANDLE | OBJ_CASE_INSENSITIVE, NULL, NULL);
    return ZwCreateFile(file, access | SYNCHRONIZE, &attributes, &io, NULL, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ,
                        disposition, FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, NULL, 0);
}

/* At the start: the settings the mouse kept, when the file holds a whole image. */
static void LoadMemory(void)
{
    HANDLE file;
    IO_STATUS_BLOCK io;
    UCHAR image[sizeof(SimMemory) + 1]; /* one more, so a longer file is seen */
    if (NT_SUCCESS(OpenMemoryFile(&file, GENERIC_READ, FILE_OPEN))) {
        if (NT_SUCCESS(ZwReadFile(file, NULL, NULL, NULL, &io, image, sizeof(image), NULL, NULL)))
            SimDeviceLoadMemory(&g_model, image, (uint32_t)io.Information);
        ZwClose(file);
    }
    SimDeviceSaveMemory(&g_model, &g_kept);
}

/* After every request: a kept setting that changed is written at once, as the mouse
 * writes its own memory. A failed write is tried again after the next request. */
static void StoreMemory(void)
{
    SimMemory now;
    HANDLE file;
    IO_STATUS_BLOCK io;
    SimDeviceSaveMemory(&g_model, &now);
    if (RtlCompareMemory(&now, &g_kept, sizeof(now)) == sizeof(now)) return;
    if (!NT_SUCCESS(OpenMemoryFile(&file, GENERIC_WRITE, FILE_OVERWRITE_IF))) return;
    if (NT_SUCCESS(ZwWriteFile(file, NULL, NULL, NULL, &io, &now, sizeof(now), NULL, NULL)) && io.Information == sizeof(now))
        g_kept = now;
    ZwClose(file);
}

static void LockModel(void)
{
    KeWaitForSingleObject(&g_lock, Executive, KernelMode, FALSE, NULL);
}

static void UnlockModel(void)
{
    KeReleaseMutex(&g_lock, FALSE);
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information)
{
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DispatchCreateClose(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    if (device == g_mouse) {
        LockModel();
        if (stack->MajorFunction == IRP_MJ_CREATE)
            SimDeviceOpened(&g_model);
        else if (stack->MajorFunction == IRP_MJ_CLOSE)
            SimDeviceClosed(&g_model, stack->FileObject == g_registrant);
        UnlockModel();
    }
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI DispatchControl(PDEVICE_OBJECT device, PIRP irp)
{
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inSize = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
    PVOID buffer = irp->AssociatedIrp.SystemBuffer;
    uint32_t returned = 0;
    SimResult r;
    LockModel();
    g_requestFile = stack->FileObject;
    if (device == g_mouse)
        r = SimDeviceControl(&g_model, code, buffer, inSize, buffer, outSize, &returned);
    else
        r = SimControlRequest(&g_model, code, buffer, inSize, buffer, outSize, &returned);
    g_requestFile = NULL;
    StoreMemory();
    UnlockModel();
    return Complete(irp, StatusOf(r), returned);
}

static void MakeName(UNICODE_STRING* s, const WCHAR* text)
{
    RtlInitUnicodeString(s, text);
}

static void NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    UNICODE_STRING link;
    UNREFERENCED_PARAMETER(driver);
    MakeName(&link, MOUSE_LINK);
    IoDeleteSymbolicLink(&link);
    MakeName(&link, CONTROL_LINK);
    IoDeleteSymbolicLink(&link);
    if (g_mouse) IoDeleteDevice(g_mouse);
    if (g_control) IoDeleteDevice(g_control);
    g_mouse = g_control = NULL;
    CloseSemaphore();
}

static NTSTATUS MakeDevice(PDRIVER_OBJECT driver, const WCHAR* nameText, const WCHAR* linkText, PDEVICE_OBJECT* out)
{
    UNICODE_STRING name, link;
    MakeName(&name, nameText);
    MakeName(&link, linkText);
    NTSTATUS status = IoCreateDevice(driver, 0, &name, FILE_DEVICE_UNKNOWN, 0, FALSE, out);
    if (!NT_SUCCESS(status)) return status;
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*out);
        *out = NULL;
    }
    return status;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    SimHost host;
    UNREFERENCED_PARAMETER(registryPath);
    g_releaseSemaphore = FindReleaseSemaphore();
    if (!g_releaseSemaphore) return STATUS_PROCEDURE_NOT_FOUND;
    KeInitializeMutex(&g_lock, 0);
    host.context = NULL;
    host.now = HostNow;
    host.registerEvent = HostRegisterEvent;
    host.unregisterEvent = HostUnregisterEvent;
    host.signal = HostSignal;
    SimDeviceInit(&g_model, &host);
    LoadMemory();

    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;

    NTSTATUS status = MakeDevice(driver, MOUSE_NAME, MOUSE_LINK, &g_mouse);
    if (NT_SUCCESS(status)) status = MakeDevice(driver, CONTROL_NAME, CONTROL_LINK, &g_control);
    if (!NT_SUCCESS(status)) DriverUnload(driver);
    return status;
}
