// PLACEHOLDER until the port dialog lands.
#include "config/frm_port_conf.h"
namespace vq {
FrmPortConf frmPortConf;
void subSetPort(SerialPort&) {}
void frmPortConf_Load() {}
void frmPortConf_cmdSet_Click() { frmPortConf.open = false; }
void frmPortConf_cmdCancel_Click() { frmPortConf.open = false; }
void frmPortConf_QueryUnload() { frmPortConf.open = false; }
}  // namespace vq
