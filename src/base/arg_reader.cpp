#include "base/arg_reader.h"

namespace vq {

bool ArgReader::flag(std::string_view name) {
  if (done() || current() != name) return false;
  ++at_;
  return true;
}

ArgReader::Took ArgReader::value(std::string_view name, std::string& out) {
  if (done()) return Took::No;
  const std::string& a = current();
  if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
    out = a.substr(name.size() + 1);
    ++at_;
    return Took::Yes;
  }
  if (a != name) return Took::No;
  ++at_;
  if (done()) return Took::NoValue;
  out = args_[at_++];
  return Took::Yes;
}

ArgReader::Took ArgReader::values(std::string_view name, std::size_t count, std::vector<std::string>& out) {
  if (done() || current() != name) return Took::No;
  ++at_;
  if (args_.size() - at_ < count) {
    at_ = args_.size();
    return Took::NoValue;
  }
  out.assign(args_.begin() + std::ptrdiff_t(at_), args_.begin() + std::ptrdiff_t(at_ + count));
  at_ += count;
  return Took::Yes;
}

bool ArgReader::optionalValue(std::string& out) {
  if (done() || current().rfind("--", 0) == 0) return false;
  out = args_[at_++];
  return true;
}

}  // namespace vq
