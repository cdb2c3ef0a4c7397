#include "app/panel_lines.h"

namespace app {

namespace {

void CollectTexts(const ui::Control& c, std::vector<std::string>& lines) {
  for (const ui::Control* child : c.children()) {
    if (!child->visible) continue;
    const bool text = child->kind() == ui::Kind::label || child->kind() == ui::Kind::static_text;
    if (text && !child->caption.empty()) lines.push_back(child->caption);
    CollectTexts(*child, lines);
  }
}

void CollectButtons(const ui::Control& c, std::vector<std::string>& faces) {
  for (const ui::Control* child : c.children()) {
    if (!child->visible) continue;
    if (child->kind() == ui::Kind::button) {
      faces.push_back(Face(static_cast<const ui::Button&>(*child)));
    }
    CollectButtons(*child, faces);
  }
}

}  // namespace

std::vector<std::string> PanelLines(const ui::Panel& panel) {
  std::vector<std::string> lines;
  const std::string title = Trimmed(panel.shown_title());
  if (!title.empty()) lines.push_back(title);
  CollectTexts(panel, lines);
  return lines;
}

std::vector<std::string> PanelButtons(const ui::Panel& panel) {
  std::vector<std::string> faces;
  CollectButtons(panel, faces);
  return faces;
}

std::string Face(const ui::Button& button) {
  std::string face;
  for (const char c : button.caption) {
    if (c != '&') face += c;
  }
  return face;
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace app
