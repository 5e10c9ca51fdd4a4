// The spreadsheet application on Windows: the automation server registered
// as "Excel.Application", driven by name through IDispatch; where none is
// registered, the built-in workbook reader.
#include <objbase.h>

#include <memory>

#include "import/com_dispatch.h"
#include "import/workbook_backend.h"

namespace kestra::import {
namespace {

using com::Call;
using com::invoke;
using com::object_of;
using com::Ref;
using com::Variant;

constexpr wchar_t kProgId[] = L"Excel.Application";
// The worksheet interface: an item of the Worksheets collection that does not
// answer it is no worksheet.
constexpr IID kWorksheetInterface = {
    0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// COM on the calling thread for the application's lifetime; a thread that
// already runs another apartment model keeps it and is not uninitialised.
class Apartment {
 public:
  Apartment() : status_(CoInitialize(nullptr)) {}
  ~Apartment() {
    if (SUCCEEDED(status_)) CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  HRESULT status_;
};

// A cell's value as the server hands it over: numbers (dates and currency
// included) as stored, texts, booleans as the texts the application shows.
// Error values such as #DIV/0! count as empty, as their text would give 0.
Cell cell_of(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_ERROR: return {};
    case VT_BSTR: return Cell::of_text(com::ansi_text(value.bstrVal, kMaxStoredText));
    case VT_BOOL: return Cell::of_text(value.boolVal ? "TRUE" : "FALSE");
    default: break;
  }
  Variant converted;
  if (SUCCEEDED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_R8))) {
    return Cell::of_number(converted.get().dblVal);
  }
  com::check(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_BSTR), "cell value is no text");
  return Cell::of_text(com::ansi_text(converted.get().bstrVal, kMaxStoredText));
}

class ComWorksheet final : public Worksheet {
 public:
  explicit ComWorksheet(Ref<IDispatch> sheet) : sheet_(std::move(sheet)) {}
  Cell read_cell(const char* address) override {
    const Variant cell = Variant::of_text(address);
    const Ref<IDispatch> range =
        object_of(invoke(sheet_.get(), L"Range", Call::get, {&cell}), "no range");
    return cell_of(invoke(range.get(), L"Value", Call::get).get());
  }

 private:
  Ref<IDispatch> sheet_;
};

class ComWorkbook final : public Workbook {
 public:
  explicit ComWorkbook(Ref<IDispatch> book) : book_(std::move(book)) {}
  std::unique_ptr<Worksheet> worksheet(int index, const CellRange&) override {
    Ref<IDispatch> item;
    {
      const Ref<IDispatch> sheets =
          object_of(invoke(book_.get(), L"Worksheets", Call::get), "no worksheets");
      const Variant position = Variant::of_int(index);
      item = object_of(invoke(sheets.get(), L"Item", Call::get, {&position}), "no such worksheet");
    }
    Ref<IDispatch> sheet;
    com::check(item->QueryInterface(kWorksheetInterface, sheet.put_void()), "not a worksheet");
    if (!sheet.get()) com::check(E_POINTER, "not a worksheet");
    return std::make_unique<ComWorksheet>(std::move(sheet));
  }
  // Nothing was changed: a workbook whose formulas recalculated on opening
  // must not hold the hidden application in a save prompt.
  void close() override {
    const Variant save_changes = Variant::of_bool(false);
    invoke(book_.get(), L"Close", Call::method, {&save_changes});
  }

 private:
  Ref<IDispatch> book_;
};

class ComSpreadsheetApp final : public SpreadsheetApp {
 public:
  // Creates the server's application object; throws AutomationError when it
  // cannot be created or run.
  void create(const CLSID& server) {
    Ref<IUnknown> unknown;
    com::check(CoCreateInstance(server, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_IUnknown, unknown.put_void()),
               "application cannot be created");
    com::check(OleRun(unknown.get()), "application cannot be run");
    com::check(unknown->QueryInterface(IID_IDispatch, app_.put_void()), "application not scriptable");
    if (!app_.get()) com::check(E_POINTER, "application not scriptable");
  }
  void hide() override { com::put_property(app_.get(), L"Visible", Variant::of_bool(false)); }
  std::unique_ptr<Workbook> open_workbook(const char* path) override {
    const Ref<IDispatch> books = object_of(invoke(app_.get(), L"Workbooks", Call::get), "no workbooks");
    const Variant file = Variant::of_text(path);
    const Variant update_links = Variant::of_bool(true);
    return std::make_unique<ComWorkbook>(object_of(
        invoke(books.get(), L"Open", Call::method, {&file, &update_links}), "workbook not opened"));
  }
  void quit() override { invoke(app_.get(), L"Quit", Call::method); }

 private:
  Apartment apartment_;  // declared first: COM outlives every reference
  Ref<IDispatch> app_;
};

// The application registered under `prog_id`, or null when none is.
std::unique_ptr<SpreadsheetApp> start_automation_server(const wchar_t* prog_id) {
  auto app = std::make_unique<ComSpreadsheetApp>();
  CLSID server;
  if (FAILED(CLSIDFromProgID(prog_id, &server))) return nullptr;
  app->create(server);
  return app;
}

}  // namespace

std::unique_ptr<SpreadsheetApp> start_spreadsheet_app() {
  if (std::unique_ptr<SpreadsheetApp> app = start_automation_server(kProgId)) return app;
  return start_builtin_spreadsheet_app();
}

}  // namespace kestra::import
