/*
** Benchmarks of the viewer's index work: loadDayIndex plus the walk of one
** day (31 December walks every entry, 1 January stops at once) against
** reading the index file whole through the same device files, which is the
** floor that loading cannot beat.
*/
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "pf/files.h"
#include "pf/host/device.h"
#include "read/day_index.h"

namespace fs = std::filesystem;

namespace {

void putLittle32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

/* An index like that of a 1 GiB data file: about 2000 entries a day. */
fs::path syntheticIndex(const fs::path& folder) {
  const uint32_t perDay = 2000;
  const int lengths[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::mt19937 random(1);
  std::string table, titles;
  uint32_t count = 0;
  int32_t offset = 0;
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= lengths[month - 1]; ++day)
      for (uint32_t i = 0; i < perDay; ++i, ++count) {
        int32_t key = static_cast<int32_t>((1 + random() % 2007) * 10000 + month * 100 + day);
        int32_t length = static_cast<int32_t>(400 + random() % 2600);
        putLittle32(table, static_cast<uint32_t>(key));
        putLittle32(table, static_cast<uint32_t>(titles.size()));
        putLittle32(table, static_cast<uint32_t>(offset));
        putLittle32(table, static_cast<uint32_t>(length));
        offset += length;
        titles.append(8 + random() % 40, '\xB5');
        titles += '\0';
      }
  std::string file;
  putLittle32(file, count);
  fs::path path = folder / "pastDay.idx";
  std::ofstream(path, std::ios::binary) << file << table << titles;
  return path;
}

struct Setup {
  fs::path folder;
  std::u16string deviceName;
  bool ownFolder = false;
  Setup() {
    fs::path index;
    if (const char* given = std::getenv("LUMENO_BENCH_INDEX")) {
      index = fs::absolute(given);
    } else {
      folder = fs::temp_directory_path() / ("lumeno_index_bench_" + std::to_string(::getpid()));
      fs::create_directories(folder);
      ownFolder = true;
      index = syntheticIndex(folder);
    }
    pf::host::DeviceConfig config;
    config.deviceRoot = index.parent_path();
    pf::host::configureDevice(config);
    std::string name = index.filename().string();
    deviceName = std::u16string(name.begin(), name.end());
  }
  ~Setup() {
    if (ownFolder) fs::remove_all(folder);
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

bool countEntry(const IndexEntry*, const char* title, void* context) {
  *static_cast<size_t*>(context) += title[0] != 0;
  return true;
}

void loadAndListDay(benchmark::State& state, int month, int day) {
  const char16_t* name = setup().deviceName.c_str();
  size_t rows = 0, bytes = 0;
  for (auto _ : state) {
    DayIndex index;
    if (!loadDayIndex(name, &index)) {
      state.SkipWithError("index does not load");
      return;
    }
    rows = 0;
    forEachDayEntry(&index, month, day, countEntry, &rows);
    bytes = 4 + size_t{16} * index.count + index.titleAreaSize;
    benchmark::DoNotOptimize(rows);
    freeDayIndex(&index);
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_LoadIndexListJan1(benchmark::State& state) { loadAndListDay(state, 1, 1); }
void BM_LoadIndexListDec31(benchmark::State& state) { loadAndListDay(state, 12, 31); }

void BM_ReadIndexFileWhole(benchmark::State& state) {
  const char16_t* name = setup().deviceName.c_str();
  std::vector<char> buffer;
  for (auto _ : state) {
    PfFile* file = pfFileOpenW(name, u"rb");
    if (!file) {
      state.SkipWithError("index does not open");
      return;
    }
    buffer.resize(static_cast<size_t>(pfFileSize(file)));
    size_t got = pfFileRead(buffer.data(), 1, buffer.size(), file);
    pfFileClose(file);
    benchmark::DoNotOptimize(got);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}

/* Listing one day in an index already loaded: the work of every day step. */
void BM_ListDec31Loaded(benchmark::State& state) {
  DayIndex index;
  if (!loadDayIndex(setup().deviceName.c_str(), &index)) {
    state.SkipWithError("index does not load");
    return;
  }
  for (auto _ : state) {
    size_t rows = 0;
    forEachDayEntry(&index, 12, 31, countEntry, &rows);
    benchmark::DoNotOptimize(rows);
  }
  freeDayIndex(&index);
}

BENCHMARK(BM_ReadIndexFileWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIndexListJan1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIndexListDec31)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListDec31Loaded)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
