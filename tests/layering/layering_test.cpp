// The include graph follows the layers: base <- platform interfaces <- config, image, link,
// flash <- app <- front (what every front end shares, no toolkit) <- the front ends (ui, the
// Qt windows; win32ui, the Win32 windows; cli, the terminal), none using another;
// the native, the virtual platform and the serial trace sit on the interfaces only, the Qt
// platform on them and the native one; the device model uses base and the virtual platform.
// Only the Qt platform, the windows and vq-update's main include Qt. An engine's own state is
// included inside its engine only. Every #include of src/ and sim/ is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = VQ_SOURCE_DIR;

// The component a file belongs to, from its path relative to the source root.
std::string componentOf(const std::string& rel) {
  static const std::vector<std::pair<std::string, std::string>> kPrefixes{
      {"src/platform/qt/", "qt"},     {"src/platform/virtual/", "virtual"},
      {"src/platform/native/", "native"},
      {"src/platform/trace/", "trace"}, {"src/cli/", "cli"},
      {"src/platform/", "platform"},  {"src/base/", "base"},
      {"src/config/", "config"},      {"src/image/", "image"},
      {"src/link/", "link"},          {"src/flash/", "flash"},
      {"src/app/", "app"},            {"src/ui/", "ui"},
      {"src/front/", "front"},        {"src/win32ui/", "win32ui"},
      {"src/main.cpp", "main"},       {"sim/", "sim"},
  };
  for (const auto& [prefix, component] : kPrefixes)
    if (rel.rfind(prefix, 0) == 0) return component;
  return "";
}

// What each component may include besides itself.
const std::map<std::string, std::set<std::string>> kAllowed{
    {"base", {}},
    {"platform", {"base"}},
    {"config", {"base", "platform"}},
    {"image", {"base", "platform"}},
    {"link", {"base", "platform", "config"}},
    {"flash", {"base", "platform", "config", "image"}},
    {"app", {"base", "platform", "config", "image", "link", "flash"}},
    {"native", {"base", "platform"}},
    {"qt", {"base", "platform", "native"}},
    {"virtual", {"base", "platform"}},
    {"trace", {"base", "platform"}},
    {"front", {"base", "platform", "config", "image", "link", "flash", "app", "native", "trace"}},
    {"ui", {"base", "platform", "config", "image", "link", "flash", "app", "front", "native", "qt", "trace"}},
    {"cli", {"base", "platform", "config", "image", "link", "flash", "app", "front", "native", "trace"}},
    {"win32ui", {"base", "platform", "config", "image", "link", "flash", "app", "front", "native", "trace"}},
    {"main", {"base", "platform", "config", "image", "link", "flash", "app", "front", "native", "qt", "ui", "trace"}},
    {"sim", {"base", "platform", "virtual"}},
};

bool allowed(const std::string& from, const std::string& to) {
  if (from == to) return true;
  const auto it = kAllowed.find(from);
  return it != kAllowed.end() && it->second.count(to) > 0;
}

// The file an include names: relative to src/, to sim/, or to the including file's folder.
std::string resolve(const fs::path& includer, const std::string& name) {
  for (const fs::path& base : {kRoot / "src", kRoot / "sim", includer.parent_path()}) {
    const fs::path p = base / name;
    if (fs::exists(p)) return fs::relative(fs::weakly_canonical(p), kRoot).generic_string();
  }
  return "";
}

// The components whose files may include Qt's headers.
const std::set<std::string> kQtComponents{"qt", "ui", "main"};

struct Edge {
  std::string file;
  int line;
  std::string from, to, name;
  std::string target;  // the included file relative to the source root; empty for Qt's
};

// The headers of state only one engine works with, and the folder that engine is.
const std::map<std::string, std::string> kEngineStateHeaders{
    {"src/link/link_engine_state.h", "src/link/"},
    {"src/flash/boot_exchange_state.h", "src/flash/"},
};

