/* Kernel-mode entry of the emulated Z4 keyboard driver: creates \Device\kvkbd (the agent's
   device) and \Device\kvkbdctl (test control), and routes their requests to the keyboard. */
#include <ddk/wdm.h>

#include "keyboard.h"

static PDEVICE_OBJECT kbd_device, ctl_device;
static KSPIN_LOCK lock;

static UNICODE_STRING kbd_name = RTL_CONSTANT_STRING(L"\\Device\\kvkbd");
static UNICODE_STRING kbd_link = RTL_CONSTANT_STRING(L"\\DosDevices\\kvkbd");
static UNICODE_STRING ctl_name = RTL_CONSTANT_STRING(L"\\Device\\kvkbdctl");
static UNICODE_STRING ctl_link = RTL_CONSTANT_STRING(L"\\DosDevices\\kvkbdctl");

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR info) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = info;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static NTSTATUS WINAPI on_create(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION sp = IoGetCurrentIrpStackLocation(irp);
  NTSTATUS status = STATUS_SUCCESS;
  KIRQL irql;
  if (device == kbd_device) {
    PVOID context = NULL;
    KeAcquireSpinLock(&lock, &irql);
    status = kbd_open(&context);
    KeReleaseSpinLock(&lock, irql);
    /* The file object carries the handle's plug-in period; NULL means "not counted". */
    if (sp->FileObject != NULL) sp->FileObject->FsContext = NT_SUCCESS(status) ? context : NULL;
  }
  return complete(irp, status, 0);
}

static NTSTATUS WINAPI on_close(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION sp = IoGetCurrentIrpStackLocation(irp);
  KIRQL irql;
  if (device == kbd_device && sp->FileObject != NULL) {
    KeAcquireSpinLock(&lock, &irql);
    kbd_close(sp->FileObject->FsContext);
    KeReleaseSpinLock(&lock, irql);
    sp->FileObject->FsContext = NULL;
  }
  return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS WINAPI on_cleanup(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS WINAPI on_device_control(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION sp = IoGetCurrentIrpStackLocation(irp);
  ULONG code = sp->Parameters.DeviceIoControl.IoControlCode;
  ULONG inLen = sp->Parameters.DeviceIoControl.InputBufferLength;
  ULONG outLen = sp->Parameters.DeviceIoControl.OutputBufferLength;
  UCHAR *buf = irp->AssociatedIrp.SystemBuffer;
  ULONG_PTR info = 0;
  NTSTATUS status;
  BOOLEAN was_plugged, now_plugged;
  KIRQL irql;
  KeAcquireSpinLock(&lock, &irql);
  was_plugged = kbd_plugged();
  if (device == kbd_device) {
    PVOID context = sp->FileObject != NULL ? sp->FileObject->FsContext : NULL;
    status = kbd_request(context, code, buf, inLen, outLen, &info);
  } else {
    status = kbd_control(code, buf, inLen, outLen, &info);
  }
  now_plugged = kbd_plugged();
  KeReleaseSpinLock(&lock, irql);
  /* Wine hands out a handle even when the driver refuses IRP_MJ_CREATE, so unplugging also
     removes the name, which makes opens fail as they do after a real removal. */
  if (was_plugged && !now_plugged) IoDeleteSymbolicLink(&kbd_link);
  if (!was_plugged && now_plugged) IoCreateSymbolicLink(&kbd_link, &kbd_name);
  return complete(irp, status, info);
}

static void WINAPI on_unload(PDRIVER_OBJECT driver) {
  (void)driver;
  IoDeleteSymbolicLink(&ctl_link);
  if (kbd_plugged()) IoDeleteSymbolicLink(&kbd_link);
  if (ctl_device != NULL) IoDeleteDevice(ctl_device);
  if (kbd_device != NULL) IoDeleteDevice(kbd_device);
  ctl_device = kbd_device = NULL;
}

static NTSTATUS create_device(PDRIVER_OBJECT driver, PUNICODE_STRING name,
                              PUNICODE_STRING link, PDEVICE_OBJECT *device) {
  NTSTATUS status = IoCreateDevice(driver, 0, name, FILE_DEVICE_UNKNOWN, 0, FALSE, device);
  if (!NT_SUCCESS(status)) {
    *device = NULL;
    return status;
  }
  status = IoCreateSymbolicLink(link, name);
  if (!NT_SUCCESS(status)) {
    IoDeleteDevice(*device);
    *device = NULL;
  }
  return status;
}

NTSTATUS WINAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registry) {
  NTSTATUS status;
  (void)registry;
  KeInitializeSpinLock(&lock);
  kbd_init();
  driver->MajorFunction[IRP_MJ_CREATE] = on_create;
  driver->MajorFunction[IRP_MJ_CLOSE] = on_close;
  driver->MajorFunction[IRP_MJ_CLEANUP] = on_cleanup;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = on_device_control;
  driver->DriverUnload = on_unload;
  status = create_device(driver, &kbd_name, &kbd_link, &kbd_device);
  if (NT_SUCCESS(status)) status = create_device(driver, &ctl_name, &ctl_link, &ctl_device);
  if (!NT_SUCCESS(status)) {
    if (kbd_device != NULL) {
      IoDeleteSymbolicLink(&kbd_link);
      IoDeleteDevice(kbd_device);
      kbd_device = NULL;
    }
    DbgPrint("kvkbd-emu: device creation failed: 0x%08lx\n", (unsigned long)status);
  }
  return status;
}
