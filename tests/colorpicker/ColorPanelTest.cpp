// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>

#include "PickerSupport.h"
#include "ansi/SgrCodes.h"
#include "colorpicker/ColorSwatchButton.h"
#include "colorpicker/ColorWheel.h"
#include "colorpicker/ColorWheelMode.h"
#include "colorpicker/HexColor.h"
#include "colorpicker/PaletteMode.h"
#include "colorpicker/PopoverPlacement.h"
#include "colorpicker/SlidersMode.h"

namespace pellimo::test {
namespace {

class ColorPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { resetColorPicker(); }
  void TearDown() override { resetColorPicker(); }

  template <class Mode>
  Mode* mode() const {
    return panel()->contentView()->findChild<Mode*>();
  }
  QList<colorpicker::ColorSwatchButton*> swatches() const {
    return mode<colorpicker::PaletteMode>()->findChildren<colorpicker::ColorSwatchButton*>();
  }
};

TEST_F(ColorPanelTest, ReportsAColourOnlyWhenItChanges) {
  std::vector<Color> reported;
  const auto connection = QObject::connect(panel(), &ColorPanel::colorChanged,
                                           [&](const Color& color) { reported.push_back(color); });
  panel()->setColor(Color::red());
  panel()->setColor(Color::red());
  panel()->setColor(Color::grey(0.5));
  QObject::disconnect(connection);
  EXPECT_EQ(reported, std::vector<Color>({Color::red(), Color::grey(0.5)}));
  // The diagnostic text rounds halves away from zero.
  EXPECT_EQ(ColorPanel::colorText(), QStringLiteral("r: 128, g: 128, b: 128, a: 255"));
  panel()->setColor(Color::rgb(1, 0, 0.5 / 255, 0.5));
  EXPECT_EQ(ColorPanel::colorText(), QStringLiteral("r: 255, g: 0, b: 1, a: 128"));
}

TEST_F(ColorPanelTest, ThePaletteHoldsTheAnsiColoursAndTheUsersOwn) {
  ASSERT_GE(swatches().size(), 16);
  for (std::size_t i = 0; i < ansi::kStandardForegroundCodes.size(); ++i) {
    const int code = ansi::kStandardForegroundCodes[i];
    EXPECT_EQ(swatches()[int(i)]->color(), ansi::standardColorForSGRCode(code)) << code;
  }
  // A picked swatch takes the panel's opacity only while the panel shows it.
  for (const bool showsAlpha : {true, false}) {
    panel()->setShowsAlpha(showsAlpha);
    panel()->setColor(Color::grey(1.0, 0.5));
    swatches()[1]->click();
    EXPECT_EQ(panel()->color(), Color::rgb(1, 0, 0, showsAlpha ? 0.5 : 1));
  }
  const Color mine = Color::rgb(0.25, 0.5, 0.75);
  panel()->setColor(mine);
  mode<colorpicker::PaletteMode>()->findChild<QToolButton*>()->click();
  panel()->setColor(Color::black());
  swatches().back()->click();
  EXPECT_EQ(panel()->color(), mine);
}

TEST_F(ColorPanelTest, SliderModesShowTheColourAndPickExactFractions) {
  const auto sliders = panel()->contentView()->findChildren<colorpicker::SlidersMode*>();
  // The stack reorders its pages as they are shown: tell the modes apart by their first range.
  const struct {
    int firstMaximum;
    std::vector<int> shown, edited;
    Color picked;
  } cases[] = {
      {255, {0, 128, 255}, {51, 0, 255}, Color::rgb(51 / 255.0, 0, 1)},
      {360, {210, 100, 100}, {120, 50, 40}, Color::fromHSB(120 / 360.0, 0.5, 0.4)},
  };
  for (const auto& c : cases) {
    panel()->setColor(Color::rgb(0, 0.5, 1));
    const auto found = std::find_if(sliders.begin(), sliders.end(), [&](QWidget* mode) {
      return mode->findChild<QSpinBox*>()->maximum() == c.firstMaximum;
    });
    ASSERT_NE(found, sliders.end());
    const auto spinBoxes = (*found)->findChildren<QSpinBox*>();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(spinBoxes[i]->value(), c.shown[i]) << c.firstMaximum << ", " << i;
      spinBoxes[i]->setValue(c.edited[i]);
    }
    EXPECT_EQ(panel()->color(), c.picked) << c.firstMaximum;
  }
}

