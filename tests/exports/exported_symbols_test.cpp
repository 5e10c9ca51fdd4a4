// The shared library's dynamic symbol table holds exactly the names the
// public headers declare KESTRA_API: nothing internal leaks out, and nothing
// public the library defines is left hidden.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>

namespace kestra::test {
namespace {

// Names declared KESTRA_API in a header: the identifier before the first "(".
std::set<std::string> declared_names(const std::string& header) {
  std::ifstream in(header);
  EXPECT_TRUE(in) << header;
  const std::regex declaration(R"(^KESTRA_API\s+[^(]*?([A-Za-z_][A-Za-z0-9_]*)\s*\()");
  std::set<std::string> names;
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, match, declaration)) names.insert(match[1]);
  }
  return names;
}

// The demangled symbols `nm` lists with `options`, as bare names: no
// namespace, no parameters. Other symbols (data, type information) keep
// their whole demangled text.
std::set<std::string> symbol_names(const std::string& options) {
  const std::string command = "nm -C --defined-only " + options + " '" KESTRA_SHARED_LIBRARY "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  EXPECT_TRUE(pipe) << command;
  std::set<std::string> names;
  if (!pipe) return names;
  const std::regex function(R"(^(?:[A-Za-z_][A-Za-z0-9_]*::)*([A-Za-z_][A-Za-z0-9_]*)\(.*$)");
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    // "address type name", or "type name" for symbols without an address.
    const std::size_t type_end = line.find(' ', line.find(' ') + 1);
    if (type_end == std::string::npos) continue;
    const std::string name = line.substr(type_end + 1);
    std::smatch match;
    names.insert(std::regex_match(name, match, function) ? std::string(match[1]) : name);
  }
  return names;
}

std::set<std::string> public_names() {
  std::set<std::string> names;
  for (const auto& header : std::filesystem::directory_iterator(KESTRA_INCLUDE_DIR)) {
    names.merge(declared_names(header.path().string()));
  }
  return names;
}

TEST(ExportedSymbols, OnlyPublicNamesAreExported) {
  const std::set<std::string> declared = public_names();
  ASSERT_TRUE(declared.count("CreateDiag") && declared.count("CreatePen") &&
              declared.count("read_table"));
  const std::set<std::string> exported = symbol_names("-D");
  ASSERT_TRUE(exported.count("CreateDiag"));
  for (const std::string& name : exported) {
    if (name.starts_with("__lsan_")) continue;  // a sanitizer build's hook for its runtime
    EXPECT_TRUE(declared.count(name)) << "exported: " << name;
  }
}

// A public name the library defines must be in the dynamic table; a name
// it does not define at all (an interface still to be implemented) is left out.
TEST(ExportedSymbols, EveryDefinedPublicNameIsExported) {
  const std::set<std::string> exported = symbol_names("-D");
  const std::set<std::string> defined = symbol_names("");
  for (const std::string& name : public_names()) {
    if (defined.count(name)) {
      EXPECT_TRUE(exported.count(name)) << "hidden: " << name;
    }
  }
}

}  // namespace
}  // namespace kestra::test
