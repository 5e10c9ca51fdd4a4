// The field separator of a delimited text file, guessed from its first lines
// the way spreadsheet programs guess it.
#include "import/workbook_backend.h"

#include <array>
#include <optional>
#include <cstddef>
#include <vector>

namespace kestra::import {
namespace {

constexpr std::size_t kSniffedLines = 50;

// Candidates in order of preference: a tab or a semicolon on every line is
// the separator even when commas are as frequent, because semicolon files
// write decimal commas and comma files rarely hold semicolons or tabs.
constexpr std::array<char, 3> kCandidates = {'\t', ';', ','};

struct LineCounts {
  std::vector<std::array<std::size_t, kCandidates.size()>> lines;
};

// Separator counts outside quotes for each non-empty line of `head`; a line
// cut at the end of `head` is left out unless it is the only one.
LineCounts count_separators(std::string_view head) {
  LineCounts counts;
  std::array<std::size_t, kCandidates.size()> current{};
  bool quoted = false;
  bool line_has_text = false;
  for (const char c : head) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n') {
      if (line_has_text) counts.lines.push_back(current);
      if (counts.lines.size() == kSniffedLines) return counts;
      current = {};
      line_has_text = false;
      continue;
    }
    if (c != '\r') line_has_text = true;
    for (std::size_t k = 0; k < kCandidates.size(); ++k) current[k] += c == kCandidates[k];
  }
  if (line_has_text && counts.lines.empty()) counts.lines.push_back(current);
  return counts;
}

// The same non-zero count on every line.
bool is_consistent(const LineCounts& counts, std::size_t k) {
  if (counts.lines.empty() || counts.lines.front()[k] == 0) return false;
  for (const auto& line : counts.lines) {
    if (line[k] != counts.lines.front()[k]) return false;
  }
  return true;
}

}  // namespace

std::optional<char> consistent_csv_separator(std::string_view head) {
  const LineCounts counts = count_separators(head);
  for (std::size_t k = 0; k < kCandidates.size(); ++k) {
    if (is_consistent(counts, k)) return kCandidates[k];
  }
  return std::nullopt;
}

char sniff_csv_separator(std::string_view head) {
  if (const std::optional<char> consistent = consistent_csv_separator(head)) return *consistent;
  const LineCounts counts = count_separators(head);
  // Ragged lines: the candidate met most often.
  std::size_t best = kCandidates.size() - 1;
  std::size_t best_total = 0;
  for (std::size_t k = 0; k < kCandidates.size(); ++k) {
    std::size_t total = 0;
    for (const auto& line : counts.lines) total += line[k];
    if (total > best_total) {
      best = k;
      best_total = total;
    }
  }
  return kCandidates[best];
}

}  // namespace kestra::import
