// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PropertyList.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace pellimo::platform {

namespace {

// Reads the entries of the <dict> the reader stands on, up to its end element.
std::optional<QMap<QString, QString>> readDictEntries(QXmlStreamReader& xml) {
  QMap<QString, QString> dictionary;
  while (xml.readNextStartElement()) {
    if (xml.name() != u"key") return std::nullopt;
    const QString key = xml.readElementText();
    if (!xml.readNextStartElement()) return std::nullopt;  // a key without a value
    if (xml.name() == u"string") {
      dictionary.insert(key, xml.readElementText());
    } else {
      xml.skipCurrentElement();
    }
  }
  if (xml.hasError()) return std::nullopt;
  return dictionary;
}

// Carriage returns go out as character references: a reader turns literal ones into line feeds.
void writeTextElement(QXmlStreamWriter& xml, const QString& name, const QString& text) {
  xml.writeStartElement(name);
  const QList<QStringView> lines = QStringView(text).split(u'\r');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) xml.writeEntityReference(QStringLiteral("#13"));
    xml.writeCharacters(lines.at(i).toString());
  }
  xml.writeEndElement();
}

}  // namespace

std::optional<QMap<QString, QString>> readStringDictionary(const QString& path) {
  // A resource that does not exist has an empty path, and QFile warns on opening no name at all.
  if (path.isEmpty()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QXmlStreamReader xml(&file);
  if (!xml.readNextStartElement() || xml.name() != u"plist") return std::nullopt;
  if (!xml.readNextStartElement() || xml.name() != u"dict") return std::nullopt;
  auto dictionary = readDictEntries(xml);
  // Read to the end so that a document broken after the dictionary is refused too.
  while (!xml.atEnd())
    xml.readNext();
  if (xml.hasError()) return std::nullopt;
  return dictionary;
}

bool writeStringDictionary(const QString& path, const QMap<QString, QString>& dictionary) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QXmlStreamWriter xml(&file);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(-1);  // one tab, as property-list tools write it
  xml.writeStartDocument();
  xml.writeDTD(
      QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                     "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
  xml.writeStartElement(QStringLiteral("plist"));
  xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
  xml.writeStartElement(QStringLiteral("dict"));
  for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
    writeTextElement(xml, QStringLiteral("key"), it.key());
    writeTextElement(xml, QStringLiteral("string"), it.value());
  }
  xml.writeEndDocument();
  // The writer refuses characters XML cannot carry; the file is then left as it was.
  return !xml.hasError() && file.commit();
}

}  // namespace pellimo::platform
