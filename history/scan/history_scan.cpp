/*
** The scan of a history data file (byte rules in history_scan.h).
**
** The file goes through one block buffer. Between records the scanner only
** looks for '#' with memchr; a marker then switches to byte-wise key
** reading and to the title, which needs at most 257 bytes in view (255
** title bytes, CR, LF). The record table and the title area grow by
** doubling with realloc, whose large blocks are remapped rather than
** copied, so memory stays close to the index's own size.
*/
#include "scan/history_scan.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "index_format.h"

namespace {

const size_t kBlockBytes = size_t{1024} << 10;
const size_t kTitleView = kMaxTitleBytes + 2; /* title, CR, LF */
const size_t kFirstRecords = 4096;
const size_t kFirstTitleBytes = size_t{64} << 10;

/* A block of `bytes` (a multiple of the page size), or the block moved and
** grown to that size; null when memory cannot be had. */
void* growBlock(void* block, size_t oldBytes, size_t bytes) {
  void* p = block ? ::mremap(block, oldBytes, bytes, MREMAP_MAYMOVE)
                  : ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  ::madvise(p, bytes, MADV_HUGEPAGE); /* advice only: fine to be refused */
  return p;
}

void releaseBlock(void* block, size_t bytes) {
  if (block) ::munmap(block, bytes);
}

bool isKeySpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

HistoryScan::HistoryScan(HistoryScan&& other) noexcept { *this = std::move(other); }

HistoryScan& HistoryScan::operator=(HistoryScan&& other) noexcept {
  if (this != &other) {
    releaseBlock(records_, recordCapacity_ * sizeof(ScanRecord));
    releaseBlock(titles_, titleCapacity_);
    open = other.open;
    end = other.end;
    bytesRead = other.bytesRead;
    records_ = std::exchange(other.records_, nullptr);
    count_ = std::exchange(other.count_, 0);
    recordCapacity_ = std::exchange(other.recordCapacity_, 0);
    titles_ = std::exchange(other.titles_, nullptr);
    titleBytes_ = std::exchange(other.titleBytes_, 0);
    titleCapacity_ = std::exchange(other.titleCapacity_, 0);
  }
  return *this;
}

HistoryScan::~HistoryScan() {
  releaseBlock(records_, recordCapacity_ * sizeof(ScanRecord));
  releaseBlock(titles_, titleCapacity_);
}

std::string_view HistoryScan::title(size_t i) const {
  size_t start = records_[i].titleOffset;
  size_t next = i + 1 < count_ ? records_[i + 1].titleOffset : titleBytes_;
  return std::string_view(titles_ + start, next - start - 1);
}

/* One scan in progress. */
class HistoryScanner {
 public:
  HistoryScanner(int fd, const ScanHooks& hooks, HistoryScan& out)
      : fd_(fd), hooks_(hooks), out_(out) {}
  ~HistoryScanner() { std::free(buffer_); }

  void run();

 private:
  /* Moves the unread bytes to the front and reads until the buffer is full
  ** or the file ends. False on a read error. */
  bool fill();
  /* The next byte without taking it; -1 at the end of the file or on error. */
  int peek();
  int64_t position() const { return base_ + static_cast<int64_t>(pos_); }

  bool startRecord(int64_t marker);
  bool readKey(int32_t* key);
  bool readTitle(int64_t marker, int32_t key);
  bool allowed(ScanMemory what) {
    return !hooks_.mayAllocate || hooks_.mayAllocate(what, out_.count_, hooks_.context);
  }
  bool grow(void** block, size_t* capacity, size_t needed, size_t first, size_t unit);

