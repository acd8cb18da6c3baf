// Arbitrary text through what reads stored settings back: colours, fonts and window frames.
#include <QRectF>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/FrameText.h"
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
  return 0;
}
