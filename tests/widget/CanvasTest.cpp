// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBackingStore>

#include "TestSupport.h"
#include "ansi/VXL_ANSIEscapeHelper.h"
#include "platform/SettingsStore.h"
#include "widget/Interface.h"
#include "widget/WindowEdges.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using ansi::Font;
using widget::kEdgeGrip;

const auto isRed = [](const QColor& c) { return c.red() > 150 && c.green() < 80; };

int countPixels(const QImage& image, bool (*wanted)(const QColor&)) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      count += wanted(image.pixelColor(x, y));
  }
  return count;
}

/// How many separate bands of rows two drawings differ in, and the most pixels of one row.
std::pair<int, int> differenceOf(const QImage& a, const QImage& b) {
  int bands = 0, widest = 0, previous = 0;
  for (int y = 0; y < a.height(); ++y) {
    int width = 0;
    for (int x = 0; x < a.width(); ++x)
      width += a.pixel(x, y) != b.pixel(x, y);
    bands += width && !previous;
    widest = std::max(widest, width);
    previous = width;
  }
  return {bands, widest};
}

/// Counts the paints a widget receives.
class PaintCounter : public QObject {
 public:
  PaintCounter(QWidget* widget, int* paints) : paints_(paints) { widget->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++*paints_;
    return QObject::eventFilter(watched, event);
  }

 private:
  int* paints_;
};

class Canvas : public ::testing::Test {
 protected:
  Canvas() { canvas.resize(480, 90); }

  /// The canvas drawn over black, as it shows on a widget without a compositor.
  static QImage rendered(widget::lbl& canvas) {
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    canvas.render(&image);
    return image;
  }
  /// Script output drawn as the runner puts it on the canvas: translated, in the widget's font.
  QImage drawn(std::u16string_view output) {
    ansi::VXL_ANSIEscapeHelper helper;
    helper.setDefaultStringColor(Color::grey(0.9));
    auto styled =
        std::make_shared<ansi::StyledText>(*helper.attributedStringWithANSIEscapedString(output));
    styled->addAttribute(ansi::Attribute::Font,
                         Font{"DejaVu Sans", 24, Font::kRegularWeight, false},
                         {0, styled->length()});
    canvas.setStyledText(std::move(styled));
    return rendered(canvas);
  }

  widget::lbl canvas;
};

TEST_F(Canvas, DrawsColoursBackgroundsAndUnderlines) {
  EXPECT_GT(countPixels(drawn(u"\x1b[31mRED RED\x1b[0m white"), isRed), 50);
  EXPECT_GT(countPixels(drawn(u"\x1b[44m        \x1b[0m"),
                        [](const QColor& c) { return c.blue() > 120 && c.red() < 60; }),
            500);
  const QImage plain = drawn(u"underlined");
  for (const auto& [code, bands] : {std::pair{u"\x1b[4m", 1}, {u"\x1b[21m", 2}}) {
    const auto [differing, widest] =
        differenceOf(drawn(code + std::u16string(u"underlined")), plain);
    EXPECT_EQ(differing, bands);
    EXPECT_GT(widest, 60) << "a line under the whole word";
  }
}

TEST_F(Canvas, ALongLineIsClippedAtTheEdge) {
  // Narrow letters with a colour change every few, and wide characters outside the BMP: the
  // first 300 units already run past the edge.
  std::u16string narrow, wide;
  for (int i = 0; i < 100000; ++i) {
    narrow += i % 7 == 0 ? u"\x1b[31mi\x1b[0m" : u"il";
    wide += u"\U0001F600";
  }
  for (const std::u16string& line : {narrow, wide}) {
    EXPECT_EQ(drawn(line + u"\nnext"), drawn(line.substr(0, 300) + u"\nnext"));
  }
  // Thousands of zero-width spaces take no room: the text after them still shows.
  EXPECT_GT(countPixels(drawn(std::u16string(5000, u'\u200B') + u"\x1b[31mRED RED"), isRed), 50);
}

