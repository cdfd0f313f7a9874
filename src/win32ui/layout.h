// Where each control of the three forms sits, in 96-DPI pixels of the window's client area
// (scaled for the monitor's DPI when placed). One row per control, looked up by the form's
// and the control's names, so the table can give way to a shared one of the same shape.
#pragma once
#include <string_view>

namespace vq::win32ui {

struct Place {
  int x, y, w, h;
};

struct ControlPlace {
  std::string_view form, control;
  Place place;
};

// The client area of each form.
inline constexpr ControlPlace kFormSizes[] = {
    {"frmMain", "", {0, 0, 784, 606}},
    {"frmPortConf", "", {0, 0, 420, 360}},
    {"frmForceUpdate", "", {0, 0, 660, 300}},
};

inline constexpr ControlPlace kPlaces[] = {
    // frmMain: the steps and the file on top, the texts below, the buttons at the foot; the
    // status bar takes the bottom edge under them.
    {"frmMain", "fraProcess", {8, 6, 372, 238}},
    {"frmMain", "lblProcess01", {22, 30, 348, 20}},
    {"frmMain", "lblProcess02", {22, 56, 348, 20}},
    {"frmMain", "lblProcess03", {22, 82, 348, 20}},
    {"frmMain", "lblProcess04", {22, 108, 348, 20}},
    {"frmMain", "lblProcess05", {22, 134, 348, 20}},
    {"frmMain", "lblProcess06", {22, 160, 348, 20}},
    {"frmMain", "lblProcess07", {22, 186, 348, 20}},
    {"frmMain", "lblProcess08", {22, 212, 348, 20}},
    {"frmMain", "fraFWInfo", {392, 6, 384, 238}},
    {"frmMain", "lblFWFileTitle", {406, 30, 356, 20}},
    {"frmMain", "lblFWFile", {406, 54, 300, 24}},
    {"frmMain", "cmdFWFileSel", {712, 53, 50, 26}},
    {"frmMain", "lblFWOldTitle", {406, 100, 150, 20}},
    {"frmMain", "lblFWNewTitle", {612, 100, 150, 20}},
    {"frmMain", "lblFWOld", {406, 124, 150, 26}},
    {"frmMain", "lblFWTo", {560, 124, 48, 26}},
    {"frmMain", "lblFWNew", {612, 124, 150, 26}},
    {"frmMain", "txtInfo", {8, 252, 768, 220}},
    {"frmMain", "txtProcess", {8, 478, 768, 70}},
    {"frmMain", "prgProcess", {8, 554, 768, 16}},
    {"frmMain", "cmdCommSetting", {8, 576, 150, 26}},
    {"frmMain", "cmdForceUpdate", {166, 576, 150, 26}},
    {"frmMain", "cmdCancel", {554, 576, 106, 26}},
    {"frmMain", "cmdNext", {670, 576, 106, 26}},
    // frmPortConf: seven titled lists in the frame, Set and Cancel below.
    {"frmPortConf", "fraPort", {8, 6, 404, 306}},
    {"frmPortConf", "lblCommPortTitle", {20, 32, 190, 20}},
    {"frmPortConf", "lblCommBaudrateTitle", {20, 70, 190, 20}},
    {"frmPortConf", "lblUpBaudrateTitle", {20, 108, 190, 20}},
    {"frmPortConf", "lblParityTitle", {20, 146, 190, 20}},
    {"frmPortConf", "lblDataBitsTitle", {20, 184, 190, 20}},
    {"frmPortConf", "lblStopBitsTitle", {20, 222, 190, 20}},
    {"frmPortConf", "lblFlowTitle", {20, 260, 190, 20}},
    {"frmPortConf", "cmbComPort", {212, 28, 188, 240}},
    {"frmPortConf", "cmbCommBaudrate", {212, 66, 188, 240}},
    {"frmPortConf", "cmbUpBaudrate", {212, 104, 188, 240}},
    {"frmPortConf", "cmbParity", {212, 142, 188, 240}},
    {"frmPortConf", "cmbDataBits", {212, 180, 188, 240}},
    {"frmPortConf", "cmbStopBits", {212, 218, 188, 240}},
    {"frmPortConf", "cmbFlowCtl", {212, 256, 188, 240}},
    {"frmPortConf", "cmdSet", {216, 322, 94, 28}},
    {"frmPortConf", "cmdCancel", {318, 322, 94, 28}},
    // frmForceUpdate: the model and the serial number, each with its explanation, the saved
    // update (shown only with one), Set and Cancel.
    {"frmForceUpdate", "lblModelTitle", {12, 14, 180, 20}},
    {"frmForceUpdate", "cboModel", {196, 10, 452, 200}},
    {"frmForceUpdate", "txtModelInfo", {12, 42, 636, 58}},
    {"frmForceUpdate", "lblSerialTitle", {12, 116, 180, 20}},
    {"frmForceUpdate", "txtSerial", {196, 112, 452, 24}},
    {"frmForceUpdate", "txtSerialInfo", {12, 144, 636, 58}},
    {"frmForceUpdate", "lblSaved", {12, 212, 520, 40}},
    {"frmForceUpdate", "cmdForget", {540, 214, 108, 28}},
    {"frmForceUpdate", "cmdSet", {452, 262, 94, 28}},
    {"frmForceUpdate", "cmdCancel", {554, 262, 94, 28}},
};

// The place of a control (or, with an empty control, the form's client size); all zero when
// the table has no row for it.
constexpr Place placeOf(std::string_view form, std::string_view control) {
  for (const ControlPlace& c : kFormSizes)
    if (control.empty() && c.form == form) return c.place;
  for (const ControlPlace& c : kPlaces)
    if (c.form == form && c.control == control) return c.place;
  return {0, 0, 0, 0};
}

}  // namespace vq::win32ui
