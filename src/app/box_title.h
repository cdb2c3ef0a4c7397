#pragma once

#include "ui/dialogs.h"

namespace app {

// The title of a message box of `kind`, in every view: the kind's word, or the
// program's name on a plain box.
const char* BoxTitle(ui::BoxKind kind);

}  // namespace app
