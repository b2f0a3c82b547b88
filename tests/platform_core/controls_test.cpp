/*
** Standard controls: notifications only for what a user does, queries,
** sorted insertion, subclassing and the stylus.
*/
#include "harness.h"

namespace {

std::vector<std::pair<int, int>> gNotes; /* (id, code) of every notification */
std::function<void(PfWnd)> gInit;
std::function<void(PfWnd, int, int)> gOnNote;

PfResult recorder(PfWnd dlg, uint32_t msg, PfWParam wp, PfLParam lp) {
  if (msg == PFM_INITDIALOG) {
    if (gInit) gInit(dlg);
    return 1;
  }
  if (msg == PFM_COMMAND && lp != 0) {
    gNotes.emplace_back(pfLoWord(wp), pfHiWord(wp));
    if (gOnNote) gOnNote(dlg, pfLoWord(wp), pfHiWord(wp));
  }
  return 0;
}

const PfDialogItem kControls[] = {
    {PF_CLASS_LISTBOX, u"", 1, kChild | PFWS_TABSTOP | PFLBS_NOTIFY, 0, 0, 100, 60},
    {PF_CLASS_COMBOBOX, u"", 2, kChild | PFWS_TABSTOP | PFCBS_DROPDOWNLIST, 0, 70, 40, 90},
    {PF_CLASS_COMBOBOX, u"", 3, kChild | PFWS_TABSTOP | PFCBS_DROPDOWN, 50, 70, 40, 90},
    {PF_CLASS_EDIT, u"", 4, kChild | PFWS_TABSTOP, 0, 90, 40, 12},
    {PF_CLASS_LISTBOX, u"", 5, kChild | PFLBS_SORT, 0, 110, 40, 20},
    {PF_CLASS_BUTTON, u"Go", 6, kChild | PFWS_TABSTOP, 60, 110, 30, 12},
    {PF_CLASS_PROGRESS, u"", 7, kChild, 60, 125, 30, 8},
};

void fill(PfWnd dlg, int id, uint32_t msg, std::initializer_list<const char16_t*> items) {
  for (auto* s : items) pfSendDlgItemMessage(dlg, id, msg, 0, reinterpret_cast<PfLParam>(s));
}

std::u16string text(PfWnd w) {
  char16_t buffer[128];
  pfGetWindowText(w, buffer, 128);
  return buffer;
}

class ControlsTest : public PlatformTest {
 protected:
  PfDialogTemplate tpl{0x80C80040u, u"Controls", 0, 0, 139, 137, u"Tahoma", 9, 7, kControls};
  void SetUp() override {
    PlatformTest::SetUp();
    gNotes.clear();
    gOnNote = nullptr;
    gInit = [](PfWnd dlg) {
      fill(dlg, 1, PFLB_ADDSTRING, {u"a", u"b", u"c"});
      fill(dlg, 2, PFCB_ADDSTRING, {u"1月", u"2月"});
      fill(dlg, 3, PFCB_ADDSTRING, {u"2006", u"2007"});
      pfSendDlgItemMessage(dlg, 1, PFLB_SETCURSEL, 0, 0);
      pfSendDlgItemMessage(dlg, 2, PFCB_SETCURSEL, 1, 0);
      pfSetDlgItemText(dlg, 3, u"2007");
      pfSetDlgItemText(dlg, 4, u"28");
    };
  }
  void run() {
    source.steps.push_back([] { pfEndDialog(pf::host::topmostDialog(), 1); });
    pfDialogBoxIndirect(PfModule::none, &tpl, PfWnd::none, recorder, 0);
  }
};

TEST_F(ControlsTest, CodeChangesNotifyNobody) {
  run();
  EXPECT_TRUE(gNotes.empty());
}

TEST_F(ControlsTest, UserActionsNotifyAsTheHandheldDoes) {
  std::u16string fieldWhenChanged;
  gOnNote = [&](PfWnd dlg, int id, int code) {
    if (id == 3 && code == PFCBN_SELCHANGE) fieldWhenChanged = text(pfGetDlgItem(dlg, 3));
  };
  source.steps.push_back([] { USER(pf::host::user::selectItem(1, 2, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::selectItem(2, 0, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::selectItem(2, 0, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::selectItem(3, 0, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::typeText(3, u"1999", &error_)); });
  source.steps.push_back([] { USER(pf::host::user::typeText(4, u"30", &error_)); });
  source.steps.push_back([] { USER(pf::host::user::clickButton(6, &error_)); });
  run();
  const std::vector<std::pair<int, int>> expected = {
      {1, PFLBN_SELCHANGE},
      {2, PFCBN_SELCHANGE}, {2, PFCBN_SELENDOK},
      {2, PFCBN_SELENDOK}, /* the same entry again: confirmed, not changed */
      {3, PFCBN_SELCHANGE}, {3, PFCBN_SELENDOK},
      {3, PFCBN_EDITCHANGE},
      {4, PFEN_CHANGE},
      {6, PFBN_CLICKED},
  };
  EXPECT_EQ(gNotes, expected);
  EXPECT_EQ(fieldWhenChanged, u"2006") << "the field shows the choice when SELCHANGE arrives";
}

TEST_F(ControlsTest, QueriesAndSelection) {
  gInit = [](PfWnd dlg) {
    fill(dlg, 2, PFCB_ADDSTRING, {u"1月", u"2月"});
    fill(dlg, 3, PFCB_ADDSTRING, {u"2006"});
    pfSetDlgItemText(dlg, 3, u"a long year text");
    char16_t small[5];
    pfGetDlgItemText(dlg, 3, small, 5);
    EXPECT_EQ(std::u16string(small), u"a lo") << "editable combo text cut to the buffer";
    pfSendDlgItemMessage(dlg, 2, PFCB_SETCURSEL, 1, 0);
    char16_t shown[16];
    pfGetDlgItemText(dlg, 2, shown, 16);
    EXPECT_EQ(std::u16string(shown), u"2月") << "drop-down list text is its selection";
    EXPECT_EQ(pfSendDlgItemMessage(dlg, 2, PFCB_SETCURSEL, 9, 0), PFCB_ERR);
    EXPECT_EQ(pfSendDlgItemMessage(dlg, 2, PFCB_GETCURSEL, 0, 0), -1);

    fill(dlg, 5, PFLB_ADDSTRING, {u"b", u"a", u"b", u"c"});
    EXPECT_EQ(pfSendDlgItemMessage(dlg, 5, PFLB_GETCOUNT, 0, 0), 4);
    const char16_t* order[] = {u"a", u"b", u"b", u"c"};
    for (int i = 0; i < 4; ++i) {
      char16_t row[8];
      EXPECT_EQ(pfSendDlgItemMessage(dlg, 5, PFLB_GETTEXT, i, reinterpret_cast<PfLParam>(row)), 1);
      EXPECT_EQ(std::u16string(row), order[i]);
    }
    PfWnd sorted = pfGetDlgItem(dlg, 5);
    pfSendMessage(sorted, PFLB_SETCURSEL, 1, 0);
    pfSendMessage(sorted, PFLB_DELETESTRING, 3, 0);
    EXPECT_EQ(pfSendMessage(sorted, PFLB_GETCURSEL, 0, 0), -1) << "delete leaves no selection";
    EXPECT_EQ(pfSendMessage(sorted, PFLB_GETTEXTLEN, 7, 0), PFLB_ERR);
    pfSendMessage(sorted, PFLB_RESETCONTENT, 0, 0);
    EXPECT_EQ(pfSendMessage(sorted, PFLB_SETCURSEL, 0, 0), PFLB_ERR) << "empty list";

    PfWnd bar = pfGetDlgItem(dlg, 7);
    EXPECT_EQ(pfSendMessage(bar, PFPBM_SETPOS, 98, 0), 0);
    EXPECT_EQ(pfSendMessage(bar, PFPBM_SETPOS, 150, 0), 98);
    EXPECT_EQ(pfSendMessage(bar, PFPBM_GETPOS, 0, 0), 100) << "clamped to the range 0..100";
  };
  run();
  EXPECT_TRUE(gNotes.empty());
}

/* A subclassed list, as the history viewer subclasses its day list. */
PfWndProc gListProc = nullptr;
std::vector<std::string> gSeen;
PfResult listHook(PfWnd w, uint32_t msg, PfWParam wp, PfLParam lp) {
  if (msg == PFM_KEYDOWN && (wp == PFK_LEFT || wp == PFK_RIGHT)) {
    gSeen.push_back(wp == PFK_LEFT ? "left" : "right");
    return 0;
  }
  if (msg == PFM_LBUTTONUP)
    gSeen.push_back("up on row " + std::to_string(pfSendMessage(w, PFLB_GETCURSEL, 0, 0)));
  return pfCallWindowProc(gListProc, w, msg, wp, lp);
}

TEST_F(ControlsTest, SubclassedListSeesKeysAndTheStylusFirst) {
  gSeen.clear();
  auto baseInit = gInit;
  gInit = [baseInit](PfWnd dlg) {
    baseInit(dlg);
    gListProc = pfSetWindowProc(pfGetDlgItem(dlg, 1), listHook);
  };
  source.steps.push_back([] { USER(pf::host::user::pressKey(1, PFK_LEFT, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::pressKey(1, PFK_DOWN, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::tapRow(1, 2, &error_)); });
  source.steps.push_back([] { USER(pf::host::user::tapRow(1, -1, &error_)); });
  run();
  const std::vector<std::string> expected = {"left", "up on row 2", "up on row 2"};
  EXPECT_EQ(gSeen, expected);
  const std::vector<std::pair<int, int>> notes = {{1, PFLBN_SELCHANGE}, {1, PFLBN_SELCHANGE}};
  EXPECT_EQ(gNotes, notes) << "Down and the tap on row 2 changed the selection; the tap below "
                              "the last row did not";
}

TEST_F(ControlsTest, ImpossibleInputIsRefused) {
  gInit = [](PfWnd dlg) {
    pfShowWindow(pfGetDlgItem(dlg, 4), PFSW_HIDE);
    pfEnableWindow(pfGetDlgItem(dlg, 6), false);
  };
  std::vector<std::string> errors;
  source.steps.push_back([&] {
    std::string e;
    EXPECT_FALSE(pf::host::user::typeText(4, u"x", &e));
    errors.push_back(e);
    EXPECT_FALSE(pf::host::user::clickButton(6, &e));
    errors.push_back(e);
    EXPECT_FALSE(pf::host::user::selectItem(1, 5, &e));
    errors.push_back(e);
    EXPECT_FALSE(pf::host::user::clickButton(42, &e));
    errors.push_back(e);
  });
  run();
  ASSERT_EQ(errors.size(), 4u);
  EXPECT_NE(errors[0].find("hidden"), std::string::npos);
  EXPECT_NE(errors[1].find("disabled"), std::string::npos);
  EXPECT_NE(errors[2].find("does not exist"), std::string::npos);
  EXPECT_NE(errors[3].find("no control 42"), std::string::npos);
  EXPECT_TRUE(gNotes.empty());
}

}  // namespace
