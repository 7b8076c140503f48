/* touchsim.sys: a kernel-mode stand-in for the touch driver, for Wine's winedevice.exe.
 *
 * It creates \Device\mvtouch for the program and \Device\mvtouchctl for touchsim.exe and
 * honours the driver contract the program relies on, as strictly as a real driver:
 *   - the open request (code 1) is accepted only with a plausible semaphore handle (not 0, a
 *     multiple of 4), and its client process and semaphore handle are kept;
 *   - events are queued in order and every read returns the oldest one in its first four bytes;
 *   - requests 20 (mode), 8 (register) and 128 (key list) are accepted; register 0xB6 reads
 *     answer the settable battery value;
 *   - a request whose device text is not the device's, or whose fixed words are not the
 *     protocol's, is refused; reads can be made to answer short (touchsim short N).
 * The semaphore is released from user mode by touchsim.exe (Wine cannot reference a
 * semaphore handle in kernel mode), so the driver only hands out the client's identity.
 * Every request on \Device\mvtouch is logged with its bytes and its outcome. */
#include <ntddk.h>

#include "../touchsim_protocol.h"

static KSPIN_LOCK g_lock;
static PDEVICE_OBJECT g_device;
static PDEVICE_OBJECT g_control;

static ts_client g_client;
static unsigned int g_queue[TS_QUEUE_CAPACITY];
static unsigned int g_queue_head;
static unsigned int g_queue_count;

static unsigned int g_mode;
static unsigned int g_keys[12];
static unsigned int g_register;
static ts_battery g_battery = {1, 1000};
static unsigned int g_fail_count;
static volatile LONG g_absent; /* receiver pulled out: \\.\mvtouch does not open, requests fail */
static unsigned int g_short_count; /* reads still to answer short */

static ts_log_entry g_log[TS_LOG_CAPACITY];
static unsigned int g_log_count;
static unsigned int g_log_dropped;

static unsigned int le32(const unsigned char *p) {
    return (unsigned int)p[0] | ((unsigned int)p[1] << 8) | ((unsigned int)p[2] << 16) | ((unsigned int)p[3] << 24);
}

static void copy_bytes(unsigned char *to, const unsigned char *from, unsigned int n) {
    unsigned int i;
    for (i = 0; i < n; ++i) to[i] = from[i];
}

static int device_text_matches(const unsigned char *field) {
    static const char text[] = TS_DEVICE_TEXT;
    unsigned int i;
    for (i = 0; i < sizeof(text); ++i)
        if (field[i] != (unsigned char)text[i]) return 0;
    return 1;
}

static void log_request(unsigned int ioctl, int accepted, const unsigned char *in, unsigned int in_length,
                        const unsigned char *out, unsigned int out_length) {
    ts_log_entry *e;
    if (g_log_count >= TS_LOG_CAPACITY) {
        ++g_log_dropped;
        return;
    }
    e = &g_log[g_log_count++];
    RtlZeroMemory(e, sizeof(*e));
    e->ioctl = ioctl;
    e->status = accepted ? 0 : 1;
    e->in_length = in_length;
    e->out_length = out_length;
    e->process_id = (unsigned int)(ULONG_PTR)PsGetCurrentProcessId();
    if (in) copy_bytes(e->data, in, in_length < TS_REQUEST_SIZE ? in_length : TS_REQUEST_SIZE);
    if (out) copy_bytes(e->answer, out, out_length < TS_REQUEST_SIZE ? out_length : TS_REQUEST_SIZE);
}

