// SPDX-License-Identifier: GPL-3.0-or-later
#include "widget/ScriptMenuPopup.h"

#include <algorithm>
#include <vector>

namespace pellimo::widget {

QMenu* makeScriptMenu(const runner::ScriptMenu& script, QWidget* parent,
                      const std::function<void(const runner::LineAction&)>& run) {
  auto* menu = new QMenu(parent);
  // The menu of each depth that items are added to now; an item deeper than any joins the
  // deepest.
  std::vector<QMenu*> levels{menu};
  const auto& items = script.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const runner::ScriptMenu::Item& item = items[i];
    levels.resize(std::min<std::size_t>(item.depth, levels.size() - 1) + 1);
    QMenu* into = levels.back();
    if (item.separator) {
      into->addSeparator();
      continue;
    }
    // Titles are shown as printed: an "&" marks no shortcut.
    QString title = item.title;
    title.replace('&', QLatin1String("&&"));
    if (i + 1 < items.size() && items[i + 1].depth > item.depth) {
      levels.push_back(into->addMenu(title));
      continue;
    }
    QAction* entry = into->addAction(title);
    if (item.action.isEmpty()) {
      entry->setEnabled(false);
    } else {
      QObject::connect(entry, &QAction::triggered, menu,
                       [run, action = item.action] { run(action); });
    }
  }
  return menu;
}

}  // namespace pellimo::widget
