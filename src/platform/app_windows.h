// The application's own windows as the procedures need them: the two dialogs, a repaint and
// quitting. The front end implements it (the Qt windows in ui/, the test platform in virtual
// time); the platform below it knows nothing of these windows.
#pragma once

namespace vq {

class Windows {
 public:
  virtual ~Windows() = default;
  // Shows frmForceUpdate (loaded by the click) modally; returns when it has closed.
  virtual void showForceUpdateDialog() = 0;
  // Shows frmPortConf modeless (returns at once); closePortConfDialog destroys it.
  virtual void showPortConfDialog() = 0;
  virtual void closePortConfDialog() = 0;
  // Mirrors the form models into the windows now (a repaint).
  virtual void refresh() = 0;
  // Ends the program (unloads frmMain).
  virtual void quit() = 0;
};

// The installed windows; with none installed the calls do nothing.
Windows& windows();
void installWindows(Windows* w);

}  // namespace vq
