// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "ansi/Color.h"
#include "ansi/Font.h"
#include "widget/EditorController.h"
#include "widget/Manifest.h"
#include "widget/ScreenChanges.h"

class QAbstractButton;

namespace pellimo::platform {
class ModuleObject;
}

namespace pellimo::runner {
class CodeRunner;
}

namespace pellimo::widget {

class LineActions;
class MainViewSub;
class lbl;
class windowSub;

/// The widget's main controller: the window's display modes and their zoom, host commands,
/// the settings wipe, the widget's look, the script start, and the stored frame. The editor
/// changes the script and the look only through the operations under "For the editor".
class ViewController : public QObject {
  Q_OBJECT

 public:
  ViewController(windowSub* window, MainViewSub* view, lbl* canvas, QAbstractButton* configBtn);
  ~ViewController() override;

  void viewDidLoad();
  void viewDidAppear();
  void configWindow();

  /// Applies the mode held in `raised` without flipping it.
  void raise();
  void raiseMe();
  void flattenMe();
  /// Flips the mode without animation; calls within 0.5 s of an accepted one are dropped.
  void toggleEdit();
  /// The zoom of the whole content about its centre.
  void raiseFromDesktop(double duration, MainViewSub* layer);
  /// The "prefs" segue: shows the editor window.
  void showEditor();
  /// The configuration button's action: the editor, then the widget to the back of its level.
  void showConfig(QObject* sender);
  void startScript();
  /// Stops a run in progress and runs the script at once; reloads count from now.
  void refresh();
  void kill();
  /// Registers the host's commands; from now on the module takes commands.
  void regNFC();
  /// Wipes the settings and deletes the current script file; nothing on screen changes.
  void removeUserDefaults();

  /// Redraws the canvas's current text in `font` and `fontColor` alone: colours, background
  /// colours and underlines the script printed are dropped.
  void themeWidget();
  /// The widget's background, black at alpha 0.5 while nothing else was chosen.
  ansi::Color backgroundColor();
  /// Paints `cachedColor` (or its fallback) as the widget's background at once.
  void applyLayerBackground();

  // For the editor.
  /// Stops reloading and the running script, and forgets the script's arguments: the script
  /// is about to change.
  void stopScript();
  /// Stops the script, then writes `text` as the script in language `mode` with `arguments`
  /// (split at every ","); false when nothing could be written or the script never started.
  bool loadScript(qint64 mode, const QString& text, const QString& arguments);
  /// The arguments of the script's next runs (split at every ",").
  void setScriptArguments(const QString& arguments);
  /// Runs the loaded script once; `finished` is called when the run has ended.
  void runScript(std::function<void()> finished);
  /// Starts the reload timer again from the stored interval, without running now.
  void resumeReloading();
  /// The widget's text font and colour; the canvas is redrawn in them.
  void setAppearance(const ansi::Font& font, const ansi::Color& fontColor);
  /// The widget's background; none falls back to black at alpha 0.5.
  void setBackground(const std::optional<ansi::Color>& color);
  /// Brings the widget window to the front of its level and gives it the focus.
  void activateWidget();

  /// Makes the configuration editor when it is first opened; until then, and without one (also
  /// when the factory makes none), the script and its language are read from the settings.
  using EditorFactory = std::function<std::unique_ptr<EditorController>(ViewController&)>;
  static void setEditorFactory(EditorFactory factory);

  /// Where the module shows its state on the bus; may be null.
  void setModuleObject(platform::ModuleObject* object) { moduleObject_ = object; }

  bool isRaised() const { return raised_; }
  const std::optional<ansi::Color>& cachedColor() const { return cachedColor_; }
  const ansi::Font& font() const { return font_; }
  const ansi::Color& fontColor() const { return fontColor_; }
  /// The configuration editor, made on first use: it brings the code editor and the colour
  /// picker, which an idle widget does without.
  EditorController* configVC();
  windowSub* window() const { return window_; }
  MainViewSub* view() const { return view_; }

 private:
  void restoreFrame(bool skipZero);
  /// Moves the window off a monitor that went away, or back onto one that returned.
  void followScreens();
  /// Stores the window's frame; after a move also logs it and reports it to the host.
  void saveFrame(bool report);
  void postFrameReport();
  QString frameText() const;
  void publishRaised();
  runner::CodeRunner* runner() const;
  /// The menu of the script's lines after "---", when it has one.
  void showScriptMenu(const QPoint& globalPosition);

  ScreenChanges screenChanges_;
  bool ignore_ = false;
  bool raised_ = false;
  std::optional<ansi::Color> cachedColor_;
  Manifest config_;
  std::unique_ptr<EditorController> configVC_;
  lbl* canvas_;
  QAbstractButton* configBtn_;
  ansi::Font font_;
  ansi::Color fontColor_;
  windowSub* window_;
  MainViewSub* view_;
  platform::ModuleObject* moduleObject_ = nullptr;
  LineActions* lineActions_;
};

}  // namespace pellimo::widget
