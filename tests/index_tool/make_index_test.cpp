/*
** lmMakeIndex: the console report to the letter, the index's name, the
** argument rules, refused input and the exit status, with memory, reads,
** writes and the clock under the tests' control.
*/
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "index_name.h"
#include "make_index.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string kBanner =
    "lmMakeIndex - builds the day index of a Lumeno history data file\n"
    "Lumeno day pages project\n";

/* What the hooks do in one run. */
struct Faults {
  uint32_t ticks[2] = {0xFFFFFFF0u, 0x10u}; /* wraps: 32 ms */
  int tick = 0;
  bool failMemory = false;
  ScanMemory memory = ScanMemory::record;
  size_t memoryAt = 0;
  size_t writeLimit = SIZE_MAX;
  size_t written = 0;
  bool failReads = false;
};

MakeIndexHooks hooksFor(Faults& f) {
  MakeIndexHooks h;
  h.context = &f;
  h.ticks = [](void* c) {
    auto* faults = static_cast<Faults*>(c);
    return faults->ticks[faults->tick++ % 2];
  };
  h.mayAllocate = [](ScanMemory what, size_t index, void* c) {
    auto* faults = static_cast<Faults*>(c);
    return !(faults->failMemory && what == faults->memory && index == faults->memoryAt);
  };
  h.read = [](int fd, void* buffer, size_t bytes, void* c) -> ssize_t {
    if (static_cast<Faults*>(c)->failReads) {
      errno = EIO;
      return -1;
    }
    return ::read(fd, buffer, bytes);
  };
  h.write = [](int fd, const void* data, size_t bytes, void* c) -> ssize_t {
    auto* faults = static_cast<Faults*>(c);
    size_t room = faults->writeLimit - faults->written;
    if (room == 0) {
      errno = ENOSPC;
      return -1;
    }
    ssize_t n = ::write(fd, data, std::min(bytes, room));
    if (n > 0) faults->written += static_cast<size_t>(n);
    return n;
  };
  return h;
}

struct ToolRun {
  std::string out, err;
  int status;
};

ToolRun runTool(const std::vector<std::string>& args, Faults faults = {}) {
  std::vector<const char*> argv{"lmMakeIndex"};
  for (const auto& a : args) argv.push_back(a.c_str());
  char *outText = nullptr, *errText = nullptr;
  size_t outSize = 0, errSize = 0;
  FILE* out = open_memstream(&outText, &outSize);
  FILE* err = open_memstream(&errText, &errSize);
  int status = runMakeIndex(static_cast<int>(argv.size()), argv.data(), out, err, hooksFor(faults));
  std::fclose(out);
  std::fclose(err);
  ToolRun run{std::string(outText, outSize), std::string(errText, errSize), status};
  std::free(outText);
  std::free(errText);
  return run;
}

std::string records(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "##19491001 T\r\nbody\r\n";
  return s;
}

/* Runs inside a fresh folder, so that relative names are the tool's own. */
class MakeIndex : public ::testing::Test {
 protected:
  TempFolder folder;
  fs::path previous;
  void SetUp() override {
    previous = fs::current_path();
    fs::current_path(folder.path);
  }
  void TearDown() override { fs::current_path(previous); }
};

struct ReportCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> files; /* content "/" makes a folder */
  std::vector<std::string> args;
  Faults faults;
  std::string report; /* after the banner */
  int status;
  std::string index;  /* the index that must exist afterwards, if any */
  bool stderrNote = false; /* a failure the report does not name is told on stderr */
};

Faults memoryFails(ScanMemory what, size_t at) {
  Faults f;
  f.failMemory = true;
  f.memory = what;
  f.memoryAt = at;
  return f;
}
Faults writesStopAfter(size_t bytes) {
  Faults f;
  f.writeLimit = bytes;
  return f;
}
Faults readsFail() {
  Faults f;
  f.failReads = true;
  return f;
}
Faults clock(uint32_t start, uint32_t end) {
  Faults f;
  f.ticks[0] = start;
  f.ticks[1] = end;
  return f;
}

const std::string kCost = ">>Cost: 32ms\n";