// Every include of src/ and sim/: the project's own headers resolved to their component, Qt's
// headers (<QObject>, <QtCore/...>) with component "Qt", other library headers left out.
std::vector<Edge> projectIncludes() {
  static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  static const std::regex kQtInclude(R"(^\s*#\s*include\s*<(Q[A-Za-z]+|Qt[A-Za-z]+/[^>]*)>)");
  std::vector<Edge> edges;
  for (const char* dir : {"src", "sim"}) {
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / dir)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string rel = fs::relative(entry.path(), kRoot).generic_string();
      std::ifstream in(entry.path());
      std::string text;
      for (int n = 1; std::getline(in, text); ++n) {
        std::smatch m;
        if (std::regex_search(text, m, kQtInclude)) edges.push_back({rel, n, componentOf(rel), "Qt", m[1], ""});
        if (!std::regex_search(text, m, kInclude)) continue;
        const std::string target = resolve(entry.path(), m[1]);
        if (target.empty()) continue;  // a library header
        edges.push_back({rel, n, componentOf(rel), componentOf(target), m[1], target});
      }
    }
  }
  return edges;
}

TEST(Layering, TheRulesThemselves) {
  struct Case {
    const char *from, *to;
    bool ok;
  } const cases[] = {
      {"link", "base", true},     {"link", "app", false},    {"flash", "app", false},
      {"image", "app", false},    {"config", "app", false},  {"base", "platform", false},
      {"base", "app", false},     {"platform", "app", false}, {"qt", "ui", false},
      {"qt", "app", false},       {"ui", "qt", true},        {"app", "ui", false},
      {"sim", "app", false},      {"sim", "link", false},    {"sim", "virtual", true},
      {"virtual", "qt", false},   {"app", "link", true},     {"link", "flash", false},
      {"cli", "ui", false},       {"ui", "cli", false},      {"cli", "app", true},
      {"trace", "app", false},    {"qt", "trace", false},    {"main", "trace", true},
      {"qt", "native", true},     {"native", "qt", false},   {"cli", "qt", false},
      {"native", "app", false},   {"ui", "native", true},    {"native", "virtual", false},
      {"front", "ui", false},     {"front", "qt", false},    {"front", "cli", false},
      {"ui", "front", true},      {"cli", "front", true},    {"app", "front", false},
      {"win32ui", "front", true}, {"win32ui", "ui", false},  {"win32ui", "qt", false},
      {"ui", "win32ui", false},   {"cli", "win32ui", false}, {"win32ui", "cli", false},
  };
  for (const Case& c : cases) EXPECT_EQ(allowed(c.from, c.to), c.ok) << c.from << " -> " << c.to;
  EXPECT_EQ(componentOf("src/platform/qt/qt_platform.cpp"), "qt");
  EXPECT_EQ(componentOf("src/platform/native/serial_port.cpp"), "native");
  EXPECT_EQ(componentOf("src/platform/app_windows.h"), "platform");
  EXPECT_EQ(componentOf("src/base/state.h"), "base");
}

TEST(Layering, EveryIncludeFollowsTheLayerOrder) {
  const std::vector<Edge> edges = projectIncludes();
  // A scan that finds next to nothing has lost the tree, not proved it clean.
  ASSERT_GT(edges.size(), 200u);
  for (const Edge& e : edges) {
    EXPECT_FALSE(e.from.empty() || e.to.empty()) << e.file << ":" << e.line << " " << e.name;
    if (e.to == "Qt") {
      EXPECT_TRUE(kQtComponents.count(e.from)) << e.file << ":" << e.line << " includes <" << e.name << ">: "
                                               << e.from << " uses no Qt";
      continue;
    }
    EXPECT_TRUE(allowed(e.from, e.to)) << e.file << ":" << e.line << " includes \"" << e.name << "\": "
                                       << e.from << " may not use " << e.to;
  }
}

TEST(Layering, AnEnginesOwnStateStaysInsideIt) {
  for (const auto& h : kEngineStateHeaders) EXPECT_TRUE(fs::exists(kRoot / h.first)) << h.first;
  std::set<std::string> includedBy;
  for (const Edge& e : projectIncludes()) {
    const auto it = kEngineStateHeaders.find(e.target);
    if (it == kEngineStateHeaders.end()) continue;
    includedBy.insert(e.target);
    EXPECT_EQ(e.file.rfind(it->second, 0), 0u) << e.file << ":" << e.line << " includes \"" << e.name
                                              << "\": only " << it->second << " works with that state";
  }
  // The scan must see the engines' own includes, or it proves nothing.
  for (const auto& h : kEngineStateHeaders) EXPECT_TRUE(includedBy.count(h.first)) << h.first;
}

}  // namespace
