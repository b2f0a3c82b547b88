/*
** table_source.cpp: line-by-line reader of table sources (see table_source.h).
**
** Each line is first decoded as a whole (so a bad byte is reported even in a
** comment), then split at TABs; the key and each text field are checked in
** turn. The first problem ends the parse.
*/
#include "table_source.h"

#include <cstdio>
#include <utility>

#include "utf8_text.h"

namespace tablegen {
namespace {

std::string codePointName(char32_t cp) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
  return text;
}

std::string toUtf8(std::u32string_view codePoints) {
  std::string bytes;
  for (const char32_t cp : codePoints) {
    if (cp < 0x80) {
      bytes.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return bytes;
}

/* Key: optional '-', then decimal digits, within the signed 32-bit range. */
bool parseKey(std::u32string_view field, std::int32_t& key, std::string& message) {
  const std::string shown = "'" + toUtf8(field) + "'";
  std::size_t pos = 0;
  const bool negative = !field.empty() && field[0] == U'-';
  if (negative) pos = 1;
  if (pos == field.size()) {
    message = "key " + shown + " is not a decimal integer";
    return false;
  }
  std::int64_t value = 0;
  for (; pos < field.size(); ++pos) {
    const char32_t c = field[pos];
    if (c < U'0' || c > U'9') {
      message = "key " + shown + " is not a decimal integer";
      return false;
    }
    // Past the 32-bit range the value stops growing; the digits are still checked.
    if (value <= 2147483648LL) value = value * 10 + (c - U'0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) {
    message = "key " + shown + " is outside the signed 32-bit range";
    return false;
  }
  key = static_cast<std::int32_t>(value);
  return true;
}

/* Resolves escapes of one text field (fieldNumber is 1-based, key = 1). */
bool parseText(std::u32string_view field, int fieldNumber, std::u16string& text,
               std::string& message) {
  std::u32string resolved;
  resolved.reserve(field.size());
  const std::string where = "field " + std::to_string(fieldNumber) + ": ";
  for (std::size_t pos = 0; pos < field.size(); ++pos) {
    const char32_t c = field[pos];
    if (c == U'\\') {
      if (pos + 1 == field.size()) {
        message = where + "backslash at the end of the field (write \\\\ for a backslash)";
        return false;
      }
      const char32_t escaped = field[++pos];
      switch (escaped) {
        case U'\\': resolved.push_back(U'\\'); break;
        case U't': resolved.push_back(U'\t'); break;
        case U'r': resolved.push_back(U'\r'); break;
        case U'n': resolved.push_back(U'\n'); break;
        default:
          message = where + "unknown escape '\\" + toUtf8(std::u32string_view(&field[pos], 1)) +
                    "' (only \\\\ \\t \\r \\n are defined)";
          return false;
      }
      continue;
    }
    if (c < 0x20 || c == 0x7F) {
      message = where + "control character " + codePointName(c) +
                " must not appear literally (use \\t, \\r or \\n)";
      return false;
    }
    resolved.push_back(c);
  }
  text = encodeUtf16(resolved);
  return true;
}

/* Checks and converts one record line (without its LF). */
bool parseRecordLine(std::u32string_view line, int textFieldCount, TableRecord& record,
                     std::string& message) {
  std::vector<std::u32string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find(U'\t', start);
    fields.push_back(line.substr(start, tab == std::u32string_view::npos ? tab : tab - start));
    if (tab == std::u32string_view::npos) break;
    start = tab + 1;
  }
  const std::size_t expected = static_cast<std::size_t>(textFieldCount) + 1;
  if (fields.size() != expected) {
    message = "expected " + std::to_string(expected) + " fields (a key and " +
              std::to_string(textFieldCount) + " texts), found " + std::to_string(fields.size());
    return false;
  }
  if (!parseKey(fields[0], record.key, message)) return false;
  record.texts.assign(static_cast<std::size_t>(textFieldCount), std::u16string());
  for (int i = 0; i < textFieldCount; ++i) {
    const auto index = static_cast<std::size_t>(i) + 1;
    if (!parseText(fields[index], i + 2, record.texts[index - 1], message)) return false;
  }
  return true;
}

}  // namespace

bool parseTableSource(std::string_view bytes, int textFieldCount,
                      std::vector<TableRecord>& result, SourceError& error) {
  result.clear();
  std::vector<TableRecord> records;  // handed out only when the whole source is good
  if (textFieldCount < 0) {
    error = {0, "the number of text fields must not be negative"};
    return false;
  }
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  std::size_t previousKeyLine = 0;
  std::u32string line;
  while (start < bytes.size()) {
    ++lineNumber;
    const std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) {
      error = {lineNumber, "last line does not end with a line feed"};
      return false;
    }
    const std::string_view raw = bytes.substr(start, end - start);
    start = end + 1;

    Utf8Error utf8Error;
    if (!decodeUtf8(raw, line, utf8Error)) {
      error = {lineNumber, utf8Error.reason + " at byte " + std::to_string(utf8Error.byteOffset + 1) +
                               " of the line"};
      return false;
    }
    if (lineNumber == 1 && !line.empty() && line[0] == 0xFEFF) {
      error = {lineNumber, "byte-order mark at the start of the file (save as UTF-8 without BOM)"};
      return false;
    }
    if (!line.empty() && line.back() == U'\r') {
      error = {lineNumber, "line ends with CR LF (line ends must be a single LF)"};
      return false;
    }
    if (!line.empty() && line[0] == U'#') continue;
    if (line.empty()) {
      error = {lineNumber, "empty line (every line is a record or a '#' comment)"};
      return false;
    }

    TableRecord record;
    std::string message;
    if (!parseRecordLine(line, textFieldCount, record, message)) {
      error = {lineNumber, message};
      return false;
    }
    if (!records.empty() && record.key <= records.back().key) {
      error = {lineNumber, "key " + std::to_string(record.key) +
                               " is not greater than the key " + std::to_string(records.back().key) +
                               " of line " + std::to_string(previousKeyLine) +
                               " (keys must rise strictly)"};
      return false;
    }
    previousKeyLine = lineNumber;
    records.push_back(std::move(record));
  }
  if (records.empty()) {
    error = {0, "no records (a table needs at least one)"};
    return false;
  }
  result = std::move(records);
  return true;
}

}  // namespace tablegen
