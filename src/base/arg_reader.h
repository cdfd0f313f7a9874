// One small reader of command lines for every program of the project: options one at a time,
// as "--name", "--name value" or "--name=value".
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

class ArgReader {
 public:
  enum class Took {
    No,       // the current argument is another option
    Yes,      // taken, with its value
    NoValue,  // it is this option, but its value is missing (taken all the same)
  };

  explicit ArgReader(std::vector<std::string> args) : args_(std::move(args)) {}
  ArgReader(int argc, char** argv) : args_(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0)) {}

  bool done() const { return at_ >= args_.size(); }
  // The current argument, whole.
  const std::string& current() const { return args_[at_]; }
  // The current argument's option name: without an inline "=value".
  std::string name() const { return current().substr(0, current().find('=')); }
  // Takes the current argument when it is the option `name` with no value of its own.
  bool flag(std::string_view name);
  // Takes "--name value" or "--name=value".
  Took value(std::string_view name, std::string& out);
  // Takes "--name V1 V2 ..." (count values, none inline).
  Took values(std::string_view name, std::size_t count, std::vector<std::string>& out);
  // Takes the next argument as the value of the option just taken, when it is no option
  // ("--check-port [PORT]"); false when there is none.
  bool optionalValue(std::string& out);
  // Steps over the current argument (a program that ignores some).
  void skip() { ++at_; }

 private:
  std::vector<std::string> args_;
  std::size_t at_ = 0;
};

}  // namespace vq
