// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HandEditedValues.h"

namespace pellimo::platform {

namespace {

bool isLineEnd(char c) {
  return c == '\n' || c == '\r';
}

/// One INI line, split where the INI reader splits it: a newline inside quotes or after a
/// backslash does not end it, and an unquoted ";" comments out the rest of the physical line.
struct Line {
  qsizetype end = 0;
  qsizetype equals = -1;
  bool cutInValue = false;
};

Line scanLine(const QByteArray& data, qsizetype start) {
  Line line;
  bool inQuotes = false;
  qsizetype i = start;
  while (i < data.size()) {
    const char c = data.at(i);
    if (isLineEnd(c) && !inQuotes) break;
    if (c == '\\') {
      i += 2;
      // "\r\n" and "\n\r" after a backslash continue the line as one newline does.
      if (i < data.size() && isLineEnd(data.at(i - 1)) && isLineEnd(data.at(i)) &&
          data.at(i) != data.at(i - 1)) {
        ++i;
      }
      continue;
    }
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes && c == '=' && line.equals < 0) {
      line.equals = i;
    } else if (!inQuotes && c == ',' && line.equals >= 0) {
      line.cutInValue = true;
    } else if (!inQuotes && c == ';') {
      line.cutInValue = line.equals >= 0;
      while (i < data.size() && !isLineEnd(data.at(i)))
        ++i;
      break;
    }
    ++i;
  }
  line.end = qMin(i, data.size());
  return line;
}

bool isTopLevelSection(const QByteArray& header) {
  const QByteArray name = header.mid(1, header.indexOf(']') - 1).trimmed();
  return name.compare("General", Qt::CaseInsensitive) == 0;
}

}  // namespace

QMap<QString, HandEditedValue> handEditedValues(const QByteArray& iniFile) {
  QMap<QString, HandEditedValue> found;
  bool topLevel = true;
  qsizetype start = 0;
  while (start < iniFile.size()) {
    const char first = iniFile.at(start);
    if (isLineEnd(first) || first == ' ' || first == '\t') {
      ++start;
      continue;
    }
    const Line line = scanLine(iniFile, start);
    const QByteArray key =
        line.equals < 0 ? QByteArray() : iniFile.mid(start, line.equals - start).trimmed();
    const QByteArray value = iniFile.mid(line.equals + 1, line.end - line.equals - 1).trimmed();
    const bool header = first == '[';
    if (header) topLevel = isTopLevelSection(iniFile.mid(start, line.end - start));
    start = line.end;
    if (header || !topLevel || key.isEmpty()) continue;
    // A value that opens with a quote was written by someone who quotes: what follows the
    // closing quote is theirs to comment.
    if (!line.cutInValue || value.startsWith('"')) {
      found.remove(QString::fromUtf8(key));
      continue;
    }
    const bool certain = !value.contains('"') && !value.contains('\\') && !value.startsWith('@');
    found.insert(QString::fromUtf8(key), {QString::fromUtf8(value), certain});
  }
  return found;
}

}  // namespace pellimo::platform
