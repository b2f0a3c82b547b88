/*
** lmGbkRoundTrip FILE: checks that a GBK (code page 936) text file turns
** into UTF-16 and back into the very same bytes through the platform's own
** converter, the one the history viewer uses on the handheld. Exit status 0
** when it does; 1 with the first differing byte offset when it does not.
*/
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pf/text.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::fprintf(argc == 2 ? stdout : stderr, "usage: lmGbkRoundTrip FILE\n");
    return argc == 2 ? 0 : 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "lmGbkRoundTrip: cannot read %s\n", argv[1]);
    return 2;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    std::printf("%s: empty\n", argv[1]);
    return 0;
  }
  int32_t length = static_cast<int32_t>(bytes.size());
  int32_t units = pfMultiByteToWide(PF_CP_GBK, bytes.data(), length, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  if (units == 0 || pfMultiByteToWide(PF_CP_GBK, bytes.data(), length, wide.data(), units) != units) {
    std::fprintf(stderr, "lmGbkRoundTrip: %s does not convert from code page 936\n", argv[1]);
    return 1;
  }
  int32_t back = pfWideToMultiByte(PF_CP_GBK, wide.data(), units, nullptr, 0, true);
  std::string again(static_cast<size_t>(back), '\0');
  if (back == 0 || pfWideToMultiByte(PF_CP_GBK, wide.data(), units, again.data(), back, true) != back) {
    std::fprintf(stderr, "lmGbkRoundTrip: %s has characters without a code page 936 form\n", argv[1]);
    return 1;
  }
  if (again != bytes) {
    size_t at = 0;
    while (at < bytes.size() && at < again.size() && bytes[at] == again[at]) ++at;
    std::fprintf(stderr, "lmGbkRoundTrip: %s differs after the round trip at byte %zu\n", argv[1], at);
    return 1;
  }
  std::printf("%s: %zu bytes, %d UTF-16 units, round trip exact\n", argv[1], bytes.size(), units);
  return 0;
}
