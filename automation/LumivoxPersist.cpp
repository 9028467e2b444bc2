// TLumivoxImpl persistence: the surface's state as a component stream, in a
// host's stream or in the "Contents" stream of a host's storage.
#include <algorithm>
#include <cstdio>

#include "win/GdiHandles.h"
#include "win/GdiValues.h"
#include "win/TextConversion.h"
#include "control/LumivoxImpl.h"
#include "automation/ComponentStream.h"
#include "automation/ErrorReport.h"
#include "automation/FontLink.h"

namespace {

constexpr ULONG kChunk = 4096;
const wchar_t kContents[] = L"Contents";

// A host stream's own failure, in the system's words where it has some.
[[noreturn]] void StreamFailed(HRESULT hr) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message;
  if (length && text) {
    message.assign(text, length);
    while (!message.empty() && static_cast<unsigned char>(message.back()) <= ' ') {
      message.pop_back();
    }
  }
  if (text) LocalFree(text);
  if (message.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof(fallback), "OLE error %.8lX", static_cast<unsigned long>(hr));
    message = fallback;
  }
  throw EStreamError(message);
}

std::string ToAnsi(const std::u16string& text) {
  return WideToAnsi({reinterpret_cast<const wchar_t*>(text.data()), text.size()});
}

std::u16string FromAnsi(const std::string& text) {
  const std::wstring wide = AnsiToWide(text);
  return std::u16string(wide.begin(), wide.end());
}

// Height in pixels of a line of text in the font, on the screen.
int32_t TextHeightOf(const TFontState& font) {
  const LOGFONTW logFont = LogFontOf(font);
  const TGdiObject<HFONT> handle(CreateFontIndirectW(&logFont));
  const TWindowDC screen;
  const TGdiSelection selected(screen.Get(), handle.Get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

}  // namespace

TSurfaceRecord TLumivoxImpl::SurfaceRecord() const {
  const TLumivox& c = *control_;
  const RECT bounds = c.SurfaceBounds();
  const TFontState& font = c.Font();
  TSurfaceRecord r;
  r.name = c.SurfaceName();
  r.left = bounds.left;
  r.top = bounds.top;
  r.width = bounds.right - bounds.left;
  r.height = bounds.bottom - bounds.top;
  r.caption = c.Caption();
  r.color = c.Color();
  r.font = font;
  r.fontName = ToAnsi(font.name);
  r.pixelsPerInch = ScreenPixelsPerInch();
  r.textHeight = TextHeightOf(font);
  return r;
}

void TLumivoxImpl::ApplySurfaceRecord(const TSurfaceRecord& r) {
  TLumivox& c = *control_;
  c.SetSurfaceName(r.name);
  c.SetSurfaceBounds(RECT{r.left, r.top, r.left + r.width, r.top + r.height});
  c.SetCaption(r.caption);
  c.SetColor(r.color);
  TFontState font;
  static_cast<TFontStyle&>(font) = r.font;
  font.name = FromAnsi(r.fontName);
  c.SetFont(font);
  fontLink_->Push(font);  // a font object handed out earlier follows
}

void TLumivoxImpl::SaveSurfaceTo(IStream* stream) const {
  const std::vector<uint8_t> bytes = SaveSurface(SurfaceRecord());
  for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
    const ULONG n = static_cast<ULONG>(std::min<std::size_t>(kChunk, bytes.size() - at));
    ULONG written = 0;
    const HRESULT hr = stream->Write(bytes.data() + at, n, &written);
    if (FAILED(hr)) StreamFailed(hr);
    if (written < n) throw EStreamError("Stream write error");
  }
}

