/*
** Shell: full-screen initialisation and the page it gives, the soft-key bar
** and its pop-ups, menus, message boxes, the task bar and the desktop.
*/
#include "harness.h"
#include "pf/host/loader.h"

namespace {

const uint16_t kBar[] = {109, 2, 0xFFFE, 40008, 4, 0x10, 40001, 0, 0xFFFF,
                         0xFFFE, 40009, 4, 0x18, 40002, 0, 0};
const uint16_t kHiddenLeft[] = {111, 2, 0xFFFE, 40008, 8, 0x10, 109, 0, 0xFFFF,
                                0xFFFE, 40013, 4, 0x10, 109, 0, 0xFFFF};
const PfMenuItemTemplate kDays[] = {{u"1", 40101, 0, nullptr}, {u"2", 40102, 0, nullptr}};
const PfMenuTemplate kDaysMenu = {2, kDays};
const PfMenuItemTemplate kPopupItems[] = {
    {u"后一天", 40031, 0, nullptr},
    {u"01-10日", 0, PFMT_POPUP, &kDaysMenu},
    {u"", 0, PFMT_SEPARATOR, nullptr},
    {u"HTML浏览", 40027, PFMT_CHECKED, nullptr},
};
const PfMenuTemplate kPopup = {4, kPopupItems};
const PfMenuItemTemplate kRootItems[] = {{u"菜单", 0, PFMT_POPUP, &kPopup}};
const PfMenuTemplate kRoot = {1, kRootItems};
const PfDialogItem kItems[] = {
    {PF_CLASS_LISTBOX, u"", 1007, kChild | PFWS_TABSTOP, 0, 10, 138, 108}};
const PfDialogTemplate kPage = {0x80C80040u, u"页", 0, 0, 139, 137, u"Tahoma", 9, 1, kItems};
const PfResource kResources[] = {
    {PFRT_RCDATA, nullptr, 109, nullptr, PF_LANG_ZH_CN, kBar, sizeof kBar},
    {PFRT_RCDATA, nullptr, 111, nullptr, PF_LANG_ZH_CN, kHiddenLeft, sizeof kHiddenLeft},
    {PFRT_MENU, nullptr, 109, nullptr, PF_LANG_ZH_CN, &kRoot, sizeof kRoot},
    {PFRT_STRING, nullptr, 40001, nullptr, PF_LANG_ZH_CN, u"返回", 0},
    {PFRT_STRING, nullptr, 40002, nullptr, PF_LANG_ZH_CN, u"菜单", 0},
    {PFRT_STRING, nullptr, 109, nullptr, PF_LANG_ZH_CN, u"返回", 0},
};
const PfResourceTable kTable = {6, kResources};

PfModule gModule;
std::vector<std::pair<uint32_t, PfLParam>> gCommands;
std::vector<std::pair<int32_t, int32_t>> gSizes;
uint32_t gBarId = 109;
uint32_t gFlags = 45;
PfWnd gBar;

PfResult pageProc(PfWnd dlg, uint32_t msg, PfWParam wp, PfLParam lp) {
  switch (msg) {
    case PFM_INITDIALOG: {
      PfFullScreenInit init{PFSHIDIM_FLAGS, dlg, gFlags};
      pfShellInitDialog(&init);
      PfMenuBarCreate bar{};
      bar.size = sizeof bar;
      bar.parent = dlg;
      bar.resourceId = gBarId;
      bar.module = gModule;
      pfShellCreateMenuBar(&bar);
      gBar = bar.menuBar;
      return 1;
    }
    case PFM_SIZE:
      gSizes.emplace_back(pfLoWord(static_cast<uintptr_t>(lp)), pfHiWord(static_cast<uintptr_t>(lp)));
      return 0;
    case PFM_COMMAND:
      gCommands.emplace_back(pfLoWord(wp), lp);
      if (pfLoWord(wp) == 40008 || pfLoWord(wp) == 1) pfEndDialog(dlg, pfLoWord(wp));
      return 1;
  }
  return 0;
}

class ShellTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    gModule = pf::host::registerStaticModule(&kTable, u"test.so");
    gCommands.clear();
    gSizes.clear();
    gBarId = 109;
    gFlags = 45;
  }
  PfResult run() { return pfDialogBoxIndirect(gModule, &kPage, PfWnd::none, pageProc, 0); }
};