TEST_F(ColorPanelTest, TheWheelHasRedToTheRightAndGreenishYellowAtTheTopInFullColourWhenDark) {
  panel()->resize(250, 400);
  panel()->show();
  // A dark colour leaves the wheel in full colour and shows on the brightness slider.
  panel()->setColor(Color::rgb(0.2, 0, 0));
  auto* wheel = mode<colorpicker::ColorWheel>();
  const QPoint centre = wheel->rect().center();
  const int reach = std::min(wheel->width(), wheel->height()) / 2 - 4;
  const QColor right = wheel->grab().toImage().pixelColor(centre + QPoint(reach - 6, 0));
  EXPECT_GT(right.red(), 240);
  EXPECT_LT(std::max(right.green(), right.blue()), 40);
  EXPECT_EQ(mode<colorpicker::ColorWheelMode>()->findChild<QSlider*>()->value(), 20);
  for (const auto& [at, hue] :
       {std::pair{QPoint(reach, 0), 0.0}, std::pair{QPoint(0, -reach), 0.25}}) {
    QTest::mouseClick(wheel, Qt::LeftButton, {}, centre + at);
    EXPECT_NEAR(panel()->color().hsb().hue, hue, 0.01);
    EXPECT_NEAR(panel()->color().hsb().saturation, 1.0, 0.02);
  }
  QTest::mouseClick(wheel, Qt::LeftButton, {}, centre);
  EXPECT_NEAR(panel()->color().hsb().saturation, 0.0, 0.02);
}

TEST_F(ColorPanelTest, TheHexFieldTakesSixDigitsAndRestoresOtherText) {
  auto* field = panel()->contentView()->findChild<QLineEdit*>();
  for (const char* text : {"#336699", "nonsense"}) {
    field->setText(QString::fromLatin1(text));
    emit field->editingFinished();
    EXPECT_EQ(panel()->color(), Color::rgb(0x33 / 255.0, 0x66 / 255.0, 0x99 / 255.0));
    EXPECT_EQ(field->text(), QStringLiteral("#336699"));
  }
  EXPECT_EQ(colorpicker::hexText(Color::rgb(1, 0.5, 0)), QStringLiteral("#ff8000"));
  EXPECT_EQ(colorpicker::colorFromHexText(" 00FF80 "), Color::rgb(0, 1, 128 / 255.0));
  for (const char* text : {"#12345", "#1234567", "0x1234", "#12 456", "#gg0000", ""})
    EXPECT_FALSE(colorpicker::colorFromHexText(QString::fromLatin1(text))) << text;
}

TEST(PopoverPlacement, OpensOffThePreferredEdgeOrTheOppositeOneWhenThereIsNoRoom) {
  using colorpicker::RectEdge;
  const QRect screen(0, 0, 800, 600);
  const QSize content(250, 400);
  const auto below = colorpicker::placePopover({300, 100, 40, 20}, content, RectEdge::MinY, screen);
  EXPECT_EQ(below.frame, QRect(195, 120, 250, 411));
  EXPECT_EQ(below.content, QRect(0, 11, 250, 400));
  EXPECT_EQ(below.arrow.first(), QPoint(125, 0));
  EXPECT_EQ(colorpicker::placePopover({300, 100, 40, 20}, content, RectEdge::MaxY, screen).edge,
            RectEdge::MinY);
  const auto slid = colorpicker::placePopover({760, 300, 30, 20}, content, RectEdge::MinY, screen);
  EXPECT_EQ(slid.frame.right(), 799);
  EXPECT_EQ(slid.arrow.first(), QPoint(775 - slid.frame.left(), 0));
}

}  // namespace
}  // namespace pellimo::test
