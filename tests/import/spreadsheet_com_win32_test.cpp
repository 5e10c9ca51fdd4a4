// The range reader driving an automation server through COM: a stand-in
// application, registered under the spreadsheet ProgID for the length of a
// test, serves a few cells and records every call it receives.
#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "import/spreadsheet.h"

namespace kestra::import {
namespace {

constexpr wchar_t kProgId[] = L"Excel.Application";
constexpr wchar_t kStandInClassText[] = L"{5E0C7A41-93B2-4D1F-8C6E-2A7F4B9D1C30}";
constexpr CLSID kStandInClass = {
    0x5E0C7A41, 0x93B2, 0x4D1F, {0x8C, 0x6E, 0x2A, 0x7F, 0x4B, 0x9D, 0x1C, 0x30}};
constexpr IID kWorksheetInterface = {
    0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// One cell as the stand-in hands it over.
struct CellValue {
  VARTYPE type = VT_EMPTY;
  double number = 0;  // VT_R8, VT_DATE, VT_I4, VT_BOOL (non-zero: true), VT_CY
  const wchar_t* text = L"";
};

// What the stand-in serves and what it saw.
struct Server {
  std::string log;
  std::string fail_at;     // a call whose log entry starts with this fails
  std::string empty_at;    // a call whose log entry starts with this returns no object
  bool refuse_creation = false;
  int live = 0;            // stand-in objects not yet released
  int worksheets = 2;      // items 1 and 2 are worksheets, the next one a chart
  std::map<std::string, CellValue> cells;
};

enum class Kind { application, workbooks, workbook, sheets, worksheet, chart, range };

struct Member {
  Kind kind;
  const wchar_t* name;
  WORD flags;
};

constexpr Member kMembers[] = {
    {Kind::application, L"Visible", DISPATCH_PROPERTYPUT},
    {Kind::application, L"Workbooks", DISPATCH_PROPERTYGET},
    {Kind::application, L"Quit", DISPATCH_METHOD},
    {Kind::workbooks, L"Open", DISPATCH_METHOD},
    {Kind::workbook, L"Worksheets", DISPATCH_PROPERTYGET},
    {Kind::workbook, L"Close", DISPATCH_METHOD},
    {Kind::sheets, L"Item", DISPATCH_PROPERTYGET},
    {Kind::worksheet, L"Range", DISPATCH_PROPERTYGET},
    {Kind::range, L"Value", DISPATCH_PROPERTYGET},
};

std::string narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text);
  return out;
}

// The argument at position `index` in declared order.
const VARIANT* argument(const DISPPARAMS* params, UINT index) {
  if (!params || index >= params->cArgs) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

std::string describe(const VARIANT* arg) {
  if (!arg) return "?";
  switch (arg->vt) {
    case VT_BOOL: return arg->boolVal ? "true" : "false";
    case VT_I4: return std::to_string(arg->lVal);
    case VT_BSTR: return narrow(arg->bstrVal);
    default: return "vt" + std::to_string(arg->vt);
  }
}

// Every object of the stand-in application: one class, its members chosen by kind.
class StandIn final : public IDispatch {
 public:
  StandIn(Server& server, Kind kind, std::string address = {})
      : server_(server), kind_(kind), address_(std::move(address)) {
    ++server_.live;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        (kind_ == Kind::worksheet && iid == kWorksheetInterface)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      --server_.live;
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (count != 1) return E_INVALIDARG;
    for (DISPID id = 0; id < DISPID(std::size(kMembers)); ++id) {
      if (kMembers[id].kind == kind_ && lstrcmpW(kMembers[id].name, names[0]) == 0) {
        ids[0] = id + 1;
        return S_OK;
      }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override {
    if (id < 1 || id > DISPID(std::size(kMembers)) || kMembers[id - 1].kind != kind_) {
      return DISP_E_MEMBERNOTFOUND;
    }
    const Member& member = kMembers[id - 1];
    if (!(flags & member.flags)) return DISP_E_MEMBERNOTFOUND;
    if (member.flags == DISPATCH_PROPERTYPUT &&
        (!params || params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
      return DISP_E_PARAMNOTFOUND;
    }
    const std::string entry = log_entry(member, params);
    server_.log += entry + ' ';
    if (!server_.fail_at.empty() && entry.starts_with(server_.fail_at)) {
      if (!exception) return E_FAIL;
      *exception = EXCEPINFO{};
      exception->bstrDescription = SysAllocString(L"refused by the stand-in");
      exception->scode = E_FAIL;
      return DISP_E_EXCEPTION;
    }
    if (!server_.empty_at.empty() && entry.starts_with(server_.empty_at)) return S_OK;
    return answer(member, params, result);
  }

 private:
  std::string log_entry(const Member& member, const DISPPARAMS* params) const {
    std::string entry = narrow(member.name);
    if (member.flags == DISPATCH_PROPERTYPUT) return entry + '=' + describe(argument(params, 0));
    if (params && params->cArgs > 0) {
      entry += '(';
      for (UINT i = 0; i < params->cArgs; ++i) {
        entry += (i ? "," : "") + describe(argument(params, i));
      }
      entry += ')';
    }
    return entry;
  }

  HRESULT answer(const Member& member, const DISPPARAMS* params, VARIANT* result) {
    const std::wstring name = member.name;
    if (name == L"Workbooks") return hand_out(result, new StandIn(server_, Kind::workbooks));
    if (name == L"Open") return hand_out(result, new StandIn(server_, Kind::workbook));
    if (name == L"Worksheets") return hand_out(result, new StandIn(server_, Kind::sheets));
    if (name == L"Item") return item(argument(params, 0), result);
    if (name == L"Range") {
      const VARIANT* cell = argument(params, 0);
      if (!cell || cell->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
      return hand_out(result, new StandIn(server_, Kind::range, narrow(cell->bstrVal)));
    }
    if (name == L"Value") return value(result);
    return S_OK;  // Visible, Close, Quit
  }

  HRESULT item(const VARIANT* index, VARIANT* result) {
    if (!index || index->vt != VT_I4) return DISP_E_TYPEMISMATCH;
    if (index->lVal >= 1 && index->lVal <= server_.worksheets) {
      return hand_out(result, new StandIn(server_, Kind::worksheet));
    }
    if (index->lVal == server_.worksheets + 1) {
      return hand_out(result, new StandIn(server_, Kind::chart));
    }
    return DISP_E_BADINDEX;
  }

  HRESULT value(VARIANT* result) {
    VariantInit(result);
    const auto found = server_.cells.find(address_);
    if (found == server_.cells.end()) return S_OK;
    const CellValue& cell = found->second;
    result->vt = cell.type;
    switch (cell.type) {
      case VT_R8: result->dblVal = cell.number; break;
      case VT_DATE: result->date = cell.number; break;
      case VT_I4: result->lVal = static_cast<LONG>(cell.number); break;
      case VT_BOOL: result->boolVal = cell.number ? VARIANT_TRUE : VARIANT_FALSE; break;
      case VT_CY: result->cyVal.int64 = std::llround(cell.number * 10000); break;
      case VT_ERROR: result->scode = static_cast<SCODE>(0x800A07D7); break;  // #DIV/0!
      case VT_BSTR: result->bstrVal = SysAllocString(cell.text); break;
      default: result->punkVal = nullptr; break;  // VT_UNKNOWN: nothing to show
    }
    return S_OK;
  }

  static HRESULT hand_out(VARIANT* result, StandIn* object) {
    if (!result) {
      object->Release();
      return E_INVALIDARG;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    return S_OK;
  }

  Server& server_;
  Kind kind_;
  std::string address_;
  ULONG references_ = 1;
};

class StandInFactory final : public IClassFactory {
 public:
  explicit StandInFactory(Server& server) : server_(server) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (server_.refuse_creation) return E_OUTOFMEMORY;
    StandIn* application = new StandIn(server_, Kind::application);
    const HRESULT status = application->QueryInterface(iid, out);
    application->Release();
    return status;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  Server& server_;
};

// True when no apartment is left open on this thread.
bool com_released() {
  const HRESULT status = CoInitialize(nullptr);
  if (SUCCEEDED(status)) CoUninitialize();
  return status == S_OK;
}

bool prog_id_registered() {
  CLSID found;
  const HRESULT status = CLSIDFromProgID(kProgId, &found);
  return SUCCEEDED(status);
}

// Where a ProgID may be registered: the current user's classes, or the
// machine's where the classes root does not show the user's (Wine).
struct ClassesKey {
  HKEY root;
  const wchar_t* prog_id_key;
};
const ClassesKey kClassesKeys[] = {
    {HKEY_CURRENT_USER, L"Software\\Classes\\Excel.Application"},
    {HKEY_CLASSES_ROOT, L"Excel.Application"},
};

bool write_prog_id(const ClassesKey& where) {
  HKEY key = nullptr;
  const std::wstring clsid_key = std::wstring(where.prog_id_key) + L"\\CLSID";
  if (RegCreateKeyExW(where.root, clsid_key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool written =
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kStandInClassText),
                     sizeof kStandInClassText) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

// The stand-in registered under the ProgID, and its class object offered to
// this thread's apartment, for the scope's length.
class Registration {
 public:
  explicit Registration(Server& server) : factory_(server) {
    for (const ClassesKey& where : kClassesKeys) {
      if (!write_prog_id(where)) continue;
      written_ = &where;
      if (prog_id_registered()) break;
      remove_prog_id();
    }
    apartment_ = CoInitialize(nullptr);
    registered_ = written_ && SUCCEEDED(CoRegisterClassObject(kStandInClass, &factory_,
                                                              CLSCTX_INPROC_SERVER,
                                                              REGCLS_MULTIPLEUSE, &cookie_));
  }
  ~Registration() {
    if (registered_) CoRevokeClassObject(cookie_);
    if (SUCCEEDED(apartment_)) CoUninitialize();
    remove_prog_id();
  }
  Registration(const Registration&) = delete;
  Registration& operator=(const Registration&) = delete;

  bool registered() const { return registered_; }

 private:
  void remove_prog_id() {
    if (written_) RegDeleteTreeW(written_->root, written_->prog_id_key);
    written_ = nullptr;
  }

  StandInFactory factory_;
  const ClassesKey* written_ = nullptr;
  HRESULT apartment_ = E_FAIL;
  DWORD cookie_ = 0;
  bool registered_ = false;
};

EXCEL_TAB excel_tab(int sheet, const char* range) {
  EXCEL_TAB tab{sheet, {}};
  std::snprintf(tab.cellRange, sizeof tab.cellRange, "%s", range);
  return tab;
}

struct Read {
  int status = 0;
  std::vector<double> values;
};

// Reads through the stand-in; afterwards every object it handed out must be
// released and COM uninitialised as often as it was initialised.
Read read_through_stand_in(Server& server, const char* path, int sheet, const char* range) {
  Read read;
  TAB_GR table{0, 0, nullptr};
  {
    Registration registration(server);
    EXPECT_TRUE(registration.registered());
    read.status = read_excel_range(path, excel_tab(sheet, range), &table);
  }
  if (table.values) read.values.assign(table.values, table.values + table.rows * table.cols);
  EXPECT_EQ(table.values != nullptr, read.status == KESTRA_OK);
  FreeTabGr(&table);
  EXPECT_EQ(server.live, 0) << "stand-in objects left unreleased";
  EXPECT_TRUE(com_released()) << "COM left initialised";
  return read;
}

class AutomationReader : public testing::Test {
 protected:
  void SetUp() override {
    if (prog_id_registered()) GTEST_SKIP() << "a spreadsheet application is installed";
  }
};

TEST_F(AutomationReader, DrivesTheServerStepByStep) {
  const std::string opened = "Visible=false Workbooks Open(book.xlsx,true) Worksheets ";
  struct Case {
    int line;
    int sheet;
    const char* range;
    const char* fail_at;
    const char* empty_at;
    int status;
    std::string log;
  } cases[] = {
      {__LINE__, 2, "Y1:AB1", "", "", KESTRA_OK,
       opened + "Item(2) Range(Y1) Value Range(Z1) Value Range(AA1) Value Range(AB1) Value "
                "Close(false) Quit "},
      // A failure in the section skips the close; the application still quits.
      {__LINE__, 2, "B2:C3", "Range(C2)", "", KESTRA_WORKBOOK,
       opened + "Item(2) Range(B2) Value Range(C2) Quit "},
      {__LINE__, 2, "B2:C3", "Open", "", KESTRA_WORKBOOK,
       "Visible=false Workbooks Open(book.xlsx,true) Quit "},
      {__LINE__, 2, "B2:B2", "Close", "", KESTRA_WORKBOOK,
       opened + "Item(2) Range(B2) Value Close(false) Quit "},
      // Worksheet indices outside the workbook, and an item that is no worksheet.
      {__LINE__, 0, "B2:B2", "", "", KESTRA_WORKBOOK, opened + "Item(0) Quit "},
      {__LINE__, 3, "B2:B2", "", "", KESTRA_WORKBOOK, opened + "Item(3) Quit "},
      {__LINE__, 4, "B2:B2", "", "", KESTRA_WORKBOOK, opened + "Item(4) Quit "},
      // A call that succeeds but hands out no object.
      {__LINE__, 2, "B2:B2", "", "Workbooks", KESTRA_WORKBOOK, "Visible=false Workbooks Quit "},
      {__LINE__, 2, "B2:B2", "", "Range", KESTRA_WORKBOOK, opened + "Item(2) Range(B2) Quit "},
      // Failures around the section are reported as well.
      {__LINE__, 2, "B2:B2", "Visible", "", KESTRA_WORKBOOK, "Visible=false Quit "},
      {__LINE__, 2, "B2:B2", "Quit", "", KESTRA_WORKBOOK,
       opened + "Item(2) Range(B2) Value Close(false) Quit "},
      // A malformed range starts nothing.
      {__LINE__, 2, "B2", "", "", KESTRA_BAD_RANGE, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line);
    Server server;
    server.fail_at = c.fail_at;
    server.empty_at = c.empty_at;
    EXPECT_EQ(read_through_stand_in(server, "book.xlsx", c.sheet, c.range).status, c.status);
    EXPECT_EQ(server.log, c.log);
  }
}

TEST_F(AutomationReader, AServerThatCannotBeCreatedIsAWorkbookFailure) {
  Server server;
  server.refuse_creation = true;
  EXPECT_EQ(read_through_stand_in(server, "book.xlsx", 1, "A1:B1").status, KESTRA_WORKBOOK);
  EXPECT_EQ(server.log, "");
}

TEST_F(AutomationReader, TurnsCellValuesIntoNumbers) {
  Server server;
  server.cells = {
      {"A1", {VT_R8, 2.5}},
      {"B1", {VT_BSTR, 0, L"3,5"}},
      {"C1", {VT_BSTR, 0, L"1,234.5"}},
      {"D1", {VT_BOOL, 1}},  // "TRUE" gives 0
      {"E1", {VT_EMPTY}},
      {"F1", {VT_ERROR}},  // #DIV/0! gives 0
      {"G1", {VT_I4, 42}},
      {"H1", {VT_DATE, 45000.5}},  // the serial number the workbook stores
      {"I1", {VT_CY, 12.3456}},
      {"J1", {VT_BSTR, 0, L"12345678901234567890123"}},  // cut to 19 characters
      {"K1", {VT_BSTR, 0, L"  7e2 apples"}},
      {"L1", {VT_R8, -0.0001234567890123456}},  // taken as stored, not cut as a text
  };
  const Read read = read_through_stand_in(server, "book.xlsx", 1, "A1:L1");
  ASSERT_EQ(read.status, KESTRA_OK);
  EXPECT_EQ(read.values, (std::vector<double>{2.5, 3.5, 1.234, 0, 0, 0, 42, 45000.5, 12.3456,
                                              1234567890123456789.0, 700, -0.0001234567890123456}));
}

TEST_F(AutomationReader, AValueThatIsNoTextIsAWorkbookFailure) {
  Server server;
  server.cells = {{"A1", {VT_R8, 1}}, {"B1", {VT_UNKNOWN}}};
  EXPECT_EQ(read_through_stand_in(server, "book.xlsx", 1, "A1:C1").status, KESTRA_WORKBOOK);
  EXPECT_EQ(server.log,
            "Visible=false Workbooks Open(book.xlsx,true) Worksheets Item(1) Range(A1) Value "
            "Range(B1) Value Quit ");
}

// A host thread in the multithreaded apartment keeps it: the reader works
// there and leaves COM initialised as the host set it up.
TEST_F(AutomationReader, KeepsTheHostThreadsApartment) {
  Server server;
  server.cells = {{"A1", {VT_R8, 4}}};
  int status = -1;
  HRESULT after = E_FAIL;
  std::thread host([&] {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
    {
      Registration registration(server);
      TAB_GR table{0, 0, nullptr};
      status = read_excel_range("book.xlsx", excel_tab(1, "A1:A1"), &table);
      FreeTabGr(&table);
    }
    after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE: still initialised
    if (SUCCEEDED(after)) CoUninitialize();
    CoUninitialize();
  });
  host.join();
  EXPECT_EQ(status, KESTRA_OK);
  EXPECT_EQ(after, S_FALSE);
  EXPECT_EQ(server.live, 0);
  EXPECT_EQ(server.log,
            "Visible=false Workbooks Open(book.xlsx,true) Worksheets Item(1) Range(A1) Value "
            "Close(false) Quit ");
}

// A bitmap's pixels at 32 bits per pixel; the bitmap is deleted.
std::vector<std::uint32_t> take_pixels(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return rows == height ? pixels : std::vector<std::uint32_t>{};
}

// The export reads the served cells and draws them as CreateDiag draws them.
TEST_F(AutomationReader, DiagramOfTheServedCells) {
  Server server;
  server.cells = {{"B2", {VT_R8, 3}}, {"C2", {VT_BSTR, 0, L"7,5"}}, {"D2", {VT_I4, 5}}};
  GRAPH_ELEM element = ReturnGraphElem(RGB(200, 0, 0), 1, const_cast<char*>("Served"));
  char labels[] = "a\0b\0c";
  const DIAG_DISP disp =
      ReturnDiagDisp({0, 0, 200, 120}, RGB(255, 255, 255), RGB(0, 0, 255), RGB(0, 128, 0), 4,
                     RGB(0, 0, 0), 12, RGB(255, 255, 0), 10, const_cast<char*>("x"),
                     const_cast<char*>("y"), labels, sizeof labels, 1, &element, 1, 0x3FF);
  HBITMAP served = nullptr;
  {
    Registration registration(server);
    ASSERT_TRUE(registration.registered());
    ASSERT_EQ(CreateDiagXLS(const_cast<char*>("book.xlsx"), excel_tab(1, "B2:D2"), disp, &served, 1,
                            KESTRA_KIND_BARS),
              KESTRA_OK);
  }
  EXPECT_EQ(server.live, 0);
  double values[] = {3, 7.5, 5};
  HBITMAP direct = nullptr;
  ASSERT_EQ(CreateDiag(TAB_GR{1, 3, values}, disp, &direct, 1, KESTRA_KIND_BARS), KESTRA_OK);
  const auto expected = take_pixels(direct, 200, 120);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(take_pixels(served, 200, 120), expected);
}

// Without a server under the ProgID the built-in reader opens the file.
TEST_F(AutomationReader, WithoutAServerTheBuiltInReaderServes) {
  char folder[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string path = std::string(folder) + "kestra-com-fallback.csv";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("1,2\n3,4\n", file);
  std::fclose(file);
  TAB_GR table{0, 0, nullptr};
  EXPECT_EQ(read_excel_range(path.c_str(), excel_tab(1, "A1:B2"), &table), KESTRA_OK);
  if (table.values) {
    EXPECT_EQ(std::vector<double>(table.values, table.values + 4), (std::vector<double>{1, 2, 3, 4}));
  }
  FreeTabGr(&table);
  DeleteFileA(path.c_str());
  EXPECT_TRUE(com_released());
}

}  // namespace
}  // namespace kestra::import
