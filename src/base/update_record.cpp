#include "base/update_record.h"

#include <cstdio>

namespace vq {

std::string fncJsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

namespace {

std::string orNull(const std::optional<std::string>& s) { return s ? fncJsonString(*s) : "null"; }

}  // namespace

std::string fncUpdateRecordJson(const UpdateRecord& r, bool withProgram) {
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.3f", r.durationS);
  std::string o = "{";
  o += "\"time\":" + fncJsonString(r.time);
  o += ",\"port\":" + fncJsonString(r.port);
  o += ",\"com\":" + std::to_string(r.comPort);
  o += ",\"model\":" + fncJsonString(r.model);
  o += ",\"serial\":" + fncJsonString(r.serial);
  o += ",\"firmware_before\":" + orNull(r.firmwareBefore);
  o += ",\"firmware_after\":" + orNull(r.firmwareAfter);
  o += ",\"file\":" + fncJsonString(r.fileName);
  o += ",\"file_sha256\":" + fncJsonString(r.fileSha256);
  o += ",\"result\":" + std::to_string(r.result);
  o += ",\"failed_step\":" + (r.failedStep ? std::to_string(*r.failedStep) : std::string("null"));
  o += ",\"duration_s\":" + std::string(duration);
  if (withProgram) {
    o += ",\"program\":" + fncJsonString(r.program);
    o += ",\"host\":" + fncJsonString(r.host);
  }
  return o + "}";
}

}  // namespace vq
