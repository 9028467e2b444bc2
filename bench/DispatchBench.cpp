// Cost of reaching the control through COM, side by side with a peer control
// of the system: Wine's (or Windows') script control, "MSScriptControl.ScriptControl",
// whose dual interface is also dispatched through its type information.
//
// For each of the two it times one property get
//   - late-bound through IDispatch::Invoke by DISPID,
//   - late-bound by name: GetIDsOfNames, then Invoke,
//   - early-bound through the dual interface's function table,
// and one CoCreateInstance + Release of a new instance. Our property is
// Volume (DISPID 11, ILumivox::get_Volume), the peer's is Timeout
// (IScriptControl::get_Timeout). The peer's interface has no header here: its
// early-bound get calls the function-table slot that the peer's own type
// information gives for get_Timeout, on the interface asked for by its IID,
// which is what a compiled client of its header does. For ours the slot of
// get_Volume in OrvexTypeLib.h is checked against our type information.
//
// Usage: orvex_dispatch_bench [batches]   (Orvex.OCX must be registered)
// Each time is the median over the batches of (batch time / calls in the
// batch), measured with QueryPerformanceCounter after a warm-up; the batches
// of ours and the peer alternate.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "win/ComSupport.h"
#include "control/OrvexTypeLib.h"

namespace {

// {0E59F1D3-1FBE-11D0-8FF2-00A0D10038BC}
constexpr GUID IID_IScriptControl = {
    0x0E59F1D3, 0x1FBE, 0x11D0, {0x8F, 0xF2, 0x00, 0xA0, 0xD1, 0x00, 0x38, 0xBC}};

// A property get as it sits in a function table.
using LongGetter = HRESULT(STDMETHODCALLTYPE*)(IUnknown* self, LONG* value);

// ILumivox::get_Volume's function-table slot (IUnknown's three and
// IDispatch's four come first).
constexpr long kVolumeGetSlot = 7 + 17;

struct Subject {
  const wchar_t* progId;
  const wchar_t* property;
  DISPID dispid = DISPID_UNKNOWN;
  CLSID clsid{};
  ComPtr<IDispatch> dispatch;
  ComPtr<IUnknown> early;  // the dual interface asked for by its IID
  long earlyOffset = -1;      // the getter's function-table offset, from the type information
  std::function<HRESULT()> earlyGet;
};

[[noreturn]] void Fail(const char* what, HRESULT hr) {
  std::printf("dispatch bench: %s failed: 0x%08lX\n", what, static_cast<unsigned long>(hr));
  std::exit(1);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

HRESULT InvokeGet(IDispatch* dispatch, DISPID id) {
  DISPPARAMS none{};
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                      &none, &result, nullptr, nullptr);
  VariantClear(&result);
  return hr;
}

HRESULT LookUpAndGet(IDispatch* dispatch, const wchar_t* name) {
  LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return FAILED(hr) ? hr : InvokeGet(dispatch, id);
}

HRESULT CreateAndRelease(const CLSID& clsid) {
  ComPtr<IUnknown> object;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(object.Put()));
}

// The function-table offset that the object's own type information gives for
// the property get with this DISPID, or -1.
long TypeInfoGetOffset(IDispatch* dispatch, DISPID id) {
  ComPtr<ITypeInfo> info;
  if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put())) || !info) return -1;
  // A dual interface's dispatch half names its function-table half as -1.
  HREFTYPE ref = 0;
  ComPtr<ITypeInfo> table;
  if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref)) &&
      SUCCEEDED(info->GetRefTypeInfo(ref, table.Put())) && table) {
    info = table;
  }
  long offset = -1;
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(info->GetTypeAttr(&attr))) {
    for (UINT i = 0; i < attr->cFuncs && offset < 0; ++i) {
      FUNCDESC* func = nullptr;
      if (FAILED(info->GetFuncDesc(i, &func))) continue;
      if (func->memid == id && func->invkind == INVOKE_PROPERTYGET) offset = func->oVft;
      info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
  }
  return offset;
}

// Creates the subject, finds its DISPID and its dual interface, and makes one
// call of each kind. expectedSlot: the getter's slot as a header declares it,
// or -1 when there is no header to hold the type information against.
void Open(Subject& subject, const IID& earlyIid, long expectedSlot) {
  const std::string name = WideToAnsi(subject.progId);
  HRESULT hr = CLSIDFromProgID(subject.progId, &subject.clsid);
  if (FAILED(hr)) Fail((name + " CLSIDFromProgID").c_str(), hr);
  hr = CoCreateInstance(subject.clsid, nullptr, CLSCTX_INPROC_SERVER,
                        IID_PPV_ARGS(subject.dispatch.Put()));
  if (FAILED(hr)) Fail((name + " CoCreateInstance").c_str(), hr);
  LPOLESTR names[1] = {const_cast<LPOLESTR>(subject.property)};
  hr = subject.dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &subject.dispid);
  if (FAILED(hr)) Fail((name + " GetIDsOfNames").c_str(), hr);
  hr = InvokeGet(subject.dispatch.Get(), subject.dispid);
  if (FAILED(hr)) Fail((name + " Invoke").c_str(), hr);
  hr = QueryIid(subject.dispatch.Get(), earlyIid, &subject.early);
  if (FAILED(hr)) Fail((name + " QueryInterface for its dual interface").c_str(), hr);
  subject.earlyOffset = TypeInfoGetOffset(subject.dispatch.Get(), subject.dispid);
  if (subject.earlyOffset < 0 ||
      (expectedSlot >= 0 && subject.earlyOffset != expectedSlot * long{sizeof(void*)})) {
    std::printf("dispatch bench: %s: type information puts the getter at offset %ld, "
                "expected %ld\n",
                name.c_str(), subject.earlyOffset, expectedSlot * long{sizeof(void*)});
    std::exit(1);
  }
  hr = subject.earlyGet();
  if (FAILED(hr)) Fail((name + " early-bound get").c_str(), hr);
}

