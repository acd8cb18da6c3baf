// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text through what reads stored settings back: colours, fonts, window frames and the
// values of a hand-edited settings file.
#include <QRectF>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/FrameText.h"
#include "platform/HandEditedValues.h"
#include "platform/SettingsCodec.h"

namespace {

using namespace pellimo::platform;

// Aborting hands the input to libFuzzer (or to whoever replays it) as a crash.
void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "violated: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (const auto color = unarchiveColor(text)) {
    require(unarchiveColor(archiveColor(*color)) == color, "a colour read back is stored as such");
  }
  if (const auto font = unarchiveFont(text)) {
    require(unarchiveFont(archiveFont(*font)) == font, "a font read back is stored as such");
  }
  const QRectF frame = rectFromString(text);
  require(std::isfinite(frame.x()) && std::isfinite(frame.y()) && std::isfinite(frame.width()) &&
              std::isfinite(frame.height()),
          "frame text reads as finite numbers");
  const QRectF again = rectFromString(stringFromRect(frame));
  require(again.x() == frame.x() && again.y() == frame.y() && again.width() == frame.width() &&
              again.height() == frame.height(),
          "a frame read back is stored as such");
  const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto values = handEditedValues(file);
  for (auto value = values.begin(); value != values.end(); ++value) {
    const QString& typed = value.value().text;
    require(!value.key().isEmpty(), "a recovered value has a key");
    require(typed.contains(u',') || typed.contains(u';'), "a recovered value holds , or ;");
    require(!value.value().certain ||
                !(typed.contains(u'"') || typed.contains(u'\\') || typed.startsWith(u'@')),
            "a value taken as surely meant holds no INI syntax but , and ;");
  }
  return 0;
}
