/*
** The scan of a data file: the byte rules of markers, keys and titles, the
** ends of a scan, and the hooks for progress, memory and reads.
*/
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "scan/history_scan.h"
#include "temp_folder.h"

namespace {

struct Expected {
  int32_t key;
  std::string title;
  int32_t offset;
  int32_t length;
};

struct ScanCase {
  const char* name;
  std::string data;
  ScanEnd end;
  std::vector<Expected> records;
};

void expectRecords(const HistoryScan& scan, const std::vector<Expected>& want) {
  ASSERT_EQ(scan.count(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(scan.record(i).key, want[i].key);
    EXPECT_EQ(scan.title(i), want[i].title);
    EXPECT_EQ(scan.record(i).recordOffset, want[i].offset);
    EXPECT_EQ(scan.record(i).recordLength, want[i].length);
  }
}

const std::string x255(255, 'x');

TEST(HistoryScan, ByteRules) {
  const std::vector<ScanCase> cases = {
      {"bytes before the first marker", "xx#\r\n##1001 A\r\nb\r\n", ScanEnd::endOfFile,
       {{1001, "A", 5, 13}}},
      {"title on the line after the marker", "##1001\r\nTitle\r\nbody\r\n", ScanEnd::endOfFile,
       {{1001, "Title", 0, 21}}},
      {"empty title line: the next marker line is the title", "##1001\r\n##1002 B\r\n",
       ScanEnd::endOfFile, {{1001, "##1002 B", 0, 18}}},
      {"blank, tab, plus and minus before the key", "## +1001 A\r\n##\t-1002 B\r\n",
       ScanEnd::endOfFile, {{1001, "A", 0, 12}, {-1002, "B", 12, 12}}},
      {"leading zeros", "##0001001 A", ScanEnd::endOfFile, {{1001, "A", 0, 11}}},
      {"key at the very end of the file", "##1001 A\r\n##1002", ScanEnd::endOfFile,
       {{1001, "A", 0, 10}, {1002, "", 10, 6}}},
      {"key and blanks at the end of the file", "##1002 \r\n", ScanEnd::endOfFile,
       {{1002, "", 0, 9}}},
      {"a lone CR at the end of the file stays in the title", "##1001 A\r", ScanEnd::endOfFile,
       {{1001, "A\r", 0, 9}}},
      {"marker followed by 0", "##1001 A\r\n##0 B\r\n##1002 C\r\n", ScanEnd::zeroKey,
       {{1001, "A", 0, 10}}},
      {"marker followed by -0", "##1001 A\r\n##-0\r\n", ScanEnd::zeroKey, {{1001, "A", 0, 10}}},
      {"marker followed by text", "##1001 A\r\n##B\r\n##1002 C\r\n", ScanEnd::zeroKey,
       {{1001, "A", 0, 10}}},
      {"a sign without digits", "##1001 A\r\n##+ 5\r\n", ScanEnd::zeroKey, {{1001, "A", 0, 10}}},
      {"a third #", "##1001 A\r\n###1002 C\r\n", ScanEnd::zeroKey, {{1001, "A", 0, 10}}},
      {"a marker at the end of the file", "##1001 A\r\n##", ScanEnd::zeroKey,
       {{1001, "A", 0, 10}}},
      {"two # inside a body line", "##1001 A\r\nsee ##1002 B\r\n", ScanEnd::endOfFile,
       {{1001, "A", 0, 14}, {1002, "B", 14, 10}}},
      {"single # bytes do not count", "##1001 A#\r\n# #\r\n#\r\n#x", ScanEnd::endOfFile,
       {{1001, "A#", 0, 21}}},
      {"a file without markers", "no markers # here\r\n", ScanEnd::endOfFile, {}},
      {"an empty file", "", ScanEnd::endOfFile, {}},
      {"LF-only line ends", "##1001 A\nb\n##1002 B\nc\n", ScanEnd::endOfFile,
       {{1001, "A", 0, 11}, {1002, "B", 11, 11}}},
      /* Keys beyond signed 32 bits are no keys: the data ends there. */
      {"largest key", "##2147483647 A\n", ScanEnd::endOfFile, {{2147483647, "A", 0, 15}}},
      {"smallest key", "##-2147483648 A\n", ScanEnd::endOfFile, {{INT32_MIN, "A", 0, 16}}},
      {"key above 32 bits", "##1 A\n##2147483648 B\n", ScanEnd::zeroKey, {{1, "A", 0, 6}}},
      {"key below 32 bits", "##1 A\n##-2147483649 B\n", ScanEnd::zeroKey, {{1, "A", 0, 6}}},
      {"a very long key", "##1 A\n##99999999999999999999999 B\n", ScanEnd::zeroKey,
       {{1, "A", 0, 6}}},
      /* Title reading ignores '#': a marker cut by the 255-byte limit is none. */
      {"300-byte title line with a marker in its tail",
       "##1001 " + std::string(280, 'a') + "##1002" + std::string(14, 'b') + "\r\n",
       ScanEnd::endOfFile,
       {{1001, std::string(255, 'a'), 0, 287}, {1002, std::string(14, 'b'), 287, 22}}},
      {"marker split by the title limit",
       "##1001 " + std::string(254, 'a') + "##1002 c\r\n", ScanEnd::endOfFile,
       {{1001, std::string(254, 'a') + "#", 0, 271}}},
  };
  TempFolder folder;
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    HistoryScan scan = scanHistoryFile(folder.file("case.dat", c.data));
    EXPECT_EQ(scan.open, ScanOpen::opened);
    EXPECT_EQ(scan.end, c.end);
    expectRecords(scan, c.records);
  }
}

/* Title lines of 253 to 256 bytes, with CR LF and with LF: the title is
** never longer than 255 bytes, never holds the line end, and the next
** record is found whatever is left of the line. */
TEST(HistoryScan, TitlesAroundTheLimit) {
  TempFolder folder;
  for (const char* end : {"\r\n", "\n"}) {
    for (size_t n = 253; n <= 256; ++n) {
      SCOPED_TRACE(std::to_string(n) + (end[0] == '\r' ? " CR LF" : " LF"));
      std::string first = "##1001 " + std::string(n, 'x') + end;
      HistoryScan scan = scanHistoryFile(folder.file("t.dat", first + "##1002 B" + end));
      int32_t firstLength = static_cast<int32_t>(first.size());
      expectRecords(scan, {{1001, std::string(std::min<size_t>(n, 255), 'x'), 0, firstLength},
                           {1002, "B", firstLength, static_cast<int32_t>(8 + strlen(end))}});
    }
  }
  /* A double-byte character is cut in its middle at the limit. */
  std::string gbk = std::string(254, 'x') + "\xC0\xFA";
  HistoryScan scan = scanHistoryFile(folder.file("t.dat", "##1001 " + gbk + "\r\n"));
  ASSERT_EQ(scan.count(), 1u);
  EXPECT_EQ(scan.title(0), gbk.substr(0, 255));
}

TEST(HistoryScan, FilesThatCannotBeScanned) {
  TempFolder folder;
  EXPECT_EQ(scanHistoryFile((folder.path / "missing.dat").string()).open, ScanOpen::cannotOpen);
  EXPECT_EQ(scanHistoryFile(folder.path.string()).open, ScanOpen::cannotOpen);
  /* 2 GiB, sparse: outside the format's signed offsets. */
  std::string big = folder.file("big.dat", "");
  std::filesystem::resize_file(big, uintmax_t{1} << 31);
  EXPECT_EQ(scanHistoryFile(big).open, ScanOpen::tooLarge);
}

/* Many records of every title length across several read blocks come out
** exactly as they were written. */
TEST(HistoryScan, LargeFileAcrossBlocks) {
  std::mt19937 random(7);
  std::string data = "header line\r\n";
  std::vector<Expected> want;
  while (data.size() < (size_t{9} << 20)) {
    int32_t key = static_cast<int32_t>((1 + random() % 2100) * 10000 + (1 + random() % 12) * 100 +
                                       1 + random() % 28);
    size_t titleLength = 1 + random() % 300;
    std::string title;
    for (size_t i = 0; i < titleLength; ++i) title += static_cast<char>('A' + random() % 26);
    std::string body;
    size_t bodyLength = random() % 4000;
    for (size_t i = 0; i < bodyLength; ++i) body += (i % 70 == 69) ? '\n' : (i % 13 ? 'b' : '#');
    int32_t offset = static_cast<int32_t>(data.size());
    std::string blanks = (random() % 2) ? " " : "\r\n\t ";
    std::string line = "##" + std::to_string(key) + blanks + title + "\r\n";
    data += line + "c" + body + "\r\n";
    want.push_back({key, title.substr(0, 255), offset, static_cast<int32_t>(data.size()) - offset});
  }
  TempFolder folder;
  HistoryScan scan = scanHistoryFile(folder.file("big.dat", data));
  EXPECT_EQ(scan.end, ScanEnd::endOfFile);
  expectRecords(scan, want);
}

struct HookLog {
  std::vector<size_t> progress;
  ScanMemory failWhat = ScanMemory::record;
  size_t failAt = SIZE_MAX;
  int readCalls = 0;
  int failRead = 0;
};

TEST(HistoryScan, ProgressAndMemoryHooks) {
  TempFolder folder;
  std::string path = folder.file("m.dat", "##1 A\r\n##2 B\r\n##3 C\r\n##4 D\r\n");
  ScanHooks hooks;
  HookLog log;
  hooks.context = &log;
  hooks.recordAppended = [](size_t count, void* c) { static_cast<HookLog*>(c)->progress.push_back(count); };
  hooks.mayAllocate = [](ScanMemory what, size_t index, void* c) {
    auto* l = static_cast<HookLog*>(c);
    return !(what == l->failWhat && index == l->failAt);
  };

  HistoryScan all = scanHistoryFile(path, hooks);
  EXPECT_EQ(all.end, ScanEnd::endOfFile);
  EXPECT_EQ(log.progress, (std::vector<size_t>{1, 2, 3, 4}));

  /* No memory to start the third record: two records, the second ends at the third marker. */
  log.failAt = 2;
  HistoryScan noRecord = scanHistoryFile(path, hooks);
  EXPECT_EQ(noRecord.end, ScanEnd::noMemoryForRecord);
  expectRecords(noRecord, {{1, "A", 0, 7}, {2, "B", 7, 7}});

  /* No memory for the third title: that record is dropped the same way. */
  log.failWhat = ScanMemory::title;
  HistoryScan noTitle = scanHistoryFile(path, hooks);
  EXPECT_EQ(noTitle.end, ScanEnd::noMemoryForTitle);
  expectRecords(noTitle, {{1, "A", 0, 7}, {2, "B", 7, 7}});
}

TEST(HistoryScan, ReadErrorsAreNoEndOfFile) {
  TempFolder folder;
  std::string path = folder.file("r.dat", "##1 A\r\n");
  ScanHooks hooks;
  hooks.read = [](int, void*, size_t, void*) -> ssize_t {
    errno = EIO;
    return -1;
  };
  HistoryScan scan = scanHistoryFile(path, hooks);
  EXPECT_EQ(scan.open, ScanOpen::opened);
  EXPECT_EQ(scan.end, ScanEnd::readError);
}

}  // namespace
