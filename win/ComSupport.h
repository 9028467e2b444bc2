// Small COM helpers: a reference holder, the module's lock count and text
// conversions between automation strings and the control's ANSI text.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

// Holds one reference to a COM interface and releases it when done.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) {  // NOLINT: adopts a reference the caller adds
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
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Hands the held reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};

// The reference counting and QueryInterface of a small heap object that has
// one interface besides IUnknown; the last Release deletes it.
template <typename Interface, const IID& kIid>
class TSingleInterface : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == kIid) {
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

// Automation string to ANSI text in the system code page, and back.
std::string BstrToAnsi(BSTR text);
BSTR AnsiToBstr(const std::string& text);
std::wstring AnsiToWide(const std::string& text);
