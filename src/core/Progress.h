#pragma once

#include <functional>

namespace korvan {

// Long commands report their advance: first (0, maximum), then each step's value.
using Progress = std::function<void(int value, int maximum)>;

} // namespace korvan
