// What the update record and the journal need of the system: the program's state folder, the
// time and host name they carry, an appended line, and a file written so that a crash or a
// power cut leaves either the old text or the new one. One file per system.
#pragma once
#include <string>

namespace vq::native {

// The program's state folder: $XDG_STATE_HOME/vq-update, or ~/.local/state/vq-update; on
// Windows %LOCALAPPDATA%\vq-update. Empty when the environment names none.
std::string stateDir();
// Now, UTC, ISO 8601 to the second ("2026-12-09T00:10:00Z").
std::string utcNow();
// This computer's name; empty when the system does not say.
std::string hostName();
// Appends one line (a line end added) to a file only this user may read; false with the reason.
bool appendPrivateLine(const std::string& path, const std::string& line, std::string& error);
// Writes the whole text to path through a temporary file, each step on the disk before the next.
bool writeFileDurably(const std::string& path, const std::string& text, std::string& why);
// Removes path, the removal on the disk before it returns; false when there was none.
bool removeFileDurably(const std::string& path);

}  // namespace vq::native
