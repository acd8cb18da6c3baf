// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/MenuTextStream.h"

#include <algorithm>

namespace pellimo::runner {

namespace {

/// No escape sequence gives a colour with a negative component: text in this colour is text
/// no sequence coloured, told apart from text coloured like the widget's text.
constexpr ansi::Color kUncoloured = ansi::Color::grey(-1, 0);

/// A line that never ends (progress redrawn with '\r', say) is shown as printed once it is this
/// long, rather than held without bound for attributes that may never come.
constexpr std::size_t kLongestLine = 1 << 20;

bool isSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r';
}

std::u16string_view trimmed(std::u16string_view text) {
  while (!text.empty() && isSpace(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back()))
    text.remove_suffix(1);
  return text;
}

/// Where the line's last clear-screen ends; 0 when it has none.
std::size_t afterLastClear(std::u16string_view line) {
  const std::size_t feed = line.rfind(u'\f');
  const std::size_t clear = line.rfind(u"\x1b[2J");
  return std::max(feed == std::u16string_view::npos ? 0 : feed + 1,
                  clear == std::u16string_view::npos ? 0 : clear + 4);
}

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

/// The units of the first `count` characters of the text, or of all of it.
std::size_t unitsOf(std::u16string_view text, int count) {
  std::size_t units = 0;
  for (; units < text.size() && count > 0; --count)
    units += isHighSurrogate(text[units]) && units + 1 < text.size() ? 2 : 1;
  return units;
}

int characterCount(std::u16string_view text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char16_t c) { return c < 0xDC00 || c > 0xDFFF; }));
}

}  // namespace

MenuTextStream::MenuTextStream(const ansi::VXL_ANSIEscapeHelper& helper, const Appearance& look,
                               std::function<void()> onClearScreen)
    : helper_(helper),
      look_(look),
      onClearScreen_(std::move(onClearScreen)),
      reader_(
          helper_, look.font,
          [this](std::u16string_view text, const ansi::StyledText::Attributes& attributes) {
            show(text, attributes);
          },
          [this] { frameEnded(); }) {
  helper_.setDefaultStringColor(kUncoloured);
  resetLineLook();
}

void MenuTextStream::append(std::u16string_view piece) {
  for (std::size_t end = piece.find(u'\n'); end != std::u16string_view::npos;
       end = piece.find(u'\n')) {
    if (pending_.empty()) {
      takeLine(piece.substr(0, end));
    } else {
      pending_.append(piece.substr(0, end));
      takeLine(pending_);
      pending_.clear();
    }
    if (!inMenu_) reader_.append(u"\n");
    piece.remove_prefix(end + 1);
  }
  pending_.append(piece);
  if (pending_.size() > kLongestLine) {
    if (!inMenu_) reader_.append(pending_);
    pending_.clear();
  }
}

void MenuTextStream::finish() {
  if (!pending_.empty()) takeLine(pending_);
  pending_.clear();
  reader_.finish();
}

void MenuTextStream::takeLine(std::u16string_view line) {
  // What comes before a clear-screen belongs to the frame it ends, as the script printed it.
  if (const std::size_t clear = afterLastClear(line); clear > 0) {
    reader_.append(line.substr(0, clear));
    line.remove_prefix(clear);
  }
  const MenuLine parsed = parseMenuLine(line);
  const LineAttributes meant = interpretAttributes(parsed);
  if (inMenu_) {
    addMenuItem(parsed.text, meant);
    return;
  }
  if (trimmed(parsed.text) == u"---") {
    inMenu_ = true;
    return;
  }
  const std::size_t start = styled_->length();
  showLine(parsed.text, meant.look);
  if (!meant.action.isEmpty()) menu_->lineActions[start] = meant.action;
}

void MenuTextStream::showLine(std::u16string_view text, const LineLook& look) {
  if (look.trim) text = trimmed(text);
  lineColor_ = look.color.value_or(look_.fontColor);
  if (!look.fontFamily.isEmpty()) lineFont_.family = look.fontFamily.toStdString();
  if (look.fontSize)
    lineFont_.pointSize =
        std::clamp(*look.fontSize, ansi::Font::kSmallestPointSize, ansi::Font::kLargestPointSize);
  std::u16string clean;
  helper_.escapeCodesForString(text, &clean);
  // A line longer than its length ends in an ellipsis, which counts as one of its characters.
  const bool cut = look.length && characterCount(clean) > *look.length;
  if (cut) budget_ = *look.length - 1;
  if (look.ansi) {
    reader_.append(text);
  } else {
    // The line's sequences are removed without effect, and its text takes no colour that
    // earlier lines left open.
    show(clean, {lineFont_, kUncoloured, std::nullopt, std::nullopt});
  }
  if (cut) styled_->append(u"\u2026", {lineFont_, lineColor_, std::nullopt, std::nullopt});
  resetLineLook();
}

void MenuTextStream::addMenuItem(std::u16string_view text, const LineAttributes& meant) {
  ScriptMenu::Item item;
  for (;;) {
    if (trimmed(text) == u"---") {
      item.separator = true;
      break;
    }
    if (!text.starts_with(u"--")) break;
    text.remove_prefix(2);
    ++item.depth;
  }
  if (!meant.look.dropdown) return;
  if (!item.separator) {
    if (meant.look.trim) text = trimmed(text);
    std::u16string clean;
    helper_.escapeCodesForString(text, &clean);
    item.title = QString::fromStdU16String(clean);
    if (meant.look.length && characterCount(clean) > *meant.look.length) {
      item.title =
          QString::fromStdU16String(clean.substr(0, unitsOf(clean, *meant.look.length - 1))) +
          QChar(0x2026);
    }
    item.action = meant.action;
  }
  menu_->items.push_back(std::move(item));
}

void MenuTextStream::show(std::u16string_view text, ansi::StyledText::Attributes attributes) {
  if (attributes.foreground == kUncoloured) attributes.foreground = lineColor_;
  attributes.font = lineFont_;
  if (budget_) {
    text = text.substr(0, unitsOf(text, *budget_));
    *budget_ -= characterCount(text);
  }
  if (!text.empty()) styled_->append(text, attributes);
}

void MenuTextStream::resetLineLook() {
  lineColor_ = look_.fontColor;
  lineFont_ = look_.font;
  budget_.reset();
}

void MenuTextStream::frameEnded() {
  if (onClearScreen_) onClearScreen_();
  *menu_ = {};
  inMenu_ = false;
}

}  // namespace pellimo::runner
