/* Control codes and buffer sizes of the keyboard filter driver's requests.
   Shared by the agent and the emulated driver (tools/kvkbd-emu), so plain C. */
#ifndef Z4_KVKBD_IOCTL_H
#define Z4_KVKBD_IOCTL_H

/* CTL_CODE(FILE_DEVICE_UNKNOWN 0x22, function, METHOD_BUFFERED, FILE_ANY_ACCESS) */
#define KVKBD_CTL_CODE(function) ((0x22u << 16) | ((unsigned)(function) << 2))

#define IOCTL_KVKBD_SET_RATE    KVKBD_CTL_CODE(0x905) /* 0x00222414 */
#define IOCTL_KVKBD_WRITE_KEYS  KVKBD_CTL_CODE(0x907) /* 0x0022241C */
#define IOCTL_KVKBD_READ_KEYS   KVKBD_CTL_CODE(0x908) /* 0x00222420 */
#define IOCTL_KVKBD_WRITE_MACRO KVKBD_CTL_CODE(0x909) /* 0x00222424 */
#define IOCTL_KVKBD_WRITE_COMB  KVKBD_CTL_CODE(0x90B) /* 0x0022242C */
#define IOCTL_KVKBD_READ_COMB   KVKBD_CTL_CODE(0x90C) /* 0x00222430 */

#define KVKBD_DEVICE_PATH L"\\\\.\\kvkbd"

#define KVKBD_RATE_SIZE        1u
#define KVKBD_KEY_BLOCK_SIZE   608u  /* 152 entries of 4 bytes */
#define KVKBD_MACRO_SLOT_SIZE  192u  /* payload of one macro slot */
#define KVKBD_MACRO_REQ_SIZE   193u  /* slot index + payload */
#define KVKBD_COMB_SLOT_SIZE   8u    /* four key pairs */
#define KVKBD_COMB_REQ_SIZE    9u    /* slot index + combination */

#define KVKBD_MAX_MACRO_SLOT   11u   /* WriteMacroSlot refuses higher slot numbers */
#define KVKBD_MAX_COMB_SLOT    8u

#endif
