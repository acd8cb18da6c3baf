#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "ansi/Color.h"
#include "ansi/Font.h"
#include "widget/EditorController.h"
#include "widget/Manifest.h"

class QAbstractButton;

namespace pellimo::platform {
class ModuleObject;
}

namespace pellimo::widget {

class MainViewSub;
class lbl;
class windowSub;

/// The widget's main controller: the window's display modes and their zoom, host commands,
/// the settings wipe, the widget's look and the script start.
class ViewController : public QObject {
  Q_OBJECT

 public:
  ViewController(windowSub* window, MainViewSub* view, lbl* canvas, QAbstractButton* configBtn);

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
  void kill();
  /// Registers the host's six commands; from now on the module takes commands.
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

  /// Makes the configuration editor when the view loads; without one, the script and its
  /// language are read from the settings.
  using EditorFactory = std::function<std::unique_ptr<EditorController>(ViewController&)>;
  static void setEditorFactory(EditorFactory factory);

  /// Where the module shows its state on the bus; may be null.
  void setModuleObject(platform::ModuleObject* object) { moduleObject_ = object; }

  windowSub* window() const { return window_; }
  MainViewSub* view() const { return view_; }

  bool ignore = false;
  bool raised = false;
  std::optional<ansi::Color> cachedColor;
  Manifest config;
  std::unique_ptr<EditorController> configVC;
  lbl* canvas = nullptr;
  QAbstractButton* configBtn = nullptr;
  ansi::Font font;
  ansi::Color fontColor;

 private:
  void restoreFrame(bool skipZero);
  void postFrameReport();
  void publishRaised();

  windowSub* window_;
  MainViewSub* view_;
  platform::ModuleObject* moduleObject_ = nullptr;
};

}  // namespace pellimo::widget
