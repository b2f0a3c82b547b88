/*
** Writing the day index: the bytes of the file, the empty index, a file
** that cannot be created, and writes that fail part way.
*/
#include <cerrno>
#include <string>
#include <unistd.h>

#include "scan/day_index_write.h"
#include "temp_folder.h"

namespace {

std::string le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

TEST(DayIndexWrite, IndexBytes) {
  TempFolder folder;
  HistoryScan scan = scanHistoryFile(folder.file("d.dat", "x\r\n##19491001 AB\r\nbody\r\n##-5\r\nC\r\n"));
  WriteResult r = writeDayIndex((folder.path / "d.idx").string(), scan);
  EXPECT_TRUE(r.created);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.entriesWritten, 2u);
  std::string want = le32(2) +
                     le32(19491001) + le32(0) + le32(3) + le32(21) +
                     le32(static_cast<uint32_t>(-5)) + le32(3) + le32(24) + le32(9) +
                     std::string("AB\0C\0", 5);
  EXPECT_EQ(TempFolder::read(folder.path / "d.idx"), want);
}

TEST(DayIndexWrite, NoRecordsGiveTheCountAlone) {
  TempFolder folder;
  HistoryScan scan = scanHistoryFile(folder.file("e.dat", "no records\r\n"));
  WriteResult r = writeDayIndex((folder.path / "e.idx").string(), scan);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(TempFolder::read(folder.path / "e.idx"), le32(0));
}

TEST(DayIndexWrite, AFolderAtTheIndexNameCannotBeCreated) {
  TempFolder folder;
  HistoryScan scan = scanHistoryFile(folder.file("f.dat", "##1 A\r\n"));
  std::filesystem::create_directory(folder.path / "f.idx");
  WriteResult r = writeDayIndex((folder.path / "f.idx").string(), scan);
  EXPECT_FALSE(r.created);
  EXPECT_FALSE(r.complete);
  EXPECT_TRUE(std::filesystem::is_directory(folder.path / "f.idx"));
}

/* The file accepts `limit` bytes in all, then every write fails. */
struct FailingDisk {
  size_t limit;
  size_t written = 0;
  std::vector<std::pair<uint32_t, uint32_t>> tableReports;
};

ssize_t limitedWrite(int fd, const void* data, size_t bytes, void* context) {
  auto* disk = static_cast<FailingDisk*>(context);
  size_t room = disk->limit - disk->written;
  if (room == 0) {
    errno = ENOSPC;
    return -1;
  }
  ssize_t n = ::write(fd, data, std::min(bytes, room));
  if (n > 0) disk->written += static_cast<size_t>(n);
  return n;
}

TEST(DayIndexWrite, FailingWritesCountTheWholeEntriesThatLanded) {
  TempFolder folder;
  HistoryScan scan = scanHistoryFile(folder.file("g.dat", "##1 A\r\n##2 B\r\n##3 C\r\n"));
  struct Case {
    size_t limit;
    uint32_t entries;
  } cases[] = {{2, 0}, {4 + 16 + 15, 1}, {4 + 48, 3}, {4 + 48 + 5, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    FailingDisk disk{c.limit, 0, {}};
    WriteHooks hooks;
    hooks.write = limitedWrite;
    hooks.entryTableWritten = [](uint32_t written, uint32_t count, void* context) {
      static_cast<FailingDisk*>(context)->tableReports.emplace_back(written, count);
    };
    hooks.context = &disk;
    WriteResult r = writeDayIndex((folder.path / "g.idx").string(), scan, hooks);
    EXPECT_TRUE(r.created);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.error, ENOSPC);
    EXPECT_EQ(r.entriesWritten, c.entries);
    ASSERT_EQ(disk.tableReports.size(), 1u);
    EXPECT_EQ(disk.tableReports[0], std::make_pair(c.entries, 3u));
  }
}

}  // namespace
