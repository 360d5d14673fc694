/* The bounded log of the requests the emulated keyboard received, newest KVKBD_LOG_CAPACITY. */
#ifndef Z4_KVKBD_EMU_REQUEST_LOG_H
#define Z4_KVKBD_EMU_REQUEST_LOG_H

#include <ddk/wdm.h>

void log_clear(void);

/* Starts the record of a request: code, lengths and input bytes (the buffer is read before the
   request overwrites it). Returns the record, whose status log_set_status fills in later. */
UCHAR *log_begin(ULONG code, const UCHAR *input, ULONG inLen, ULONG outLen);
void log_set_status(UCHAR *record, NTSTATUS status);

/* Writes the header and the records from sequence number first into out (outLen must be at
   least KVKBD_LOG_HEADER_SIZE); returns the bytes written. */
ULONG log_read(ULONG first, UCHAR *out, ULONG outLen);

#endif