TEST_F(MakeIndex, ConsoleReport) {
  const std::vector<ReportCase> cases = {
      {"2500 records: two dots", {{"h.dat", records(2500)}}, {"h.dat"}, {},
       "..\nGenerated 2500 records.\nWrite 2500 of 2500\n" + kCost, 0, "h.idx"},
      {"no argument reads pastday.dat", {{"pastday.dat", records(1)}}, {}, {},
       "\nGenerated 1 records.\nWrite 1 of 1\n" + kCost, 0, "pastday.idx"},
      {"three arguments are disregarded", {{"pastday.dat", records(1)}}, {"a.dat", "b", "c"}, {},
       "\nGenerated 1 records.\nWrite 1 of 1\n" + kCost, 0, "pastday.idx"},
      {"a marker followed by 0 ends the data", {{"z.dat", records(2) + "##0\r\n" + records(1)}},
       {"z.dat"}, {}, "Write 2 of 2\n" + kCost, 0, "z.idx"},
      {"no records at all", {{"e.dat", "text\r\n"}}, {"e.dat"}, {},
       "\nGenerated 0 records.\nWrite 0 of 0\n" + kCost, 0, "e.idx"},
      {"cannot open", {}, {"missing.dat"}, {}, "Cannot open file missing.dat.\n", 1, ""},
      {"a folder cannot be opened", {{"dir.dat", "/"}}, {"dir.dat"}, {},
       "Cannot open file dir.dat.\n", 1, ""},
      {"no dot in the path", {{"notes", records(1)}}, {"notes"}, {},
       "\nGenerated 1 records.\nFilename Error!\n", 1, ""},
      {"the only dot in a folder name", {{"data.old", "/"}, {"data.old/notes", records(1)}},
       {"data.old/notes"}, {}, "\nGenerated 1 records.\nWrite 1 of 1\n" + kCost, 0, "data.idx"},
      {"a name that ends in a dot", {{"name.", records(1)}}, {"name."}, {},
       "\nGenerated 1 records.\nWrite 1 of 1\n" + kCost, 0, "name.idx"},
      {"the index cannot be created", {{"x.dat", records(1)}, {"x.idx", "/"}}, {"x.dat"}, {},
       "\nGenerated 1 records.\n" + kCost, 1, "", true},
      {"entries lost: ERROR!", {{"w.dat", records(3)}}, {"w.dat"}, writesStopAfter(4 + 16 + 3),
       "\nGenerated 3 records.\nERROR!\nWrite 1 of 3\n" + kCost, 1, "w.idx", true},
      {"titles lost", {{"w.dat", records(3)}}, {"w.dat"}, writesStopAfter(4 + 48 + 2),
       "\nGenerated 3 records.\nWrite 3 of 3\n" + kCost, 1, "w.idx", true},
      {"no memory to start a record", {{"m.dat", records(3)}}, {"m.dat"},
       memoryFails(ScanMemory::record, 2), "\nGenerated 2 records.\nWrite 2 of 2\n" + kCost, 1,
       "m.idx", true},
      {"no memory for a title", {{"m.dat", records(3)}}, {"m.dat"},
       memoryFails(ScanMemory::title, 2), "Write 2 of 2\n" + kCost, 1, "m.idx", true},
      {"read error", {{"r.dat", records(3)}}, {"r.dat"}, readsFail(),
       "\nCannot read file r.dat.\n", 1, ""},
      {"the index would be the data file", {{"x.idx", records(1)}}, {"x.idx"}, {},
       "\nGenerated 1 records.\nIndex file x.idx would replace the data file: nothing written.\n",
       1, ""},
      {"a clock that went back prints a negative cost", {{"c.dat", records(1)}}, {"c.dat"},
       clock(100, 50), "\nGenerated 1 records.\nWrite 1 of 1\n>>Cost: -50ms\n", 0, "c.idx"},
      {"a file named --help is a data file", {{"--help", ""}}, {"--help"}, {},
       "\nGenerated 0 records.\nFilename Error!\n", 1, ""},
  };
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(folder.path)) fs::remove_all(entry.path());
    for (const auto& [name, content] : c.files) {
      if (content == "/")
        fs::create_directories(name);
      else
        folder.file(name, content);
    }
    ToolRun run = runTool(c.args, c.faults);
    EXPECT_EQ(run.out, kBanner + c.report);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(!run.err.empty(), c.stderrNote) << run.err;
    if (!c.index.empty()) {
      EXPECT_TRUE(fs::is_regular_file(c.index));
    }
    /* No other index appears: only the one named and those the case brought. */
    size_t want = c.index.empty() ? 0 : 1, found = 0;
    for (const auto& file : c.files)
      if (fs::path(file.first).extension() == ".idx" && file.second != "/") ++want;
    for (auto it = fs::recursive_directory_iterator("."); it != fs::recursive_directory_iterator(); ++it)
      if (it->path().extension() == ".idx" && it->is_regular_file()) ++found;
    EXPECT_EQ(found, want);
  }
}

