#pragma once

#include <windows.h>

#include "ui/control.h"
#include "ui/drawing.h"
#include "ui/form.h"
#include "win32/gdi.h"

namespace win32ui {

// Where and how to draw: `r` is the component's rectangle in the DC.
struct Painter {
  HDC dc;
  RECT r;
  double scale;
  FontCache& fonts;

  int s(int px) const;
  double sf(double px) const { return px * scale; }
};

struct PaintState {
  bool focused = false;
  bool pressed = false;
};

void PaintComponent(const Painter& p, const ui::Control& c, PaintState state);
// The form's custom frame (caption bar and border) if it has one, and its client area.
void PaintForm(const Painter& p, const ui::Form& form);
void PaintCloseButton(const Painter& p, bool pressed);

void PaintPanel(const Painter& p, const ui::Control& c);
void PaintButton(const Painter& p, const ui::Control& c, PaintState state);
void PaintSpinner(const Painter& p, const ui::Control& c);
// A described picture at the painter's top left, at the painter's scale.
void PaintDrawing(const Painter& p, const ui::Drawing& drawing);
// The picture of that name; nothing for a name we do not know.
void PaintPicture(const Painter& p, const std::string& name);
// Text in `r` with a colour of its own, over what is already drawn.
void PaintText(const Painter& p, const std::string& text, const ui::Font& font, ui::Color colour,
               RECT r, UINT flags);

}  // namespace win32ui
