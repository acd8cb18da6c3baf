// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

#include "ansi/Color.h"
#include "colorpicker/Action.h"
#include "colorpicker/PopoverPlacement.h"

namespace pellimo::colorpicker {

class ColorPanel;
class ColorWell;
class PopoverDelegate;
class PopoverWindow;
class QVColorPickerViewController;

/// The process-wide colour picker: the colour panel's content under a tab bar of its modes, in a
/// transient popover attached to a control. Every colour change made in it is sent as the
/// action to the target, with the popover as sender; read the colour from `color`.
///
/// Use: `setColor`, `setTarget` and `setAction`, then `showRelativeToRect`.
class QVColorPickerPopover : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool shouldHideAnchor READ shouldHideAnchor WRITE setShouldHideAnchor)

 public:
  QVColorPickerPopover();
  ~QVColorPickerPopover() override;

  /// Created on first use, exactly once.
  static QVColorPickerPopover* sharedPopover();

  /// The panel whose content the popover shows; none before the first showing.
  ColorPanel* colorPanel() const;
  /// The colour panel's current colour; none before the first showing.
  std::optional<ansi::Color> color() const;
  /// Kept for the next showing, and given to the panel at once while shown.
  void setColor(const ansi::Color& color);

  /// Shows the popover off `preferredEdge` of `rect` (in `ofView`'s coordinates; screen
  /// coordinates without a view) with fresh content. Showing while shown closes first, keeping
  /// the target and action.
  void showRelativeToRect(const QRect& rect, QWidget* ofView, RectEdge preferredEdge);
  /// Closes with all clean-ups.
  void close();
  /// Closes, optionally deactivating the served colour well, clearing target and action and
  /// stopping the observation of the panel. The panel's colour survives the closing.
  void closeAndDeactivateColorWell(bool deactivateColorWell, bool removeTarget,
                                   bool removeObserver);
  /// Escape: closes with all clean-ups, then posts "unRaise".
  void cancelOperation();
  void removeTargetAndAction();
  void deactivateColorWell();

  bool observingColor() const { return observingColor_; }
  /// Observation needs a colour panel: without one it stays off.
  void setObservingColor(bool observingColor);

  QObject* target() const { return target_; }
  void setTarget(QObject* target) { target_ = target; }
  const Action& action() const { return action_; }
  void setAction(Action action) { action_ = std::move(action); }
  ColorWell* colorWell() const;
  void setColorWell(ColorWell* colorWell);

  bool isShown() const { return shown_; }
  bool animates() const { return animates_; }
  void setAnimates(bool animates) { animates_ = animates; }
  PopoverDelegate* delegate() const { return delegate_; }
  void setDelegate(PopoverDelegate* delegate) { delegate_ = delegate; }
  QVColorPickerViewController* contentViewController() const {
    return contentViewController_.get();
  }
  /// While true the arrow toward the anchor is hidden (the popover is being dragged away).
  bool shouldHideAnchor() const;
  void setShouldHideAnchor(bool shouldHideAnchor);

 signals:
  /// An in-process notification for the application's notification centre ("unRaise").
  void notificationPosted(const QString& name);
  /// The picker left the screen: the popover closed, by any path, or the floating panel it was
  /// dragged off into did. The dragging off itself is not a closing.
  void closed();

 private:
  friend class PopoverWindow;

  /// The window is closing by itself: asks the delegate, and on its yes clears target, action,
  /// observation and the served well, without restoring the panel's colour.
  bool delegatePopoverShouldClose();
  void windowDidHide();
  /// Hides the window. The delegate hears of it unless the served well is to stay active.
  void closeWindow(bool tellDelegate);
  void observeValueForKeyPath(ColorPanel* object);
  /// The panel the popover was dragged off into left the screen: the picker has closed.
  void detachedPanelDidClose();

  ansi::Color color_ = ansi::Color::white();
  bool observingColor_ = false;
  QPointer<QObject> target_;
  Action action_;
  QPointer<ColorWell> colorWell_;
  PopoverDelegate* delegate_ = nullptr;
  bool animates_ = true;
  bool shown_ = false;
  bool tellDelegateOnHide_ = true;
  QMetaObject::Connection observation_;
  QMetaObject::Connection detachedPanelClosing_;

  // Last, so that they go first: the content controller before the window that holds its view.
  std::unique_ptr<PopoverWindow> window_;
  std::unique_ptr<QVColorPickerViewController> contentViewController_;
};

}  // namespace pellimo::colorpicker
