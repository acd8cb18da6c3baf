// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "widget/EditorController.h"

namespace pellimo::app {

/// Makes the configuration editor of `host` from the editor module, which is loaded on the first
/// call and stays loaded; null, with a warning, when the module cannot be loaded.
std::unique_ptr<widget::EditorController> makeEditor(widget::ViewController& host);

}  // namespace pellimo::app
