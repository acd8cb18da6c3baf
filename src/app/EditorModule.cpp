// SPDX-License-Identifier: GPL-3.0-or-later
// The editor module's entry point: pellimo-widget loads the module when the editor is first
// opened and takes the widget's own code (its controller, settings, the translator) from itself.
#include <type_traits>

#include "editor/OutPut.h"
#include "widget/EditorController.h"

extern "C" Q_DECL_EXPORT pellimo::widget::EditorController* pellimo_make_editor(
    pellimo::widget::ViewController& host) {
  static_assert(std::is_same_v<decltype(&pellimo_make_editor), pellimo::widget::MakeEditor>);
  return new pellimo::editor::OutPut(&host);
}
