// Small owners for COM resources: an interface pointer, a BSTR and a VARIANT.
// Each is move-only and gives its resource back when it goes away.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "forms/errors.h"

// Owns one reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already holds.
  static ComPtr Adopt(T* ptr) noexcept {
    ComPtr result;
    result.ptr_ = ptr;
    return result;
  }

  T* Get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }

  // Releases the reference held and gives the slot to a function that returns
  // a new reference through a T** argument.
  T** Put() noexcept {
    Reset();
    return &ptr_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

  void Reset() noexcept {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }

  // Asks the object for another of its interfaces.
  template <typename U>
  HRESULT As(const IID& iid, ComPtr<U>* out) const noexcept {
    if (ptr_ == nullptr) return E_POINTER;
    return ptr_->QueryInterface(iid, out->PutVoid());
  }

 private:
  T* ptr_ = nullptr;
};

// Owns a BSTR.
class Bstr {
 public:
  // Throws EOleSysError(E_OUTOFMEMORY) when the string cannot be allocated.
  explicit Bstr(const std::wstring& text)
      : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (bstr_ == nullptr) throw EOleSysError(E_OUTOFMEMORY);
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(bstr_);
      bstr_ = std::exchange(other.bstr_, nullptr);
    }
    return *this;
  }
  ~Bstr() { SysFreeString(bstr_); }

  BSTR Get() const noexcept { return bstr_; }

 private:
  BSTR bstr_;
};

// Owns a VARIANT and clears it at the end.
class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.value_;
      VariantInit(&other.value_);
    }
    return *this;
  }
  ~Variant() { VariantClear(&value_); }

  // The value COM uses for an optional argument the caller leaves out.
  static Variant Missing() noexcept {
    Variant v;
    v.value_.vt = VT_ERROR;
    v.value_.scode = DISP_E_PARAMNOTFOUND;
    return v;
  }
  static Variant Bool(bool value) noexcept {
    Variant v;
    v.value_.vt = VT_BOOL;
    v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
  }

  VARIANT* Get() noexcept { return &value_; }
  const VARIANT* Get() const noexcept { return &value_; }

 private:
  VARIANT value_;
};
