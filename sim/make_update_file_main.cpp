// vq-make-update-file: writes valid and invalid update files for tests and the demo.
//   vq-make-update-file --out new.bin --version 1.2.0
//   vq-make-update-file --out bad.bin --magic lower
//   vq-make-update-file --out long.bin --size 131073
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/arg_reader.h"
#include "update_file.h"

namespace {

const char* kHelp = R"(vq-make-update-file - write an update file

Options:
  --out PATH             file to write (required)
  --version A.B.C        header version bytes at 33, 35, 37 (default 1.1.0); the body's
                         version record says main A*10+B, revision C
  --size N               body size in bytes (default 131072; more makes a too-long body)
  --seed N               body pattern (default 1); same seed, same body
  --magic good|bad|lower|offset5|none
                         header magic: correct at offset 0 (default), one letter wrong,
                         lower case, moved to offset 5, or absent
  --no-version-record    leave the version record out of the body
  --help                 this text
)";

int usage(const std::string& msg) {
  std::fprintf(stderr, "vq-make-update-file: %s (see --help)\n", msg.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vq::sim;
  UpdateFileOptions o;
  std::string out;
  vq::ArgReader args(argc, argv);
  while (!args.done()) {
    const std::string a = args.name();
    if (args.flag("--help") || args.flag("-h")) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (args.flag("--no-version-record")) {
      o.versionRecord = false;
      continue;
    }
    std::string v;
    if (args.value(a, v) != vq::ArgReader::Took::Yes) return usage("unknown option or missing value: " + a);
    char* end = nullptr;
    if (a == "--out") {
      out = v;
    } else if (a == "--version") {
      auto p = parseVersionText(v, o);
      if (!p) return usage("bad --version, want A.B.C");
      o = *p;
    } else if (a == "--size") {
      unsigned long n = std::strtoul(v.c_str(), &end, 10);
      if (v.empty() || *end || n > 16u * 1024 * 1024) return usage("bad --size");
      o.bodySize = n;
    } else if (a == "--seed") {
      unsigned long n = std::strtoul(v.c_str(), &end, 10);
      if (v.empty() || *end) return usage("bad --seed");
      o.seed = std::uint32_t(n);
    } else if (a == "--magic") {
      if (v == "good") o.magic = MagicKind::Good;
      else if (v == "bad") o.magic = MagicKind::Bad;
      else if (v == "lower") o.magic = MagicKind::LowerCase;
      else if (v == "offset5") o.magic = MagicKind::AtOffset5;
      else if (v == "none") o.magic = MagicKind::None;
      else return usage("bad --magic");
    } else {
      return usage("unknown option " + a);
    }
  }
  if (out.empty()) return usage("--out is required");
  const vq::Bytes file = makeUpdateFile(o);
  std::ofstream f(out, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  if (!f) {
    std::fprintf(stderr, "vq-make-update-file: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
