/* What a Z4 keyboard holds (key block, macro and combination slots, rate code), whether it is
   plugged in, and the requests that read and change it. */
#include "keyboard.h"

#include "factory_block.h"
#include "kvkbd_test_ioctl.h"
#include "le_bytes.h"
#include "request_log.h"

static UCHAR key_block[KVKBD_KEY_BLOCK_SIZE];
static UCHAR macro_slots[KVKBD_MACRO_SLOT_COUNT][KVKBD_MACRO_SLOT_SIZE];
static UCHAR comb_slots[KVKBD_COMB_SLOT_COUNT][KVKBD_COMB_SLOT_SIZE]; /* slot s at s - 1 */
static UCHAR rate;

static BOOLEAN plugged;
/* Bumped by every unplug: handles opened in an earlier plug-in period stay dead. Never 0, so a
   context of 0 cannot match. */
static ULONG_PTR generation;

static ULONG fail_codes[KVKBD_MAX_FAIL_CODES];
static ULONG fail_count;

static ULONG handles_open, opens_granted;

static void reset_state(void) {
  RtlCopyMemory(key_block, kvkbd_factory_block, sizeof key_block);
  RtlZeroMemory(macro_slots, sizeof macro_slots);
  RtlZeroMemory(comb_slots, sizeof comb_slots);
  rate = 0;
  plugged = TRUE;
  fail_count = 0;
  opens_granted = 0;
  log_clear();
}

void kbd_init(void) {
  reset_state();
  generation = 1;
  handles_open = 0;
}

NTSTATUS kbd_open(PVOID *context) {
  if (!plugged) return STATUS_NO_SUCH_DEVICE;
  *context = (PVOID)generation;
  ++handles_open;
  ++opens_granted;
  return STATUS_SUCCESS;
}

void kbd_close(PVOID context) {
  if (context != NULL && handles_open > 0) --handles_open;
}

BOOLEAN kbd_plugged(void) {
  return plugged;
}

static BOOLEAN is_failing(ULONG code) {
  ULONG i;
  for (i = 0; i < fail_count; ++i) {
    if (fail_codes[i] == code) return TRUE;
  }
  return FALSE;
}

static BOOLEAN comb_slot_ok(UCHAR slot) {
  return slot >= 1 && slot <= KVKBD_COMB_SLOT_COUNT;
}

/* The six requests with their exact buffer sizes; anything else is refused. */
static NTSTATUS answer(ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen, ULONG_PTR *info) {
  switch (code) {
    case IOCTL_KVKBD_SET_RATE:
      if (inLen != KVKBD_RATE_SIZE || outLen != 0) return STATUS_INVALID_PARAMETER;
      rate = buf[0];
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_WRITE_KEYS:
      if (inLen != KVKBD_KEY_BLOCK_SIZE || outLen != 0) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(key_block, buf, sizeof key_block);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_READ_KEYS:
      if (inLen != 0 || outLen != KVKBD_KEY_BLOCK_SIZE) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(buf, key_block, sizeof key_block);
      *info = sizeof key_block;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_WRITE_MACRO:
      /* The answer is the request itself: the buffer already holds it. */
      if (inLen != KVKBD_MACRO_REQ_SIZE || outLen != KVKBD_MACRO_REQ_SIZE) {
        return STATUS_INVALID_PARAMETER;
      }
      if (buf[0] >= KVKBD_MACRO_SLOT_COUNT) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(macro_slots[buf[0]], buf + 1, KVKBD_MACRO_SLOT_SIZE);
      *info = KVKBD_MACRO_REQ_SIZE;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_WRITE_COMB:
      if (inLen != KVKBD_COMB_REQ_SIZE || outLen != 0) return STATUS_INVALID_PARAMETER;
      if (!comb_slot_ok(buf[0])) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(comb_slots[buf[0] - 1], buf + 1, KVKBD_COMB_SLOT_SIZE);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_READ_COMB: {
      UCHAR slot;
      if (inLen != KVKBD_COMB_REQ_SIZE || outLen != KVKBD_COMB_REQ_SIZE) {
        return STATUS_INVALID_PARAMETER;
      }
      slot = buf[0];
      if (!comb_slot_ok(slot)) return STATUS_INVALID_PARAMETER;
      /* Bytes 0..7 carry the slot's content, byte 8 is zero. */
      RtlCopyMemory(buf, comb_slots[slot - 1], KVKBD_COMB_SLOT_SIZE);
      buf[KVKBD_COMB_SLOT_SIZE] = 0;
      *info = KVKBD_COMB_REQ_SIZE;
      return STATUS_SUCCESS;
    }
    default:
      return STATUS_INVALID_DEVICE_REQUEST;
  }
}

