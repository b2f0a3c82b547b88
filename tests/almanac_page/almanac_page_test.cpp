/*
** The almanac page end to end: the lumeno host loads LM_almanac, calls
** showDay and drives the page; the document, the soft keys, the About box,
** the title-bar OK, the platform test and the viewer failures are checked
** from the host's JSON output.
*/
#include <gtest/gtest.h>

#include "lumeno_run.h"

namespace {

const std::string kHeader = "<center><b><font color=blue>黄道吉日V1.3</font></b><hr>";

TEST(AlmanacPage, ExactDocumentFor26October2007) {
  LumenoRun run = runLumeno("LM_almanac --date 2007-10-26", "snapshot\nsoftkey left\n");
  ASSERT_EQ(run.status, 0);
  const std::string expected =
      kHeader +
      "<p><table border=1><tr><td width=55>公元</td><td>2007年10月26日</td></tr>"
      "<tr><td><b>宜</b></td><td><font color=green>会亲友 嫁娶 订盟 纳采 纳婿 拆卸 修造 动土 "
      "起基 竖柱 上梁 安床 纳财</font></td></tr>"
      "<tr><td><b>忌</b></td><td><font color=red>出行 祈福 安葬 作灶</font></td></tr>"
      "<tr><td><b>吉神宜趋</b></td><td>四相 阴德 不将 续世 明堂</td></tr>"
      "<tr><td><b>凶神宜忌</b></td><td>游祸 天贼 血忌 重日</td></tr>"
      "<tr><td><b>胎神占方</b></td><td>占房床房内北</td></tr>"
      "<tr><td><b>五行</b></td><td>长流水危执位</td></tr>"
      "<tr><td><b>冲</b></td><td>冲猪(丁亥)煞东</td></tr>"
      "<tr><td><b>彭祖百忌</b></td><td>癸不词讼理弱敌强 巳不远行财物伏藏</td></tr></table></p>"
      "</center>";
  EXPECT_EQ(run.firstDocument(), expected);
  auto snapshot = run.ofType("snapshot").at(0);
  const auto& page = snapshot["dialogs"][0];
  EXPECT_EQ(page["title"], "黄道吉日");
  EXPECT_EQ(page["fullScreenFlags"], 45);
  EXPECT_EQ(page["softKeys"][0]["caption"], "返回");
  EXPECT_EQ(page["softKeys"][1]["caption"], "关于");
  const auto& viewer = page["windows"][0];
  EXPECT_EQ(viewer["complete"], true);
  EXPECT_EQ(viewer["rect"], nlohmann::json({0, 0, 240, 268})) << "covers the client area";
  EXPECT_EQ(run.ofType("result").at(0)["showDay"], 40002);
  EXPECT_TRUE(run.ofType("result").at(0)["windows"].empty()) << "viewer destroyed on Back";
}

TEST(AlmanacPage, DatesInsideAndOutsideTheTable) {
  struct Case {
    const char* date;
    const char* shown; /* the date line, or nullptr for the no-data line */
  };
  const Case cases[] = {
      {"2003-01-01", "<td>2003年1月1日</td>"},  {"2007-12-31", "<td>2007年12月31日</td>"},
      {"2004-02-29", "<td>2004年2月29日</td>"}, {"2002-12-31", nullptr},
      {"2008-01-01", nullptr},                 {"2007-13-01", nullptr},
      {"2007-10-0", nullptr},                  {"2005-02-29", nullptr},
  };
  for (const Case& c : cases) {
    LumenoRun run = runLumeno(std::string("LM_almanac --date ") + c.date, "snapshot\nok\n");
    ASSERT_EQ(run.status, 0) << c.date;
    std::string doc = run.firstDocument();
    if (c.shown) {
      EXPECT_NE(doc.find(c.shown), std::string::npos) << c.date;
      EXPECT_EQ(doc.find("没有相应资料"), std::string::npos) << c.date;
    } else {
      EXPECT_EQ(doc, kHeader + "没有相应资料 ！</center>") << c.date;
    }
    EXPECT_EQ(run.ofType("result").at(0)["showDay"], 1) << "title-bar OK closes with 1";
  }
}

TEST(AlmanacPage, AboutBoxTwiceKeepsThePageOpen) {
  LumenoRun run = runLumeno("LM_almanac --date 2007-10-26",
                            "softkey right\nanswer ok\nsoftkey right\nanswer ok\nsoftkey left\n");
  ASSERT_EQ(run.status, 0);
  auto boxes = run.ofType("messageBox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0]["title"], "關於");
  EXPECT_EQ(boxes[0]["style"], 0);
  std::string text = boxes[0]["text"];
  EXPECT_EQ(text.rfind("黄道吉日 V1.3\r\n", 0), 0u);
  /* "Oct 26 2007 01:58:51": month, day padded to two, year, time. */
  std::string stamp = text.substr(std::string("黄道吉日 V1.3\r\n").size(), 20);
  EXPECT_EQ(stamp[3], ' ');
  EXPECT_EQ(stamp[6], ' ');
  EXPECT_EQ(stamp[11], ' ');
  EXPECT_EQ(stamp[14], ':');
  EXPECT_EQ(run.ofType("result").at(0)["showDay"], 40002);
}

TEST(AlmanacPage, PlatformTestChoosesTheFullScreenFlags) {
  struct Case {
    const char* options;
    int flags;
  };
  const Case cases[] = {{"", 45},
                        {"--platform pOCKETpc", 45},
                        {"--platform SmartPhone", 4},
                        {"--no-platform-type", 4},
                        {"--fault platform-query", 4}};
  for (const Case& c : cases) {
    LumenoRun run =
        runLumeno(std::string("LM_almanac --date 2007-10-26 ") + c.options, "snapshot\nsoftkey left\n");
    ASSERT_EQ(run.status, 0) << c.options;
    const nlohmann::json page = run.ofType("snapshot").at(0)["dialogs"][0];
    EXPECT_EQ(page["fullScreenFlags"], c.flags) << c.options;
    EXPECT_EQ(page["okButton"], c.flags == 45) << c.options;
  }
  LumenoRun noOk = runLumeno("LM_almanac --date 2007-10-26 --no-platform-type", "ok\n");
  EXPECT_EQ(noOk.status, 2) << "a title-bar OK that the page does not have is an error";
  EXPECT_EQ(noOk.ofType("error").at(0)["line"], 1);
}

TEST(AlmanacPage, ViewerFailuresLeaveAnEmptyPageThatStillCloses) {
  for (const char* fault : {"viewer-window", "viewer-init"}) {
    LumenoRun run = runLumeno(std::string("LM_almanac --date 2007-10-26 --fault ") + fault,
                              "answer ok\nsnapshot\nsoftkey right\nanswer ok\nsoftkey left\n");
    ASSERT_EQ(run.status, 0) << fault;
    auto boxes = run.ofType("messageBox");
    ASSERT_EQ(boxes.size(), 2u) << fault;
    EXPECT_EQ(boxes[0]["text"], "HTML創建失敗！");
    EXPECT_EQ(boxes[0]["title"], "錯誤");
    EXPECT_EQ(boxes[0]["style"], 0);
    EXPECT_TRUE(run.ofType("snapshot").at(0)["dialogs"][0]["windows"].empty()) << fault;
    EXPECT_EQ(run.ofType("result").at(0)["showDay"], 40002) << fault;
  }
}

TEST(AlmanacPage, SecondVisitShowsTheSecondDateAndTheNameStays) {
  LumenoRun run = runLumeno("LM_almanac --date 2003-01-01",
                            "softkey left\nname\nversion\nvisit 2005-06-15\nsnapshot\nsoftkey left\nname\n");
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.firstDocument().find("2005年6月15日"), std::string::npos);
  auto names = run.ofType("name");
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0]["value"], "黄道吉日");
  EXPECT_EQ(names[0]["address"], names[1]["address"]);
  EXPECT_EQ(run.ofType("version").at(0)["value"], 65539);
}

TEST(AlmanacPage, TraceShowsTheViewerMessagesAndTheClosingOrder) {
  LumenoRun run = runLumeno("LM_almanac --date 2007-10-26 --trace", "softkey left\n");
  ASSERT_EQ(run.status, 0);
  std::vector<int> messages;
  std::vector<std::string> destroyed;
  for (const auto& t : run.ofType("trace")) {
    if (t["event"] == "viewer") messages.push_back(t["msg"]);
    if (t["event"] == "destroy") destroyed.push_back(t["class"]);
  }
  EXPECT_EQ(messages, (std::vector<int>{12, 1126, 1126, 1126, 1128}));
  ASSERT_FALSE(destroyed.empty());
  EXPECT_EQ(destroyed.front(), "DISPLAYCLASS") << "the viewer goes before the dialog ends";
}

TEST(AlmanacPage, ScriptEndingWithThePageOpenFails) {
  LumenoRun run = runLumeno("LM_almanac --date 2007-10-26", "snapshot\n");
  EXPECT_EQ(run.status, 1);
  auto snapshots = run.ofType("snapshot");
  ASSERT_EQ(snapshots.size(), 2u);
  EXPECT_EQ(snapshots[1]["final"], true);
}

}  // namespace
