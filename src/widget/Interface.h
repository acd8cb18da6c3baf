// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>
#include <memory>

#include "widget/MainViewSub.h"
#include "widget/ViewController.h"
#include "widget/lbl.h"
#include "widget/windowSub.h"

namespace pellimo::widget {

/// The widget window with its views and controller, laid out as the module shows them: the
/// content view fills the window, the canvas keeps a 5-point margin, and the configuration
/// button sits at the top right.
struct Interface {
  Interface();

  windowSub window;
  MainViewSub* view;
  lbl* canvas;
  QToolButton* configBtn;
  std::unique_ptr<ViewController> controller;
};

}  // namespace pellimo::widget
