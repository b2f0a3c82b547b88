/*
** The dialog manager: creation from templates, initial focus, deferred end,
** Enter as command 1, owner disabling, failure value.
*/
#include "harness.h"

namespace {

std::function<PfResult(PfWnd, uint32_t, PfWParam, PfLParam)> gProc;
PfResult trampoline(PfWnd w, uint32_t m, PfWParam wp, PfLParam lp) { return gProc(w, m, wp, lp); }

const PfDialogItem kTwoControls[] = {
    {PF_CLASS_STATIC, u"label", 10, kChild, 0, 0, 50, 8},
    {PF_CLASS_LISTBOX, u"", 20, kChild | PFWS_TABSTOP | PFLBS_NOTIFY, 0, 10, 100, 50},
    {PF_CLASS_EDIT, u"", 30, kChild | PFWS_TABSTOP | PFES_MULTILINE | PFES_WANTRETURN, 0, 70, 100,
     30},
};

PfDialogTemplate twoControls() {
  return PfDialogTemplate{0x80C80040u, u"Test", 0, 0, 139, 137, u"Tahoma", 9, 3, kTwoControls};
}

}  // namespace

using DialogTest = PlatformTest;

TEST_F(DialogTest, InitialFocusFollowsTheInitialisationResult) {
  auto tpl = twoControls();
  for (PfResult initResult : {1, 0}) {
    PfWnd focused = PfWnd::none;
    int32_t focusedId = 0;
    gProc = [&](PfWnd, uint32_t msg, PfWParam, PfLParam) -> PfResult {
      return msg == PFM_INITDIALOG ? initResult : 0;
    };
    source.steps.push_back([&] {
      focused = pfGetFocus();
      focusedId = pfGetDlgCtrlId(focused);
      pfEndDialog(pf::host::topmostDialog(), 7);
    });
    EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0), 7);
    if (initResult)
      EXPECT_EQ(focusedId, 20) << "first visible, enabled tab stop";
    else
      EXPECT_EQ(focused, PfWnd::none);
  }
}

TEST_F(DialogTest, EndDialogIsDeferredUntilTheProcedureReturns) {
  auto tpl = twoControls();
  bool ranAfterEnd = false;
  bool stillAlive = false;
  gProc = [&](PfWnd dlg, uint32_t msg, PfWParam wp, PfLParam) -> PfResult {
    if (msg == PFM_COMMAND && pfLoWord(wp) == 99) {
      pfEndDialog(dlg, 99);
      ranAfterEnd = true;
      stillAlive = pfIsWindow(pfGetDlgItem(dlg, 20));
      return 1;
    }
    return msg == PFM_INITDIALOG;
  };
  source.steps.push_back([] { USER(pf::host::user::sendCommand(99, 0, 0, &error_)); });
  EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0), 99);
  EXPECT_TRUE(ranAfterEnd);
  EXPECT_TRUE(stillAlive);
  EXPECT_EQ(pf::host::topmostDialog(), PfWnd::none);
}

TEST_F(DialogTest, EndDuringInitialisationNeverShowsTheDialog) {
  auto tpl = twoControls();
  int idleCalls = 0;
  gProc = [&](PfWnd dlg, uint32_t msg, PfWParam, PfLParam) -> PfResult {
    if (msg == PFM_INITDIALOG) pfEndDialog(dlg, 0);
    return 0;
  };
  source.steps.push_back([&] { ++idleCalls; });
  EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0), 0);
  EXPECT_EQ(idleCalls, 0);
}

TEST_F(DialogTest, UnknownControlClassFailsTheDialog) {
  const PfDialogItem bad[] = {{u"NoSuchClass", u"", 1, kChild, 0, 0, 10, 10}};
  PfDialogTemplate tpl{0x80C80040u, u"Bad", 0, 0, 100, 100, u"Tahoma", 9, 1, bad};
  gProc = [](PfWnd, uint32_t, PfWParam, PfLParam) -> PfResult { return 1; };
  EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0),
            PF_DIALOG_FAILED);
  EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, nullptr, PfWnd::none, trampoline, 0),
            PF_DIALOG_FAILED);
}

