#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <set>

#include "PickerSupport.h"
#include "ansi/SgrCodes.h"
#include "colorpicker/ColorPanelResizeDimple.h"
#include "colorpicker/ColorPanelToolbar.h"
#include "colorpicker/ColorSwatchButton.h"
#include "colorpicker/ColorWheel.h"
#include "colorpicker/HexColor.h"
#include "colorpicker/PaletteMode.h"
#include "colorpicker/PopoverPlacement.h"
#include "colorpicker/RandomColor.h"
#include "colorpicker/SlidersMode.h"

namespace pellimo::test {
namespace {

using ansi::Color;
using colorpicker::ColorSwatchButton;

class ColorPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { resetColorPicker(); }
  void TearDown() override { resetColorPicker(); }

  template <class Mode>
  Mode* mode() const {
    return panel()->contentView()->findChild<Mode*>();
  }
};

TEST_F(ColorPanelTest, EachToolbarItemSwitchesToItsOwnMode) {
  const auto& items = panel()->toolbar()->items();
  ASSERT_EQ(items.size(), 5u);
  std::set<QString> identifiers;
  for (std::size_t i = 0; i < items.size(); ++i) {
    colorpicker::ColorPanelToolbarItem* item = items[i].get();
    identifiers.insert(item->itemIdentifier());
    EXPECT_FALSE(item->image().isNull());
    EXPECT_FALSE(item->toolTip().isEmpty());
    (panel()->*item->action())(item);
    EXPECT_EQ(panel()->mode(), static_cast<ColorPanel::Mode>(i));
    EXPECT_EQ(panel()->toolbar()->selectedItemIdentifier(), item->itemIdentifier());
  }
  EXPECT_EQ(identifiers.size(), items.size());
}

TEST_F(ColorPanelTest, ReportsAColourOnlyWhenItChanges) {
  std::vector<Color> reported;
  const auto connection = QObject::connect(panel(), &ColorPanel::colorChanged,
                                           [&](const Color& color) { reported.push_back(color); });
  panel()->setColor(Color::red());
  panel()->setColor(Color::red());
  panel()->setColor(Color::grey(0.5));
  QObject::disconnect(connection);
  EXPECT_EQ(reported, std::vector<Color>({Color::red(), Color::grey(0.5)}));
}

TEST_F(ColorPanelTest, ThePaletteHoldsTheSixteenAnsiColoursInCodeOrder) {
  const auto swatches = mode<colorpicker::PaletteMode>()->findChildren<ColorSwatchButton*>();
  ASSERT_GE(swatches.size(), 16);
  std::vector<int> codes;
  for (int code = 30; code <= 37; ++code)
    codes.push_back(code);
  for (int code = 90; code <= 97; ++code)
    codes.push_back(code);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    EXPECT_EQ(swatches[static_cast<int>(i)]->color(), ansi::standardColorForSGRCode(codes[i]))
        << "code " << codes[i];
  }
}

TEST_F(ColorPanelTest, PickedColoursTakeThePanelsOpacityOnlyWhileItIsShown) {
  auto* red = mode<colorpicker::PaletteMode>()->findChildren<ColorSwatchButton*>()[1];
  panel()->setShowsAlpha(true);
  panel()->setColor(Color::grey(1.0, 0.5));
  red->click();
  EXPECT_EQ(panel()->color(), Color::rgb(1, 0, 0, 0.5));

  panel()->setShowsAlpha(false);
  panel()->setColor(Color::grey(1.0, 0.5));
  red->click();
  EXPECT_EQ(panel()->color(), Color::red());
}

TEST_F(ColorPanelTest, UserSwatchesKeepTheColourThatWasAdded) {
  auto* palette = mode<colorpicker::PaletteMode>();
  const Color mine = Color::rgb(0.25, 0.5, 0.75);
  panel()->setColor(mine);
  const int before = palette->findChildren<ColorSwatchButton*>().size();
  palette->findChild<QToolButton*>()->click();
  panel()->setColor(Color::black());
  const auto swatches = palette->findChildren<ColorSwatchButton*>();
  ASSERT_EQ(swatches.size(), before + 1);
  swatches.back()->click();
  EXPECT_EQ(panel()->color(), mine);
  EXPECT_EQ(palette->userSwatches().back(), mine);
}

TEST_F(ColorPanelTest, SliderModesPickExactFractions) {
  panel()->setColor(Color::black());
  mode<colorpicker::SlidersMode>()->findChildren<QSpinBox*>()[0]->setValue(51);
  EXPECT_EQ(panel()->color(), Color::rgb(51 / 255.0, 0, 0));
}

