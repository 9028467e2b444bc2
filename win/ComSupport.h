// Small COM helpers: the holders of interface references and automation
// strings, the module's lock count, and automation strings to and from the
// control's ANSI text.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

#include "win/TextConversion.h"

template <typename T>
class ComPtr;

// The object's interface U (keyed on U's identifier), or null when the object
// is null or does not answer for U.
template <typename U, typename From>
ComPtr<U> QueryAs(From* object);
// The same into out, with the object's answer (E_POINTER for no object).
template <typename U, typename From>
HRESULT QueryAs(From* object, ComPtr<U>* out);

// Holds one reference to a COM interface and releases it when done.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Adds a reference of its own; the caller keeps the one it has (Adopt
  // takes over a reference instead).
  ComPtr(T* p) : p_(p) {  // NOLINT: converts like the raw pointer it holds
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** Put() {
    Reset();
    return &p_;
  }
  // For creation calls that take the identifier and an untyped slot apart
  // (where the two stand together, IID_PPV_ARGS(x.Put()) says it shorter).
  static const IID& Iid() { return __uuidof(T); }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Hands the held reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  // The held object's interface U, or null when it does not answer for U.
  template <typename U>
  ComPtr<U> As() const {
    return QueryAs<U>(p_);
  }
  // The same into out, with the object's answer.
  template <typename U>
  HRESULT As(ComPtr<U>* out) const {
    return QueryAs(p_, out);
  }
  // Takes over a reference the caller owns (one handed out in a structure).
  static ComPtr Adopt(T* p) {
    ComPtr held;
    held.p_ = p;
    return held;
  }

 private:
  T* p_ = nullptr;
};

template <typename U, typename From>
HRESULT QueryAs(From* object, ComPtr<U>* out) {
  if (!object) {
    out->Reset();
    return E_POINTER;
  }
  return object->QueryInterface(out->Iid(), out->PutVoid());
}

template <typename U, typename From>
ComPtr<U> QueryAs(From* object) {
  ComPtr<U> result;
  QueryAs(object, &result);
  return result;
}

// The object's interface iid, known only at run time, held as its IUnknown.
inline HRESULT QueryIid(IUnknown* object, REFIID iid, ComPtr<IUnknown>* out) {
  void* face = nullptr;
  const HRESULT hr = object->QueryInterface(iid, &face);
  *out = ComPtr<IUnknown>::Adopt(static_cast<IUnknown*>(face));
  return hr;
}

// Holds one automation string and frees it when done; moves, never copies.
class TBstr {
 public:
  TBstr() = default;
  // A copy of the text, embedded NULs included.
  explicit TBstr(std::wstring_view text)
      : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  TBstr(TBstr&& other) noexcept : s_(other.Detach()) {}
  TBstr& operator=(TBstr&& other) noexcept {
    if (this != &other) {
      SysFreeString(s_);
      s_ = other.Detach();
    }
    return *this;
  }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  ~TBstr() { SysFreeString(s_); }

  // Takes over a string the caller owns (one handed out in a structure).
  static TBstr Adopt(BSTR s) {
    TBstr held;
    held.s_ = s;
    return held;
  }
  BSTR Get() const { return s_; }
  // For out-parameters: frees what is held and hands out the slot.
  BSTR* Put() {
    SysFreeString(std::exchange(s_, nullptr));
    return &s_;
  }
  // Hands the string to the caller, who frees it from now on.
  BSTR Detach() { return std::exchange(s_, nullptr); }
  std::wstring Text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

// The reference counting and QueryInterface of a small heap object that has
// one interface besides IUnknown; the last Release deletes it.
template <typename Interface>
class TSingleInterface : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }

 protected:
  virtual ~TSingleInterface() = default;

 private:
  LONG refs_ = 1;
};

// Live objects plus outstanding class-factory locks; the module may unload at 0.
void ModuleLock();
void ModuleUnlock();
LONG ModuleLockCount();

// Automation string to ANSI text in the system code page, and back (the
// caller frees the string).
std::string BstrToAnsi(BSTR text);
BSTR AnsiToBstr(const std::string& text);
// The automation string's own text, and back, with nothing lost.
inline std::wstring BstrText(BSTR text) {
  return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}
inline BSTR TextToBstr(const std::wstring& text) { return TBstr(text).Detach(); }
