// The headless commands of KivWZ, run as a script would run them: the built program, its standard
// output and error, and its exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "wizard/model/nav_schemes.h"

namespace kivwz {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class KivWZCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kivwz-commands-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(File(name), std::ios::binary) << content;
  }

  Outcome KivWZ(const std::vector<std::string>& args) const { return Run(KIVWZ_PROGRAM, args); }

  Outcome Run(const std::string& program, const std::vector<std::string>& args) const {
    std::string command = Quoted(program);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(File("stdout")) + " 2>" + Quoted(File("stderr")) + " </dev/null";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(File("stdout"));
    run.err = ReadFile(File("stderr"));
    return run;
  }

  // A navigation scheme with one broken rule (G node 3 without a query) and a web scheme with an
  // orphan (paragraph 2 of node 9).
  void WriteBrokenDesign() const {
    Write("XST1.txt",
          "\"ID\",\"descriptionIs\",\"typeIs\",\"parentIs\",\"queryIs\",\"parmIs\",\"iconIs\","
          "\"roleIs\"\r\n"
          "1,\"Data Browser\",\"F\",0,\"\",\"\",\"leaf\",\"\"\r\n"
          "3,\"Customers\",\"G\",1,\"\",\"LKey\",\"leaf\",\"\"\r\n"
          "7,\"Customer\",\"N\",3,\"\",\"\",\"leaf\",\"\"\r\n");
    Write("XST2.txt",
          "\"ID\",\"XST1\",\"seqNo\",\"titleIs\",\"queryIs\",\"parmIs\",\"typeIs\",\"formIs\","
          "\"colsAre\",\"extra\"\r\n"
          "1,7,1,\"Orders\",\"spW_Orders\",\"LKey\",\"S\",0,\"All\",\"\"\r\n"
          "2,9,1,\"Lost\",\"spW_Lost\",\"\",\"S\",0,\"All\",\"\"\r\n");
  }

  std::filesystem::path dir_;
};

TEST_F(KivWZCommands, ReportsMatchTheModel) {
  WriteBrokenDesign();
  clsNavSchemes navs;
  ASSERT_TRUE(navs.LoadData(File("XST1.txt")));
  ASSERT_TRUE(navs.oWebs.LoadData(File("XST2.txt")));
  const std::string navToDo = navs.NavToDo();
  const std::string webToDo = navs.oWebs.WebToDo();
  const std::string checkNav = navs.CheckNav();
  const std::string checkWeb = navs.oWebs.CheckScheme(navs);
  ASSERT_NE(checkWeb.find("[ID=2] Lost\r\n"), std::string::npos);

  struct Case {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"check-nav", File("XST1.txt")}, checkNav},
      {{"nav-todo", File("XST1.txt")}, navToDo},
      {{"check-web", File("XST1.txt"), File("XST2.txt")}, checkWeb},
      {{"web-todo", File("XST2.txt")}, webToDo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const Outcome run = KivWZ(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(KivWZCommands, CheckFailsOnABrokenDesign) {
  WriteBrokenDesign();
  const Outcome broken = KivWZ({"check", File("XST1.txt"), File("XST2.txt")});
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.out.find("THE RULES FOR FORMULATING NAVIGATIONAL SCHEME:\r\n"), 0u);
  EXPECT_NE(broken.out.find("=> There is no Query Specifed for Generating-Type: [ID=3] Customers"),
            std::string::npos);
  EXPECT_NE(broken.out.find("THE ORPHANS: \r\n\r\n[ID=2] Lost\r\n"), std::string::npos);

  // Mend the node's query and drop the orphan: the check passes.
  std::string nav = ReadFile(File("XST1.txt"));
  nav.replace(nav.find("\"G\",1,\"\""), 9, "\"G\",1,\"spG_Customers\"");
  Write("XST1.txt", nav);
  std::string web = ReadFile(File("XST2.txt"));
  Write("XST2.txt", web.substr(0, web.find("2,9,1")));
  const Outcome clean = KivWZ({"check", File("XST1.txt"), File("XST2.txt")});
  EXPECT_EQ(clean.status, 0) << clean.out;
}

TEST_F(KivWZCommands, RenumberSavesBothSchemes) {
  WriteBrokenDesign();
  const Outcome run =
      KivWZ({"renumber", File("XST1.txt"), File("XST2.txt"), File("out1.txt"), File("out2.txt")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadFile(File("out1.txt")),
            "\"ID\",\"descriptionIs\",\"typeIs\",\"parentIs\",\"queryIs\",\"parmIs\",\"iconIs\","
            "\"roleIs\"\r\n"
            "1,\"Data Browser\",\"F\",0,\"\",\"\",\"leaf\",\"\"\r\n"
            "2,\"Customers\",\"G\",1,\"\",\"LKey\",\"leaf\",\"\"\r\n"
            "3,\"Customer\",\"N\",2,\"\",\"\",\"leaf\",\"\"\r\n");
  EXPECT_EQ(ReadFile(File("out2.txt")),
            "\"ID\",\"XST1\",\"seqNo\",\"titleIs\",\"queryIs\",\"parmIs\",\"typeIs\",\"formIs\","
            "\"colsAre\",\"extra\"\r\n"
            "1,3,1,\"Orders\",\"spW_Orders\",\"LKey\",\"S\",0,\"All\",\"\"\r\n"
            "2,0,1,\"Lost\",\"spW_Lost\",\"\",\"S\",0,\"All\",\"\"\r\n");
}

TEST_F(KivWZCommands, UnreadableFilesAndBadCommandLinesExit2) {
  WriteBrokenDesign();
  struct Case {
    std::vector<std::string> args;
    std::string errorPart;
  } cases[] = {
      {{"check-nav", File("missing.txt")}, "missing.txt"},
      {{"check-web", File("XST1.txt"), File("missing.txt")}, "missing.txt"},
      {{"web-todo", dir_.string()}, dir_.string()},
      {{"check", File("missing.txt"), File("XST2.txt")}, "missing.txt"},
      {{"renumber", File("XST1.txt"), File("XST2.txt"), File("nofolder/a"), File("b")}, "nofolder"},
      {{"check-nav"}, "NAV"},
      {{"frobnicate"}, "frobnicate"},
      {{"check-nav", "/dev/zero"}, "Unable to open file /dev/zero: it is not a regular file"},
      {{"check-nav", dir_.string()}, "Unable to open file " + dir_.string() + ": it is a folder"},
      {{"check", File("empty.txt"), File("XST2.txt")},
       File("empty.txt") + " is not a navigation scheme file"},
      {{"check", File("XST1.txt"), File("binary.txt")},
       File("binary.txt") + " is not a web scheme file"},
  };
  Write("empty.txt", " \r\n");
  static constexpr char kBinary[] = "1,\x7f\x45\x4c\x46\x02\x01\x00\x00,3\r\n";
  Write("binary.txt", std::string(kBinary, sizeof kBinary - 1));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
    const Outcome run = KivWZ(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.errorPart), std::string::npos) << run.err;
  }
}

