#pragma once

#include <ostream>

#include "download/states.h"
#include "firmware/family.h"

namespace download {

// Failures show a state by its letter and an action or link by its number, as
// the unit and the documents name them.
inline std::ostream& operator<<(std::ostream& os, CommState state) {
  const auto letter = StateLetter(state);
  if (letter < 0x20) return os << static_cast<int>(letter);
  return os << '\'' << static_cast<char>(letter) << '\'';
}

inline std::ostream& operator<<(std::ostream& os, NextAction action) {
  return os << "action " << static_cast<int>(action);
}

}  // namespace download

// The tests name states as the window does.
using download::CommState;
using download::NextAction;

namespace firmware {

inline std::ostream& operator<<(std::ostream& os, Link link) {
  return os << "link " << static_cast<int>(link);
}

}  // namespace firmware
