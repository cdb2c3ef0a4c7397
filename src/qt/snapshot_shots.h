#pragma once

#include <QDir>

#include "app/composition.h"
#include "qt/form_view.h"

namespace qtui {

// Puts the main window into each state a user meets (panels, gauge, spinner,
// port settings) and writes a picture of each into `dir`, naming each file on
// stdout. Returns how many could not be written (each reported on stderr).
int WriteMainWindowShots(app::Composition& program, FormView& view, const QDir& dir);

// Writes the picture of a form as it stands (the opening screen); false when it cannot.
bool WriteFormShot(FormView& view, const QString& path);

}  // namespace qtui