TEST_F(KivWZCommands, RenumberWritesBothFilesOrNeither) {
  WriteBrokenDesign();
  Write("out1.txt", "the earlier navigation scheme");
  std::filesystem::create_directory(File("folder"));
  struct Case {
    std::string outWeb;
    std::string why;
  } cases[] = {
      {File("nofolder/out2.txt"), "cannot write " + File("nofolder/out2.txt") + ": No such file"},
      {File("folder"), "cannot write " + File("folder") + ": it is a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outWeb);
    const Outcome run =
        KivWZ({"renumber", File("XST1.txt"), File("XST2.txt"), File("out1.txt"), c.outWeb});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("KivWZ: nothing changed: " + c.why), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(File("out1.txt")), "the earlier navigation scheme");
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator()),
              6);
  }
}

TEST_F(KivWZCommands, AByteOrderMarkIsSkippedAndRunningOutOfMemoryIsReported) {
  Write("bom.txt",
        "\xEF\xBB\xBF"
        "1,\"Root\",\"F\",0,\"\",\"\",\"\",\"\"\r\n"
        "2,\"Child\",\"G\",1,\"\",\"\",\"\",\"\"\r\n");
  WriteBrokenDesign();
  // Without the mark skipped the root line is lost, and with it every node below.
  Outcome run =
      KivWZ({"renumber", File("bom.txt"), File("XST2.txt"), File("out1.txt"), File("out2.txt")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(ReadFile(File("out1.txt")).find("\r\n1,\"Root\",\"F\",0,"), std::string::npos);

#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit leaves";
#endif
  // Far more nodes than 300 MB of address space can hold.
  std::ofstream big(File("big.txt"), std::ios::binary);
  for (int id = 1; id <= 1500000; ++id) big << id << ",\"Node " << id << "\",\"N\",1,,,,\r\n";
  big.close();
  run = Run("/bin/sh", {"-c", "ulimit -v 300000; exec \"$0\" \"$@\"", KIVWZ_PROGRAM, "check-nav",
                        File("big.txt")});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("KivWZ: out of memory"), std::string::npos) << run.err;
}

TEST_F(KivWZCommands, HelpPrintsUsage) {
  const Outcome run = KivWZ({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* command : {"check-nav", "nav-todo", "check-web", "web-todo", "renumber"}) {
    EXPECT_NE(run.out.find(command), std::string::npos) << command;
  }
}

#ifdef KIVWZ_DESKTOP
// Without a command the program opens its window; with no display to open it on it says so in
// one line and fails, whether or not files are named.
TEST_F(KivWZCommands, WithoutADisplayTheWindowSaysSoInOneLine) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, std::vector<std::string>{"XST1.txt", "XST2.txt"}}) {
    std::vector<std::string> command{"-u", "DISPLAY",         "-u",         "WAYLAND_DISPLAY",
                                     "-u", "QT_QPA_PLATFORM", KIVWZ_PROGRAM};
    command.insert(command.end(), args.begin(), args.end());
    const Outcome run = Run("env", command);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("no display"), std::string::npos) << run.err;
  }
}
#else
TEST_F(KivWZCommands, NoCommandPrintsUsage) {
  const Outcome run = KivWZ({});
  EXPECT_EQ(run.status, 0);
  for (const char* command : {"check-nav", "nav-todo", "check-web", "web-todo", "renumber"}) {
    EXPECT_NE(run.out.find(command), std::string::npos) << command;
  }
}
#endif

}  // namespace
}  // namespace kivwz
