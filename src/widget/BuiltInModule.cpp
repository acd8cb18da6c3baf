#include "widget/BuiltInModule.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static void initBuiltInModuleResources() {
  Q_INIT_RESOURCE(builtin_module);
}

namespace pellimo::widget {

void registerBuiltInModule() {
  initBuiltInModuleResources();
}

}  // namespace pellimo::widget
