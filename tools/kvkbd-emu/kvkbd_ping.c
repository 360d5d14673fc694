/* Checks that the emulated keyboard driver answers: asks its control device for the handle
   counts and prints them. Exit code 0 when it answered, 1 otherwise. */
#include <stdio.h>
#include <windows.h>

#include "kvkbd_test_ioctl.h"
#include "le_bytes.h"

int main(void) {
  unsigned char counts[KVKBD_HANDLES_SIZE] = {0};
  DWORD got = 0;
  HANDLE ctl = CreateFileW(KVKBD_CTL_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, NULL,
                           OPEN_EXISTING, 0, NULL);
  BOOL ok;
  if (ctl == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "kvkbd-ping: cannot open the control device (error %lu)\n", GetLastError());
    return 1;
  }
  ok = DeviceIoControl(ctl, IOCTL_KVKBD_TEST_HANDLES, NULL, 0, counts, sizeof counts, &got, NULL);
  CloseHandle(ctl);
  if (!ok || got != sizeof counts) {
    fprintf(stderr, "kvkbd-ping: no answer (error %lu)\n", GetLastError());
    return 1;
  }
  printf("kvkbd: %lu handles open, %lu opened\n", get_le32(counts), get_le32(counts + 4));
  return 0;
}
