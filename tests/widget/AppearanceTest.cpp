#include <gtest/gtest.h>

#include "CanvasSupport.h"
#include "platform/SettingsStore.h"
#include "widget/Interface.h"

namespace pellimo::test {
namespace {

using platform::SettingsStore;

TEST(Appearance, IsRestoredFromTheSettingsWithFallbacks) {
  const ansi::Font systemFont{"", 12.0, ansi::Font::kRegularWeight, false};
  const ansi::Font serif{"DejaVu Serif", 17, ansi::Font::kBoldWeight, true};
  const ansi::Color background = ansi::Color::rgb(0.1, 0.2, 0.3, 0.4);
  const ansi::Color orange = ansi::Color::rgb(1.0, 0.5, 0.0);
  struct Case {
    const char* what;
    std::function<void(SettingsStore&)> store;
    std::optional<ansi::Color> cachedColor;
    ansi::Color fontColor;
    ansi::Font font;
  };
  const Case cases[] = {
      {"nothing stored", [](SettingsStore&) {}, std::nullopt, ansi::Color::white(), systemFont},
      {"values of the wrong kind",
       [&](SettingsStore& settings) {
         settings.setFont(serif, "fontColor");
         settings.setValue(QStringLiteral("garbage"), "color");
         settings.setColor(orange, "codeFont");
       },
       std::nullopt, ansi::Color::white(), systemFont},
      {"all three stored",
       [&](SettingsStore& settings) {
         settings.setColor(background, "color");
         settings.setColor(orange, "fontColor");
         settings.setFont(serif, "codeFont");
       },
       background, orange, serif},
  };
  for (const Case& stored : cases) {
    SettingsStore::standard().clear();
    stored.store(SettingsStore::standard());
    widget::Interface widget;
    widget::ViewController& controller = *widget.controller;
    controller.viewDidLoad();
    EXPECT_EQ(controller.cachedColor(), stored.cachedColor) << stored.what;
    EXPECT_EQ(controller.fontColor(), stored.fontColor) << stored.what;
    EXPECT_EQ(controller.font(), stored.font) << stored.what;
    // The background's fallback is taken in memory only, when the widget is painted.
    const ansi::Color painted = stored.cachedColor.value_or(ansi::Color::grey(0.0, 0.5));
    EXPECT_EQ(controller.backgroundColor(), painted) << stored.what;
    EXPECT_EQ(controller.cachedColor(), painted) << stored.what;
    EXPECT_EQ(SettingsStore::standard().colorForKey("color"), stored.cachedColor) << stored.what;
  }
  SettingsStore::standard().clear();
}

TEST(Appearance, ThemeWidgetLeavesOnlyTheWidgetsFontAndColour) {
  const ansi::Font font{"DejaVu Sans Mono", 14, ansi::Font::kRegularWeight, false};
  const ansi::Color color = ansi::Color::rgb(0.2, 0.8, 0.4);
  const std::function<void(widget::lbl&)> contents[] = {
      [](widget::lbl& canvas) {
        canvas.setStyledText(translated(u"a\x1b[31mred\x1b[44;4mblue\x1b[21mtwice\x1b[0m end"));
      },
      [](widget::lbl& canvas) { canvas.setPlainText(QStringLiteral("Error in Script:\n\nboom")); },
      [](widget::lbl&) {},
  };
  for (const auto& fill : contents) {
    widget::Interface widget;
    widget::lbl& canvas = *widget.canvas;
    fill(canvas);
    const QString text = canvas.plainText();
    widget::ViewController& controller = *widget.controller;
    controller.setAppearance(font, color);
    const auto styled = canvas.styledText();
    ASSERT_TRUE(styled) << text.toStdString();
    EXPECT_EQ(QString::fromStdU16String(styled->string()), text);
    const std::size_t length = styled->length();
    using FontSpans = std::vector<ansi::AttributeLayer<ansi::Font>::Span>;
    using ColorSpans = std::vector<ansi::AttributeLayer<ansi::Color>::Span>;
    const ansi::Range whole{0, length};
    EXPECT_EQ(styled->fonts().spans(whole), (length ? FontSpans{{font, whole}} : FontSpans{}));
    EXPECT_EQ(styled->foregrounds().spans(whole),
              (length ? ColorSpans{{color, whole}} : ColorSpans{}));
    for (const auto& [value, range] : styled->backgrounds().spans(whole))
      EXPECT_FALSE(value);
    for (const auto& [value, range] : styled->underlines().spans(whole)) {
      EXPECT_TRUE(!value || *value == ansi::kUnderlineNone);
    }
  }
}

}  // namespace
}  // namespace pellimo::test
