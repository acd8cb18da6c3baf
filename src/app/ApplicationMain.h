// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace pellimo::app {

/// The module's application main loop: picks the bundle, runs the instance control, builds the
/// widget window and its controller, and serves events until the module quits.
int applicationMain(int argc, char* argv[]);

}  // namespace pellimo::app
