// The platform services the core uses: the serial port mscComm, the timer tmrComm, event
// processing, message boxes, the file dialog, the language id and the cursor. The
// application's windows are behind platform/app_windows.h.
// Two implementations: Qt (src/platform/qt) for the program, virtual time (src/platform/virtual)
// for tests. Nothing in the core talks to Qt or to the wall clock except through these.
#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "platform/port_problem.h"

namespace vq {

// Error numbers the serial port raises; steps turn them into wizard error codes.
constexpr int kPortNoSuchDevice = 8002;     // port number with no device
constexpr int kPortSettingsRejected = 8015;  // settings the device or driver refuses
constexpr int kPortFailure = 8005;    // any other failure (open refused, device vanished)

// A run-time failure of the serial port, carrying the number the steps map to codes.
struct SerialError : std::runtime_error {
  int number;
  SerialError(int n, const std::string& what) : std::runtime_error(what), number(n) {}
};

// PortFailed: the device went away under the open port (the cable pulled, the adapter reset);
// the port reports itself closed from then on.
enum class CommEvent { Send = 1, Receive = 2, CtsChange = 3, PortFailed = 4 };

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Port number, 1 = COM1. Setting it on an open port throws.
  virtual void setCommPort(int n) = 0;
  virtual int commPort() const = 0;
  // Settings text such as "307200,o,8,1". Malformed or unsupported text throws 8015;
  // on an open port the new settings are applied at once.
  virtual void setSettings(const std::string& text) = 0;
  virtual std::string settings() const = 0;
  // 0 none, 1 Xon/Xoff, 2 RTS/CTS, 3 both.
  virtual void setHandshaking(int mode) = 0;
  virtual int handshaking() const = 0;
  // Opening throws 8002 when the number maps to no device, 8015 when the device refuses
  // the settings, 8005 otherwise.
  virtual void setPortOpen(bool open) = 0;
  virtual bool portOpen() const = 0;

  // Receive event once at least this many bytes are buffered; 0 = no receive events.
  virtual void setRThreshold(int n) = 0;
  virtual int rThreshold() const = 0;
  // Send event once the output has drained below this many bytes; 0 = no send events.
  virtual void setSThreshold(int n) = 0;
  virtual int sThreshold() const = 0;

  virtual Bytes input() = 0;                 // all buffered bytes, buffer emptied
  virtual void output(const Bytes& bytes) = 0;
  virtual void discardInput() = 0;
  virtual void discardOutput() = 0;

  virtual void setRTSEnable(bool on) = 0;
  virtual void setDTREnable(bool on) = 0;
  virtual bool ctsHolding() const = 0;
  virtual bool dsrHolding() const = 0;

  // Called on the window's thread during doEvents()/waitEvents().
  std::function<void(CommEvent)> onComm;
  // Why the port last failed to open or went away; the wizard clears it when a step starts.
  PortProblem problem;
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  // Enabling (also when already enabled) restarts the interval. An interval of 0 never fires.
  virtual void setEnabled(bool on) = 0;
  virtual bool enabled() const = 0;
  // Called on the window's thread during doEvents()/waitEvents().
  std::function<void()> onTick;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Handles what is pending and returns at once.
  virtual void doEvents() = 0;
  // Blocks until at least one event has been handled.
  virtual void waitEvents() = 0;
  // Pauses without handling events.
  virtual void sleepMs(int ms) = 0;

  // Modal message box with OK only, the application's title.
  virtual void messageBox(const std::string& text) = 0;
  // Modal question with Yes and No; true for Yes.
  virtual bool askYesNo(const std::string& text) = 0;
  // Open-file dialog; returns the full path, or empty when cancelled.
  virtual std::string openFileDialog(const std::string& filterDescription,
                                     const std::string& pattern) = 0;
  // System default language id: 1041 Japanese, 1033 English, ...
  virtual int systemLangId() = 0;
  virtual void setBusyCursor(bool busy) = 0;
  // Screen size in pixels, for centring dialogs.
  virtual int screenWidth() = 0;
  virtual int screenHeight() = 0;
  // The device behind a COM number for display ("ttyUSB0"), empty when none.
  virtual std::string deviceName(int comPort) = 0;
  // How the port dialog's list names the port after its number: the name the system shows
  // for it ("USB Serial Port" for COM5 on Windows) where it has one, else the device.
  virtual std::string portDescription(int comPort) { return deviceName(comPort); }
};

// The one platform, serial port and timer of the process, installed by main() or a test fixture.
// Installing also connects the error display's message box and the wizard progress's cursor
// and repaint to this platform and the installed windows.
Platform& platform();
SerialPort& mscComm();
Timer& tmrComm();
void installPlatform(Platform* p, SerialPort* port, Timer* timer);

}  // namespace vq
