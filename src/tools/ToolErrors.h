// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace pellimo::tools {

/// The command line asks for something the tool does not offer; exit status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// The input cannot be used as the command requires; exit status 1.
struct InputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace pellimo::tools
