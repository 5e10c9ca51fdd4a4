// Test helpers: a temporary directory removed with everything in it at the
// end of the scope, and whole-file reading and writing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kestra::test {

class TempDir {
 public:
  // A new folder under a name no other folder has: create_directory fails
  // on an existing one, so a clash only means another try.
  TempDir() {
    std::random_device seed;
    std::error_code error;
    const auto base = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100 && path_.empty() && !error; ++attempt) {
      const auto candidate = base / ("kestra-" + std::to_string(seed()));
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the directory.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Names of the entries the directory holds, sorted.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::uint8_t> read_file_bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void write_file_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace kestra::test