TEST_F(Canvas, TextChangedInPlaceIsDrawnAsAFreshCanvasDrawsIt) {
  // The runner lengthens and cuts the text it shares with the canvas, then asks for a redraw.
  ansi::VXL_ANSIEscapeHelper helper;
  auto shared = std::make_shared<ansi::StyledText>(
      *helper.attributedStringWithANSIEscapedString(u"one \x1b[31mred\x1b[0m\ntwo\nthree"));
  canvas.setStyledText(shared);
  canvas.show();
  int paints = 0;
  PaintCounter counter(&canvas, &paints);
  rendered(canvas);
  const auto drawnAfter = [&](const std::function<void()>& change) {
    change();
    const int before = paints;
    canvas.setNeedsDisplay();
    EXPECT_TRUE(eventually([&] { return paints > before; }));
    widget::lbl fresh;
    fresh.resize(canvas.size());
    fresh.setStyledText(std::make_shared<ansi::StyledText>(*shared));
    return rendered(canvas) == rendered(fresh);
  };
  EXPECT_TRUE(drawnAfter([&] { shared->append(u" more", {{}, Color::rgb(0, 1, 0), {}, {}}); }));
  EXPECT_TRUE(drawnAfter([&] { shared->removePrefix(4); }));
  EXPECT_TRUE(drawnAfter([&] {
    shared->addAttribute(ansi::Attribute::Underline, ansi::kUnderlineSingle, {0, 3});
  }));
  EXPECT_TRUE(drawnAfter([&] {
    shared->addAttribute(ansi::Attribute::Underline, ansi::kUnderlineDouble, {0, 3});
  }));
  EXPECT_TRUE(drawnAfter([&] { shared->removePrefix(shared->length()); }));
}

TEST(CanvasInItsWindow, ReplacedTextIsDrawnAgainOnlyWhereItChanged) {
  const auto styled = [](std::u16string_view output) {
    return std::make_shared<ansi::StyledText>(
        *ansi::VXL_ANSIEscapeHelper().attributedStringWithANSIEscapedString(output));
  };
  // What a shown widget's window holds: the drawing its paints so far have left.
  const auto stored = [](widget::Interface& shown) {
    return static_cast<QImage*>(shown.window.backingStore()->paintDevice())->copy();
  };
  widget::Interface widget;
  QList<QRect> painted;
  struct PaintAreas : QObject {
    QList<QRect>* areas;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) areas->append(static_cast<QPaintEvent*>(event)->rect());
      return false;
    }
  } recorder;
  recorder.areas = &painted;
  widget.canvas->installEventFilter(&recorder);
  widget.window.show();
  const auto replacedBy = [&](std::u16string_view output) {
    painted.clear();
    widget.canvas->setStyledText(styled(output));
    EXPECT_TRUE(eventually([&] { return !painted.isEmpty(); }));
    return painted.value(0);
  };
  replacedBy(u"one\ntwo\nthree\nfour");
  const QRect fourth = replacedBy(u"one\ntwo\nthree\n\x1b[31mFOUR");
  EXPECT_GT(fourth.top(), 0);
  EXPECT_LT(fourth.bottom(), widget.canvas->height() - 1);
  // Lines gone leave their place to be cleared, down to the foot.
  const QRect shorter = replacedBy(u"one\ntwo");
  EXPECT_EQ(shorter.bottom(), widget.canvas->height() - 1);
  EXPECT_GT(shorter.top(), 0);

  widget::Interface fresh;
  fresh.canvas->setStyledText(styled(u"one\ntwo"));
  fresh.window.show();
  EXPECT_TRUE(eventually([&] { return stored(fresh) == stored(widget); }));
}

TEST_F(Canvas, MessagesShowInTheBaseColourAndThemingLeavesOnlyTheWidgetsFontAndColour) {
  const Font mono{"DejaVu Sans Mono", 14, Font::kRegularWeight, false};
  const Color green = Color::rgb(0.2, 0.8, 0.4);
  widget::Interface widget;
  widget::lbl& themed = *widget.canvas;
  rendered(themed);  // lays the widget out, which sizes the canvas
  canvas.resize(themed.size());
  // Themed, output and messages look as their text does in nothing but that font and colour.
  const auto themedLooksPlain = [&] {
    auto plain = std::make_shared<ansi::StyledText>();
    plain->append(themed.plainText().toStdU16String(), {mono, green, {}, {}});
    widget.controller->setAppearance(mono, green);
    canvas.setStyledText(plain);
    return rendered(themed) == rendered(canvas);
  };
  drawn(u"\x1b[31mold output");
  canvas.setPlainText(QStringLiteral("Error in Script:\n\nboom"));
  const QImage message = rendered(canvas);
  EXPECT_EQ(countPixels(message, isRed), 0);
  EXPECT_GT(countPixels(message, [](const QColor& c) { return c.lightness() > 200; }), 20);
  themed.setPlainText(canvas.plainText());
  EXPECT_TRUE(themedLooksPlain());
  drawn(u"a\x1b[31mred\x1b[44;4mblue\x1b[21mtwice\x1b[0m end");
  themed.setStyledText(canvas.styledText());
  EXPECT_TRUE(themedLooksPlain());
}

