// vq-update-cli's command line. Every value is checked against what the window offers (the
// port dialog's lists, the forced-update dialog's models) before anything touches the port;
// a refused option ends the program with status 2 and one line saying why.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vq::cli {

constexpr int kExitUsage = 2;

struct Options {
  std::string port;                // --port PATH
  int com = 0;                     // --com N
  std::vector<std::pair<int, std::string>> pins;  // --com N=PATH
  std::string file;
  std::string sha256;              // --sha256 HEX: the digest the file must have
  int updateBaud = 3;              // index of --writing-rate among the dialog's rates
  std::string baud = "307200";     // the port dialog's defaults
  std::string parity = "O";
  std::string dataBits = "8";
  std::string stopBits = "1";
  int flow = 0;
  int langId = 0;                  // 0: the system's
  bool forced = false;
  std::string forcedModel, forcedSerial;
  bool resume = false;             // --resume: the saved identity of an unfinished update
  bool listUnfinished = false;     // --list-unfinished
  bool forget = false;             // --forget MODEL SERIAL: discard a saved update
  std::string forgetModel, forgetSerial;
  bool checkPort = false;          // --check-port [COMn|PATH]
  std::string checkWhich;
  bool switchReady = false;
  bool json = false;
  std::string trace;
  bool help = false, version = false;
};

// Parses argv[1..]; the reason when refused. The forced update's serial number is checked
// later, by the dialog's own rules.
std::optional<std::string> parseOptions(const std::vector<std::string>& args, Options& out);

extern const char* const kUsage;

}  // namespace vq::cli
