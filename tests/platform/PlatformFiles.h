#pragma once

#include <QFile>
#include <QString>

#include "TestSupport.h"

namespace pellimo::test {

inline bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

}  // namespace pellimo::test
