/* Ring of fixed-size log records: when full, the oldest record gives way and is counted. */
#include "request_log.h"

#include "kvkbd_test_ioctl.h"
#include "le_bytes.h"

static UCHAR records[KVKBD_LOG_CAPACITY][KVKBD_LOG_RECORD_SIZE];
static ULONG next_seq; /* requests logged since the last clear */

static ULONG held(void) {
  return next_seq < KVKBD_LOG_CAPACITY ? next_seq : KVKBD_LOG_CAPACITY;
}

void log_clear(void) {
  next_seq = 0;
}

UCHAR *log_begin(ULONG code, const UCHAR *input, ULONG inLen, ULONG outLen) {
  UCHAR *rec = records[next_seq % KVKBD_LOG_CAPACITY];
  ULONG kept = inLen < KVKBD_LOG_MAX_INPUT ? inLen : KVKBD_LOG_MAX_INPUT;
  RtlZeroMemory(rec, KVKBD_LOG_RECORD_SIZE);
  put_le32(rec + KVKBD_LOG_REC_CODE, code);
  put_le32(rec + KVKBD_LOG_REC_IN_LEN, inLen);
  put_le32(rec + KVKBD_LOG_REC_OUT_LEN, outLen);
  if (input != NULL && kept > 0) RtlCopyMemory(rec + KVKBD_LOG_REC_INPUT, input, kept);
  ++next_seq;
  return rec;
}

void log_set_status(UCHAR *record, NTSTATUS status) {
  put_le32(record + KVKBD_LOG_REC_STATUS, (ULONG)status);
}

ULONG log_read(ULONG first, UCHAR *out, ULONG outLen) {
  ULONG oldest = next_seq - held();
  ULONG fit = (outLen - KVKBD_LOG_HEADER_SIZE) / KVKBD_LOG_RECORD_SIZE;
  ULONG count, i;
  if (first < oldest) first = oldest;
  if (first > next_seq) first = next_seq;
  count = next_seq - first;
  if (count > fit) count = fit;
  put_le32(out + KVKBD_LOG_HDR_FIRST, first);
  put_le32(out + KVKBD_LOG_HDR_COUNT, count);
  put_le32(out + KVKBD_LOG_HDR_NEXT, next_seq);
  put_le32(out + KVKBD_LOG_HDR_DROPPED, oldest);
  for (i = 0; i < count; ++i) {
    RtlCopyMemory(out + KVKBD_LOG_HEADER_SIZE + i * KVKBD_LOG_RECORD_SIZE,
                  records[(first + i) % KVKBD_LOG_CAPACITY], KVKBD_LOG_RECORD_SIZE);
  }
  return KVKBD_LOG_HEADER_SIZE + count * KVKBD_LOG_RECORD_SIZE;
}
