/*
** The index generator's run. The console report is the program's interface:
** banner; a dot per 1000 records; the summary line after a scan that read
** the whole file or ran out of memory when starting a record; "ERROR!"
** between the entry table and the titles when entries were lost; the
** "Write" line; the cost line. A refused or failed run says why and exits
** with status 1, so that scripts can rely on the status.
*/
#include "make_index.h"

#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "index_name.h"
#include "scan/day_index_write.h"

namespace {

const char kBanner[] =
    "lmMakeIndex - builds the day index of a Lumeno history data file\n"
    "Lumeno day pages project\n";

const char kUsage[] =
    "Usage: lmMakeIndex [DATAFILE]\n"
    "Scans DATAFILE and writes its day index beside it: the same path up to\n"
    "its last '.', followed by \"idx\". With no argument, or with more than\n"
    "one, DATAFILE is \"pastday.dat\" in the current folder.\n"
    "Exit status: 0 when the index holds every record, 1 otherwise.\n";

/* Carries the caller's hooks and the console into the scan's callbacks. */
struct RunContext {
  const MakeIndexHooks* hooks;
  FILE* out;
};

void printProgress(size_t count, void* context) {
  if (count % 1000 != 0) return;
  FILE* out = static_cast<RunContext*>(context)->out;
  std::fputc('.', out);
  std::fflush(out);
}

bool mayAllocate(ScanMemory what, size_t index, void* context) {
  const MakeIndexHooks* hooks = static_cast<RunContext*>(context)->hooks;
  return hooks->mayAllocate(what, index, hooks->context);
}

ssize_t readHook(int fd, void* buffer, size_t bytes, void* context) {
  const MakeIndexHooks* hooks = static_cast<RunContext*>(context)->hooks;
  return hooks->read(fd, buffer, bytes, hooks->context);
}

ssize_t writeHook(int fd, const void* data, size_t bytes, void* context) {
  const MakeIndexHooks* hooks = static_cast<RunContext*>(context)->hooks;
  return hooks->write(fd, data, bytes, hooks->context);
}

void reportLostEntries(uint32_t written, uint32_t count, void* context) {
  if (written != count) std::fputs("ERROR!\n", static_cast<RunContext*>(context)->out);
}

uint32_t tickCount(const MakeIndexHooks& hooks) {
  if (hooks.ticks) return hooks.ticks(hooks.context);
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

/* `--help` or `-h` as the only argument asks for the usage, unless a file of
** that name exists: then it is the data file, as any single argument is. */
bool asksForHelp(const std::string& argument) {
  if (argument != "--help" && argument != "-h") return false;
  struct stat st;
  return ::stat(argument.c_str(), &st) != 0;
}

/* True when writing the index would replace the data file: the same name,
** or another name of the same file (a link, a case-insensitive disk). */
bool indexIsDataFile(const std::string& dataPath, const std::string& indexPath) {
  if (dataPath == indexPath) return true;
  struct stat data, index;
  return ::stat(dataPath.c_str(), &data) == 0 && ::stat(indexPath.c_str(), &index) == 0 &&
         data.st_dev == index.st_dev && data.st_ino == index.st_ino;
}

}  // namespace

int runMakeIndex(int argc, const char* const argv[], FILE* out, FILE* err,
                 const MakeIndexHooks& hooks) {
  std::fputs(kBanner, out);
  std::string dataPath = argc == 2 ? argv[1] : "pastday.dat";
  if (argc == 2 && asksForHelp(dataPath)) {
    std::fputs(kUsage, out);
    return kExitOk;
  }
  uint32_t start = tickCount(hooks);

  RunContext context{&hooks, out};
  ScanHooks scanHooks;
  scanHooks.recordAppended = printProgress;
  scanHooks.mayAllocate = hooks.mayAllocate ? mayAllocate : nullptr;
  scanHooks.read = hooks.read ? readHook : nullptr;
  scanHooks.context = &context;
  HistoryScan scan = scanHistoryFile(dataPath, scanHooks);
  if (scan.open == ScanOpen::cannotOpen) {
    std::fprintf(out, "Cannot open file %s.\n", dataPath.c_str());
    return kExitFailure;
  }
  if (scan.open == ScanOpen::tooLarge) {
    std::fprintf(out, "File %s is 2 GiB or larger: the day index cannot address it.\n",
                 dataPath.c_str());
    return kExitFailure;
  }
  if (scan.end == ScanEnd::readError) {
    std::fprintf(out, "\nCannot read file %s.\n", dataPath.c_str());
    return kExitFailure;
  }
  int count = static_cast<int>(scan.count());
  if (scan.end == ScanEnd::endOfFile || scan.end == ScanEnd::noMemoryForRecord)
    std::fprintf(out, "\nGenerated %d records.\n", count);

  std::optional<std::string> indexPath = indexPathFor(dataPath);
  if (!indexPath) {
    std::fputs("Filename Error!\n", out);
    return kExitFailure;
  }
  if (indexIsDataFile(dataPath, *indexPath)) {
    std::fprintf(out, "Index file %s would replace the data file: nothing written.\n",
                 indexPath->c_str());
    return kExitFailure;
  }

  WriteHooks writeHooks;
  writeHooks.write = hooks.write ? writeHook : nullptr;
  writeHooks.entryTableWritten = reportLostEntries;
  writeHooks.context = &context;
  WriteResult written = writeDayIndex(*indexPath, scan, writeHooks);
  if (written.created) {
    std::fprintf(out, "Write %d of %d\n", static_cast<int>(written.entriesWritten), count);
    if (!written.complete) {
      std::fflush(out);
      std::fprintf(err, "lmMakeIndex: writing %s failed: %s\n", indexPath->c_str(),
                   std::strerror(written.error));
    }
  } else {
    std::fflush(out);
    std::fprintf(err, "lmMakeIndex: cannot create %s: %s\n", indexPath->c_str(),
                 std::strerror(written.error));
  }
  std::fprintf(out, ">>Cost: %dms\n", costMilliseconds(start, tickCount(hooks)));

  bool wholeData = scan.end == ScanEnd::endOfFile || scan.end == ScanEnd::zeroKey;
  if (!wholeData) {
    std::fflush(out);
    std::fprintf(err, "lmMakeIndex: memory ran out; the index holds the first %d records only\n",
                 count);
  }
  bool ok = wholeData && written.created && written.complete &&
            written.entriesWritten == scan.count();
  return ok ? kExitOk : kExitFailure;
}