  int fd_;
  const ScanHooks& hooks_;
  HistoryScan& out_;
  char* buffer_ = nullptr;
  size_t pos_ = 0, end_ = 0;
  int64_t base_ = 0; /* file position of buffer_[0] */
  bool eof_ = false, failed_ = false, stopped_ = false;
};

bool HistoryScanner::fill() {
  if (eof_ || failed_) return !failed_;
  size_t keep = end_ - pos_;
  std::memmove(buffer_, buffer_ + pos_, keep);
  base_ += static_cast<int64_t>(pos_);
  pos_ = 0;
  end_ = keep;
  while (end_ < kBlockBytes) {
    ssize_t n = hooks_.read ? hooks_.read(fd_, buffer_ + end_, kBlockBytes - end_, hooks_.context)
                            : ::read(fd_, buffer_ + end_, kBlockBytes - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      failed_ = true;
      return false;
    }
    if (n == 0) {
      eof_ = true;
      break;
    }
    end_ += static_cast<size_t>(n);
  }
  return true;
}

int HistoryScanner::peek() {
  if (pos_ == end_ && !fill()) return -1;
  return pos_ < end_ ? static_cast<unsigned char>(buffer_[pos_]) : -1;
}

bool HistoryScanner::grow(void** block, size_t* capacity, size_t needed, size_t first,
                          size_t unit) {
  if (needed <= *capacity) return true;
  size_t wanted = *capacity ? *capacity : first;
  while (wanted < needed) wanted *= 2;
  void* bigger = growBlock(*block, *capacity * unit, wanted * unit);
  if (!bigger) return false;
  *block = bigger;
  *capacity = wanted;
  return true;
}

void HistoryScanner::run() {
  buffer_ = static_cast<char*>(std::malloc(kBlockBytes));
  if (!buffer_) {
    out_.end = ScanEnd::noMemoryForRecord;
    return;
  }
  bool oneHash = false; /* the byte before pos_ was a '#' that counts */
  while (!stopped_) {
    if (pos_ == end_) {
      if (!fill()) break;
      if (pos_ == end_) break; /* end of file */
    }
    if (oneHash) {
      oneHash = false;
      if (buffer_[pos_] == '#') {
        ++pos_;
        if (!startRecord(position() - 2)) stopped_ = true;
        continue;
      }
    }
    const void* hash = std::memchr(buffer_ + pos_, '#', end_ - pos_);
    if (!hash) {
      pos_ = end_;
      continue;
    }
    pos_ = static_cast<size_t>(static_cast<const char*>(hash) - buffer_) + 1;
    oneHash = true;
  }
  out_.bytesRead = base_ + static_cast<int64_t>(end_);
  if (failed_) {
    out_.end = ScanEnd::readError;
    return;
  }
  if (!stopped_) {
    out_.end = ScanEnd::endOfFile;
    if (out_.count_ > 0) {
      ScanRecord& last = out_.records_[out_.count_ - 1];
      last.recordLength = static_cast<int32_t>(out_.bytesRead - last.recordOffset);
    }
  }
}

/* A marker at `marker`: closes the open record and reads the new one.
** False when the scan ends here. */
bool HistoryScanner::startRecord(int64_t marker) {
  if (out_.count_ > 0) {
    ScanRecord& open = out_.records_[out_.count_ - 1];
    open.recordLength = static_cast<int32_t>(marker - open.recordOffset);
  }
  if (!allowed(ScanMemory::record) ||
      !grow(reinterpret_cast<void**>(&out_.records_), &out_.recordCapacity_, out_.count_ + 1,
            kFirstRecords, sizeof(ScanRecord))) {
    out_.end = ScanEnd::noMemoryForRecord;
    return false;
  }
  int32_t key = 0;
  if (!readKey(&key)) {
    out_.end = failed_ ? ScanEnd::readError : ScanEnd::zeroKey;
    return false;
  }
  return readTitle(marker, key);
}

/* Reads the key and the whitespace after it. False when there is no
** usable key: no digits, 0, or a value beyond signed 32 bits. */
bool HistoryScanner::readKey(int32_t* key) {
  int c = peek();
  while (c >= 0 && isKeySpace(static_cast<unsigned char>(c))) {
    ++pos_;
    c = peek();
  }
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    ++pos_;
    c = peek();
  }
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t value = 0;
  bool digits = false, tooBig = false;
  while (c >= '0' && c <= '9') {
    digits = true;
    value = value * 10 + (c - '0');
    if (value > limit) tooBig = true;
    if (tooBig) value = limit; /* keeps the product small; the key is refused */
    ++pos_;
    c = peek();
  }
  if (!digits || value == 0 || tooBig) return false;
  while (c >= 0 && isKeySpace(static_cast<unsigned char>(c))) {
    ++pos_;
    c = peek();
  }
  if (failed_) return false;
  *key = static_cast<int32_t>(negative ? -value : value);
  return true;
}

bool HistoryScanner::readTitle(int64_t marker, int32_t key) {
  if (end_ - pos_ < kTitleView && !fill()) return false;
  const char* start = buffer_ + pos_;
  size_t view = std::min(end_ - pos_, kTitleView);
  size_t length, consumed;
  if (const void* lf = std::memchr(start, '\n', view)) {
    size_t line = static_cast<size_t>(static_cast<const char*>(lf) - start);
    length = (line > 0 && start[line - 1] == '\r') ? line - 1 : line;
    consumed = line + 1;
  } else {
    length = view; /* the file ends within the line, or the line is long */
    consumed = view;
  }
  if (length > kMaxTitleBytes) {
    length = kMaxTitleBytes;
    consumed = kMaxTitleBytes;
  }
  if (!allowed(ScanMemory::title) ||
      !grow(reinterpret_cast<void**>(&out_.titles_), &out_.titleCapacity_,
            out_.titleBytes_ + length + 1, kFirstTitleBytes, 1)) {
    out_.end = ScanEnd::noMemoryForTitle;
    return false;
  }
  ScanRecord& record = out_.records_[out_.count_];
  record.key = key;
  record.titleOffset = static_cast<uint32_t>(out_.titleBytes_);
  record.recordOffset = static_cast<int32_t>(marker);
  record.recordLength = 0;
  std::memcpy(out_.titles_ + out_.titleBytes_, start, length);
  out_.titles_[out_.titleBytes_ + length] = '\0';
  out_.titleBytes_ += length + 1;
  ++out_.count_;
  pos_ += consumed;
  if (hooks_.recordAppended) hooks_.recordAppended(out_.count_, hooks_.context);
  return true;
}

HistoryScan scanHistoryFile(const std::string& path, const ScanHooks& hooks) {
  HistoryScan scan;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return scan;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return scan;
  }
  if (st.st_size > kMaxDataFileBytes) {
    scan.open = ScanOpen::tooLarge;
    ::close(fd);
    return scan;
  }
  scan.open = ScanOpen::opened;
  HistoryScanner(fd, hooks, scan).run();
  ::close(fd);
  /* A file that grew past the limit while it was read is refused too. */
  if (scan.bytesRead > kMaxDataFileBytes) scan.open = ScanOpen::tooLarge;
  return scan;
}
