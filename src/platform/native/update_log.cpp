#include "platform/native/update_log.h"


#include "base/firmware_file.h"
#include "base/sha256.h"

namespace vq::native {

namespace {
constexpr const char* kLogName = "updates.jsonl";
}  // namespace

std::string updateLogPath() {
  const std::string dir = stateDir();
  return dir.empty() ? dir : dir + "/" + kLogName;
}

UpdateLog::UpdateLog(const ComPortMap& map, std::string program)
    : path(updateLogPath()), map_(map), program_(std::move(program)) {}

UpdateRecord UpdateLog::complete(UpdateRecord r) const {
  r.time = utcNow();
  const std::string device = map_.pathFor(r.comPort);
  if (!device.empty()) r.port = device;
  if (!gFileData.empty()) r.fileSha256 = sha256Hex(gFileData);
  r.program = program_;
  r.host = hostName();
  return r;
}

void UpdateLog::write(UpdateRecord record) {
  last = complete(std::move(record));
  std::string why;
  if (!appendPrivateLine(path, fncUpdateRecordJson(*last, true), why) && onError) onError(why);
}

}  // namespace vq::native
