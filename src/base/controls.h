// Value types of the controls a form model is made of. The Qt layer mirrors them into
// widgets; tests read them directly.
#pragma once
#include <string>
#include <vector>

namespace vq {

struct Label {
  std::string caption;
  bool bold = false;
  bool visible = true;
};

struct TextBox {
  std::string text;
};

struct Button {
  std::string caption;
  bool enabled = true;
  bool visible = true;
};

struct ProgressBar {
  int min = 0;
  int max = 1;
  int value = 0;
};

// Two panels; the status-bar texts are the same in both languages.
struct StatusBar {
  std::string panel1;
  std::string panel2;
};

struct ComboBox {
  std::vector<std::string> items;
  std::vector<int> itemData;
  int listIndex = -1;  // selected entry, -1 = none

  void clear() {
    items.clear();
    itemData.clear();
    listIndex = -1;
  }
  void addItem(const std::string& text, int data = 0) {
    items.push_back(text);
    itemData.push_back(data);
  }
  std::string text() const { return listIndex >= 0 && listIndex < int(items.size()) ? items[listIndex] : ""; }
};

// Window-wide properties shared by the three forms.
struct FormBase {
  std::string caption;
  std::string fontName;
};

}  // namespace vq
