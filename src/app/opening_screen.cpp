#include "app/opening_screen.h"

#include "texts/texts.h"

using ui::Align;
using ui::arial;
namespace colors = ui::colors;

TOKBottomDlg_openingsscherm::TOKBottomDlg_openingsscherm()
    : ui::Form("TOKBottomDlg_openingsscherm") {
  frame = ui::Frame::borderless;
  centred = true;
  width = 617;
  height = 367;
  base = client_from = client_to = colors::silver;
  font = arial(11, false, colors::black);

  // The logo is wider than the screen and is cut at its right edge.
  Image1.set_bounds(0, 0, 617, 301);
  Image1.image = "maker_logo";

  const ui::Font title = arial(16, true, colors::black);
  Label2.set_bounds(11, 318, 0, 0);
  Label2.auto_size = true;
  Label2.font = title;
  Label2.caption = texts::program_name;
  Label1.set_bounds(11, 337, 0, 0);
  Label1.auto_size = true;
  Label1.font = title;
  Label1.caption = texts::version_label;
  // Right after "Version: V" as it measures in this font, so the two read as one line.
  Label_versie.set_bounds(89, 337, 0, 0);
  Label_versie.auto_size = true;
  Label_versie.font = title;
  Label_versie.caption = texts::program_version;

  // Written in the background colour: it can only be read once clicked.
  Label_Tavernix_logo.set_bounds(514, 352, 102, 14);
  Label_Tavernix_logo.align = Align::right;
  Label_Tavernix_logo.font = arial(11, true, colors::silver);
  Label_Tavernix_logo.caption = texts::maker;
  Label_Tavernix_logo.on_click = [this] { Label_Tavernix_logoClick(); };

  OKBtn.set_bounds(271, 323, 75, 35);
  OKBtn.face = ui::ButtonFace::plain;
  OKBtn.font = title;
  OKBtn.caption = texts::opening_ok;
  OKBtn.is_default = true;
  OKBtn.is_cancel = true;
  OKBtn.on_click = [this] { OKBtnClick(); };

  Panel2.set_bounds(597, 0, 20, 367);
  Panel2.face_from = Panel2.face_to = colors::grey;
  Panel2.rounded = false;
  Panel2.white_border = false;
  Panel2.bevel = false;

  focused = &OKBtn;
}

void TOKBottomDlg_openingsscherm::Label_Tavernix_logoClick() {
  Label_Tavernix_logo.font.color = colors::black;
}

void TOKBottomDlg_openingsscherm::OKBtnClick() {
  modal_result = ui::ModalResult::ok;
}
