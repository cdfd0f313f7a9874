#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>

#include "base/arg_reader.h"
#include "base/comm_settings.h"
#include "base/utf8_path.h"
#include "config/frm_port_conf.h"
#include "image/file_checksum.h"

namespace vq::cli {

const char* const kUsage =
    "usage: vq-update-cli (--port PATH | --com N) --file UPDATE.bin [options]\n"
    "  --port PATH            the serial device, e.g. /dev/ttyUSB0\n"
#ifdef _WIN32
    "  --com N                COM N (1-255), Windows' own port number\n"
#else
    "  --com N                COM N (1-16), numbered as the window numbers them\n"
#endif
    "  --com N=PATH           pin COM N to a device (repeatable), as in the window\n"
    "  --file FILE            the update file\n"
    "  --sha256 HEX           the SHA-256 the update file must have (64 hex digits);\n"
    "                         without it FILE.sha256 beside the file is checked if there\n"
    "  --writing-rate BAUD    9600 19200 31250 38400 76800 153600 (default 38400)\n"
    "  --baud BAUD            link rate: 110 300 1200 2400 4800 9600 19200 38400 56000\n"
    "                         115200 307200 (default 307200)\n"
    "  --parity P             even none odd space mark (default odd)\n"
    "  --data-bits N          4 5 6 7 8 (default 8)\n"
    "  --stop-bits N          1 1.5 2 (default 1)\n"
    "  --flow F               none xon-xoff rts-cts both (default none)\n"
    "  --lang ja|en           the texts' language (default: the system's)\n"
    "  --forced MODEL SERIAL  forced update without reading the instrument: MODEL\n"
    "                         VQA-7001 or VQA-7000, SERIAL its five digits\n"
    "  --resume               continue an unfinished update (the newest for this port):\n"
    "                         the instrument is read first; the same instrument is\n"
    "                         updated as usual, another one refused (exit 2), and one\n"
    "                         that gives no valid reply gets the saved identity and\n"
    "                         setting, as a forced update does with them\n"
    "  --list-unfinished      list the instruments left half-updated, and exit\n"
    "  --forget MODEL SERIAL  discard the saved identity of an unfinished update, and exit\n"
    "  --check-port [COMn|PATH]  say what stands between this user and the port (every\n"
    "                         serial device without one), and exit: 0 when usable\n"
    "  --switch-ready         do not wait for Enter at steps 4 and 6 (the FW switch is\n"
    "                         moved by other means)\n"
    "  --json                 print one JSON object with the outcome on stdout (the\n"
    "                         progress then goes to stderr)\n"
    "  --trace FILE           write every byte and line change on the port to FILE\n"
    "  --version, --help\n"
    "Exit status: 0 updated; 2 an option refused; 11-99 the wizard's code of the failure;\n"
    "130 stopped with Ctrl+C or no input at a wait.\n";

namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

template <std::size_t N>
int indexIn(const char* const (&list)[N], const std::string& v) {
  for (std::size_t i = 0; i < N; ++i)
    if (v == list[i]) return int(i);
  return -1;
}

template <std::size_t N>
std::string listed(const char* const (&list)[N]) {
  std::string s;
  for (const char* e : list) s += (s.empty() ? "" : " ") + std::string(e);
  return s;
}

bool wholeNumber(const std::string& s, int lo, int hi, int& out) {
  if (s.empty() || s.size() > 3 || !std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }))
    return false;
  out = std::stoi(s);
  return out >= lo && out <= hi;
}

#ifdef _WIN32
// Windows numbers USB adapters as it likes (COM33 is common); the window scans 1 to 16.
constexpr int kHighestCom = 255;
#else
constexpr int kHighestCom = 16;
#endif
constexpr int kHighestPin = 255;  // --com N=PATH accepts what the window's --com accepts

}  // namespace

