// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlWriter.h"

#include <cstring>

#include "ansi/Utf8.h"
#include "tools/HtmlText.h"

namespace pellimo::tools {

using ansi::Color;
using ansi::Font;

namespace {

constexpr std::int32_t kInherit = -1;

std::int32_t colorPart(const Color& color, CssColor pageDefault) {
  const CssColor css = cssColorOf(color);
  return css == pageDefault ? kInherit : static_cast<std::int32_t>(css.rgb);
}

/// A look as one number, different for each look.
template <class Style>
std::uint64_t keyOf(const Style& style) {
  return (static_cast<std::uint64_t>(style.foreground & 0x1FFFFFF) << 28) |
         (static_cast<std::uint64_t>(style.background & 0x1FFFFFF) << 3) | (style.bold ? 4u : 0u) |
         (style.underline == ansi::kUnderlineSingle ? 1u : 0u) |
         (style.underline == ansi::kUnderlineDouble ? 2u : 0u);
}

/// Writes the opening tag of a look into `tag`, which has room for the longest, and returns its
/// length.
template <class Style>
std::size_t writeOpenTag(char* tag, const Style& style) {
  static constexpr char kDigits[] = "0123456789abcdef";
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
  return n;
}

void appendHead(std::string& out, const HtmlOptions& options) {
  out.append("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
  const std::u16string title = ansi::decodeUtf8(options.title);
  appendHtmlText(out, title);
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

constexpr std::size_t kFlushSize = 1 << 16;
/// Text is written in slices of at most this many bytes, so that the buffer's room is bounded.
constexpr std::size_t kSliceBytes = 4096;
constexpr std::string_view kCloseTag = "</span>";

}  // namespace

// Room for closing a span, opening another and one slice of text.
const std::size_t HtmlWriter::kBufferSize =
    kFlushSize + kCloseTag.size() + sizeof(OpenTag::text) + kMostHtmlBytesPerUnit * kSliceBytes;

HtmlWriter::HtmlWriter(const HtmlOptions& options, Output output)
    : options_(options),
      output_(std::move(output)),
      buffer_(new char[kBufferSize]),
      current_(keyOf(SpanStyle{})),
      pageBackground_(Color::rgb((options.background.rgb >> 16) / 255.0,
                                 ((options.background.rgb >> 8) & 0xFF) / 255.0,
                                 (options.background.rgb & 0xFF) / 255.0)) {
  std::string head;
  appendHead(head, options);
  put(head);
}

void HtmlWriter::put(std::string_view bytes) {
  if (used_ + bytes.size() > kBufferSize) flush();
  if (bytes.size() > kBufferSize) {
    output_(bytes);
    return;
  }
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void HtmlWriter::flush() {
  output_(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void HtmlWriter::write(std::string_view text, const ansi::EscapedTextReader::Look& look) {
  const int underline = look.underline ? *look.underline : int{ansi::kUnderlineNone};
  const SpanStyle style{
      colorPart(*look.foreground, options_.foreground),
      colorPart(look.background ? *look.background : pageBackground_, options_.background),
      look.font->weight >= Font::kBoldWeight,
      underline == ansi::kUnderlineSingle || underline == ansi::kUnderlineDouble
          ? underline
          : int{ansi::kUnderlineNone}};
  const std::uint64_t key = keyOf(style);
  if (key != current_) {
    static const std::uint64_t kPlain = keyOf(SpanStyle{});
    char* to = buffer_.get() + used_;
    if (current_ != kPlain) {
      std::memcpy(to, kCloseTag.data(), kCloseTag.size());
      to += kCloseTag.size();
    }
    if (key != kPlain) {
      // Each look has one slot it may be kept in: few looks recur on most text, and a look
      // that pushes another out costs no more than writing its tag afresh.
      OpenTag& tag = openTags_[(key * 0x9E3779B97F4A7C15u) >> (64 - kOpenTagSlotBits)];
      if (tag.key != key) {
        tag.key = key;
        tag.size = static_cast<std::uint8_t>(writeOpenTag(tag.text, style));
      }
      // All of the slot, not just the tag: a copy of fixed size needs no loop, and the buffer
      // has room for it.
      std::memcpy(to, tag.text, sizeof tag.text);
      to += tag.size;
    }
    used_ = static_cast<std::size_t>(to - buffer_.get());
    current_ = key;
  }
  // The buffer has room for a slice after every flush.
  for (;;) {
    const std::string_view slice = text.substr(0, kSliceBytes);
    used_ = static_cast<std::size_t>(writeHtmlText(buffer_.get() + used_, slice) - buffer_.get());
    if (used_ >= kFlushSize) flush();
    text.remove_prefix(slice.size());
    if (text.empty()) break;
  }
}

void HtmlWriter::finish() {
  if (current_ != keyOf(SpanStyle{})) put(kCloseTag);
  put("</pre>\n</body>\n</html>\n");
  flush();
}

}  // namespace pellimo::tools
