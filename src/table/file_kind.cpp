// Which reader a file goes to: a workbook's signature, else the name's
// extension, else the first bytes.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "table/table_reader.h"

namespace kestra::table {
namespace {

std::string lower_extension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// True when the text, after leading whitespace, starts like an HTML page.
bool looks_like_html(std::string_view head) {
  std::string start;
  for (const char c : head) {
    if (start.empty() && std::isspace(static_cast<unsigned char>(c))) continue;
    start.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (start.size() == 14) break;
  }
  for (const std::string_view opening :
       {"<!doctype html", "<html", "<table", "<!--", "<?xml", "<head", "<body", "<meta"}) {
    if (std::string_view(start).starts_with(opening)) return true;
  }
  return false;
}

}  // namespace

FileKind sniff_file_kind(const std::string& path, std::string_view head) {
  if (head.starts_with(std::string_view("PK\x03\x04", 4))) return FileKind::xlsx;
  if (head.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return FileKind::xls;
  const std::string extension = lower_extension(path);
  if (extension == ".html" || extension == ".htm" || extension == ".xhtml") return FileKind::html;
  if (extension == ".csv" || extension == ".tsv") return FileKind::csv;
  // Web pages saved with a workbook's name are common; other text under
  // such a name goes to the workbook reader, which refuses it.
  if (looks_like_html(text_as_utf8(head))) return FileKind::html;
  if (extension == ".xlsx" || extension == ".xlsm") return FileKind::xlsx;
  if (extension == ".xls") return FileKind::xls;
  return FileKind::csv;
}

}  // namespace kestra::table
