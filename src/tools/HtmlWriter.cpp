// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/HtmlWriter.h"

#include <array>
#include <cstring>

#include "ansi/Utf8.h"
#include "tools/HtmlText.h"

namespace pellimo::tools {

using ansi::Color;

namespace {

constexpr std::int32_t kInherit = -1;

/// A look as one number, different for each look.
template <class Style>
constexpr std::uint64_t keyOf(const Style& style) {
  return (static_cast<std::uint64_t>(style.foreground & 0x1FFFFFF) << 28) |
         (static_cast<std::uint64_t>(style.background & 0x1FFFFFF) << 3) | (style.bold ? 4u : 0u) |
         static_cast<std::uint64_t>(style.underline);
}

/// The opening tag of each kind of look, with room for the colours' hex digits: a tag is then
/// a copy and two patches, with no branch on the look. Kinds are numbered by class (bold times
/// three plus underline) times four plus the colours present (1 foreground, 2 background).
struct OpenTag {
  static constexpr std::size_t kRoom = 64;
  char text[kRoom] = {};
  std::uint8_t size = 0;
  // Where the colours' digits go; a colour the tag lacks goes past its end, to be written over.
  std::uint8_t foregroundAt = kUnused;
  std::uint8_t backgroundAt = kUnused;
  static constexpr std::uint8_t kUnused = kRoom - 8;
};
constexpr std::size_t kClasses = 6;

constexpr std::array<OpenTag, 4 * kClasses> kOpenTags = [] {
  constexpr std::string_view kClassText[kClasses] = {
      "", " class=\"u\"", " class=\"uu\"", " class=\"b\"", " class=\"b u\"", " class=\"b uu\""};
  std::array<OpenTag, 4 * kClasses> tags{};
  for (std::size_t kind = 1; kind < tags.size(); ++kind) {
    OpenTag& tag = tags[kind];
    std::size_t n = 0;
    auto put = [&](std::string_view text) {
      for (char c : text)
        tag.text[n++] = c;
    };
    const bool foreground = kind & 1, background = kind & 2;
    put("<span");
    put(kClassText[kind / 4]);
    if (foreground || background) put(" style=\"");
    if (foreground) {
      put("color:#");
      tag.foregroundAt = static_cast<std::uint8_t>(n);
      put("000000");
    }
    if (foreground && background) put(";");
    if (background) {
      put("background:#");
      tag.backgroundAt = static_cast<std::uint8_t>(n);
      put("000000");
    }
    if (foreground || background) put("\"");
    put(">");
    tag.size = static_cast<std::uint8_t>(n);
  }
  return tags;
}();

/// Two lower-case hex digits for each byte.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  constexpr char kDigits[] = "0123456789abcdef";
  std::array<std::array<char, 2>, 256> pairs{};
  for (int byte = 0; byte < 256; ++byte)
    pairs[byte] = {kDigits[byte >> 4], kDigits[byte & 0xF]};
  return pairs;
}();

void putHex(char* to, std::int32_t rgb) {
  std::memcpy(to, kHexPairs[(rgb >> 16) & 0xFF].data(), 2);
  std::memcpy(to + 2, kHexPairs[(rgb >> 8) & 0xFF].data(), 2);
  std::memcpy(to + 4, kHexPairs[rgb & 0xFF].data(), 2);
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
/// Copied with its terminating zero, a fixed size of copy.
constexpr char kCloseTag[] = "</span>";

}  // namespace

// Room for closing a span, opening another and one slice of text.
const std::size_t HtmlWriter::kBufferSize = kFlushSize + sizeof kCloseTag + OpenTag::kRoom +
                                            kMostHtmlBytesPerUnit * kSliceBytes + kHtmlTextOverrun;

HtmlWriter::HtmlWriter(const HtmlOptions& options, Output output)
    : pageForeground_(options.foreground),
      pageBackground_(options.background),
      output_(std::move(output)),
      buffer_(new char[kBufferSize]),
      current_(keyOf(SpanStyle{})),
      next_(current_) {
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

// Inline: a call for each ground of each look costs more than the lookup.
inline std::int32_t HtmlWriter::colorPart(const Color* color, CssColor pageDefault, bool fixed) {
  if (!color) return kInherit;
  CssColor css;
  if (fixed) {
    // Colours of a table lie at equal strides; the multiplier spreads them over the slots.
    const std::uint64_t hash = reinterpret_cast<std::uintptr_t>(color) * 0x9E3779B97F4A7C15u;
    ConvertedColor& slot = converted_[hash >> (64 - kConvertedSlotBits)];
    if (slot.at != color) slot = {color, cssColorOf(*color)};
    css = slot.css;
  } else {
    css = cssColorOf(*color);
  }
  return css == pageDefault ? kInherit : static_cast<std::int32_t>(css.rgb);
}

inline void HtmlWriter::changeSpan(std::uint64_t key, const SpanStyle& style) {
  constexpr std::uint64_t kPlain = keyOf(SpanStyle{});
  char* to = buffer_.get() + used_;
  // Written whole, and counted only when a span is open.
  std::memcpy(to, kCloseTag, sizeof kCloseTag);
  to += current_ != kPlain ? sizeof kCloseTag - 1 : 0;
  const std::size_t kind = (style.bold * 3u + static_cast<std::size_t>(style.underline)) * 4u +
                           (style.foreground != kInherit) + 2u * (style.background != kInherit);
  const OpenTag& tag = kOpenTags[kind];
  std::memcpy(to, tag.text, sizeof tag.text);
  putHex(to + tag.foregroundAt, style.foreground);
  putHex(to + tag.backgroundAt, style.background);
  used_ = static_cast<std::size_t>(to + tag.size - buffer_.get());
  current_ = key;
}

void HtmlWriter::setLook(bool bold, const Color* foreground, const Color* background, int underline,
                         bool colorsFixed) {
  nextStyle_ = {colorPart(foreground, pageForeground_, colorsFixed),
                colorPart(background, pageBackground_, colorsFixed), bold,
                (underline == ansi::kUnderlineSingle) + 2 * (underline == ansi::kUnderlineDouble)};
  next_ = keyOf(nextStyle_);
}

void HtmlWriter::write(std::string_view text, std::size_t readable) {
  if (next_ != current_) changeSpan(next_, nextStyle_);
  // The buffer has room for a slice after every flush.
  for (;;) {
    const std::string_view slice = text.substr(0, kSliceBytes);
    used_ = static_cast<std::size_t>(writeHtmlText(buffer_.get() + used_, slice, readable) -
                                     buffer_.get());
    if (used_ >= kFlushSize) flush();
    text.remove_prefix(slice.size());
    readable -= slice.size();
    if (text.empty()) break;
  }
}

void HtmlWriter::finish() {
  if (current_ != keyOf(SpanStyle{})) put(std::string_view(kCloseTag, sizeof kCloseTag - 1));
  put("</pre>\n</body>\n</html>\n");
  flush();
}

}  // namespace pellimo::tools
