/* Little-endian 32-bit access to byte buffers. */
#ifndef Z4_KVKBD_EMU_LE_BYTES_H
#define Z4_KVKBD_EMU_LE_BYTES_H

static inline void put_le32(unsigned char *p, unsigned long v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
  p[2] = (unsigned char)(v >> 16);
  p[3] = (unsigned char)(v >> 24);
}

static inline unsigned long get_le32(const unsigned char *p) {
  return (unsigned long)p[0] | (unsigned long)p[1] << 8 | (unsigned long)p[2] << 16 |
         (unsigned long)p[3] << 24;
}

#endif
