// The update log: one JSON line per attempted update in
// $XDG_STATE_HOME/vq-update/updates.jsonl (~/.local/state/vq-update/updates.jsonl when unset;
// %LOCALAPPDATA%\vq-update\updates.jsonl on Windows), created with mode 600. A record that cannot be written is reported through onError and
// never fails the update.
#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "base/update_record.h"
#include "platform/native/com_port_map.h"
#include "platform/native/state_files.h"

namespace vq::native {

// The log's path in the state folder; empty when there is no state folder.
std::string updateLogPath();

class UpdateLog : public UpdateRecordSink {
 public:
  // program: "vq-update-cli 1.1.0".
  UpdateLog(const ComPortMap& map, std::string program);

  std::int64_t nowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }
  void write(UpdateRecord record) override;
  // What write() did with a record before the file: time, port path, file hash, program, host.
  UpdateRecord complete(UpdateRecord record) const;

  // Where the log goes; updateLogPath() unless set.
  std::string path;
  std::function<void(const std::string& why)> onError;
  // The last record written (or tried), for vq-update-cli --json.
  std::optional<UpdateRecord> last;

 private:
  const ComPortMap& map_;
  std::string program_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vq::native
