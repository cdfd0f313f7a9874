// The record of one attempted update: what a script reads from vq-update-cli --json and what
// both programs append to the update log, one JSON object per line.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vq {

// Result of an update the operator stopped (Ctrl+C, or the program closed mid-way); the
// wizard's own codes are 11 to 99.
constexpr int kResultStopped = 130;

struct UpdateRecord {
  std::string time;                  // UTC, ISO 8601, when the attempt ended
  std::string port;                  // the device path, or "COMn" when it maps to none
  int comPort = 0;
  std::string model;                 // as the instrument reports it (8 characters)
  std::string serial;                // as the instrument reports it (" 12345")
  std::optional<std::string> firmwareBefore;  // "Ver.1.0.3"; none after a forced update
  std::optional<std::string> firmwareAfter;   // none when step 5 failed part way
  std::string fileName;
  std::string fileSha256;
  int result = 0;                    // 0, a wizard code, or kResultStopped
  std::optional<int> failedStep;     // 1..8; none on success
  double durationS = 0;
  // Only in the update log.
  std::string program;               // "vq-update-cli 1.1.0"
  std::string host;
};

// Where the wizard hands each finished attempt (app/update_attempt.h); the front end implements it.
class UpdateRecordSink {
 public:
  virtual ~UpdateRecordSink() = default;
  // A monotonic clock in milliseconds, for the duration.
  virtual std::int64_t nowMs() = 0;
  // Fills in what only the front end knows (time, port path, file hash, program, host) and
  // writes the record; must not throw.
  virtual void write(UpdateRecord record) = 0;
};

// One line of JSON (no line end), the fields in a fixed order; program and host only when
// withProgram.
std::string fncUpdateRecordJson(const UpdateRecord& r, bool withProgram);
// Text as a JSON string literal, quotes included; control characters escaped, UTF-8 kept.
std::string fncJsonString(const std::string& text);

}  // namespace vq
