/*
** tool_run_test.cpp: lmTableGen as the build runs it: exit status, the
** "FILE:LINE: error:" message, and no output written on failure.
*/
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class TableGenRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lm_table_gen_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  static std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }

  /* Runs the tool with arguments; returns its exit status, stderr in errors. */
  int run(const std::string& arguments, std::string& errors) {
    const fs::path errorFile = dir_ / "stderr.txt";
    const std::string command = std::string("'") + LM_TABLE_GEN_PATH + "' " + arguments + " >/dev/null 2>'" +
                                errorFile.string() + "'";
    const int status = std::system(command.c_str());
    errors = read(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string arguments(const fs::path& input, const fs::path& output) {
    return "--input '" + input.string() + "' --output '" + output.string() +
           "' --include t.h --type Row --array rows --fields 2";
  }

  fs::path dir_;
};

TEST_F(TableGenRun, WritesTheTableOnSuccess) {
  const fs::path input = write("good.tsv", "# good\n3\ta\tb\n9\tb\t\n");
  const fs::path output = dir_ / "good.cpp";
  std::string errors;
  ASSERT_EQ(run(arguments(input, output), errors), 0) << errors;
  const std::string cpp = read(output);
  EXPECT_NE(cpp.find("#include \"t.h\""), std::string::npos);
  EXPECT_NE(cpp.find("constinit const Row rows[2] = {"), std::string::npos);
  EXPECT_NE(cpp.find("{3, rowsPool + 1, rowsPool + 3},"), std::string::npos) << cpp;
  EXPECT_NE(cpp.find("{9, rowsPool + 3, rowsPool + 0},"), std::string::npos) << cpp;
  EXPECT_FALSE(fs::exists(dir_ / "good.cpp.tmp"));
}

TEST_F(TableGenRun, FailsOnABadSourceNamingFileAndLineAndKeepsTheOldOutput) {
  const fs::path input = write("bad.tsv", "# bad\n3\ta\tb\n4\ta\\q\tb\n");
  const fs::path output = write("bad.cpp", "previous output\n");
  std::string errors;
  EXPECT_EQ(run(arguments(input, output), errors), 1);
  EXPECT_NE(errors.find(input.string() + ":3: error: field 2: unknown escape '\\q'"), std::string::npos)
      << errors;
  EXPECT_EQ(read(output), "previous output\n");
  EXPECT_FALSE(fs::exists(dir_ / "bad.cpp.tmp"));
}

TEST_F(TableGenRun, FailsOnAMissingInput) {
  std::string errors;
  EXPECT_EQ(run(arguments(dir_ / "absent.tsv", dir_ / "absent.cpp"), errors), 1);
  EXPECT_NE(errors.find("absent.tsv: error: cannot open"), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(dir_ / "absent.cpp"));
}

TEST_F(TableGenRun, RejectsABadCommandLine) {
  const fs::path input = write("good.tsv", "1\ta\tb\n");
  const fs::path output = dir_ / "out.cpp";
  const std::string base = "--input '" + input.string() + "' --output '" + output.string() + "' ";
  const char* cases[] = {
      "--include t.h --type Row --array rows",                     // no --fields
      "--include t.h --type Row --array rows --fields 0",          // no text field
      "--include t.h --type Row --array rows --fields 2x",         // not a number
      "--include t.h --type 'Row;' --array rows --fields 2",       // not a name
      "--include t.h --type Row --array rows --fields 2 --colour", // unknown option
  };
  for (const char* extra : cases) {
    std::string errors;
    EXPECT_EQ(run(base + extra, errors), 2) << extra;
    EXPECT_NE(errors.find("usage: lmTableGen"), std::string::npos) << extra;
    EXPECT_FALSE(fs::exists(output)) << extra;
  }
}

}  // namespace
