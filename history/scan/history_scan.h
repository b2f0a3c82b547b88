/*
** Scan of a history data file: the records' keys, positions, lengths and
** titles, in file order, for the index generator.
**
** The file is read once, front to back, in large blocks; markers are found
** with memchr. Only the index's own data is kept: one 16-byte record per
** marker (already in the index's entry layout) and all titles, each with its
** zero byte, in one growing block that is the index's title area.
**
** Byte rules (positions count every byte, CR and LF included):
**  - "##" outside a title starts a record; the counter of '#' bytes is reset
**    by any other byte and by the end of a key or title, so "###" puts a
**    '#' where the key is expected and ends the data.
**  - The key is read like a signed decimal: whitespace (space, tab, CR, LF,
**    VT, FF) is skipped, one '+' or '-' is taken, then the digits; all
**    whitespace after the digits is skipped too, line ends included.
**    No digits, the value 0, or a value outside signed 32 bits ends the
**    data at that marker (the last record ends where the marker begins).
**  - The title is the rest of the line up to LF, without its line end (CR
**    LF or LF), at most 255 bytes. A longer line gives its first 255 bytes,
**    even inside a double-byte character, and the rest of the line is
**    scanned like body text.
*/
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/* How the scan ended. */
enum class ScanEnd {
  endOfFile,         /* the whole file was read */
  zeroKey,           /* a marker without a usable key ended the data */
  noMemoryForRecord, /* memory ran out when a record was to be started */
  noMemoryForTitle,  /* memory ran out for a title; that record is dropped */
  readError,         /* the file could not be read to its end */
};

/* Whether the data file could be scanned at all. */
enum class ScanOpen {
  opened,
  cannotOpen, /* missing, unreadable, or not a regular file */
  tooLarge,   /* 2 GiB or more: offsets would not fit the index */
};

enum class ScanMemory { record, title };

/* Hooks; every one may be left null. */
struct ScanHooks {
  /* Called after each record is appended, with the number of records. */
  void (*recordAppended)(size_t count, void* context) = nullptr;
  /* Asked before memory is taken for record number `index` (from 0) or its
  ** title; false behaves like an allocation that failed. */
  bool (*mayAllocate)(ScanMemory what, size_t index, void* context) = nullptr;
  /* Replaces read(2). */
  ssize_t (*read)(int fd, void* buffer, size_t bytes, void* context) = nullptr;
  void* context = nullptr;
};

/* One record, laid out as the index's entry (on a little-endian machine the
** array is the entry table byte for byte). */
struct ScanRecord {
  int32_t key;
  uint32_t titleOffset;
  int32_t recordOffset;
  int32_t recordLength;
};
static_assert(sizeof(ScanRecord) == 16);

/* The result of a scan; owns its memory. */
class HistoryScan {
 public:
  HistoryScan() = default;
  HistoryScan(HistoryScan&& other) noexcept;
  HistoryScan& operator=(HistoryScan&& other) noexcept;
  HistoryScan(const HistoryScan&) = delete;
  HistoryScan& operator=(const HistoryScan&) = delete;
  ~HistoryScan();

  ScanOpen open = ScanOpen::cannotOpen;
  ScanEnd end = ScanEnd::endOfFile;
  int64_t bytesRead = 0;

  size_t count() const { return count_; }
  const ScanRecord& record(size_t i) const { return records_[i]; }
  const ScanRecord* records() const { return records_; }
  /* The title area: every title followed by its zero byte. */
  const char* titleArea() const { return titles_; }
  size_t titleAreaSize() const { return titleBytes_; }
  std::string_view title(size_t i) const;

 private:
  friend class HistoryScanner;
  ScanRecord* records_ = nullptr;
  size_t count_ = 0, recordCapacity_ = 0;
  char* titles_ = nullptr;
  size_t titleBytes_ = 0, titleCapacity_ = 0;
};

HistoryScan scanHistoryFile(const std::string& path, const ScanHooks& hooks = {});
