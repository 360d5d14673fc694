/* The key block a new keyboard holds: 152 entries of kind, usage, arg1, arg2. */
#ifndef Z4_KVKBD_EMU_FACTORY_BLOCK_H
#define Z4_KVKBD_EMU_FACTORY_BLOCK_H

#include "device/kvkbd_ioctl.h"

extern const unsigned char kvkbd_factory_block[KVKBD_KEY_BLOCK_SIZE / 4][4];

#endif