// Times calls in batches, one batch lasting about 25 ms.
class TBatchTimer {
 public:
  explicit TBatchTimer(std::function<HRESULT()> call) : call_(std::move(call)) {
    QueryPerformanceFrequency(&frequency_);
    Seconds(50);  // warm-up
    while (calls_ < (1L << 24)) {
      const double taken = Seconds(calls_);
      if (taken >= 0.025) break;
      calls_ = taken < 0.0025 ? calls_ * 10 : std::max(calls_ + 1, long(calls_ * 0.03 / taken));
    }
  }
  // Microseconds per call in one batch.
  double Batch() { return Seconds(calls_) * 1e6 / double(calls_); }

 private:
  double Seconds(long calls) {
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    for (long i = 0; i < calls; ++i) call_();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - begin.QuadPart) / double(frequency_.QuadPart);
  }

  std::function<HRESULT()> call_;
  LARGE_INTEGER frequency_{};
  long calls_ = 1;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Median microseconds per call for ours and the peer. Their batches
// alternate, so a change in the machine's load falls on both alike.
std::pair<double, double> MeasureSideBySide(const std::function<HRESULT()>& ours,
                                            const std::function<HRESULT()>& peer, int batches) {
  TBatchTimer oursTimer(ours);
  TBatchTimer peerTimer(peer);
  std::vector<double> oursTimes, peerTimes;
  for (int i = 0; i < batches; ++i) {
    PumpMessages();
    oursTimes.push_back(oursTimer.Batch());
    PumpMessages();
    peerTimes.push_back(peerTimer.Batch());
  }
  return {Median(oursTimes), Median(peerTimes)};
}

}  // namespace

int main(int argc, char** argv) {
  const int batches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  if (FAILED(OleInitialize(nullptr))) return 1;

  Subject ours{L"Orvex.Lumivox", L"Volume"};
  ours.earlyGet = [&ours] {
    LONG value = 0;
    return static_cast<ILumivox*>(ours.early.Get())->get_Volume(&value);
  };
  Open(ours, IID_ILumivox, kVolumeGetSlot);
  if (ours.dispid != LumivoxDispid::Volume) {
    std::printf("dispatch bench: Volume has DISPID %ld, expected %d\n",
                static_cast<long>(ours.dispid), int{LumivoxDispid::Volume});
    return 1;
  }

  Subject peer{L"MSScriptControl.ScriptControl", L"Timeout"};
  peer.earlyGet = [&peer] {
    LONG value = 0;
    void** table = *reinterpret_cast<void***>(peer.early.Get());
    auto get = reinterpret_cast<LongGetter>(table[peer.earlyOffset / long{sizeof(void*)}]);
    return get(peer.early.Get(), &value);
  };
  Open(peer, IID_IScriptControl, -1);

  struct Operation {
    const char* name;
    std::function<HRESULT(Subject&)> call;
  };
  const Operation operations[] = {
      {"Invoke by DISPID (property get)",
       [](Subject& s) { return InvokeGet(s.dispatch.Get(), s.dispid); }},
      {"GetIDsOfNames + Invoke",
       [](Subject& s) { return LookUpAndGet(s.dispatch.Get(), s.property); }},
      {"early-bound vtable get", [](Subject& s) { return s.earlyGet(); }},
      {"CoCreateInstance + Release (one alive)",
       [](Subject& s) { return CreateAndRelease(s.clsid); }},
  };

  std::printf("dispatch bench: ours %s.%s (DISPID %ld), peer %s.%s (DISPID %ld); "
              "median of %d batches\n",
              WideToAnsi(ours.progId).c_str(), WideToAnsi(ours.property).c_str(),
              static_cast<long>(ours.dispid), WideToAnsi(peer.progId).c_str(),
              WideToAnsi(peer.property).c_str(), static_cast<long>(peer.dispid), batches);
  std::printf("%-40s %12s %12s %10s\n", "operation", "ours (us)", "peer (us)", "ours/peer");
  double logRatios = 0;
  for (const Operation& operation : operations) {
    const auto [oursTime, peerTime] = MeasureSideBySide(
        [&] { return operation.call(ours); }, [&] { return operation.call(peer); }, batches);
    const double ratio = oursTime / peerTime;
    logRatios += std::log(ratio);
    std::printf("%-40s %12.3f %12.3f %10.2f\n", operation.name, oursTime, peerTime, ratio);
    std::fflush(stdout);
  }
  // A client that creates, uses and releases the control with no other
  // instance alive: nothing of an earlier instance keeps shared state warm.
  for (Subject* subject : {&ours, &peer}) {
    subject->early.Reset();
    subject->dispatch.Reset();
  }
  const auto [oursAlone, peerAlone] =
      MeasureSideBySide([&] { return CreateAndRelease(ours.clsid); },
                        [&] { return CreateAndRelease(peer.clsid); }, batches);
  logRatios += std::log(oursAlone / peerAlone);
  std::printf("%-40s %12.3f %12.3f %10.2f\n", "CoCreateInstance + Release (none alive)",
              oursAlone, peerAlone, oursAlone / peerAlone);
  const size_t count = std::size(operations) + 1;
  std::printf("overall: ours/peer geometric mean %.2f over %zu operations "
              "(peer early-bound through IScriptControl's function-table slot %ld "
              "from its type information)\n",
              std::exp(logRatios / count), count, peer.earlyOffset / long{sizeof(void*)});
  OleUninitialize();
  return 0;
}
