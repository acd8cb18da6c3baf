#pragma once

namespace pellimo::platform {

/// A starting module's turn to export its object and settle which instance stays. Listing the
/// modules waits on each one's answer, and a module answers nothing while it lists, so two
/// instances listing at once would each time out on the other and both stay. Turns are taken on
/// a bus name, which the bus frees when its holder dies; the wait for a turn is bounded, so a
/// holder that hangs delays the others but never stops them.
class StartupTurn {
 public:
  StartupTurn();
  ~StartupTurn();
  StartupTurn(const StartupTurn&) = delete;
  StartupTurn& operator=(const StartupTurn&) = delete;

 private:
  bool held_ = false;
};

}  // namespace pellimo::platform