TEST(Appearance, IsRestoredFromTheSettingsWithFallbacks) {
  const Font serif{"DejaVu Serif", 17, Font::kBoldWeight, true};
  const Color background = Color::rgb(0.1, 0.2, 0.3, 0.4), orange = Color::rgb(1.0, 0.5, 0.0);
  auto& settings = platform::SettingsStore::standard();
  for (const bool rightKinds : {false, true}) {
    settings.clear();
    // Of the wrong kinds: a colour under the font's key, the font under the colours' keys.
    settings.setColor(background, rightKinds ? "color" : "codeFont");
    settings.setFont(serif, rightKinds ? "codeFont" : "color");
    rightKinds ? settings.setColor(orange, "fontColor") : settings.setFont(serif, "fontColor");
    widget::Interface widget;
    widget::ViewController& controller = *widget.controller;
    controller.viewDidLoad();
    EXPECT_EQ(controller.cachedColor(), rightKinds ? std::optional(background) : std::nullopt);
    EXPECT_EQ(controller.fontColor(), rightKinds ? orange : Color::white());
    EXPECT_EQ(controller.font(),
              (rightKinds ? serif : Font{"", 12.0, Font::kRegularWeight, false}));
  }
}

TEST(Appearance, FontSizesStayWhereTextCanBeDrawn) {
  auto& settings = platform::SettingsStore::standard();
  for (const auto& [size, drawn] :
       {std::pair{100000.0, 288.0}, {1e-300, 4.0}, {288.0, 288.0}, {4.0, 4.0}, {12.5, 12.5}}) {
    const Font font{"DejaVu Sans", size, Font::kRegularWeight, false};
    settings.setFont(font, "codeFont");
    widget::Interface widget;
    widget::ViewController& controller = *widget.controller;
    controller.viewDidLoad();
    EXPECT_EQ(controller.font().pointSize, drawn) << "restored " << size;
    controller.setAppearance(Font::system(), Color::white());
    controller.setAppearance(font, Color::white());
    EXPECT_EQ(controller.font().pointSize, drawn) << "chosen " << size;
  }
}

TEST(WindowEdges, AGripAlongEachEdgeResizesFromThatEdgeAndItsCornersFromBoth) {
  // Along each axis, both sides of each grip's inner border, in pairs: first edge, none, last.
  const int xs[] = {0, kEdgeGrip - 1, kEdgeGrip, 39 - kEdgeGrip, 40 - kEdgeGrip, 39};
  const int ys[] = {0, kEdgeGrip - 1, kEdgeGrip, 29 - kEdgeGrip, 30 - kEdgeGrip, 29};
  const Qt::Edges across[] = {Qt::LeftEdge, {}, Qt::RightEdge};
  const Qt::Edges down[] = {Qt::TopEdge, {}, Qt::BottomEdge};
  const Qt::CursorShape cursors[3][3] = {
      {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor},
      {Qt::SizeHorCursor, Qt::ArrowCursor, Qt::SizeHorCursor},
      {Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor}};
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      const Qt::Edges edges = widget::edgesAt(QSize(40, 30), QPoint(xs[i], ys[j]));
      EXPECT_EQ(edges, across[i / 2] | down[j / 2]) << xs[i] << ", " << ys[j];
      EXPECT_EQ(widget::cursorForEdges(edges), cursors[j / 2][i / 2]) << xs[i] << ", " << ys[j];
    }
  }
}

}  // namespace
}  // namespace pellimo::test
