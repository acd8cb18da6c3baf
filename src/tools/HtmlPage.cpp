#include "tools/HtmlPage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ansi/EscapedTextReader.h"
#include "ansi/Utf8.h"

namespace pellimo::tools {

using ansi::Color;
using ansi::Font;

namespace {

constexpr std::int32_t kInherit = -1;

std::int32_t colorPart(const std::optional<Color>& color, CssColor pageDefault) {
  if (!color) return kInherit;
  const CssColor css = cssColorOf(*color);
  return css == pageDefault ? kInherit : static_cast<std::int32_t>(css.rgb);
}

/// 1 copies the ASCII unit as it is, 0 drops it; '<', '>' and '&' are handled apart.
constexpr std::array<std::uint8_t, 128> kAsciiKeep = [] {
  std::array<std::uint8_t, 128> keep{};
  for (int c = 0x20; c < 0x7F; ++c)
    keep[c] = 1;
  keep['\t'] = keep['\n'] = keep['\r'] = 1;
  keep['<'] = keep['>'] = keep['&'] = 0;
  return keep;
}();

/// Appends text[from, to) escaped as UTF-8 and returns where it stopped: one past `to` when a
/// surrogate pair straddles `to`, so that the pair stays one character.
std::size_t appendEscaped(std::string& out, std::u16string_view text, std::size_t from,
                          std::size_t to) {
  std::size_t i = from;
  while (i < to) {
    // Copy a stretch of ASCII that needs no escaping in one go.
    std::size_t end = i;
    while (end < to && text[end] < 0x80 && kAsciiKeep[text[end]])
      ++end;
    if (end > i) {
      const std::size_t at = out.size();
      out.resize(at + (end - i));
      for (std::size_t k = 0; k < end - i; ++k)
        out[at + k] = static_cast<char>(text[i + k]);
      i = end;
      continue;
    }
    const char16_t unit = text[i++];
    if (unit < 0x80) {
      if (kAsciiKeep[unit]) {
        out.push_back(static_cast<char>(unit));
      } else if (unit == u'<') {
        out.append("&lt;");
      } else if (unit == u'>') {
        out.append("&gt;");
      } else if (unit == u'&') {
        out.append("&amp;");
      }
    } else if (unit >= 0xD800 && unit <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 &&
               text[i] <= 0xDFFF) {
      ansi::appendUtf8(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[i++] - 0xDC00u));
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      ansi::appendUtf8(out, 0xFFFD);
    } else {
      ansi::appendUtf8(out, unit);
    }
  }
  return i;
}

/// Builds the tag in a small buffer and appends it once: tags open at every change of look,
/// which on escape-dense input is at nearly every character.
template <class Style>
void appendOpenTag(std::string& out, const Style& style) {
  static constexpr char kDigits[] = "0123456789abcdef";
  char tag[96];
  std::size_t n = 0;
  auto put = [&](std::string_view text) {
    std::memcpy(tag + n, text.data(), text.size());
    n += text.size();
  };
  auto putColor = [&](std::int32_t rgb) {
    tag[n++] = '#';
    for (int shift = 20; shift >= 0; shift -= 4)
      tag[n++] = kDigits[(rgb >> shift) & 0xF];
  };
  put("<span");
  if (style.bold || style.underline != ansi::kUnderlineNone) {
    put(" class=\"");
    if (style.bold) put(style.underline != ansi::kUnderlineNone ? "b " : "b");
    if (style.underline == ansi::kUnderlineSingle) put("u");
    if (style.underline == ansi::kUnderlineDouble) put("uu");
    put("\"");
  }
  if (style.foreground != kInherit || style.background != kInherit) {
    put(" style=\"");
    if (style.foreground != kInherit) {
      put("color:");
      putColor(style.foreground);
      if (style.background != kInherit) put(";");
    }
    if (style.background != kInherit) {
      put("background:");
      putColor(style.background);
    }
    put("\"");
  }
  put(">");
  out.append(tag, n);
}

void appendHead(std::string& out, const HtmlOptions& options) {
  out.append("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
  const std::u16string title = ansi::decodeUtf8(options.title);
  appendEscaped(out, title, 0, title.size());
  out.append("</title>\n<style>\nbody{margin:0;background:");
  appendCssColor(out, options.background);
  out.append(";color:");
  appendCssColor(out, options.foreground);
  out.append(
      "}\npre{margin:0;padding:1em;font-family:\"DejaVu Sans Mono\",Menlo,Consolas,monospace;"
      "font-size:13px;line-height:1.3;white-space:pre-wrap;overflow-wrap:anywhere}\n"
      ".b{font-weight:bold}\n.u{text-decoration:underline}\n"
      ".uu{text-decoration:underline double}\n</style>\n</head>\n<body>\n"
      // The parser drops one line break right after <pre>; this one keeps the text's own.
      "<pre>\n");
}

}  // namespace

namespace {

constexpr std::size_t kFlushSize = 1 << 16;
constexpr std::size_t kCachedTags = 512;

}  // namespace

HtmlWriter::HtmlWriter(const HtmlOptions& options, Output output)
    : options_(options), output_(std::move(output)) {
  out_.reserve(2 * kFlushSize);
  appendHead(out_, options);
}

std::int32_t HtmlWriter::cssOf(const std::optional<Color>& color, CssColor pageDefault,
                               ColorMemo& memo) {
  if (color != memo.color) {
    memo.color = color;
    memo.css = colorPart(color, pageDefault);
  }
  return memo.css;
}

void HtmlWriter::write(std::u16string_view text, const ansi::StyledText::Attributes& attributes) {
  const int underline = attributes.underline.value_or(ansi::kUnderlineNone);
  const SpanStyle style{cssOf(attributes.foreground, options_.foreground, foregroundMemo_),
                        cssOf(attributes.background, options_.background, backgroundMemo_),
                        attributes.font && attributes.font->weight >= Font::kBoldWeight,
                        underline == ansi::kUnderlineSingle || underline == ansi::kUnderlineDouble
                            ? underline
                            : int{ansi::kUnderlineNone}};
  if (style != current_) {
    if (!current_.plain()) out_.append("</span>");
    if (!style.plain()) {
      const std::uint64_t key = (static_cast<std::uint64_t>(style.foreground & 0x1FFFFFF) << 27) |
                                (static_cast<std::uint64_t>(style.background & 0x1FFFFFF) << 2) |
                                (style.bold ? 2u : 0u) | (style.underline != 0 ? 1u : 0u);
      // Truecolour text can use a new look at every character: keep the cache small.
      if (openTags_.size() >= kCachedTags) openTags_.clear();
      auto [tag, added] = openTags_.try_emplace(
          key ^ (style.underline == ansi::kUnderlineDouble ? std::uint64_t{1} << 63 : 0));
      if (added) appendOpenTag(tag->second, style);
      out_.append(tag->second);
    }
    current_ = style;
  }
  appendEscaped(out_, text, 0, text.size());
  if (out_.size() >= kFlushSize) {
    output_(out_);
    out_.clear();
  }
}

void HtmlWriter::finish() {
  if (!current_.plain()) out_.append("</span>");
  out_.append("</pre>\n</body>\n</html>\n");
  output_(out_);
  out_.clear();
}

namespace {

/// With a font the bold codes make runs; with the page's colour as the default, uncoloured
/// text needs no span.
ansi::VXL_ANSIEscapeHelper pageHelper(const HtmlOptions& options) {
  ansi::VXL_ANSIEscapeHelper helper;
  helper.setFont(Font{"monospace", 12, Font::kRegularWeight, false});
  const std::uint32_t rgb = options.foreground.rgb;
  helper.setDefaultStringColor(
      Color::rgb((rgb >> 16) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0));
  return helper;
}

}  // namespace

HtmlTranslator::HtmlTranslator(const HtmlOptions& options, HtmlWriter::Output output)
    : helper_(pageHelper(options)),
      writer_(options, std::move(output)),
      reader_(helper_, std::nullopt,
              [this](std::u16string_view text, const ansi::StyledText::Attributes& attributes) {
                writer_.write(text, attributes);
              }) {}

void HtmlTranslator::finish() {
  reader_.finish();
  writer_.finish();
}

std::string renderHtml(std::u16string_view escapedText, const HtmlOptions& options) {
  std::string page;
  HtmlTranslator translator(options, [&page](std::string_view piece) { page.append(piece); });
  translator.append(escapedText);
  translator.finish();
  return page;
}

}  // namespace pellimo::tools
