// Zip entries inflated piece by piece into expat. No DTD is accepted (an
// .xlsx never has one, and entity expansion is the classic XML bomb).
#include "import/xlsx_package.h"

#include <expat.h>

#include <cstring>
#include <exception>

#include "import/zip_file.h"

namespace kestra::import {
namespace {

// The name without its namespace prefix: parts are matched by local names
// only, so namespace processing (and its cost per element) is left out.
std::string_view local_name(const char* name) {
  const char* local = name;
  const char* end = name;
  for (; *end; ++end) {
    if (*end == ':') local = end + 1;
  }
  return {local, static_cast<std::size_t>(end - local)};
}

// Forwards expat's callbacks to a handler; the first failure stops the parse.
class ExpatSession {
 public:
  explicit ExpatSession(XmlHandler& handler)
      : handler_(handler), parser_(XML_ParserCreate(nullptr), XML_ParserFree) {
    if (!parser_) throw std::bad_alloc();
    XML_SetUserData(parser_.get(), this);
    XML_SetElementHandler(parser_.get(), on_start, on_end);
    XML_SetCharacterDataHandler(parser_.get(), on_text);
    XML_SetStartDoctypeDeclHandler(parser_.get(), on_doctype);
  }

  // False once the handler asked to stop.
  bool feed(const char* data, int size, bool last) {
    if (XML_Parse(parser_.get(), data, size, last) != XML_STATUS_ERROR) return true;
    if (error_) std::rethrow_exception(error_);
    if (handler_.stopped()) return false;
    fail("workbook part is not well-formed XML");
  }

 private:
  template <class Step>
  static void guarded(void* self, Step step) {
    auto* session = static_cast<ExpatSession*>(self);
    try {
      step(*session);
    } catch (...) {
      session->error_ = std::current_exception();
    }
    if (session->error_ || session->handler_.stopped()) {
      XML_StopParser(session->parser_.get(), XML_FALSE);
    }
  }
  static void on_start(void* self, const char* name, const char** attributes) {
    guarded(self, [&](ExpatSession& s) {
      if (++s.depth_ > kMaxXmlDepth) fail("workbook part nested too deep");
      s.handler_.start(local_name(name), attributes);
    });
  }
  static void on_end(void* self, const char* name) {
    guarded(self, [&](ExpatSession& s) {
      --s.depth_;
      s.handler_.end(local_name(name));
    });
  }
  static void on_text(void* self, const char* text, int length) {
    guarded(self, [&](ExpatSession& s) {
      s.handler_.text({text, static_cast<std::size_t>(length)});
    });
  }
  static void on_doctype(void* self, const char*, const char*, const char*, int) {
    guarded(self, [](ExpatSession&) { fail("workbook part declares a DTD"); });
  }

  XmlHandler& handler_;
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser_;
  std::exception_ptr error_;
  int depth_ = 0;
};

zip_t* open_zip(const char* path) {
  zip_t* zip = open_zip_file(path);
  if (!zip) fail("workbook is not a readable zip package");
  return zip;
}

}  // namespace

const char* find_attribute(const char** attributes, std::string_view name) {
  for (const char** a = attributes; a[0]; a += 2) {
    if (local_name(a[0]) == name && std::strncmp(a[0], "xmlns", 5) != 0) return a[1];
  }
  return nullptr;
}

ZipPackage::ZipPackage(const char* path) : zip_(open_zip(path), zip_close) {}

bool ZipPackage::has_entry(const std::string& name) const {
  return zip_name_locate(zip_.get(), name.c_str(), 0) >= 0;
}

void ZipPackage::parse(const std::string& name, XmlHandler& handler, RowSkipper* rows) const {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(zip_.get(), name.c_str(), 0, &stat) != 0) fail("workbook part missing");
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size > kMaxWorksheetBytes) {
    fail("workbook part too large");
  }
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen(zip_.get(), name.c_str(), 0),
                                                          zip_fclose);
  if (!file) fail("workbook part cannot be read");
  ExpatSession session(handler);
  char buffer[1 << 16];
  std::uint64_t total = 0;
  for (;;) {
    const zip_int64_t size = zip_fread(file.get(), buffer, sizeof buffer);
    if (size < 0) fail("workbook part is damaged");
    total += static_cast<std::uint64_t>(size);
    if (total > kMaxWorksheetBytes) fail("workbook part too large");
    const bool last = size == 0;
    std::string_view piece(buffer, static_cast<std::size_t>(size));
    if (rows) piece = rows->pass(piece, last);
    if (!session.feed(piece.data(), static_cast<int>(piece.size()), last)) return;
    if (last) return;
  }
}

}  // namespace kestra::import
