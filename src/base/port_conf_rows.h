// The rows of frmPortConf as a window lays them out and mirrors them: each setting's title
// label and its list, by their names and their members of the form model.
#pragma once
#include <array>

#include "base/forms.h"

namespace vq {

struct PortConfRow {
  const char* title;
  const char* list;
  Label FrmPortConf::*titleModel;
  ComboBox FrmPortConf::*listModel;
};

inline constexpr std::array<PortConfRow, 7> kPortConfRows{{
    {"lblCommPortTitle", "cmbComPort", &FrmPortConf::lblCommPortTitle, &FrmPortConf::cmbComPort},
    {"lblCommBaudrateTitle", "cmbCommBaudrate", &FrmPortConf::lblCommBaudrateTitle, &FrmPortConf::cmbCommBaudrate},
    {"lblUpBaudrateTitle", "cmbUpBaudrate", &FrmPortConf::lblUpBaudrateTitle, &FrmPortConf::cmbUpBaudrate},
    {"lblParityTitle", "cmbParity", &FrmPortConf::lblParityTitle, &FrmPortConf::cmbParity},
    {"lblDataBitsTitle", "cmbDataBits", &FrmPortConf::lblDataBitsTitle, &FrmPortConf::cmbDataBits},
    {"lblStopBitsTitle", "cmbStopBits", &FrmPortConf::lblStopBitsTitle, &FrmPortConf::cmbStopBits},
    {"lblFlowTitle", "cmbFlowCtl", &FrmPortConf::lblFlowTitle, &FrmPortConf::cmbFlowCtl},
}};

}  // namespace vq