TEST_F(ColorPanelTest, TheWheelHasRedToTheRightAndGreenishYellowAtTheTop) {
  panel()->resize(250, 400);
  panel()->show();
  auto* wheel = mode<colorpicker::ColorWheel>();
  const QPoint centre = wheel->rect().center();
  const int reach = std::min(wheel->width(), wheel->height()) / 2 - 4;
  QTest::mouseClick(wheel, Qt::LeftButton, {}, centre + QPoint(reach, 0));
  EXPECT_NEAR(panel()->color().hsb().hue, 0.0, 0.01);
  EXPECT_NEAR(panel()->color().hsb().saturation, 1.0, 0.02);
  QTest::mouseClick(wheel, Qt::LeftButton, {}, centre - QPoint(0, reach));
  EXPECT_NEAR(panel()->color().hsb().hue, 0.25, 0.01);
  QTest::mouseClick(wheel, Qt::LeftButton, {}, centre);
  EXPECT_NEAR(panel()->color().hsb().saturation, 0.0, 0.02);
}

TEST_F(ColorPanelTest, TheHexFieldTakesSixDigitsAndRestoresOtherText) {
  auto* field = panel()->contentView()->findChild<QLineEdit*>();
  field->setText(QStringLiteral("#336699"));
  emit field->editingFinished();
  EXPECT_EQ(panel()->color(), Color::rgb(0x33 / 255.0, 0x66 / 255.0, 0x99 / 255.0));
  field->setText(QStringLiteral("nonsense"));
  emit field->editingFinished();
  EXPECT_EQ(field->text(), QStringLiteral("#336699"));
}

TEST(HexColor, ReadsAndWritesSixHexDigits) {
  EXPECT_EQ(colorpicker::hexText(Color::rgb(1, 0.5, 0)), QStringLiteral("#ff8000"));
  EXPECT_EQ(colorpicker::hexText(Color::grey(0.2)), QStringLiteral("#333333"));
  EXPECT_EQ(colorpicker::colorFromHexText(QStringLiteral(" 00FF80 ")),
            Color::rgb(0, 1, 128 / 255.0));
  for (const char* text : {"#12345", "#1234567", "0x1234", "#12 456", "#gg0000", ""}) {
    EXPECT_FALSE(colorpicker::colorFromHexText(QString::fromLatin1(text))) << text;
  }
}

TEST(RandomColor, IsOpaqueRgbAndDiffersEachTime) {
  const Color random = colorpicker::randomColor();
  EXPECT_EQ(random.model, Color::Model::RGB);
  EXPECT_EQ(random.alpha, 1.0);
  EXPECT_NE(random, colorpicker::randomColor());
}

TEST_F(ColorPanelTest, DiagnosticTextRoundsHalvesAwayFromZero) {
  panel()->setColor(Color::red());
  EXPECT_EQ(ColorPanel::colorText(), QStringLiteral("r: 255, g: 0, b: 0, a: 255"));
  panel()->setColor(Color::grey(0.5, 0.5));
  EXPECT_EQ(ColorPanel::colorText(), QStringLiteral("r: 128, g: 128, b: 128, a: 128"));
}

TEST_F(ColorPanelTest, TheFrameAddsTheToolbarAboveTheContent) {
  const QRect content(100, 200, 250, 366);
  const QRect frame = panel()->frameRectForContentRect(content);
  panel()->setGeometry(frame);
  panel()->restoreContentView();
  panel()->orderFront();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(panel()));
  EXPECT_EQ(screenRect(panel()->contentView()), content);
  EXPECT_TRUE(panel()->contentView()->findChild<colorpicker::ColorPanelResizeDimple*>());
}

TEST(PopoverPlacement, OpensOffThePreferredEdgeOrTheOppositeOneWhenThereIsNoRoom) {
  using colorpicker::RectEdge;
  const QRect screen(0, 0, 800, 600);
  const QSize content(250, 400);
  const QRect anchor(300, 100, 40, 20);
  const auto below = colorpicker::placePopover(anchor, content, RectEdge::MinY, screen);
  EXPECT_EQ(below.frame, QRect(195, 120, 250, 411));
  EXPECT_EQ(below.content, QRect(0, 11, 250, 400));
  EXPECT_EQ(below.arrow.first(), QPoint(125, 0));

  const auto flipped = colorpicker::placePopover(anchor, content, RectEdge::MaxY, screen);
  EXPECT_EQ(flipped.edge, RectEdge::MinY);

  const auto slid =
      colorpicker::placePopover(QRect(760, 300, 30, 20), content, RectEdge::MinY, screen);
  EXPECT_EQ(slid.frame.right(), 799);
  EXPECT_EQ(slid.arrow.first(), QPoint(775 - slid.frame.left(), 0));
}

}  // namespace
}  // namespace pellimo::test