void TLumivoxImpl::LoadSurfaceFrom(IStream* stream) {
  TStreamReader reader(
      [stream](uint8_t* buffer, std::size_t size) -> std::size_t {
        ULONG read = 0;
        const HRESULT hr = stream->Read(buffer, static_cast<ULONG>(size), &read);
        if (FAILED(hr)) StreamFailed(hr);
        return read;
      },
      kChunk);
  TSurfaceRecord record = SurfaceRecord();
  // Whatever happens, what was read is applied and the host's stream is put
  // back right after the control's data, so the host's next reader starts
  // where it should. A stream that cannot be put back fails the load: the
  // host would otherwise read on from the wrong place.
  auto finish = [&]() -> HRESULT {
    ApplySurfaceRecord(record);
    const std::size_t unused = reader.Unused();
    if (!unused) return S_OK;
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(unused);
    return stream->Seek(back, STREAM_SEEK_CUR, nullptr);
  };
  try {
    LoadSurface(reader, record);
  } catch (...) {
    finish();  // the load's own failure is the one to report
    throw;
  }
  const HRESULT sought = finish();
  if (FAILED(sought)) StreamFailed(sought);
}

// --- dirty state ----------------------------------------------------------------

void TLumivoxImpl::MarkDirty() {
  dirty_ = true;
  storageSave_ = TStorageSave::kNone;  // a storage save before this change is out of date
}

void TLumivoxImpl::MarkClean() {
  dirty_ = false;
  storageSave_ = TStorageSave::kNone;
}

// --- IPersistStreamInit -------------------------------------------------------

STDMETHODIMP TLumivoxImpl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP TLumivoxImpl::InitNew() {
  MarkClean();
  return S_OK;
}

// A failed load keeps the dirty state: the host's copy is still the one to keep.
STDMETHODIMP TLumivoxImpl::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  const HRESULT hr = Guarded(GUID_NULL, [&] { LoadSurfaceFrom(stream); });
  if (SUCCEEDED(hr)) MarkClean();
  return hr;
}

STDMETHODIMP TLumivoxImpl::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream) return E_POINTER;
  const HRESULT hr = Guarded(GUID_NULL, [&] { SaveSurfaceTo(stream); });
  if (SUCCEEDED(hr) && clearDirty) MarkClean();
  return hr;
}

STDMETHODIMP TLumivoxImpl::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

// --- IPersistStorage --------------------------------------------------------------

STDMETHODIMP TLumivoxImpl::InitNew(IStorage*) {
  MarkClean();
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::Load(IStorage* storage) {
  if (!storage) return E_POINTER;
  const HRESULT hr = Guarded(GUID_NULL, [&] {
    ComPtr<IStream> stream;
    const HRESULT opened =
        storage->OpenStream(kContents, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
    if (FAILED(opened)) StreamFailed(opened);
    LoadSurfaceFrom(stream.Get());
  });
  if (SUCCEEDED(hr)) MarkClean();
  return hr;
}

STDMETHODIMP TLumivoxImpl::Save(IStorage* storage, BOOL sameAsLoad) {
  if (!storage) return E_POINTER;
  const HRESULT hr = Guarded(GUID_NULL, [&] {
    ComPtr<IStream> stream;
    const HRESULT created = storage->CreateStream(
        kContents, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put());
    if (FAILED(created)) StreamFailed(created);
    SaveSurfaceTo(stream.Get());
  });
  if (SUCCEEDED(hr)) storageSave_ = sameAsLoad ? TStorageSave::kCurrent : TStorageSave::kOther;
  return hr;
}

// The saved storage becomes the object's own when it was the current one or
// the host hands it over now; a copy saved elsewhere (Save As a copy) leaves
// the object dirty.
STDMETHODIMP TLumivoxImpl::SaveCompleted(IStorage* newStorage) {
  if (storageSave_ == TStorageSave::kCurrent ||
      (storageSave_ == TStorageSave::kOther && newStorage)) {
    MarkClean();
  }
  storageSave_ = TStorageSave::kNone;
  return S_OK;
}

STDMETHODIMP TLumivoxImpl::HandsOffStorage() { return S_OK; }
