/*
** Device files: name lookup without regard to case, the plug-ins folder
** overlay, refused names and modes, reads, writes and injected faults.
*/
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pf/files.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/trace.h"

namespace fs = std::filesystem;

namespace {

class DeviceFiles : public ::testing::Test {
 protected:
  fs::path base, root, plugins;

  void SetUp() override {
    base = fs::temp_directory_path() / ("pf_files_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base);
    root = base / "root";
    plugins = base / "plugins";
    fs::create_directories(root);
    fs::create_directories(plugins);
    pf::host::DeviceConfig config;
    config.deviceRoot = root;
    config.pluginsFolder = plugins;
    pf::host::configureDevice(config);
    pf::faults::clearAll();
  }
  void TearDown() override {
    pf::trace::setSink(nullptr);
    pf::faults::clearAll();
    fs::remove_all(base);
  }

  static void put(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
  }
  static std::string hostText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  /* Whole content through the device, or "<none>" when it cannot be opened. */
  static std::string deviceText(const char16_t* name) {
    PfFile* f = pfFileOpenW(name, u"rb");
    if (!f) return "<none>";
    std::string out(static_cast<size_t>(pfFileSize(f)), '\0');
    size_t got = pfFileRead(out.data(), 1, out.size(), f);
    out.resize(got);
    EXPECT_EQ(pfFileClose(f), 0);
    return out;
  }
  static bool deviceWrite(const char16_t* name, const std::string& text) {
    PfFile* f = pfFileOpenW(name, u"wb");
    if (!f) return false;
    bool ok = pfFileWrite(text.data(), 1, text.size(), f) == text.size();
    return pfFileClose(f) == 0 && ok;
  }
};

TEST_F(DeviceFiles, NamesMatchWithoutRegardToCaseAndKeepTheirSpellingWhenNew) {
  put(root / "Docs" / "pastday.idx", "index");
  EXPECT_EQ(deviceText(u"\\docs\\PastDay.IDX"), "index");
  EXPECT_EQ(deviceText(u"/DOCS/pastDay.idx"), "index");
  EXPECT_EQ(deviceText(u"DOCS\\\\pastday.idx"), "index");

  /* Writing through another spelling replaces the file, it adds none. */
  ASSERT_TRUE(deviceWrite(u"\\DOCS\\PASTDAY.IDX", "new"));
  EXPECT_EQ(hostText(root / "Docs" / "pastday.idx"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(root / "Docs"), fs::directory_iterator()), 1);

  ASSERT_TRUE(deviceWrite(u"\\Docs\\NewFile.Txt", "x"));
  EXPECT_TRUE(fs::exists(root / "Docs" / "NewFile.Txt"));
}

TEST_F(DeviceFiles, BareNameIsAFileInTheDeviceRoot) {
  ASSERT_TRUE(deviceWrite(u"records.data", "twelve bytes"));
  EXPECT_EQ(hostText(root / "records.data"), "twelve bytes");
  EXPECT_EQ(deviceText(u"\\RECORDS.DATA"), "twelve bytes");
  /* Folders on the way are not created outside the plug-ins folder. */
  EXPECT_FALSE(deviceWrite(u"\\missing\\records.data", "x"));
  EXPECT_FALSE(fs::exists(root / "missing"));
}

TEST_F(DeviceFiles, PluginsFolderIsReadThroughAndWrittenToTheDeviceRootCopy) {
  put(plugins / "pastDay.idx", "shipped");
  EXPECT_EQ(deviceText(u"\\Program Files\\Lumeno\\pastday.idx"), "shipped");
  EXPECT_EQ(deviceText(u"\\program files\\LUMENO\\PASTDAY.IDX"), "shipped");

  ASSERT_TRUE(deviceWrite(u"\\Program Files\\Lumeno\\LM_zoneClock.sav", "saved"));
  EXPECT_EQ(hostText(root / "Program Files" / "Lumeno" / "LM_zoneClock.sav"), "saved");
  EXPECT_FALSE(fs::exists(plugins / "LM_zoneClock.sav"));

  /* The copy shadows the shipped file, which stays as it was. */
  ASSERT_TRUE(deviceWrite(u"\\Program Files\\Lumeno\\PASTDAY.idx", "copy"));
  EXPECT_EQ(deviceText(u"\\Program Files\\Lumeno\\pastDay.idx"), "copy");
  EXPECT_EQ(hostText(plugins / "pastDay.idx"), "shipped");

  /* Deleting removes the copy and hides the shipped file too. */
  EXPECT_TRUE(pfFileDelete(u"\\Program Files\\Lumeno\\pastDay.idx"));
  EXPECT_EQ(deviceText(u"\\Program Files\\Lumeno\\pastDay.idx"), "<none>");
  EXPECT_FALSE(pfFileDelete(u"\\Program Files\\Lumeno\\pastDay.idx"));
  EXPECT_EQ(hostText(plugins / "pastDay.idx"), "shipped");

  /* Written again, it is visible again. */
  ASSERT_TRUE(deviceWrite(u"\\Program Files\\Lumeno\\pastDay.idx", "again"));
  EXPECT_EQ(deviceText(u"\\Program Files\\Lumeno\\pastDay.idx"), "again");
}

TEST_F(DeviceFiles, DeletingAFileOnlyThePluginsFolderHoldsHidesIt) {
  put(plugins / "pastDay.dat", "data");
  EXPECT_TRUE(pfFileDelete(u"\\Program Files\\Lumeno\\PASTDAY.DAT"));
  EXPECT_EQ(deviceText(u"\\Program Files\\Lumeno\\pastDay.dat"), "<none>");
  EXPECT_TRUE(fs::exists(plugins / "pastDay.dat"));
  EXPECT_FALSE(pfFileDelete(u"\\Program Files\\Lumeno\\nothing.dat"));

  put(root / "plain.txt", "p");
  EXPECT_TRUE(pfFileDelete(u"PLAIN.TXT"));
  EXPECT_FALSE(fs::exists(root / "plain.txt"));
}

TEST_F(DeviceFiles, RefusesNamesThatLeaveTheRootOrAreNoFileName) {
  put(base / "outside.txt", "secret");
  put(root / "inside.txt", "ok");
  fs::create_directories(root / "Docs");
  const char16_t* refused[] = {u"..\\outside.txt", u"\\..\\outside.txt", u"\\Docs\\..\\..\\outside.txt",
                               u"\\Docs\\..\\inside.txt", u".\\inside.txt", u"../outside.txt",
                               u"", u"\\", u"\\\\", u"in:side.txt", u"in*side.txt"};
  for (const char16_t* name : refused) {
    SCOPED_TRACE(pf::trace::utf8(name));
    EXPECT_EQ(pfFileOpenW(name, u"rb"), nullptr);
    EXPECT_EQ(pfFileOpenW(name, u"wb"), nullptr);
    EXPECT_FALSE(pfFileDelete(name));
  }
  EXPECT_EQ(hostText(base / "outside.txt"), "secret");
  EXPECT_EQ(hostText(root / "inside.txt"), "ok");
}

TEST_F(DeviceFiles, FoldersCannotBeOpenedOrDeleted) {
  fs::create_directories(root / "Docs");
  fs::create_directories(plugins / "skins");
  for (const char16_t* name : {u"\\docs", u"\\Program Files\\Lumeno", u"\\Program Files\\Lumeno\\skins",
                               u"\\Program Files"}) {
    SCOPED_TRACE(pf::trace::utf8(name));
    EXPECT_EQ(pfFileOpenW(name, u"rb"), nullptr);
    EXPECT_EQ(pfFileOpenW(name, u"wb"), nullptr);
    EXPECT_FALSE(pfFileDelete(name));
  }
  EXPECT_TRUE(fs::is_directory(root / "Docs"));
}

TEST_F(DeviceFiles, OnlyReadAndWriteBinaryModes) {
  put(root / "a.txt", "abc");
  for (const char* mode : {"r", "w", "rb+", "wb+", "ab", "a", "rt", "", "RB"}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(pfFileOpen("a.txt", mode), nullptr);
  }
  EXPECT_EQ(pfFileOpenW(u"a.txt", u"r+b"), nullptr);
  EXPECT_EQ(hostText(root / "a.txt"), "abc");

  PfFile* f = pfFileOpen("\\A.TXT", "rb");
  ASSERT_NE(f, nullptr);
  char c = 0;
  EXPECT_EQ(pfFileWrite("x", 1, 1, f), 0u); /* read handle */
  EXPECT_EQ(pfFileRead(&c, 1, 1, f), 1u);
  EXPECT_EQ(c, 'a');
  pfFileClose(f);

  /* Narrow names are ASCII only. */
  put(root / "\xC3\xA9t\xC3\xA9.txt", "summer");
  EXPECT_EQ(pfFileOpen("\xC3\xA9t\xC3\xA9.txt", "rb"), nullptr);
  EXPECT_EQ(deviceText(u"\u00e9t\u00e9.txt"), "summer");
}

TEST_F(DeviceFiles, ReadsAreShortAtTheEndAndOffsetsAre64Bit) {
  put(root / "ten.bin", "0123456789");
  PfFile* f = pfFileOpenW(u"ten.bin", u"rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(pfFileSize(f), 10);
  char buf[16] = {};
  EXPECT_EQ(pfFileRead(buf, 4, 3, f), 2u); /* 10 bytes: two whole items of 4 */
  EXPECT_EQ(pfFileTell(f), 10);
  EXPECT_EQ(pfFileRead(buf, 1, 1, f), 0u);

  EXPECT_EQ(pfFileSeek(f, -3, PF_SEEK_END), 0);
  EXPECT_EQ(pfFileTell(f), 7);
  EXPECT_EQ(pfFileSeek(f, 1, PF_SEEK_CUR), 0);
  EXPECT_EQ(pfFileRead(buf, 1, 8, f), 2u);
  EXPECT_EQ(std::string(buf, 2), "89");
  EXPECT_NE(pfFileSeek(f, -1, PF_SEEK_SET), 0);
  EXPECT_NE(pfFileSeek(f, 0, 7), 0);
  EXPECT_EQ(pfFileSeek(f, int64_t{5} << 30, PF_SEEK_SET), 0);
  EXPECT_EQ(pfFileTell(f), int64_t{5} << 30);
  EXPECT_EQ(pfFileClose(f), 0);

  EXPECT_EQ(pfFileRead(buf, 1, 1, nullptr), 0u);
  EXPECT_EQ(pfFileSize(nullptr), -1);
  EXPECT_NE(pfFileClose(nullptr), 0);
}

TEST_F(DeviceFiles, InjectedOpenAndWriteFailures) {
  std::vector<nlohmann::json> events;
  pf::trace::setSink([&](const nlohmann::json& e) { events.push_back(e); });
  put(root / "Docs" / "pastDay.idx", "index");

  ASSERT_TRUE(pf::faults::set("open:PASTDAY.IDX", true));
  EXPECT_EQ(pfFileOpenW(u"\\Docs\\pastDay.idx", u"rb"), nullptr);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back()["op"], "open");
  EXPECT_EQ(events.back()["ok"], false);
  pf::faults::set("open:PASTDAY.IDX", false);
  EXPECT_EQ(deviceText(u"\\Docs\\pastDay.idx"), "index");

  /* The second write fails whole; the file keeps what was written before. */
  ASSERT_TRUE(pf::faults::set("write:records.data:2", true));
  PfFile* f = pfFileOpenW(u"records.data", u"wb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(pfFileWrite("first-", 6, 1, f), 1u);
  events.clear();
  EXPECT_EQ(pfFileWrite("second", 1, 6, f), 0u);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0]["op"], "write");
  EXPECT_EQ(events[0]["ok"], false);
  EXPECT_EQ(pfFileWrite("third", 1, 5, f), 5u);
  EXPECT_EQ(pfFileClose(f), 0);
  EXPECT_EQ(hostText(root / "records.data"), "first-third");
  EXPECT_EQ(events.back()["op"], "close");
}

}  // namespace
