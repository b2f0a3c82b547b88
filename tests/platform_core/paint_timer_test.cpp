/*
** Painting and timers: paints when idle, begin-paint validates, display
** lists, what an overlay covered is repainted; fixed-clock timers, nested
** loops and stopping a timer.
*/
#include "harness.h"

namespace {

int gPaints = 0;
int gTicks = 0;
bool gInvalidateInsidePaint = false;
std::function<void(PfWnd)> gInit;

PfResult paintingProc(PfWnd dlg, uint32_t msg, PfWParam, PfLParam) {
  switch (msg) {
    case PFM_INITDIALOG:
      if (gInit) gInit(dlg);
      return 1;
    case PFM_PAINT: {
      ++gPaints;
      if (gInvalidateInsidePaint) pfInvalidateRect(dlg, nullptr, true);
      PfPaintInfo info;
      PfDC dc = pfBeginPaint(dlg, &info);
      PfGdi brush = pfCreateSolidBrush(pfRgb(194, 9, 230));
      PfGdi old = pfSelectObject(dc, brush);
      pfRectangle(dc, 10, 20, 40, 32);
      pfSelectObject(dc, old);
      pfDeleteObject(brush);
      PfRect strip{0, 0, 100, 15};
      pfFillRect(dc, &strip, pfGetStockObject(PF_GRAY_BRUSH));
      pfSetTextColor(dc, pfRgb(255, 255, 255));
      pfSetBkMode(dc, PF_TRANSPARENT);
      pfDrawText(dc, u"2007-10", -1, &strip, PFDT_CENTER | PFDT_VCENTER | PFDT_SINGLELINE);
      pfEndPaint(dlg, &info);
      return 1;
    }
    case PFM_TIMER:
      ++gTicks;
      return 1;
  }
  return 0;
}

const PfDialogTemplate kPage = {0x80C80040u, u"Paint", 0, 0, 139, 137, u"Tahoma", 9, 0, nullptr};

class PaintTimerTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    gPaints = gTicks = 0;
    gInvalidateInsidePaint = false;
    gInit = nullptr;
  }
  void run() {
    source.steps.push_back([] { pfEndDialog(pf::host::topmostDialog(), 1); });
    pfDialogBoxIndirect(PfModule::none, &kPage, PfWnd::none, paintingProc, 0);
  }
};

TEST_F(PaintTimerTest, PaintsWhenIdleAndRecordsTheDisplayList) {
  gInvalidateInsidePaint = true; /* begin-paint validates that too */
  nlohmann::json paint;
  int paintsAtFirstIdle = -1;
  source.steps.push_back([&] {
    paintsAtFirstIdle = gPaints;
    paint = pf::host::snapshot()["dialogs"][0]["paint"];
    pfSendMessage(pf::host::topmostDialog(), PFM_PAINT, 0, 0); /* sent by code: harmless */
  });
  source.steps.push_back([&] { USER(pf::host::user::repaintTopmost(&error_)); });
  run();
  EXPECT_EQ(paintsAtFirstIdle, 1);
  EXPECT_EQ(gPaints, 3);
  ASSERT_EQ(paint.size(), 3u);
  EXPECT_EQ(paint[0]["op"], "rectangle");
  EXPECT_EQ(paint[0]["fill"], "#c209e6");
  EXPECT_EQ(paint[0]["outline"], "#000000");
  EXPECT_EQ(paint[1]["fill"], "#808080");
  EXPECT_EQ(paint[2]["text"], "2007-10");
  EXPECT_EQ(paint[2]["color"], "#ffffff");
  EXPECT_EQ(paint[2]["transparent"], true);
}

TEST_F(PaintTimerTest, WhatAMessageBoxCoveredIsRepainted) {
  int before = 0;
  source.steps.push_back([&] {
    before = gPaints;
    pfMessageBox(pf::host::topmostDialog(), u"关于", u"关于", 0);
  });
  source.steps.push_back([] { USER(pf::host::user::answerMessageBox(true, &error_)); });
  source.steps.push_back([&] { EXPECT_EQ(gPaints, before + 1); });
  run();
}

TEST_F(PaintTimerTest, TimersTickWithTheFixedClockAlsoBehindAMessageBox) {
  gInit = [](PfWnd dlg) { pfSetTimer(dlg, 1, 1000); };
  int ticksBehindBox = -1;
  source.steps.push_back([] { pf::host::advanceClock(3000); });
  source.steps.push_back([&] {
    EXPECT_EQ(gTicks, 3);
    PfLocalTime t;
    pfGetLocalTime(&t);
    EXPECT_EQ(t.second, 3);
    EXPECT_EQ(t.dayOfWeek, 5) << "26 October 2007 was a Friday";
    pfMessageBox(pf::host::topmostDialog(), u"about", u"about", 0);
  });
  source.steps.push_back([] { pf::host::advanceClock(2000); });
  source.steps.push_back([&] {
    ticksBehindBox = gTicks;
    USER(pf::host::user::answerMessageBox(true, &error_));
  });
  source.steps.push_back([] {
    pf::host::advanceClock(500);
    pfKillTimer(pf::host::topmostDialog(), 1);
    pf::host::advanceClock(5000);
  });
  run();
  EXPECT_EQ(ticksBehindBox, 5);
  EXPECT_EQ(gTicks, 5) << "stopping the timer discards what was pending";
}

}  // namespace

namespace {

const PfDialogItem kField[] = {{PF_CLASS_EDIT, u"", 4, kChild | PFWS_TABSTOP, 0, 0, 40, 12}};
const PfDialogTemplate kFieldPage = {0x80C80040u, u"Field", 0, 0, 139, 137, u"Tahoma", 9, 1, kField};

TEST_F(PaintTimerTest, ChildChangesRepaintTheChildOnly) {
  int before = -1, after = -1;
  source.steps.push_back([&] {
    before = gPaints;
    PfWnd field = pfGetDlgItem(pf::host::topmostDialog(), 4);
    pfSetWindowText(field, u"28");
    pfMoveWindow(field, 5, 5, 50, 20, true);
  });
  source.steps.push_back([] { USER(pf::host::user::typeText(4, u"30", &error_)); });
  source.steps.push_back([&] {
    after = gPaints;
    pfEndDialog(pf::host::topmostDialog(), 1);
  });
  pfDialogBoxIndirect(PfModule::none, &kFieldPage, PfWnd::none, paintingProc, 0);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, before) << "text, position and typing in a child leave the page alone";
}

}  // namespace