/* A request of the program; the lock is held. Returns the status and sets *info. */
static NTSTATUS device_request(ULONG ioctl, unsigned char *buffer, ULONG in_length, ULONG out_length,
                               ULONG_PTR *info) {
    int failing = g_absent != 0;
    *info = 0;
    if (!failing && g_fail_count > 0) {
        --g_fail_count;
        failing = 1;
    }

    if (ioctl == TS_IOCTL_READ) {
        unsigned int code;
        if (in_length < TS_EVENT_SIZE || out_length < TS_EVENT_SIZE || !device_text_matches(buffer + 4) ||
            g_queue_count == 0) {
            log_request(ioctl, 0, buffer, in_length, NULL, 0);
            return STATUS_UNSUCCESSFUL;
        }
        /* A refused read loses the event it would have returned, as a transfer error would. */
        code = g_queue[g_queue_head];
        g_queue_head = (g_queue_head + 1) % TS_QUEUE_CAPACITY;
        --g_queue_count;
        g_client.queued = g_queue_count;
        if (failing) {
            log_request(ioctl, 0, buffer, in_length, NULL, 0);
            return STATUS_UNSUCCESSFUL;
        }
        log_request(ioctl, 1, buffer, in_length, NULL, 0);
        buffer[0] = (unsigned char)code;
        buffer[1] = (unsigned char)(code >> 8);
        buffer[2] = (unsigned char)(code >> 16);
        buffer[3] = (unsigned char)(code >> 24);
        if (g_short_count > 0) {
            /* A short answer: two bytes claimed, none written, the event gone. */
            --g_short_count;
            g_log[g_log_count - 1].out_length = 0;
            *info = 2;
            return STATUS_SUCCESS;
        }
        g_log[g_log_count - 1].out_length = 4;
        copy_bytes(g_log[g_log_count - 1].answer, buffer, 4);
        *info = TS_EVENT_SIZE;
        return STATUS_SUCCESS;
    }

    if (ioctl != TS_IOCTL_WRITE || in_length < TS_REQUEST_SIZE || failing || !device_text_matches(buffer + 108)) {
        log_request(ioctl, 0, buffer, in_length, NULL, 0);
        return STATUS_UNSUCCESSFUL;
    }

    switch (le32(buffer)) {
    case 1: {
        const unsigned int semaphore = le32(buffer + 160);
        if (semaphore == 0 || (semaphore & 3) != 0) {
            log_request(ioctl, 0, buffer, in_length, NULL, 0);
            return STATUS_INVALID_HANDLE;
        }
        g_client.opened = 1;
        g_client.process_id = (unsigned int)(ULONG_PTR)PsGetCurrentProcessId();
        g_client.semaphore = semaphore;
        log_request(ioctl, 1, buffer, in_length, NULL, 0);
        return STATUS_SUCCESS;
    }
    case 20:
        if (le32(buffer + 8) != 0x00070601u) {
            log_request(ioctl, 0, buffer, in_length, NULL, 0);
            return STATUS_UNSUCCESSFUL;
        }
        g_mode = le32(buffer + 4);
        log_request(ioctl, 1, buffer, in_length, NULL, 0);
        return STATUS_SUCCESS;
    case 128: {
        unsigned int i;
        if (le32(buffer + 56) != 0x00000200u) {
            log_request(ioctl, 0, buffer, in_length, NULL, 0);
            return STATUS_UNSUCCESSFUL;
        }
        for (i = 0; i < 12; ++i) g_keys[i] = le32(buffer + 60 + 4 * i);
        log_request(ioctl, 1, buffer, in_length, NULL, 0);
        return STATUS_SUCCESS;
    }
    case 8: {
        unsigned int operation = le32(buffer + 24), target = le32(buffer + 28);
        if (operation == 0x00000001u && target == 0x000102BAu) {
            g_register = buffer[32];
            log_request(ioctl, 1, buffer, in_length, NULL, 0);
            return STATUS_SUCCESS;
        }
        if (operation == 0x00010003u && target == 0x000101BAu && out_length >= TS_REQUEST_SIZE) {
            unsigned char in_copy[TS_REQUEST_SIZE];
            copy_bytes(in_copy, buffer, TS_REQUEST_SIZE);
            if (g_register == 0xB6 && buffer[32] == 0xB6) {
                buffer[32] = (unsigned char)g_battery.status;
                buffer[33] = (unsigned char)(g_battery.value >> 8);
                buffer[34] = (unsigned char)g_battery.value;
            } else {
                buffer[32] = buffer[33] = buffer[34] = 0;
            }
            log_request(ioctl, 1, in_copy, in_length, buffer, TS_REQUEST_SIZE);
            *info = TS_REQUEST_SIZE;
            return STATUS_SUCCESS;
        }
        log_request(ioctl, 0, buffer, in_length, NULL, 0);
        return STATUS_UNSUCCESSFUL;
    }
    default:
        log_request(ioctl, 0, buffer, in_length, NULL, 0);
        return STATUS_UNSUCCESSFUL;
    }
}

