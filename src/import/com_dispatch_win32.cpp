// Late-bound automation calls: IDispatch members by name, VARIANT arguments
// and results, failures turned into AutomationError.
#include <algorithm>
#include <new>
#include <vector>

#include "import/com_dispatch.h"

namespace kestra::import::com {
namespace {

constexpr LCID kLocale = 0;  // names and values are not localised

// Releases what a failed Invoke left in its exception record.
void clear_exception(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  info = EXCEPINFO{};
}

DISPID member_id(IDispatch* object, const wchar_t* name) {
  if (!object) check(E_POINTER, "no object to call");
  DISPID id = DISPID_UNKNOWN;
  auto* names = const_cast<LPOLESTR>(name);
  check(object->GetIDsOfNames(IID_NULL, &names, 1, kLocale, &id),
        "member not known");
  return id;
}

// Calls the member with `args` in declared order; IDispatch takes them last first.
void call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT>& args,
          DISPPARAMS& params, VARIANT* result) {
  std::reverse(args.begin(), args.end());
  params.rgvarg = args.empty() ? nullptr : args.data();
  params.cArgs = static_cast<UINT>(args.size());
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  const DISPID id = member_id(object, name);
  const HRESULT status = object->Invoke(id, IID_NULL, kLocale, flags, &params, result,
                                        &exception, &bad_argument);
  if (status == DISP_E_EXCEPTION) clear_exception(exception);
  check(status, "automation call failed");
}

}  // namespace

void check(HRESULT result, const char* what) {
  if (FAILED(result)) fail(what);
}

Variant Variant::of_bool(bool value) {
  Variant v;
  v.value_.vt = VT_BOOL;
  v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Variant Variant::of_int(long value) {
  Variant v;
  v.value_.vt = VT_I4;
  v.value_.lVal = value;
  return v;
}

Variant Variant::of_text(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) fail("text cannot be converted");
  Variant v;
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
  if (!wide) throw std::bad_alloc();
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length);
  v.value_.vt = VT_BSTR;
  v.value_.bstrVal = wide;
  return v;
}

std::string ansi_text(BSTR text, std::size_t limit) {
  const int wide_length = static_cast<int>(SysStringLen(text));
  if (wide_length == 0) return {};
  const int length = WideCharToMultiByte(CP_ACP, 0, text, wide_length, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wide_length, ansi.data(), length, nullptr, nullptr);
  if (ansi.size() > limit) ansi.resize(limit);
  return ansi;
}

Variant invoke(IDispatch* object, const wchar_t* name, Call kind,
               std::initializer_list<const Variant*> args) {
  std::vector<VARIANT> values;
  for (const Variant* arg : args) values.push_back(arg->get());  // shallow: args stay owners
  DISPPARAMS params{};
  Variant result;
  call(object, name, static_cast<WORD>(kind), values, params, result.put());
  return result;
}

void put_property(IDispatch* object, const wchar_t* name, const Variant& value) {
  std::vector<VARIANT> values{value.get()};
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgdispidNamedArgs = &named;
  params.cNamedArgs = 1;
  call(object, name, DISPATCH_PROPERTYPUT, values, params, nullptr);
}

Ref<IDispatch> object_of(Variant result, const char* what) {
  const VARIANT& value = result.get();
  Ref<IDispatch> object;
  if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal) {
    value.punkVal->QueryInterface(IID_IDispatch, object.put_void());
  }
  if (!object.get()) fail(what);
  return object;
}

}  // namespace kestra::import::com
