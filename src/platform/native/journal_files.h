// The update journal on disk: one file per instrument in <state folder>/unfinished/, written
// durably (a temporary file flushed to the disk, renamed over the old one, the folder flushed
// too), so a power cut leaves either the old entry or the new one, never a torn one. An entry
// goes when its instrument's update completes. Programs updating other instruments side by
// side each write their own file.
#pragma once
#include <string>
#include <vector>

#include "base/update_journal.h"
#include "platform/native/com_port_map.h"

namespace vq::native {

class JournalFiles : public UpdateJournalStore {
 public:
  // dir: the folder of the entries; stateDir() + "/unfinished" unless given.
  explicit JournalFiles(const ComPortMap& map, std::string dir = {});

  // Fills in the device path, the time and the file's SHA-256, then writes.
  bool save(const JournalEntry& e, std::string& why) override;
  void finish(const std::string& model, const std::string& serial) override;
  std::vector<JournalEntry> unfinished(std::vector<JournalProblem>& problems) override;

  const std::string& dir() const { return dir_; }
  // The file an instrument's entry is kept in.
  std::string pathFor(const std::string& model, const std::string& serial) const;

 private:
  const ComPortMap& map_;
  std::string dir_;
};

}  // namespace vq::native
