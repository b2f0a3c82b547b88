/*
** table_source.h: reader of the table source format (docs/table-source-format.md).
**
** A table source is UTF-8 text, one record per LF-terminated line: a decimal
** key, then exactly textFieldCount text fields, all separated by one TAB.
** Lines that start with '#' are comments. Text fields may use the escapes
** \\ \t \r \n; no other control character may appear literally. Keys must
** rise strictly from record to record.
**
** parseTableSource either fills records with the whole table or reports the
** first problem with its 1-based line number and leaves records empty.
*/
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tablegen {

struct TableRecord {
  std::int32_t key = 0;
  std::vector<std::u16string> texts;  // decoded UTF-16, escapes resolved
};

struct SourceError {
  std::size_t line = 0;  // 1-based; 0 when the problem is the file as a whole
  std::string message;
};

bool parseTableSource(std::string_view bytes, int textFieldCount,
                      std::vector<TableRecord>& records, SourceError& error);

}  // namespace tablegen
