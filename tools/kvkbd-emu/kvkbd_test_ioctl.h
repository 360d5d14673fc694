/* Test control requests of the emulated keyboard driver, sent to its second device
   "\\.\kvkbdctl", which stays available while the keyboard is unplugged or held by the agent.
   Shared by the driver (C) and the test fixture (C++). All integers are little-endian. */
#ifndef Z4_KVKBD_TEST_IOCTL_H
#define Z4_KVKBD_TEST_IOCTL_H

#include "device/kvkbd_ioctl.h"

#define KVKBD_CTL_DEVICE_PATH L"\\\\.\\kvkbdctl"

/* How the emulated keyboard answers the agent's six requests on \\.\kvkbd:
   - exact input and output sizes only, macro slots 0..11, combination slots 1..8; otherwise
     STATUS_INVALID_PARAMETER; unknown codes STATUS_INVALID_DEVICE_REQUEST;
   - WRITE_MACRO answers its own 193 request bytes; READ_COMB answers the slot's 8 bytes
     followed by a zero byte; SET_RATE stores any code;
   - unplugged, or on a handle opened before an unplug: STATUS_DEVICE_NOT_CONNECTED;
   - a code made to fail (IOCTL_KVKBD_TEST_FAIL_CODES): STATUS_IO_DEVICE_ERROR.
   A failed request changes nothing. Every request is logged with its status. */

/* Function numbers 0x980 and above: the agent never sends them. */

/* in: 4 bytes, the sequence number of the first entry wanted.
   out: at least KVKBD_LOG_HEADER_SIZE bytes: the header, then as many whole records as fit,
   oldest first, starting at the wanted entry or the oldest one still held if that is later. */
#define IOCTL_KVKBD_TEST_READ_LOG   KVKBD_CTL_CODE(0x980)
#define IOCTL_KVKBD_TEST_CLEAR_LOG  KVKBD_CTL_CODE(0x981) /* no buffers; sequence restarts at 0 */
#define IOCTL_KVKBD_TEST_SET_KEYS   KVKBD_CTL_CODE(0x982) /* in: 608 bytes */
#define IOCTL_KVKBD_TEST_GET_KEYS   KVKBD_CTL_CODE(0x983) /* out: 608 bytes */
#define IOCTL_KVKBD_TEST_SET_MACRO  KVKBD_CTL_CODE(0x984) /* in: 193 bytes, slot 0..11 + content */
#define IOCTL_KVKBD_TEST_GET_MACRO  KVKBD_CTL_CODE(0x985) /* in: 1 byte slot 0..11; out: 192 */
#define IOCTL_KVKBD_TEST_SET_COMB   KVKBD_CTL_CODE(0x986) /* in: 9 bytes, slot 1..8 + content */
#define IOCTL_KVKBD_TEST_GET_COMB   KVKBD_CTL_CODE(0x987) /* in: 1 byte slot 1..8; out: 8 */
#define IOCTL_KVKBD_TEST_SET_RATE   KVKBD_CTL_CODE(0x988) /* in: 1 byte */
#define IOCTL_KVKBD_TEST_GET_RATE   KVKBD_CTL_CODE(0x989) /* out: 1 byte, 0 until first set */
/* Unplug: \\.\kvkbd disappears (opens fail), and requests on every handle opened so far fail
   for good, as after a real removal; the handles stay open until their owners close them. */
#define IOCTL_KVKBD_TEST_UNPLUG     KVKBD_CTL_CODE(0x98A)
#define IOCTL_KVKBD_TEST_PLUG       KVKBD_CTL_CODE(0x98B)
/* in: 0..KVKBD_MAX_FAIL_CODES control codes of 4 bytes each; replaces the set. A request whose
   code is in the set fails with STATUS_IO_DEVICE_ERROR and changes nothing. */
#define IOCTL_KVKBD_TEST_FAIL_CODES KVKBD_CTL_CODE(0x98C)
/* out: KVKBD_HANDLES_SIZE bytes: handles on \\.\kvkbd open now, opens granted since reset */
#define IOCTL_KVKBD_TEST_HANDLES    KVKBD_CTL_CODE(0x98D)
/* Factory key block, zero slots, rate 0, empty log, plugged, no failing codes. The open-handle
   count is kept: it describes handles that exist. */
#define IOCTL_KVKBD_TEST_RESET      KVKBD_CTL_CODE(0x98E)

#define KVKBD_MACRO_SLOT_COUNT 12u /* slots 0..11 */
#define KVKBD_COMB_SLOT_COUNT  8u  /* slots 1..8 */
#define KVKBD_MAX_FAIL_CODES   16u
#define KVKBD_HANDLES_SIZE     8u

/* The log keeps the newest KVKBD_LOG_CAPACITY requests; older ones are dropped and counted. */
#define KVKBD_LOG_CAPACITY 4096u

/* Log header: first entry's sequence number, records that follow, sequence number of the next
   request to be logged (= requests logged since the last clear), requests dropped. */
#define KVKBD_LOG_HEADER_SIZE 16u
#define KVKBD_LOG_HDR_FIRST   0u
#define KVKBD_LOG_HDR_COUNT   4u
#define KVKBD_LOG_HDR_NEXT    8u
#define KVKBD_LOG_HDR_DROPPED 12u

/* Log record: control code, completion status (NTSTATUS), input and output lengths as sent,
   then the first min(input length, 608) input bytes, zero-padded. */
#define KVKBD_LOG_REC_CODE    0u
#define KVKBD_LOG_REC_STATUS  4u
#define KVKBD_LOG_REC_IN_LEN  8u
#define KVKBD_LOG_REC_OUT_LEN 12u
#define KVKBD_LOG_REC_INPUT   16u
#define KVKBD_LOG_MAX_INPUT   KVKBD_KEY_BLOCK_SIZE
#define KVKBD_LOG_RECORD_SIZE (KVKBD_LOG_REC_INPUT + KVKBD_LOG_MAX_INPUT) /* 624 */

#endif
