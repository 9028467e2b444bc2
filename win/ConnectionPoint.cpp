#include "win/ConnectionPoint.h"

#include <vector>

#include "win/ComSupport.h"

namespace {

// Enumerators hold their own snapshot with references, so a sink that
// unadvises during the enumeration cannot pull it from under the caller.
template <typename Enum, typename Item>
class TSnapshotEnum final : public TSingleInterface<Enum> {
 public:
  TSnapshotEnum(std::vector<Item> items, std::size_t position = 0)
      : items_(std::move(items)), position_(position) {
    for (Item& item : items_) AddRefItem(item);
  }
  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < items_.size(); ++n, ++position_) {
      out[n] = items_[position_];
      AddRefItem(out[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    position_ += count;
    if (position_ > items_.size()) {
      position_ = items_.size();
      return S_FALSE;
    }
    return S_OK;
  }
  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Enum** result) override {
    if (!result) return E_POINTER;
    *result = new TSnapshotEnum(items_, position_);
    return S_OK;
  }

 private:
  ~TSnapshotEnum() {
    for (Item& item : items_) ReleaseItem(item);
  }
  static void AddRefItem(CONNECTDATA& c) {
    if (c.pUnk) c.pUnk->AddRef();
  }
  static void ReleaseItem(CONNECTDATA& c) {
    if (c.pUnk) c.pUnk->Release();
  }
  static void AddRefItem(IConnectionPoint* p) { p->AddRef(); }
  static void ReleaseItem(IConnectionPoint* p) { p->Release(); }

  std::vector<Item> items_;
  std::size_t position_;
};

using TConnectionEnum = TSnapshotEnum<IEnumConnections, CONNECTDATA>;
using TPointEnum = TSnapshotEnum<IEnumConnectionPoints, IConnectionPoint*>;

}  // namespace

HRESULT CreateConnectionEnumerator(const std::map<DWORD, ComPtr<IUnknown>>& sinks,
                                   IEnumConnections** result) {
  std::vector<CONNECTDATA> items;
  for (const auto& [cookie, sink] : sinks) items.push_back(CONNECTDATA{sink.Get(), cookie});
  *result = new TConnectionEnum(std::move(items));
  return S_OK;
}

HRESULT CreateConnectionPointEnumerator(IConnectionPoint* const* points, ULONG count,
                                        IEnumConnectionPoints** result) {
  *result = new TPointEnum(std::vector<IConnectionPoint*>(points, points + count));
  return S_OK;
}

STDMETHODIMP TConnectionPoint::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TConnectionPoint::AddRef() { return container_->AddRef(); }

STDMETHODIMP_(ULONG) TConnectionPoint::Release() { return container_->Release(); }

STDMETHODIMP TConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP TConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** result) {
  if (!result) return E_POINTER;
  *result = container_;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP TConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  // The interface is the point's, known only at run time.
  ComPtr<IUnknown> held;
  if (FAILED(QueryIid(sink, iid_, &held)) || !held) return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_[*cookie] = std::move(held);
  return S_OK;
}

STDMETHODIMP TConnectionPoint::Unadvise(DWORD cookie) {
  const auto it = sinks_.find(cookie);
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  // Released after it has left the map: the sink may call back while it goes.
  const ComPtr<IUnknown> sink = std::move(it->second);
  sinks_.erase(it);
  return S_OK;
}

STDMETHODIMP TConnectionPoint::EnumConnections(IEnumConnections** result) {
  if (!result) return E_POINTER;
  return CreateConnectionEnumerator(sinks_, result);
}
