#include "app/box_title.h"

#include "texts/texts.h"

namespace app {

const char* BoxTitle(ui::BoxKind kind) {
  switch (kind) {
    case ui::BoxKind::error:
      return texts::error_box_title;
    case ui::BoxKind::warning:
      return texts::warning_box_title;
    case ui::BoxKind::question:
      return texts::question_box_title;
    case ui::BoxKind::plain:
      break;
  }
  return texts::program_name;
}

}  // namespace app
