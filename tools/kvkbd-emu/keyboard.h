/* The emulated keyboard's state and its answers to the agent's and the tests' requests.
   Callers serialise all calls (the driver holds one lock around each). */
#ifndef Z4_KVKBD_EMU_KEYBOARD_H
#define Z4_KVKBD_EMU_KEYBOARD_H

#include <ddk/wdm.h>

/* Factory state, plugged, nothing logged, no handles. */
void kbd_init(void);

/* An open of \\.\kvkbd: fails while unplugged; otherwise *context identifies the handle's
   plug-in period, for the handle's later requests. */
NTSTATUS kbd_open(PVOID *context);
/* The close of a handle whose open succeeded. */
void kbd_close(PVOID context);

/* Whether the keyboard is plugged in (the driver shows \\.\kvkbd only then). */
BOOLEAN kbd_plugged(void);

/* One of the agent's requests on a handle with the given context. buf is the METHOD_BUFFERED
   system buffer (input on entry, output on return; may be NULL when both lengths are 0).
   Every call is logged. *info receives the output byte count. */
NTSTATUS kbd_request(PVOID context, ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen,
                     ULONG_PTR *info);

/* One test control request on \\.\kvkbdctl, same buffer rules; not logged. */
NTSTATUS kbd_control(ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen, ULONG_PTR *info);

#endif