/* A request of touchsim.exe; the lock is held. */
static NTSTATUS control_request(ULONG ioctl, unsigned char *buffer, ULONG in_length, ULONG out_length,
                                ULONG_PTR *info) {
    *info = 0;
    switch (ioctl) {
    case TS_CTL_PUSH: {
        unsigned int n = in_length / 4, i;
        if (n > TS_QUEUE_CAPACITY - g_queue_count) return STATUS_INSUFFICIENT_RESOURCES;
        for (i = 0; i < n; ++i) {
            g_queue[(g_queue_head + g_queue_count) % TS_QUEUE_CAPACITY] = le32(buffer + 4 * i);
            ++g_queue_count;
        }
        g_client.queued = g_queue_count;
    }
        /* fall through: answer with the client */
    case TS_CTL_CLIENT:
        if (out_length < sizeof(ts_client)) return ioctl == TS_CTL_PUSH ? STATUS_SUCCESS : STATUS_BUFFER_TOO_SMALL;
        RtlCopyMemory(buffer, &g_client, sizeof(ts_client));
        *info = sizeof(ts_client);
        return STATUS_SUCCESS;
    case TS_CTL_BATTERY:
        if (in_length < sizeof(ts_battery)) return STATUS_INVALID_PARAMETER;
        RtlCopyMemory(&g_battery, buffer, sizeof(ts_battery));
        return STATUS_SUCCESS;
    case TS_CTL_FAIL:
        if (in_length < 4) return STATUS_INVALID_PARAMETER;
        g_fail_count = le32(buffer);
        return STATUS_SUCCESS;
    case TS_CTL_LOG: {
        ts_log_header header;
        unsigned int first = in_length >= 4 ? le32(buffer) : 0, room;
        if (out_length < sizeof(header)) return STATUS_BUFFER_TOO_SMALL;
        if (first > g_log_count) first = g_log_count;
        room = (out_length - sizeof(header)) / sizeof(ts_log_entry);
        header.total = g_log_count;
        header.first = first;
        header.count = g_log_count - first < room ? g_log_count - first : room;
        header.dropped = g_log_dropped;
        RtlCopyMemory(buffer, &header, sizeof(header));
        RtlCopyMemory(buffer + sizeof(header), &g_log[first], header.count * sizeof(ts_log_entry));
        *info = sizeof(header) + header.count * sizeof(ts_log_entry);
        return STATUS_SUCCESS;
    }
    case TS_CTL_DROP:
        g_queue_head = 0;
        g_queue_count = 0;
        g_client.queued = 0;
        return STATUS_SUCCESS;
    case TS_CTL_SHORT:
        if (in_length < 4) return STATUS_INVALID_PARAMETER;
        g_short_count = le32(buffer);
        return STATUS_SUCCESS;
    case TS_CTL_CLEAR:
        g_log_count = 0;
        g_log_dropped = 0;
        return STATUS_SUCCESS;
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR info) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = info;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

/* Wine 8 opens a device whatever this answers, so one handle at a time cannot be had here. */
static NTSTATUS DispatchOpenClose(PDEVICE_OBJECT device, PIRP irp) { return complete(irp, STATUS_SUCCESS, 0); }

/* Pulls the receiver out or plugs it in: without it the name \\.\mvtouch does not exist and
 * every request on a handle opened before fails. Runs at passive level, outside the lock. */
static NTSTATUS set_present(int present) {
    UNICODE_STRING device_name, link_name;
    RtlInitUnicodeString(&device_name, TS_DEVICE_NAME);
    RtlInitUnicodeString(&link_name, TS_DEVICE_LINK);
    if (present && g_absent) {
        NTSTATUS status = IoCreateSymbolicLink(&link_name, &device_name);
        if (!NT_SUCCESS(status)) return status;
        InterlockedExchange(&g_absent, 0);
    } else if (!present && !g_absent) {
        InterlockedExchange(&g_absent, 1);
        IoDeleteSymbolicLink(&link_name);
    }
    return STATUS_SUCCESS;
}

static NTSTATUS DispatchControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG ioctl = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG in_length = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG out_length = stack->Parameters.DeviceIoControl.OutputBufferLength;
    unsigned char *buffer = (unsigned char *)irp->AssociatedIrp.SystemBuffer;
    ULONG_PTR info = 0;
    NTSTATUS status;
    KIRQL irql;

    if (!buffer && (in_length || out_length)) return complete(irp, STATUS_INVALID_PARAMETER, 0);
    if (device == g_control && ioctl == TS_CTL_PRESENT)
        return complete(irp, in_length < 4 ? STATUS_INVALID_PARAMETER : set_present(le32(buffer) != 0), 0);
    KeAcquireSpinLock(&g_lock, &irql);
    if (device == g_device)
        status = device_request(ioctl, buffer, in_length, out_length, &info);
    else
        status = control_request(ioctl, buffer, in_length, out_length, &info);
    KeReleaseSpinLock(&g_lock, irql);
    return complete(irp, status, info);
}

static void DriverUnload(PDRIVER_OBJECT driver) {
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, TS_DEVICE_LINK);
    if (!g_absent) IoDeleteSymbolicLink(&link);
    RtlInitUnicodeString(&link, TS_CONTROL_LINK);
    IoDeleteSymbolicLink(&link);
    if (g_control) IoDeleteDevice(g_control);
    if (g_device) IoDeleteDevice(g_device);
}

static NTSTATUS create_device(PDRIVER_OBJECT driver, const WCHAR *name, const WCHAR *link, PDEVICE_OBJECT *out) {
    UNICODE_STRING device_name, link_name;
    NTSTATUS status;
    RtlInitUnicodeString(&device_name, name);
    RtlInitUnicodeString(&link_name, link);
    status = IoCreateDevice(driver, 0, &device_name, FILE_DEVICE_UNKNOWN, 0, FALSE, out);
    if (!NT_SUCCESS(status)) return status;
    (*out)->Flags |= DO_BUFFERED_IO;
    status = IoCreateSymbolicLink(&link_name, &device_name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*out);
        *out = NULL;
    }
    return status;
}

NTSTATUS WINAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registry_path) {
    NTSTATUS status;
    KeInitializeSpinLock(&g_lock);
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchOpenClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;
    driver->DriverUnload = DriverUnload;
    status = create_device(driver, TS_DEVICE_NAME, TS_DEVICE_LINK, &g_device);
    if (!NT_SUCCESS(status)) return status;
    status = create_device(driver, TS_CONTROL_NAME, TS_CONTROL_LINK, &g_control);
    if (!NT_SUCCESS(status)) {
        DriverUnload(driver);
        return status;
    }
    return STATUS_SUCCESS;
}
