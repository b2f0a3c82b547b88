/*
** The frame on its own, with a test identity: files beside the library,
** the screen factor, the platform test and the About layout.
*/
#include <gtest/gtest.h>

#include <string>

#include "frame.h"
#include "pf/host/device.h"
#include "pf/host/faults.h"
#include "pf/host/loader.h"

extern "C" int32_t getVersion(void);
extern "C" const char16_t* getName(void);

const PluginIdentity& pluginIdentity = bioRhythmIdentity;
const PluginHooks pluginHooks = {};

namespace {

const PfResource kNone[] = {{PFRT_STRING, nullptr, 1, nullptr, PF_LANG_ZH_CN, u"x", 0}};
const PfResourceTable kTable = {1, kNone};

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pf::host::configureDevice(pf::host::DeviceConfig{});
    pf::faults::clearAll();
  }
};

TEST_F(FrameTest, PluginFilePathIsBesideTheLibrary) {
  moduleHandle = pf::host::registerStaticModule(&kTable, u"LM_bioRhythm.so");
  char16_t path[260];
  pluginFilePath(u"LM_BioRhythm.sav", path, 260);
  EXPECT_EQ(std::u16string(path), u"\\Program Files\\Lumeno\\LM_BioRhythm.sav");

  /* A folder so long that the name does not fit: cut, never written past. */
  pf::host::DeviceConfig deep;
  deep.pluginsDevicePath = u"\\" + std::u16string(250, u'd');
  pf::host::configureDevice(deep);
  moduleHandle = pf::host::registerStaticModule(&kTable, u"LM_bioRhythm.so");
  char16_t guarded[262];
  guarded[260] = u'#';
  guarded[261] = u'#';
  pluginFilePath(u"LM_BioRhythm.sav", guarded, 260);
  EXPECT_EQ(pfStrLen(guarded), 259u);
  EXPECT_EQ(guarded[260], u'#');
  EXPECT_EQ(std::u16string(guarded).substr(252), u"LM_BioR");

  /* No module: no folder, just the name. */
  moduleHandle = PfModule::none;
  pluginFilePath(u"pastDay.idx", path, 260);
  EXPECT_EQ(std::u16string(path), u"pastDay.idx");
}

TEST_F(FrameTest, ScreenFactorFollowsTheTaskBar) {
  struct Case {
    int32_t w, h, factor;
  };
  for (Case c : {Case{240, 320, 1}, Case{480, 640, 2}, Case{320, 240, 1}, Case{640, 480, 2}}) {
    pf::host::DeviceConfig config;
    config.screenWidth = c.w;
    config.screenHeight = c.h;
    pf::host::configureDevice(config);
    pfGetDesktopWindow(); /* the shell's windows exist */
    EXPECT_EQ(screenFactor(), c.factor) << c.w << "x" << c.h;
  }
}

TEST_F(FrameTest, PlatformTest) {
  struct Case {
    std::optional<std::u16string> type;
    bool fault;
    bool pocketPC;
  };
  const Case cases[] = {
      {u"PocketPC", false, true},  {u"pocketpc", false, true},     {u"POCKETPC", false, true},
      {u"Smartphone", false, false}, {u"PocketPC2", false, false}, {std::nullopt, false, false},
      {u"PocketPC", true, false},
      /* longer than the 64-unit buffer of this plug-in: the query fails */
      {u"PocketPC" + std::u16string(70, u' '), false, false},
  };
  for (const Case& c : cases) {
    pf::host::DeviceConfig config;
    config.platformType = c.type;
    pf::host::configureDevice(config);
    pf::faults::set("platform-query", c.fault);
    EXPECT_EQ(isPocketPC(), c.pocketPC) << (&c - cases);
  }
}

TEST_F(FrameTest, StandardAboutLayout) {
  char16_t text[512];
  formatStandardAbout(text, 512);
  std::u16string about(text);
  std::u16string expectedStart = u"人体生理曲线 V1.2\r\n";
  ASSERT_EQ(about.substr(0, expectedStart.size()), expectedStart);
  std::u16string stamp = about.substr(expectedStart.size(), 20);
  EXPECT_EQ(stamp, std::u16string(buildStamp));
  EXPECT_EQ(about.substr(expectedStart.size() + 20),
            u"\r\n\r\n" + std::u16string(creditLine) + u"\r\n" + std::u16string(webAddress));
  EXPECT_EQ(getVersion(), 65538);
  EXPECT_EQ(getName(), getName());
  EXPECT_EQ(std::u16string(getName()), u"生理曲线");
}

}  // namespace