NTSTATUS kbd_request(PVOID context, ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen,
                     ULONG_PTR *info) {
  UCHAR *record = log_begin(code, buf, inLen, outLen);
  NTSTATUS status;
  *info = 0;
  if (!plugged || context != (PVOID)generation) {
    status = STATUS_DEVICE_NOT_CONNECTED;
  } else if (is_failing(code)) {
    status = STATUS_IO_DEVICE_ERROR;
  } else if (buf == NULL && (inLen != 0 || outLen != 0)) {
    status = STATUS_INVALID_PARAMETER;
  } else {
    status = answer(code, buf, inLen, outLen, info);
  }
  if (!NT_SUCCESS(status)) *info = 0;
  log_set_status(record, status);
  return status;
}

static NTSTATUS set_fail_codes(const UCHAR *buf, ULONG inLen) {
  ULONG i;
  if (inLen % 4 != 0 || inLen / 4 > KVKBD_MAX_FAIL_CODES) return STATUS_INVALID_PARAMETER;
  fail_count = inLen / 4;
  for (i = 0; i < fail_count; ++i) fail_codes[i] = get_le32(buf + 4 * i);
  return STATUS_SUCCESS;
}

/* Checks the exact sizes of a control request with fixed buffers. */
#define SIZES(in, out) \
  do { \
    if (inLen != (in) || outLen != (out)) return STATUS_INVALID_PARAMETER; \
  } while (0)

static NTSTATUS control(ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen, ULONG_PTR *info) {
  switch (code) {
    case IOCTL_KVKBD_TEST_READ_LOG:
      if (inLen != 4 || outLen < KVKBD_LOG_HEADER_SIZE) return STATUS_INVALID_PARAMETER;
      *info = log_read(get_le32(buf), buf, outLen);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_CLEAR_LOG:
      SIZES(0, 0);
      log_clear();
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_SET_KEYS:
      SIZES(KVKBD_KEY_BLOCK_SIZE, 0);
      RtlCopyMemory(key_block, buf, sizeof key_block);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_GET_KEYS:
      SIZES(0, KVKBD_KEY_BLOCK_SIZE);
      RtlCopyMemory(buf, key_block, sizeof key_block);
      *info = sizeof key_block;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_SET_MACRO:
      SIZES(KVKBD_MACRO_REQ_SIZE, 0);
      if (buf[0] >= KVKBD_MACRO_SLOT_COUNT) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(macro_slots[buf[0]], buf + 1, KVKBD_MACRO_SLOT_SIZE);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_GET_MACRO: {
      UCHAR slot;
      SIZES(1, KVKBD_MACRO_SLOT_SIZE);
      slot = buf[0];
      if (slot >= KVKBD_MACRO_SLOT_COUNT) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(buf, macro_slots[slot], KVKBD_MACRO_SLOT_SIZE);
      *info = KVKBD_MACRO_SLOT_SIZE;
      return STATUS_SUCCESS;
    }
    case IOCTL_KVKBD_TEST_SET_COMB:
      SIZES(KVKBD_COMB_REQ_SIZE, 0);
      if (!comb_slot_ok(buf[0])) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(comb_slots[buf[0] - 1], buf + 1, KVKBD_COMB_SLOT_SIZE);
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_GET_COMB: {
      UCHAR slot;
      SIZES(1, KVKBD_COMB_SLOT_SIZE);
      slot = buf[0];
      if (!comb_slot_ok(slot)) return STATUS_INVALID_PARAMETER;
      RtlCopyMemory(buf, comb_slots[slot - 1], KVKBD_COMB_SLOT_SIZE);
      *info = KVKBD_COMB_SLOT_SIZE;
      return STATUS_SUCCESS;
    }
    case IOCTL_KVKBD_TEST_SET_RATE:
      SIZES(1, 0);
      rate = buf[0];
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_GET_RATE:
      SIZES(0, 1);
      buf[0] = rate;
      *info = 1;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_UNPLUG:
      SIZES(0, 0);
      if (plugged) {
        plugged = FALSE;
        if (++generation == 0) generation = 1;
      }
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_PLUG:
      SIZES(0, 0);
      plugged = TRUE;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_FAIL_CODES:
      if (outLen != 0) return STATUS_INVALID_PARAMETER;
      return set_fail_codes(buf, inLen);
    case IOCTL_KVKBD_TEST_HANDLES:
      SIZES(0, KVKBD_HANDLES_SIZE);
      put_le32(buf, handles_open);
      put_le32(buf + 4, opens_granted);
      *info = KVKBD_HANDLES_SIZE;
      return STATUS_SUCCESS;
    case IOCTL_KVKBD_TEST_RESET:
      SIZES(0, 0);
      reset_state();
      return STATUS_SUCCESS;
    default:
      return STATUS_INVALID_DEVICE_REQUEST;
  }
}

NTSTATUS kbd_control(ULONG code, UCHAR *buf, ULONG inLen, ULONG outLen, ULONG_PTR *info) {
  NTSTATUS status;
  *info = 0;
  if (buf == NULL && (inLen != 0 || outLen != 0)) return STATUS_INVALID_PARAMETER;
  status = control(code, buf, inLen, outLen, info);
  if (!NT_SUCCESS(status)) *info = 0;
  return status;
}