TEST_F(MakeIndex, IndexBytesOfARun) {
  folder.file("e.dat", "none\r\n");
  EXPECT_EQ(runTool({"e.dat"}).status, 0);
  EXPECT_EQ(TempFolder::read("e.idx"), std::string(4, '\0'));

  folder.file("x.idx", records(1));
  runTool({"x.idx"});
  EXPECT_EQ(TempFolder::read("x.idx"), records(1));

  /* A second name of the data file is refused too. */
  fs::create_symlink("x.idx", "y.idx");
  folder.file("y.", records(2));
  fs::remove("y.");
  fs::create_symlink("x.idx", "y.");
  ToolRun linked = runTool({"y."});
  EXPECT_EQ(linked.status, 1);
  EXPECT_EQ(TempFolder::read("x.idx"), records(1));
}

TEST_F(MakeIndex, PathsLongerThan260Bytes) {
  std::string dir = ".";
  while (dir.size() < 300) dir += "/folder_with_a_long_name";
  fs::create_directories(dir);
  std::string data = dir + "/pastday.dat";
  folder.file(data, records(2));
  ToolRun run = runTool({data});
  EXPECT_EQ(run.out, kBanner + "\nGenerated 2 records.\nWrite 2 of 2\n" + kCost);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(fs::is_regular_file(dir + "/pastday.idx"));
}

TEST_F(MakeIndex, DataFilesOf2GiBAreRefused) {
  std::string big = folder.file("big.dat", "");
  fs::resize_file(big, uintmax_t{1} << 31);
  ToolRun run = runTool({"big.dat"});
  EXPECT_EQ(run.out, kBanner + "File big.dat is 2 GiB or larger: the day index cannot address it.\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(fs::exists("big.idx"));
}

TEST_F(MakeIndex, HelpWhenNoFileHasThatName) {
  for (const char* flag : {"--help", "-h"}) {
    ToolRun run = runTool({flag});
    EXPECT_EQ(run.out.rfind(kBanner + "Usage: lmMakeIndex [DATAFILE]\n", 0), 0u) << run.out;
    EXPECT_EQ(run.status, 0);
  }
}

TEST(IndexName, FromTheLastDotOfTheWholePath) {
  struct {
    const char* data;
    const char* index;
  } cases[] = {{"pastday.dat", "pastday.idx"}, {"a.b.dat", "a.b.idx"}, {"data.old/notes", "data.idx"},
               {"name.", "name.idx"},          {".dat", ".idx"},         {"dir/x.tar.gz", "dir/x.tar.idx"}};
  for (const auto& c : cases) EXPECT_EQ(indexPathFor(c.data), std::optional<std::string>(c.index));
  EXPECT_EQ(indexPathFor("notes"), std::nullopt);
}

TEST(Cost, WrapsLikeA32BitTickCount) {
  EXPECT_EQ(costMilliseconds(1000, 1250), 250);
  EXPECT_EQ(costMilliseconds(0xFFFFFF00u, 0x10u), 272);
  EXPECT_EQ(costMilliseconds(50, 20), -30);
}

/* The program itself: the exit status reaches the shell. */
TEST_F(MakeIndex, ProgramExitStatus) {
  folder.file("pastday.dat", records(3));
  auto shell = [](const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int status = pclose(p);
    return std::make_pair(out, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  };
  auto [out, status] = shell(std::string("'") + LM_MAKE_INDEX_PATH + "'");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out.rfind(kBanner + "\nGenerated 3 records.\nWrite 3 of 3\n>>Cost: ", 0), 0u) << out;
  EXPECT_EQ(fs::file_size("pastday.idx"), 4u + 3 * 16 + 3 * 2);
  EXPECT_EQ(shell(std::string("'") + LM_MAKE_INDEX_PATH + "' missing.dat").second, 1);
}

}  // namespace
