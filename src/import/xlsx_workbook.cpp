// An .xlsx workbook: the package relationships lead to the workbook part,
// whose <sheets> list gives the worksheets in workbook order; its own
// relationships give each worksheet's part and the shared strings part.
#include <string>
#include <unordered_map>
#include <vector>

#include "import/xlsx_package.h"

namespace kestra::import {
namespace {

struct Relationship {
  std::string id;
  std::string type;
  std::string target;  // part name within the package
};

bool ends_with(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// Part name of a relationship target: absolute ("/xl/a.xml") or relative to
// the folder of the part that holds the relationship ("xl/").
std::string resolve_target(const std::string& folder, std::string_view target) {
  if (!target.empty() && target.front() == '/') return std::string(target.substr(1));
  std::string base = folder;
  while (target.starts_with("../")) {
    target.remove_prefix(3);
    const std::size_t slash = base.find_last_of('/', base.size() - 2);
    base = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
  }
  return base + std::string(target);
}

class RelationshipsReader final : public XmlHandler {
 public:
  explicit RelationshipsReader(std::string folder) : folder_(std::move(folder)) {}
  void start(std::string_view name, const char** attributes) override {
    if (name != "Relationship") return;
    const char* id = find_attribute(attributes, "Id");
    const char* type = find_attribute(attributes, "Type");
    const char* target = find_attribute(attributes, "Target");
    if (id && type && target) found.push_back({id, type, resolve_target(folder_, target)});
  }
  void end(std::string_view) override {}
  void text(std::string_view) override {}

  std::vector<Relationship> found;

 private:
  std::string folder_;
};

// The r:id of every <sheet> in workbook order, and the date system.
class SheetListReader final : public XmlHandler {
 public:
  void start(std::string_view name, const char** attributes) override {
    if (name == "workbookPr") {
      const char* date1904 = find_attribute(attributes, "date1904");
      uses_1904 = date1904 && (std::string_view(date1904) == "1" ||
                               std::string_view(date1904) == "true");
    }
    if (name != "sheet") return;
    const char* id = find_attribute(attributes, "id");
    ids.emplace_back(id ? id : "");
  }
  void end(std::string_view name) override {
    if (name == "sheets") stop();
  }
  void text(std::string_view) override {}

  std::vector<std::string> ids;
  bool uses_1904 = false;
};

// The date kind of every cell format (<cellXfs><xf numFmtId>), the codes of
// <numFmts> taking precedence over the built-in formats.
class StylesReader final : public XmlHandler {
 public:
  explicit StylesReader(std::vector<DateKind>& kinds) : kinds_(kinds) {}

  void start(std::string_view name, const char** attributes) override {
    int id = 0;
    const char* id_text = find_attribute(attributes, "numFmtId");
    const bool has_id = id_text && parse_number(std::string_view(id_text), &id);
    if (name == "numFmt" && has_id) {
      const char* code = find_attribute(attributes, "formatCode");
      codes_[id] = code ? code_date_kind(code) : DateKind::none;
    } else if (name == "cellXfs") {
      in_cell_formats_ = true;
    } else if (name == "xf" && in_cell_formats_) {
      const auto found = codes_.find(id);
      kinds_.push_back(!has_id ? DateKind::none
                               : found != codes_.end() ? found->second : builtin_date_kind(id));
    }
  }
  void end(std::string_view name) override {
    if (name == "cellXfs") stop();
  }
  void text(std::string_view) override {}

 private:
  std::vector<DateKind>& kinds_;
  std::unordered_map<int, DateKind> codes_;
  bool in_cell_formats_ = false;
};

std::vector<Relationship> read_relationships(const ZipPackage& package,
                                             const std::string& part) {
  const std::size_t slash = part.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
  const std::string rels = folder + "_rels/" + name + ".rels";
  RelationshipsReader reader(folder);
  if (package.has_entry(rels)) package.parse(rels, reader);
  return reader.found;
}

const Relationship* find_by_type(const std::vector<Relationship>& list, std::string_view type) {
  for (const Relationship& r : list) {
    if (ends_with(r.type, type)) return &r;
  }
  return nullptr;
}

class XlsxWorkbook final : public Workbook {
 public:
  explicit XlsxWorkbook(const char* path) : package_(path) {
    const std::vector<Relationship> root = read_relationships(package_, "");
    const Relationship* office = find_by_type(root, "/officeDocument");
    const std::string workbook_part = office ? office->target : "xl/workbook.xml";
    SheetListReader sheets;
    package_.parse(workbook_part, sheets);
    formats_.date1904 = sheets.uses_1904;
    const std::vector<Relationship> parts = read_relationships(package_, workbook_part);
    std::unordered_map<std::string_view, const std::string*> worksheet_targets;
    for (const Relationship& r : parts) {
      if (ends_with(r.type, "/worksheet")) worksheet_targets.emplace(r.id, &r.target);
    }
    for (const std::string& id : sheets.ids) {  // worksheets only, not chart sheets
      const auto found = worksheet_targets.find(id);
      if (found != worksheet_targets.end()) worksheet_parts_.push_back(*found->second);
    }
    if (const Relationship* strings = find_by_type(parts, "/sharedStrings")) {
      strings_part_ = strings->target;
    }
    if (const Relationship* styles = find_by_type(parts, "/styles");
        styles && package_.has_entry(styles->target)) {
      StylesReader reader(formats_.by_index);
      package_.parse(styles->target, reader);
    }
  }

  std::unique_ptr<Worksheet> worksheet(int index, const CellRange& wanted) override {
    if (index < 1 || static_cast<std::size_t>(index) > worksheet_parts_.size()) {
      fail("no worksheet at this index");
    }
    return read_xlsx_sheet(package_, worksheet_parts_[static_cast<std::size_t>(index) - 1],
                           strings_part_, wanted, SheetParse::scanned, formats_);
  }
  void close() override {}

 private:
  ZipPackage package_;
  std::vector<std::string> worksheet_parts_;
  std::string strings_part_;
  CellFormats formats_;
};

}  // namespace

std::unique_ptr<Workbook> open_xlsx_workbook(const char* path) {
  return std::make_unique<XlsxWorkbook>(path);
}

}  // namespace kestra::import
