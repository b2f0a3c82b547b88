/*
** main.cpp: command line of lmTableGen.
**
**   lmTableGen --input F.tsv --output F.cpp --include header.h --type T
**              --array name --fields N [--count-constant NAME]
**
** Reads the table source F.tsv, and on success writes F.cpp (through a
** temporary file, so a failed run never leaves a half-written output).
** Problems in the source are reported as "F.tsv:LINE: error: ..." and end
** the run with status 1; a bad command line ends it with status 2.
*/
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "cpp_emitter.h"
#include "table_source.h"

namespace {

constexpr const char* usage =
    "usage: lmTableGen --input FILE --output FILE.cpp --include HEADER --type TYPE\n"
    "                  --array NAME --fields N [--count-constant NAME]\n";

bool isIdentifier(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == ':';
    if (!ok) return false;
  }
  return true;
}

int commandLineError(const std::string& message) {
  std::cerr << "lmTableGen: " << message << "\n" << usage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    static const char* known[] = {"--input", "--output", "--include", "--type",
                                  "--array", "--fields", "--count-constant"};
    bool isKnown = false;
    for (const char* k : known) isKnown = isKnown || name == k;
    if (!isKnown) return commandLineError("unknown option '" + name + "'");
    if (i + 1 >= argc) return commandLineError("option '" + name + "' needs a value");
    options[name] = argv[i + 1];
  }
  for (const char* required : {"--input", "--output", "--include", "--type", "--array", "--fields"}) {
    if (options.count(required) == 0) return commandLineError(std::string("missing ") + required);
  }
  for (const char* name : {"--type", "--array", "--count-constant"}) {
    if (options.count(name) != 0 && !isIdentifier(options[name])) {
      return commandLineError(std::string(name) + " '" + options[name] + "' is not a C++ name");
    }
  }
  int fieldCount = -1;
  {
    const std::string& text = options["--fields"];
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, fieldCount);
    if (status != std::errc() || stop != end || fieldCount < 1 || fieldCount > 64) {
      return commandLineError("--fields '" + text + "' must be a number of text fields from 1 to 64");
    }
  }

  const std::string inputPath = options["--input"];
  std::ifstream input(inputPath, std::ios::binary);
  if (!input) {
    std::cerr << inputPath << ": error: cannot open the table source\n";
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());

  std::vector<tablegen::TableRecord> records;
  tablegen::SourceError error;
  if (!tablegen::parseTableSource(bytes, fieldCount, records, error)) {
    std::cerr << inputPath;
    if (error.line != 0) std::cerr << ":" << error.line;
    std::cerr << ": error: " << error.message << "\n";
    return 1;
  }

  tablegen::EmitOptions emit;
  emit.sourceName = std::filesystem::path(inputPath).filename().string();
  emit.includeHeader = options["--include"];
  emit.typeName = options["--type"];
  emit.arrayName = options["--array"];
  emit.countConstant = options["--count-constant"];
  tablegen::EmitStatistics statistics;
  const std::string cpp = tablegen::emitTableCpp(records, emit, statistics);

  const std::string outputPath = options["--output"];
  const std::string temporaryPath = outputPath + ".tmp";
  {
    std::ofstream output(temporaryPath, std::ios::binary | std::ios::trunc);
    output << cpp;
    output.close();
    if (!output) {
      std::cerr << temporaryPath << ": error: cannot write the generated source\n";
      std::remove(temporaryPath.c_str());
      return 1;
    }
  }
  std::error_code renameError;
  std::filesystem::rename(temporaryPath, outputPath, renameError);
  if (renameError) {
    std::cerr << outputPath << ": error: cannot replace the output: " << renameError.message() << "\n";
    std::remove(temporaryPath.c_str());
    return 1;
  }
  std::cout << "lmTableGen: " << emit.arrayName << ": " << records.size() << " records, "
            << statistics.distinctTexts << " distinct texts, " << statistics.poolUnits
            << " UTF-16 units\n";
  return 0;
}
