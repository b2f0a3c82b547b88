/*
** Writing the day index. On a little-endian machine the scan's record table
** and title area are already the file's entry table and title area, so the
** file is three writes; elsewhere the entries are encoded block by block.
*/
#include "scan/day_index_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <vector>

#include "index_format.h"

namespace {

class IndexWriter {
 public:
  IndexWriter(int fd, const WriteHooks& hooks, WriteResult& result)
      : fd_(fd), hooks_(hooks), result_(result) {}

  /* Writes all of `bytes` unless an earlier write failed; returns the bytes
  ** that reached the file. */
  size_t put(const void* data, size_t bytes) {
    if (failed_) return 0;
    const char* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < bytes) {
      ssize_t n = hooks_.write ? hooks_.write(fd_, p + done, bytes - done, hooks_.context)
                               : ::write(fd_, p + done, bytes - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failed_ = true;
        result_.error = n < 0 ? errno : EIO;
        break;
      }
      done += static_cast<size_t>(n);
    }
    return done;
  }
  bool failed() const { return failed_; }

 private:
  int fd_;
  const WriteHooks& hooks_;
  WriteResult& result_;
  bool failed_ = false;
};

void storeLittle32(unsigned char* out, uint32_t v) {
  out[0] = static_cast<unsigned char>(v);
  out[1] = static_cast<unsigned char>(v >> 8);
  out[2] = static_cast<unsigned char>(v >> 16);
  out[3] = static_cast<unsigned char>(v >> 24);
}

/* Returns the number of whole entries written. */
uint32_t writeEntries(IndexWriter& writer, const HistoryScan& scan) {
  size_t bytes = 0;
  if constexpr (std::endian::native == std::endian::little) {
    bytes = writer.put(scan.records(), scan.count() * kIndexEntryBytes);
  } else {
    std::vector<unsigned char> block(size_t{4096} * kIndexEntryBytes);
    for (size_t first = 0; first < scan.count() && !writer.failed(); first += 4096) {
      size_t n = std::min<size_t>(4096, scan.count() - first);
      for (size_t i = 0; i < n; ++i) {
        const ScanRecord& r = scan.record(first + i);
        unsigned char* e = block.data() + i * kIndexEntryBytes;
        storeLittle32(e, static_cast<uint32_t>(r.key));
        storeLittle32(e + 4, r.titleOffset);
        storeLittle32(e + 8, static_cast<uint32_t>(r.recordOffset));
        storeLittle32(e + 12, static_cast<uint32_t>(r.recordLength));
      }
      bytes += writer.put(block.data(), n * kIndexEntryBytes);
    }
  }
  return static_cast<uint32_t>(bytes / kIndexEntryBytes);
}

}  // namespace

WriteResult writeDayIndex(const std::string& indexPath, const HistoryScan& scan,
                          const WriteHooks& hooks) {
  WriteResult result;
  int fd = ::open(indexPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  result.created = true;
  IndexWriter writer(fd, hooks, result);
  uint32_t count = static_cast<uint32_t>(scan.count());
  unsigned char header[kIndexCountBytes];
  storeLittle32(header, count);
  writer.put(header, sizeof header);
  result.entriesWritten = writer.failed() ? 0 : writeEntries(writer, scan);
  if (hooks.entryTableWritten) hooks.entryTableWritten(result.entriesWritten, count, hooks.context);
  writer.put(scan.titleArea(), scan.titleAreaSize());
  bool closed = ::close(fd) == 0;
  if (!closed && result.error == 0) result.error = errno;
  result.complete = !writer.failed() && closed;
  return result;
}
