// Owners of the automation values: a VARIANT cleared once, a BSTR freed
// once, the texts of an exception record freed once. None is copied.
#pragma once

#include <oleauto.h>

#include <string_view>
#include <utility>

namespace win {

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* Get() { return &value_; }
  const VARIANT& operator*() const { return value_; }
  // Hands the value and whatever it owns to the caller.
  VARIANT Release() {
    const VARIANT value = value_;
    VariantInit(&value_);
    return value;
  }

 private:
  VARIANT value_;
};

class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text) : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    std::swap(value_, other.value_);
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR Get() const { return value_; }
  explicit operator bool() const { return value_ != nullptr; }
  BSTR Release() { return std::exchange(value_, nullptr); }

 private:
  BSTR value_ = nullptr;
};

// The exception record an automation call may fill in, with its texts.
class ExceptionInfo {
 public:
  ExceptionInfo() = default;
  ~ExceptionInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }
  ExceptionInfo(const ExceptionInfo&) = delete;
  ExceptionInfo& operator=(const ExceptionInfo&) = delete;

  EXCEPINFO* Get() { return &info_; }
  const EXCEPINFO& operator*() const { return info_; }

 private:
  EXCEPINFO info_{};
};

}  // namespace win
