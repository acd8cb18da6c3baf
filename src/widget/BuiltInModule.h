#pragma once

namespace pellimo::widget {

/// Registers the built-in module's resources (its identity and manifest), which a static
/// library cannot do by itself.
void registerBuiltInModule();

}  // namespace pellimo::widget
