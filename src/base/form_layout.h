// Where every control of the three forms sits: the designer's coordinates, kept beside the
// form models so any renderer (the Qt windows, a native Windows one) places the same controls
// in the same places. Units are pixels at 96 DPI; a renderer multiplies by its DPI / 96.
#pragma once
#include <span>
#include <string>
#include <string_view>

namespace vq {

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  int right() const { return x + w; }
  int bottom() const { return y + h; }
};

// The two faces the forms are drawn in (FormBase::fontName). Their line heights and caption
// widths differ, so some controls have a place in each.
enum class Face { English, Japanese };
Face faceOf(const std::string& fontName);

// frmForceUpdate is arranged twice: without its saved-update line and with it.
enum class Arrangement { Always, NoSavedLine, SavedLine };

struct ControlPlace {
  std::string_view form;       // "frmMain", "frmPortConf", "frmForceUpdate"
  std::string_view control;    // as the form model names it; the form's own name: its client area
  int index;                   // lblProcess 1..8 (lblProcess01..), status panels 1..2; else 0
  std::string_view container;  // the frame (or status bar) it sits in; "" = the client area
  Rect english;
  Rect japanese = {};          // empty: as in English
  Arrangement shown = Arrangement::Always;

  Rect in(Face face) const { return face == Face::Japanese && !japanese.empty() ? japanese : english; }
};

// The whole table.
std::span<const ControlPlace> formLayout();

// The place of one control (or, with control == form, the client area), relative to its
// container. Throws std::out_of_range for a control the table does not place: a renderer must
// not guess.
const ControlPlace& placeOf(std::string_view form, std::string_view control, int index = 0,
                            Arrangement shown = Arrangement::Always);
Rect placeOf(std::string_view form, std::string_view control, int index, Face face,
             Arrangement shown = Arrangement::Always);

}  // namespace vq
