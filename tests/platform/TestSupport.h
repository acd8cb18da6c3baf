#pragma once

#include <QFile>
#include <QString>
#include <ostream>

// Lets GoogleTest print strings in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace pellimo::test {

inline bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

}  // namespace pellimo::test
