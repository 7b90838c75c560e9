// The layers as docs/ARCHITECTURE.md draws them, held against the tree: every
// project #include of a library folder names its own folder or one the table
// allows, and the folders without Qt include no Qt header. The table is read
// from the document, so the drawing and the check cannot drift apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testutil.h"

namespace {

namespace fs = std::filesystem;

struct Layer {
  std::set<std::string> mayInclude;
  bool qt = false;
};

// Rows "| `folder/` | `a`, `b` | yes |" of the document.
std::map<std::string, Layer> readTable(const fs::path& doc) {
  std::ifstream in(doc);
  std::map<std::string, Layer> table;
  const std::regex row(R"(^\|\s*`([a-z_]+)/`\s*\|([^|]*)\|\s*(yes|no)\s*\|\s*$)");
  const std::regex name("`([a-z_]+)`");
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, row)) continue;
    Layer layer;
    layer.qt = m[3] == "yes";
    const std::string allowed = m[2];
    for (std::sregex_iterator it(allowed.begin(), allowed.end(), name), end; it != end; ++it)
      layer.mayInclude.insert((*it)[1]);
    table[m[1]] = layer;
  }
  return table;
}

struct Include {
  std::string file;  // relative to the tree
  int line;
  std::string target;  // as written between the quotes or brackets
  bool angled;
};

std::vector<Include> includesIn(const fs::path& root, const std::string& folder) {
  std::vector<Include> found;
  const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (const auto& e : fs::recursive_directory_iterator(root / folder)) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(e.path());
    int n = 0;
    for (std::string line; std::getline(in, line);) {
      ++n;
      std::smatch m;
      if (std::regex_search(line, m, include))
        found.push_back({fs::relative(e.path(), root).generic_string(), n, m[2], m[1] == "<"});
    }
  }
  return found;
}

// What crosses a layer, one line each ("" when nothing does).
std::string crossings(const fs::path& root, const std::map<std::string, Layer>& table) {
  std::ostringstream out;
  for (const auto& [folder, layer] : table) {
    for (const Include& inc : includesIn(root, folder)) {
      const std::string where = inc.file + ":" + std::to_string(inc.line) + " includes " + inc.target;
      if (inc.angled) {
        if (!layer.qt && inc.target.size() > 1 && inc.target[0] == 'Q')
          out << where << ": " << folder << "/ has no Qt\n";
        continue;
      }
      const std::size_t slash = inc.target.find('/');
      if (slash == std::string::npos) continue;  // a header beside the file
      const std::string used = inc.target.substr(0, slash);
      if (used == folder || table.count(used) == 0) continue;
      if (layer.mayInclude.count(used) == 0) out << where << ": " << folder << "/ may not use " << used << "/\n";
    }
  }
  return out.str();
}

const fs::path kRoot = PICTORELL_SOURCE_DIR;

TEST(LayerTable, EveryLibraryFolderIsInTheTable) {
  const auto table = readTable(kRoot / "docs" / "ARCHITECTURE.md");
  ASSERT_FALSE(table.empty());
  for (const auto& e : fs::directory_iterator(kRoot)) {
    const std::string name = e.path().filename().string();
    if (name == "tests" || !fs::exists(e.path() / "CMakeLists.txt")) continue;
    std::ifstream in(e.path() / "CMakeLists.txt");
    const std::string cmake{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (cmake.find("add_library(") != std::string::npos) {
      EXPECT_EQ(table.count(name), 1u) << name << "/";
    }
  }
  for (const auto& [folder, layer] : table)
    for (const std::string& used : layer.mayInclude) {
      EXPECT_EQ(table.count(used), 1u) << folder << " -> " << used;
    }
}

TEST(LayerTable, NoIncludeCrossesALayer) {
  const auto table = readTable(kRoot / "docs" / "ARCHITECTURE.md");
  ASSERT_FALSE(table.empty());
  EXPECT_EQ(crossings(kRoot, table), "");
}

// The check itself: a table that forbids what the tree does is caught, with
// the file, the line and the rule.
TEST(LayerTable, AForbiddenIncludeIsNamed) {
  const fs::path root = testutil::makeTempDir("layer-table");
  fs::create_directories(root / "low");
  fs::create_directories(root / "high");
  std::ofstream(root / "low" / "a.cpp") << "#include \"low/a.h\"\n#include <vector>\n  #  include \"high/b.h\"\n";
  std::ofstream(root / "high" / "b.cpp") << "#include <QString>\n#include \"low/a.h\"\n";
  std::map<std::string, Layer> table;
  table["low"] = Layer{{}, false};
  table["high"] = Layer{{"low"}, true};
  EXPECT_EQ(crossings(root, table), "low/a.cpp:3 includes high/b.h: low/ may not use high/\n");
  table["high"].qt = false;
  EXPECT_EQ(crossings(root, table),
            "high/b.cpp:1 includes QString: high/ has no Qt\nlow/a.cpp:3 includes high/b.h: low/ may not use high/\n");
}

}  // namespace
