/*
** The two files of the history-of-today content, as both the index
** generator and the viewer see them.
**
** Data file: GBK text, CR LF lines. A record starts at the marker "##",
** followed by its key (year * 10000 + month * 100 + day, in decimal), its
** title (the rest of that line) and its body lines, up to the next marker
** or the end of the file.
**
** Day index: all integers little-endian.
**   offset 0        count N (unsigned 32-bit)
**   offset 4        N entries of 16 bytes: key (signed), titleOffset
**                   (unsigned, from the start of the title area),
**                   recordOffset and recordLength (signed, bytes of the
**                   data file)
**   offset 4 + 16N  the title area: the N titles, each followed by a zero
**                   byte, up to the end of the file
** There is no version, magic value or checksum.
*/
#pragma once

#include <stdint.h>

enum : uint32_t {
  kIndexCountBytes = 4,
  kIndexEntryBytes = 16,
  kMaxTitleBytes = 255,
};

/* Offsets and lengths are signed 32-bit: a data file must be smaller. */
static const int64_t kMaxDataFileBytes = 0x7FFFFFFF;
