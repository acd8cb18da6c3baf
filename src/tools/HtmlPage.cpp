// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlPage.h"

#include "ansi/Utf8.h"
#include "tools/HtmlTranslator.h"

namespace pellimo::tools {

std::string renderHtml(std::u16string_view escapedText, const HtmlOptions& options) {
  std::string page;
  HtmlTranslator translator(options, [&page](std::string_view piece) { page.append(piece); });
  translator.append(ansi::encodeUtf8(escapedText));
  translator.finish();
  return page;
}

}  // namespace pellimo::tools