TEST_F(ShellTest, FullScreenPageSizesForEveryScreen) {
  struct Case {
    int32_t w, h, clientW, clientH;
  };
  for (Case c : {Case{240, 320, 240, 268}, Case{480, 640, 480, 536}, Case{320, 240, 320, 188},
                 Case{640, 480, 640, 376}}) {
    pf::host::DeviceConfig config;
    config.screenWidth = c.w;
    config.screenHeight = c.h;
    pf::host::configureDevice(config);
    for (uint32_t flags : {45u, 4u}) {
      gFlags = flags;
      gSizes.clear();
      PfRect client{}, taskBar{}, desktop{};
      bool ok = false;
      source.steps.push_back([&] {
        PfWnd dlg = pf::host::topmostDialog();
        pfGetClientRect(dlg, &client);
        pfGetClientRect(pfFindWindow(u"HHTaskBar", nullptr), &taskBar);
        pfGetWindowRect(pfGetDesktopWindow(), &desktop);
        ok = pf::host::snapshot()["dialogs"][0]["okButton"] == (flags == 45);
        pfEndDialog(dlg, 1);
      });
      run();
      EXPECT_EQ(client.right, c.clientW);
      EXPECT_EQ(client.bottom, c.clientH);
      ASSERT_FALSE(gSizes.empty()) << "size message sent from inside the initialisation";
      EXPECT_EQ(gSizes.back(), std::make_pair(c.clientW, c.clientH));
      EXPECT_EQ(taskBar.right, c.w);
      EXPECT_EQ(desktop.right, c.w);
      EXPECT_EQ(desktop.bottom, c.h);
      EXPECT_TRUE(ok);
    }
  }
  pf::host::configureDevice(pf::host::DeviceConfig{});
}

TEST_F(ShellTest, SoftKeysMenusAndTheTitleBarOk) {
  PfMenu popup = PfMenu::none;
  source.steps.push_back([&] {
    popup = static_cast<PfMenu>(pfSendMessage(gBar, PFSHCMBM_GETSUBMENU, 0, 40009));
    ASSERT_NE(popup, PfMenu::none);
    EXPECT_EQ(pfCheckMenuItem(popup, 40027, PFMF_BYCOMMAND | PFMF_UNCHECKED), PFMF_CHECKED)
        << "the resource's check mark";
    pfEnableMenuItem(popup, 1, PFMF_BYPOSITION | PFMF_GRAYED);
    USER(pf::host::user::pressSoftKey(1, &error_));
  });
  source.steps.push_back([&] {
    nlohmann::json menu = pf::host::snapshot()["menu"];
    ASSERT_TRUE(menu.is_object());
    EXPECT_EQ(menu["items"][1]["greyed"], true);
    EXPECT_EQ(menu["items"][3]["checked"], false);
    std::string e;
    EXPECT_FALSE(pf::host::user::chooseMenu(40101, &e)) << "inside a greyed sub-menu";
    EXPECT_NE(e.find("greyed"), std::string::npos);
    EXPECT_FALSE(pf::host::user::clickButton(1007, &e)) << "a menu is open";
    USER(pf::host::user::chooseMenu(40031, &error_));
  });
  source.steps.push_back([] { USER(pf::host::user::pressSoftKey(1, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::closeMenu(&error_)); });
  source.steps.push_back([] { USER(pf::host::user::pressTitleOk(&error_)); });
  EXPECT_EQ(run(), 1);
  ASSERT_EQ(gCommands.size(), 2u);
  EXPECT_EQ(gCommands[0], std::make_pair(40031u, PfLParam{0})) << "menu items send lParam 0";
  EXPECT_EQ(gCommands[1].first, 1u);
  EXPECT_NE(gCommands[1].second, 0) << "the title-bar OK sends a non-zero lParam";
}

TEST_F(ShellTest, HiddenSoftKeyAndBarWithoutMenu) {
  gBarId = 111;
  gFlags = 4;
  source.steps.push_back([] {
    std::string e;
    EXPECT_FALSE(pf::host::user::pressSoftKey(0, &e));
    EXPECT_NE(e.find("hidden"), std::string::npos);
    EXPECT_FALSE(pf::host::user::pressTitleOk(&e)) << "flags 4 show no OK button";
    nlohmann::json keys = pf::host::snapshot()["dialogs"][0]["softKeys"];
    EXPECT_EQ(keys[0]["hidden"], true);
    EXPECT_EQ(keys[1]["caption"], "返回");
    USER(pf::host::user::pressSoftKey(1, &error_));
  });
  source.steps.push_back([] { pfEndDialog(pf::host::topmostDialog(), 2); });
  EXPECT_EQ(run(), 2);
  EXPECT_EQ(gCommands.front(), std::make_pair(40013u, PfLParam{0}));
}

TEST_F(ShellTest, MessageBoxesBlockThePageAndGiveFocusBack) {
  int32_t answer = 0;
  PfWnd focusBefore = PfWnd::none, focusAfter = PfWnd::none;
  nlohmann::json box;
  source.steps.push_back([&] {
    PfWnd dlg = pf::host::topmostDialog();
    focusBefore = pfGetFocus();
    answer = pfMessageBox(dlg, u"确定记录此日?", nullptr, PFMB_OKCANCEL);
    focusAfter = pfGetFocus();
  });
  source.steps.push_back([&] {
    box = pf::host::snapshot()["messageBox"];
    std::string e;
    EXPECT_FALSE(pf::host::user::pressSoftKey(1, &e)) << "the page is behind the box";
    USER(pf::host::user::answerMessageBox(false, &error_));
  });
  source.steps.push_back([] { pfEndDialog(pf::host::topmostDialog(), 1); });
  run();
  EXPECT_EQ(answer, PFID_CANCEL);
  EXPECT_EQ(box["title"], "Error") << "the handheld's default title";
  EXPECT_EQ(box["buttons"].size(), 2u);
  EXPECT_NE(focusBefore, PfWnd::none);
  EXPECT_EQ(focusAfter, focusBefore);
}

}  // namespace