TEST_F(DialogTest, EnterBecomesCommandOneUnlessTheControlKeepsIt) {
  auto tpl = twoControls();
  std::vector<std::pair<PfWParam, PfLParam>> commands;
  std::u16string editText;
  gProc = [&](PfWnd dlg, uint32_t msg, PfWParam wp, PfLParam lp) -> PfResult {
    if (msg == PFM_COMMAND && pfHiWord(wp) == 0) commands.emplace_back(wp, lp);
    if (msg == PFM_COMMAND && pfLoWord(wp) == 50) {
      char16_t buffer[64];
      pfGetDlgItemText(dlg, 30, buffer, 64);
      editText = buffer;
      pfEndDialog(dlg, 1);
    }
    return msg == PFM_INITDIALOG;
  };
  source.steps.push_back([] { USER(pf::host::user::pressKey(20, PFK_ENTER, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::pressKey(30, PFK_ENTER, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::sendCommand(50, 0, 0, &error_)); });
  pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].first, 1u) << "Enter on the list: command 1, wParam exactly 1";
  EXPECT_EQ(commands[0].second, 0);
  EXPECT_EQ(pfLoWord(commands[1].first), 50);
  EXPECT_EQ(editText, u"\r\n") << "the multi-line edit that takes Enter keeps it";
}

TEST_F(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndFocusReturns) {
  PfWnd host = pfCreateWindow(0, u"STATIC", u"host", PFWS_POPUP | PFWS_VISIBLE, 0, 0, 10, 10,
                              PfWnd::none, 0, PfModule::none, nullptr);
  pfSetFocus(host);
  auto tpl = twoControls();
  bool ownerEnabledInside = true;
  gProc = [&](PfWnd dlg, uint32_t msg, PfWParam, PfLParam) -> PfResult {
    if (msg == PFM_INITDIALOG) {
      ownerEnabledInside = pfIsWindowEnabled(host);
      pfEndDialog(dlg, 5);
    }
    return 0;
  };
  EXPECT_EQ(pfDialogBoxIndirect(PfModule::none, &tpl, host, trampoline, 0), 5);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_TRUE(pfIsWindowEnabled(host));
  EXPECT_EQ(pfGetFocus(), host);
  pfDestroyWindow(host);
}

TEST_F(DialogTest, DialogUnitsFollowTheFontAndTheScreen) {
  PfDialogTemplate tahoma{0, u"", 0, 0, 139, 137, u"Tahoma", 9, 0, nullptr};
  PfDialogTemplate system{0, u"", 0, 0, 148, 159, u"System", 10, 0, nullptr};
  PfDialogTemplate sans{0, u"", 0, 0, 134, 167, u"Microsoft Sans Serif", 10, 0, nullptr};
  for (auto* tpl : {&tahoma, &system, &sans}) {
    PfRect r = pfDialogUnitsToPixels(tpl, 0, 0, tpl->width, tpl->height);
    EXPECT_LE(r.right, 240);
    EXPECT_LE(r.bottom, 268);
    EXPECT_GE(r.right, 200);
  }
  pf::host::DeviceConfig big;
  big.screenWidth = 480;
  big.screenHeight = 640;
  pf::host::configureDevice(big);
  PfRect doubled = pfDialogUnitsToPixels(&tahoma, 0, 0, 139, 137);
  pf::host::configureDevice(pf::host::DeviceConfig{});
  PfRect single = pfDialogUnitsToPixels(&tahoma, 0, 0, 139, 137);
  EXPECT_EQ(doubled.right, 2 * single.right);
  EXPECT_EQ(doubled.bottom, 2 * single.bottom);
}

TEST_F(DialogTest, NumberHelpers) {
  auto tpl = twoControls();
  struct Case {
    const char16_t* text;
    bool ok;
    uint32_t value;
  };
  const Case cases[] = {{u"28", true, 28},      {u"", false, 0},  {u"2x", false, 0},
                        {u"-3", false, 0},      {u"+3", false, 0}, {u"4294967295", true, 4294967295u},
                        {u"4294967296", false, 0}};
  gProc = [&](PfWnd dlg, uint32_t msg, PfWParam, PfLParam) -> PfResult {
    if (msg != PFM_INITDIALOG) return 0;
    for (const Case& c : cases) {
      pfSetDlgItemText(dlg, 30, c.text);
      bool ok = true;
      uint32_t v = pfGetDlgItemInt(dlg, 30, &ok, false);
      EXPECT_EQ(ok, c.ok) << "case " << (&c - cases);
      if (c.ok) {
        EXPECT_EQ(v, c.value);
      }
    }
    pfSetDlgItemInt(dlg, 30, 28, false);
    char16_t buffer[16];
    pfGetDlgItemText(dlg, 30, buffer, 16);
    EXPECT_EQ(std::u16string(buffer), u"28");
    pfEndDialog(dlg, 1);
    return 0;
  };
  pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, trampoline, 0);
}
