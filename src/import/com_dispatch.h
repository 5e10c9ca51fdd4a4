// Late-bound automation calls on Windows: owned COM references and VARIANTs,
// and IDispatch members called by name. Failures throw AutomationError.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "import/spreadsheet.h"

namespace kestra::import::com {

// One reference to a COM object, released when the owner goes.
template <class Interface>
class Ref {
 public:
  Ref() = default;
  explicit Ref(Interface* object) : object_(object) {}
  ~Ref() { reset(); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;

  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  // For calls that hand out a new reference through an out parameter.
  Interface** put() {
    reset();
    return &object_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
  }

 private:
  Interface* object_ = nullptr;
};

// A VARIANT cleared when the owner goes.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant& operator=(Variant&&) = delete;

  const VARIANT& get() const { return value_; }
  VARIANT* put() {
    VariantClear(&value_);
    return &value_;
  }

  static Variant of_bool(bool value);
  static Variant of_int(long value);
  // A BSTR converted from a text in the ANSI code page; throws std::bad_alloc
  // when the string cannot be allocated.
  static Variant of_text(const char* text);

 private:
  VARIANT value_;
};

// Throws AutomationError naming the step when `result` is a failure.
void check(HRESULT result, const char* what);

// The ANSI text of a BSTR (null is empty), at most `limit` bytes.
std::string ansi_text(BSTR text, std::size_t limit);

enum class Call : WORD { method = DISPATCH_METHOD, get = DISPATCH_PROPERTYGET };

// Calls the member `name` of `object` with `args` in their declared order
// and returns its result.
Variant invoke(IDispatch* object, const wchar_t* name, Call kind,
               std::initializer_list<const Variant*> args = {});

// Sets the property `name` of `object` to `value`.
void put_property(IDispatch* object, const wchar_t* name, const Variant& value);

// The object a call returned; E_POINTER when it returned none.
Ref<IDispatch> object_of(Variant result, const char* what);

}  // namespace kestra::import::com
