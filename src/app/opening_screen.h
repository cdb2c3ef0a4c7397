#pragma once

#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/picture.h"

// The opening screen: the program's name, its version and the maker's logo,
// shown once at start and closed by OK (or Enter or Esc).
class TOKBottomDlg_openingsscherm : public ui::Form {
 public:
  TOKBottomDlg_openingsscherm();

  void Label_Tavernix_logoClick();
  void OKBtnClick();

  ui::Picture Image1{this, "Image1"};
  ui::Label Label2{this, "Label2"};
  ui::Label Label1{this, "Label1"};
  ui::Label Label_versie{this, "Label_versie"};
  ui::Label Label_Tavernix_logo{this, "Label_Tavernix_logo"};
  ui::Button OKBtn{this, "OKBtn"};
  ui::Panel Panel2{this, "Panel2"};
};
