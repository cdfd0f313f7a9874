// The designer's table of the three forms.
//
// Its shape: one rectangle per control, in pixels at 96 DPI, relative to the container the
// control sits in (a frame, the status bar, or the client area; the form's own row is its client
// size). The windows are drawn in a Latin face (Courier New, or its metric twin Liberation Mono)
// or a Japanese one (MS Gothic, or IPAGothic), and the places were fitted to each: a line is 14
// pixels high in the one and 13 in the other, so every label row, button and text box below the
// first sits a little differently, and the captions that set a width (frmMain's left buttons,
// frmForceUpdate's title column) are longer in English. A rule deriving one face's places from
// the other's (lines times the line height, widths from the captions) would have to replay the
// spacing of every row and frame title to land on the same pixel, and would still be the same
// numbers in disguise. So, as a localised Windows dialog resource does, a control whose place
// differs carries its Japanese rectangle beside the English one; one that does not carries one.
// frmForceUpdate grows a line when a saved update waits for the port; the controls that move then
// have a row for each arrangement.
#include "base/form_layout.h"

#include <array>
#include <stdexcept>

#include "base/forms.h"
#include "base/texts.h"

namespace vq {

namespace {

using enum Arrangement;

const auto kPlaces = std::to_array<ControlPlace>({
    // frmMain: the steps and the firmware frames side by side, the instruction text, the
    // progress log, the bar, the buttons; the status bar and its two panels.
    {"frmMain", "frmMain", 0, "", {0, 0, 800, 600}},
    {"frmMain", "fraProcess", 0, "", {9, 9, 388, 215}, {9, 9, 388, 236}},
    {"frmMain", "lblProcess", 1, "fraProcess", {12, 29, 364, 14}, {12, 28, 364, 13}},
    {"frmMain", "lblProcess", 2, "fraProcess", {12, 49, 364, 14}, {12, 47, 364, 13}},
    {"frmMain", "lblProcess", 3, "fraProcess", {12, 69, 364, 14}, {12, 66, 364, 13}},
    {"frmMain", "lblProcess", 4, "fraProcess", {12, 89, 364, 14}, {12, 85, 364, 13}},
    {"frmMain", "lblProcess", 5, "fraProcess", {12, 109, 364, 14}, {12, 104, 364, 13}},
    {"frmMain", "lblProcess", 6, "fraProcess", {12, 129, 364, 14}, {12, 123, 364, 13}},
    {"frmMain", "lblProcess", 7, "fraProcess", {12, 149, 364, 14}, {12, 142, 364, 13}},
    {"frmMain", "lblProcess", 8, "fraProcess", {12, 169, 364, 14}, {12, 161, 364, 13}},
    {"frmMain", "fraFWInfo", 0, "", {403, 9, 388, 215}, {403, 9, 388, 236}},
    {"frmMain", "lblFWFileTitle", 0, "fraFWInfo", {12, 29, 278, 14}, {12, 28, 278, 13}},
    {"frmMain", "lblFWFile", 0, "fraFWInfo", {12, 49, 278, 22}, {12, 47, 278, 21}},
    {"frmMain", "lblFWOldTitle", 0, "fraFWInfo", {12, 77, 119, 14}, {12, 74, 121, 13}},
    {"frmMain", "lblFWOld", 0, "fraFWInfo", {12, 97, 119, 16}, {12, 93, 121, 15}},
    {"frmMain", "lblFWTo", 0, "fraFWInfo", {137, 97, 29, 16}, {139, 93, 24, 15}},
    {"frmMain", "lblFWNewTitle", 0, "fraFWInfo", {172, 77, 118, 14}, {169, 74, 121, 13}},
    {"frmMain", "lblFWNew", 0, "fraFWInfo", {172, 97, 118, 16}, {169, 93, 121, 15}},
    {"frmMain", "cmdFWFileSel", 0, "fraFWInfo", {296, 49, 80, 22}, {296, 47, 80, 21}},
    {"frmMain", "txtInfo", 0, "", {9, 230, 782, 210}, {9, 251, 782, 196}},
    {"frmMain", "txtProcess", 0, "", {9, 446, 782, 70}, {9, 453, 782, 66}},
    {"frmMain", "prgProcess", 0, "", {9, 522, 782, 22}, {9, 525, 782, 21}},
    {"frmMain", "cmdCommSetting", 0, "", {9, 550, 102, 22}, {9, 552, 80, 21}},
    {"frmMain", "cmdForceUpdate", 0, "", {117, 550, 109, 22}, {95, 552, 80, 21}},
    {"frmMain", "cmdCancel", 0, "", {625, 550, 80, 22}, {625, 552, 80, 21}},
    {"frmMain", "cmdNext", 0, "", {711, 550, 80, 22}, {711, 552, 80, 21}},
    {"frmMain", "stsAppStatus", 0, "", {0, 581, 800, 19}, {0, 582, 800, 18}},
    {"frmMain", "stsAppStatusPanel", 1, "stsAppStatus", {2, 3, 396, 14}, {2, 3, 396, 13}},
    {"frmMain", "stsAppStatusPanel", 2, "stsAppStatus", {404, 3, 396, 14}, {404, 3, 396, 13}},

    // frmPortConf: a frame of seven title/list rows, Set and Cancel below it.
    {"frmPortConf", "frmPortConf", 0, "", {0, 0, kPortConfInnerWidth, kPortConfInnerHeight}},
    {"frmPortConf", "fraPort", 0, "", {11, 11, 398, 310}, {11, 11, 398, 311}},
    {"frmPortConf", "lblCommPortTitle", 0, "fraPort", {12, 26, 184, 22}},
    {"frmPortConf", "cmbComPort", 0, "fraPort", {202, 26, 184, 22}},
    {"frmPortConf", "lblCommBaudrateTitle", 0, "fraPort", {12, 65, 184, 22}},
    {"frmPortConf", "cmbCommBaudrate", 0, "fraPort", {202, 65, 184, 22}},
    {"frmPortConf", "lblUpBaudrateTitle", 0, "fraPort", {12, 104, 184, 22}},
    {"frmPortConf", "cmbUpBaudrate", 0, "fraPort", {202, 104, 184, 22}},
    {"frmPortConf", "lblParityTitle", 0, "fraPort", {12, 143, 184, 22}},
    {"frmPortConf", "cmbParity", 0, "fraPort", {202, 143, 184, 22}},
    {"frmPortConf", "lblDataBitsTitle", 0, "fraPort", {12, 182, 184, 22}},
    {"frmPortConf", "cmbDataBits", 0, "fraPort", {202, 182, 184, 22}},
    {"frmPortConf", "lblStopBitsTitle", 0, "fraPort", {12, 221, 184, 22}},
    {"frmPortConf", "cmbStopBits", 0, "fraPort", {202, 221, 184, 22}},
    {"frmPortConf", "lblFlowTitle", 0, "fraPort", {12, 260, 184, 22}},
    {"frmPortConf", "cmbFlowCtl", 0, "fraPort", {202, 260, 184, 22}},
    {"frmPortConf", "cmdSet", 0, "", {243, 327, 80, 22}, {243, 328, 80, 21}},
    {"frmPortConf", "cmdCancel", 0, "", {329, 327, 80, 22}, {329, 328, 80, 21}},

    // frmForceUpdate: model and serial rows, each with its explanation; the saved-update line
    // and its Forget button only while a saved update waits for this port.
    {"frmForceUpdate", "lblModelTitle", 0, "", {11, 11, 159, 22}, {11, 11, 108, 22}},
    {"frmForceUpdate", "cboModel", 0, "", {176, 11, 473, 22}, {125, 11, 524, 22}},
    {"frmForceUpdate", "frmForceUpdate", 0, "", {0, 0, 660, 214}, {0, 0, 660, 206}, NoSavedLine},
    {"frmForceUpdate", "txtModelInfo", 0, "", {11, 39, 638, 51}, {11, 39, 638, 41}, NoSavedLine},
    {"frmForceUpdate", "lblSerialTitle", 0, "", {11, 96, 159, 22}, {11, 86, 108, 22}, NoSavedLine},
    {"frmForceUpdate", "txtSerialInfo", 0, "", {11, 124, 638, 51}, {11, 114, 638, 54}, NoSavedLine},
    {"frmForceUpdate", "txtSerial", 0, "", {176, 96, 473, 22}, {125, 86, 524, 22}, NoSavedLine},
    {"frmForceUpdate", "cmdSet", 0, "", {483, 181, 80, 22}, {483, 174, 80, 21}, NoSavedLine},
    {"frmForceUpdate", "cmdCancel", 0, "", {569, 181, 80, 22}, {569, 174, 80, 21}, NoSavedLine},
    {"frmForceUpdate", "frmForceUpdate", 0, "", {0, 0, 660, 276}, {0, 0, 660, 225}, SavedLine},
    {"frmForceUpdate", "txtModelInfo", 0, "", {11, 39, 638, 65}, {11, 39, 638, 28}, SavedLine},
    {"frmForceUpdate", "lblSerialTitle", 0, "", {11, 110, 159, 22}, {11, 73, 108, 22}, SavedLine},
    {"frmForceUpdate", "txtSerialInfo", 0, "", {11, 138, 638, 65}, {11, 101, 638, 54}, SavedLine},
    {"frmForceUpdate", "txtSerial", 0, "", {176, 110, 473, 22}, {125, 73, 524, 22}, SavedLine},
    {"frmForceUpdate", "cmdSet", 0, "", {483, 243, 80, 22}, {483, 193, 80, 21}, SavedLine},
    {"frmForceUpdate", "cmdCancel", 0, "", {569, 243, 80, 22}, {569, 193, 80, 21}, SavedLine},
    {"frmForceUpdate", "lblSaved", 0, "", {11, 209, 552, 28}, {11, 161, 552, 26}, SavedLine},
    {"frmForceUpdate", "cmdForget", 0, "", {569, 212, 80, 22}, {569, 163, 80, 21}, SavedLine},
});

}  // namespace

Face faceOf(const std::string& fontName) { return fontName == kFontJapanese ? Face::Japanese : Face::English; }

std::span<const ControlPlace> formLayout() { return kPlaces; }

const ControlPlace& placeOf(std::string_view form, std::string_view control, int index, Arrangement shown) {
  for (const ControlPlace& p : kPlaces)
    if (p.form == form && p.control == control && p.index == index &&
        (p.shown == Arrangement::Always || p.shown == shown))
      return p;
  throw std::out_of_range("no place for " + std::string(form) + "." + std::string(control));
}

Rect placeOf(std::string_view form, std::string_view control, int index, Face face, Arrangement shown) {
  return placeOf(form, control, index, shown).in(face);
}

}  // namespace vq
