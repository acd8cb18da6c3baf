#pragma once

#include <QString>
#include <functional>
#include <ostream>

#include "ansi/Color.h"
#include "ansi/Font.h"

// GoogleTest prints these in failure messages as text rather than as bytes.
void PrintTo(const QString& text, std::ostream* os);

namespace pellimo::ansi {
void PrintTo(const Color& color, std::ostream* os);
void PrintTo(const Font& font, std::ostream* os);
}  // namespace pellimo::ansi

namespace pellimo::test {

/// Serves the event loop until `done` holds or the time runs out; whether it came to hold.
bool eventually(const std::function<bool()>& done, int timeoutMs = 10000);

/// Serves the event loop for a while, for checks that something does not happen.
void serveFor(int ms);

}  // namespace pellimo::test
