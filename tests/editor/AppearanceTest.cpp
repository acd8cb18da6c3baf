#include <QFontDialog>
#include <QPushButton>

#include "EditorFixture.h"
#include "colorpicker/QVColorPickerViewController.h"
#include "qtbridge/QtColor.h"
#include "widget/MainViewSub.h"
#include "widget/lbl.h"

namespace pellimo::test {
namespace {

using colorpicker::ColorPanel;
using colorpicker::QVColorPickerPopover;

std::optional<ansi::Font> canvasFont(widget::lbl* canvas) {
  const auto styled = canvas->styledText();
  if (!styled || styled->length() == 0) return std::nullopt;
  return styled->fonts().at(0, {0, styled->length()}).value;
}

std::optional<ansi::Color> canvasColor(widget::lbl* canvas) {
  const auto styled = canvas->styledText();
  if (!styled || styled->length() == 0) return std::nullopt;
  return styled->foregrounds().at(0, {0, styled->length()}).value;
}

/// Changes the dialog's current font as a user working its controls does.
void changeInDialog(QFontDialog* dialog, const std::function<void(QFont&)>& change) {
  QFont font = dialog->currentFont();
  change(font);
  dialog->setCurrentFont(font);
}

TEST_F(EditorTest, TheFontDialogOpensOnTheCodeEditorsFontAndItsChangesBuildOnEachOther) {
  widget_->canvas->setPlainText(QStringLiteral("some output"));
  editor().present();
  const ansi::Font before = host().font();
  const QFont editorFont = ui().editor->textFont();
  editor().pickFont(ui().fontBtn);
  QFontDialog* dialog = editor().fontPanel();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(QFontInfo(dialog->currentFont()).family(), QFontInfo(editorFont).family());
  // Opening is not choosing.
  EXPECT_FALSE(settings().fontForKey(QStringLiteral("codeFont")));
  EXPECT_EQ(host().font(), before);

  changeInDialog(dialog, [](QFont& font) { font.setPointSize(21); });
  const auto first = settings().fontForKey(QStringLiteral("codeFont"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->pointSize, 21);
  EXPECT_EQ(host().font(), *first);

  changeInDialog(dialog, [](QFont& font) { font.setItalic(true); });
  const auto second = settings().fontForKey(QStringLiteral("codeFont"));
  ASSERT_TRUE(second);
  EXPECT_EQ(second->pointSize, 21);
  EXPECT_TRUE(second->italic);
  EXPECT_EQ(second->family, first->family);
  EXPECT_EQ(host().font(), *second);
  EXPECT_EQ(canvasFont(widget_->canvas), *second);
  EXPECT_EQ(ui().editor->textFont(), editorFont);
}

TEST_F(EditorTest, ANewTextColourFromTheWellIsStoredAndRedrawsTheCanvasTheOneInUseIsNot) {
  host().setAppearance(host().font(), ansi::Color::rgb(0, 1, 0));
  widget_->canvas->setPlainText(QStringLiteral("some output"));
  editor().present();
  EXPECT_EQ(ui().fontColor->color(), ansi::Color::rgb(0, 1, 0));
  editor().chosenColor(ui().fontColor);
  EXPECT_FALSE(settings().colorForKey(QStringLiteral("fontColor")));
  EXPECT_EQ(widget_->canvas->styledText(), nullptr);

  ui().fontColor->activate(true);
  const ansi::Color orange = ansi::Color::rgb(1, 0.5, 0);
  ColorPanel::sharedColorPanel()->setColor(orange);
  EXPECT_EQ(host().fontColor(), orange);
  EXPECT_EQ(settings().colorForKey(QStringLiteral("fontColor")), orange);
  EXPECT_EQ(canvasColor(widget_->canvas), orange);
  EXPECT_EQ(widget_->canvas->plainText(), QStringLiteral("some output"));
}

TEST_F(EditorTest, ThePickerRaisesTheWidgetAndEveryColourPickedIsPaintedAndStored) {
  const ansi::Color background = ansi::Color::rgb(0.1, 0.2, 0.3, 0.9);
  host().setBackground(background);
  editor().present();
  QPushButton* control = ui().backgroundBtn;
  editor().showPicker(control);

  QVColorPickerPopover* popover = QVColorPickerPopover::sharedPopover();
  EXPECT_TRUE(host().isRaised());
  ASSERT_TRUE(popover->isShown());
  EXPECT_EQ(popover->color(), background);
  const QWidget* window = popover->contentViewController()->view()->window();
  EXPECT_GE(window->geometry().top(), control->mapToGlobal(QPoint(0, control->height())).y());

  ColorPanel* panel = popover->colorPanel();
  for (const ansi::Color& chosen : {ansi::Color::rgb(1, 0, 0), ansi::Color::rgb(0, 0, 1)}) {
    panel->setColor(chosen);
    EXPECT_EQ(host().cachedColor(), chosen);
    EXPECT_EQ(settings().colorForKey(QStringLiteral("color")), chosen);
    const QImage painted = widget_->view->grab().toImage();
    EXPECT_EQ(painted.pixel(painted.rect().center()), qtbridge::toQColor(chosen).rgba());
  }

  // Closing the popover ends the reporting.
  popover->close();
  panel->setColor(ansi::Color::rgb(0, 1, 0));
  EXPECT_EQ(settings().colorForKey(QStringLiteral("color")), ansi::Color::rgb(0, 0, 1));
}

TEST_F(EditorTest, EscapeInThePopoverReachesTheApplicationOnce) {
  auto second = makeWidget();
  NotificationCounter unRaise(QStringLiteral("unRaise"));
  editor().present();
  editor().showPicker(ui().backgroundBtn);
  QVColorPickerPopover::sharedPopover()->cancelOperation();
  EXPECT_EQ(unRaise.count, 1);
}

}  // namespace
}  // namespace pellimo::test