std::optional<std::string> parseOptions(const std::vector<std::string>& args, Options& o) {
  bool portGiven = false, comGiven = false;
  ArgReader r(args);
  while (!r.done()) {
    const std::string a = r.name();
    std::vector<std::string> pair;
    auto missing = [&](const std::string& name) { return name + " needs a value"; };

    const std::pair<const char*, bool*> flags[] = {
        {"--help", &o.help},     {"-h", &o.help},         {"--version", &o.version}, {"--resume", &o.resume},
        {"--list-unfinished", &o.listUnfinished}, {"--switch-ready", &o.switchReady}, {"--json", &o.json}};
    if (std::any_of(std::begin(flags), std::end(flags), [&](const auto& f) { return r.flag(f.first) && (*f.second = true); }))
      continue;
    if (r.flag("--check-port")) {
      // Its port is optional: every serial device without one.
      o.checkPort = true;
      r.optionalValue(o.checkWhich);
      continue;
    } else if (a == "--forget" || a == "--forced") {
      if (r.values(a, 2, pair) != ArgReader::Took::Yes) return a + " needs MODEL and SERIAL, e.g. " + a + " VQA-7001 12345";
      const bool forced = a == "--forced";
      (forced ? o.forced : o.forget) = true;
      (forced ? o.forcedModel : o.forgetModel) = pair[0];
      (forced ? o.forcedSerial : o.forgetSerial) = pair[1];
      continue;
    }
    // Every other option takes one value: "--name value" or "--name=value".
    static const char* const kValued[] = {"--port",      "--com",       "--file",      "--sha256", "--writing-rate",
                                          "--baud",      "--parity",    "--data-bits", "--stop-bits", "--flow",
                                          "--lang",      "--trace",     "--check-port"};
    if (indexIn(kValued, a) < 0) return "unknown argument " + r.current();
    std::string value;
    if (r.value(a, value) != ArgReader::Took::Yes) return missing(a);
    const std::string* x = &value;
    if (a == "--check-port") {
      o.checkPort = true;
      o.checkWhich = value;
    } else if (a == "--port") {
      if (x->empty()) return missing(a);
      o.port = *x;
      portGiven = true;
    } else if (a == "--com") {
      const std::size_t eq = x->find('=');
      int n = 0;
      if (eq != std::string::npos) {
        if (!wholeNumber(x->substr(0, eq), 1, kHighestPin, n) || eq + 1 >= x->size())
          return "--com N=PATH wants N from 1 to 255 and a device path, e.g. --com 1=/dev/ttyUSB0; got \"" + *x + "\"";
        o.pins.emplace_back(n, x->substr(eq + 1));
      } else {
        if (!wholeNumber(*x, 1, kHighestCom, n))
          return "--com takes a port number from 1 to " + std::to_string(kHighestCom) + "; got \"" + *x + "\"";
        o.com = n;
        comGiven = true;
      }
    } else if (a == "--file") {
      if (x->empty()) return missing(a);
      o.file = *x;
    } else if (a == "--sha256") {
      if (!fncIsSha256Hex(*x)) return "--sha256 takes the file's SHA-256 as 64 hex digits; got \"" + *x + "\"";
      o.sha256 = *x;
    } else if (a == "--writing-rate") {
      o.updateBaud = indexIn(kUpdateBaudRates, *x);
      if (o.updateBaud < 0) return "unknown writing rate " + *x + "; the rates are " + listed(kUpdateBaudRates);
    } else if (a == "--baud") {
      if (indexIn(kCommBaudrates, *x) < 0) return "unknown link baud rate " + *x + "; the rates are " + listed(kCommBaudrates);
      o.baud = *x;
    } else if (a == "--parity") {
      int k = -1;
      for (int p = 0; p < int(std::size(kParities)); ++p) {
        const std::string word = lower(kParities[p]);
        if (lower(*x) == word || lower(*x) == word.substr(0, 1)) k = p;
      }
      if (k < 0) return "unknown parity " + *x + "; choose even, none, odd, space or mark";
      o.parity = std::string(1, kParities[k][0]);
    } else if (a == "--data-bits") {
      if (indexIn(kDataBits, *x) < 0) return "unknown data bits " + *x + "; choose " + listed(kDataBits);
      o.dataBits = *x;
    } else if (a == "--stop-bits") {
      if (indexIn(kStopBits, *x) < 0) return "unknown stop bits " + *x + "; choose " + listed(kStopBits);
      o.stopBits = *x;
    } else if (a == "--flow") {
      static const char* const kFlowWords[] = {"none", "xon-xoff", "rts-cts", "both"};
      int k = indexIn(kFlowWords, lower(*x));
      if (k < 0 && x->size() == 1 && (*x)[0] >= '0' && (*x)[0] <= '3') k = (*x)[0] - '0';
      if (k < 0) return "unknown flow control " + *x + "; choose none, xon-xoff, rts-cts or both";
      o.flow = k;
    } else if (a == "--lang") {
      if (*x == "ja") o.langId = 1041;
      else if (*x == "en") o.langId = 1033;
      else return "--lang takes ja or en; got \"" + *x + "\"";
    } else if (a == "--trace") {
      if (x->empty()) return missing(a);
      o.trace = *x;
    }
  }
  if (o.help || o.version || o.listUnfinished || o.checkPort || o.forget) return std::nullopt;
  if (o.resume && o.forced) return std::string("--resume and --forced exclude each other");
  if (portGiven == comGiven) return std::string("name the port with either --port PATH or --com N");
  if (o.file.empty()) return std::string("--file UPDATE.bin is missing");
  // A typed name that names nothing is refused here; the wizard's own checks (not an update
  // file, cannot be read) follow with their codes.
  std::error_code ec;
  if (!std::filesystem::exists(pathOf(o.file), ec)) return "no such update file: " + o.file;
  return std::nullopt;
}

}  // namespace vq::cli
