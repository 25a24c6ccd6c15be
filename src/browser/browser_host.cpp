#include "browser/browser_host.h"

#include <cstring>

namespace {

// The Silent property of the WebBrowser control.
constexpr DISPID kDispidSilent = 551;

constexpr size_t kControlDataSize = 156;

// {0057D0E0-3573-11CF-AE69-08002B2E1262}: names the settings block of the control's state.
constexpr GUID kSettingsGuid = {
    0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}};
// CLSID_ShellLink, which opens every shell link header.
constexpr GUID kShellLinkClsid = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void Put32(std::vector<uint8_t>& data, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) data[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(std::vector<uint8_t>& data, size_t offset, uint16_t value) {
  data[offset] = static_cast<uint8_t>(value);
  data[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// A GUID as it lies in memory on Windows: the first three fields little-endian.
void PutGuid(std::vector<uint8_t>& data, size_t offset, const GUID& guid) {
  Put32(data, offset, guid.Data1);
  Put16(data, offset + 4, guid.Data2);
  Put16(data, offset + 6, guid.Data3);
  std::memcpy(&data[offset + 8], guid.Data4, 8);
}

// An IStream that reads `bytes` from the start.
ComPtr<IStream> StreamOver(const std::vector<uint8_t>& bytes) {
  ComPtr<IStream> stream;
  OleCheck(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
  if (!bytes.empty()) {
    ULONG written = 0;
    OleCheck(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written));
    if (written != bytes.size()) throw EOleSysError(STG_E_MEDIUMFULL);
  }
  LARGE_INTEGER start{};
  OleCheck(stream->Seek(start, STREAM_SEEK_SET, nullptr));
  return stream;
}

}  // namespace

std::vector<uint8_t> MakeBrowserControlData(int32_t width_himetric, int32_t height_himetric) {
  std::vector<uint8_t> data(kControlDataSize, 0);
  Put32(data, 0, 76);
  Put32(data, 4, static_cast<uint32_t>(width_himetric));
  Put32(data, 8, static_cast<uint32_t>(height_himetric));
  // The settings block, bytes 12-75.
  Put32(data, 36, 76);
  Put32(data, 48, 1);
  PutGuid(data, 52, kSettingsGuid);
  Put32(data, 68, 8);
  // The shell link header, bytes 76-151: no target, Unicode strings, shown normally.
  Put32(data, 76, 76);  // header size
  PutGuid(data, 80, kShellLinkClsid);
  Put32(data, 96, 0x80);  // link flags: IsUnicode
  Put32(data, 136, 1);    // SW_SHOWNORMAL
  return data;
}

BrowserHost::BrowserHost(HWND parent, const RECT& bounds,
                         const std::vector<uint8_t>& control_data)
    : site_(ComPtr<BrowserSite>::Adopt(new BrowserSite(parent, bounds))) {
  try {
    OleCheck(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              object_.PutVoid()));
    IOleClientSite* client_site = static_cast<IOleClientSite*>(site_.Get());
    OleCheck(object_->SetClientSite(client_site));
    site_set_ = true;

    ComPtr<IPersistStreamInit> persist;
    OleCheck(object_.As(IID_IPersistStreamInit, &persist));
    OleCheck(persist->Load(StreamOver(control_data).Get()));

    activation_tried_ = true;
    RECT position = bounds;
    OleCheck(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client_site, 0, parent, &position));
    OleCheck(object_.As(IID_IOleInPlaceObject, &in_place_));
    OleCheck(in_place_->GetWindow(&window_));
    if (window_ == nullptr) throw EOleSysError(E_UNEXPECTED);
    OleCheck(object_.As(IID_IOleInPlaceActiveObject, &active_));
    OleCheck(object_.As(IID_IWebBrowser2, &browser_));
  } catch (...) {
    Teardown();
    throw;
  }
}

BrowserHost::~BrowserHost() { Teardown(); }

void BrowserHost::Teardown() noexcept {
  browser_.Reset();
  active_.Reset();
  if (activation_tried_ && object_) {
    if (!in_place_) object_.As(IID_IOleInPlaceObject, &in_place_);
    if (in_place_) in_place_->InPlaceDeactivate();
  }
  in_place_.Reset();
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    if (site_set_) object_->SetClientSite(nullptr);
  }
  object_.Reset();
  site_.Reset();
  window_ = nullptr;
  site_set_ = false;
  activation_tried_ = false;
}

void BrowserHost::Navigate(const std::wstring& address) {
  Bstr url(address);
  Variant flags = Variant::Missing();
  Variant target_frame = Variant::Missing();
  Variant post_data = Variant::Missing();
  Variant headers = Variant::Missing();
  OleCheck(browser_->Navigate(url.Get(), flags.Get(), target_frame.Get(), post_data.Get(),
                              headers.Get()));
}

void BrowserHost::SetSilent() {
  Variant value = Variant::Bool(true);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = value.Get();
  params.rgdispidNamedArgs = &named;
  params.cArgs = 1;
  params.cNamedArgs = 1;
  OleCheck(browser_->Invoke(kDispidSilent, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                            &params, nullptr, nullptr, nullptr));
}

void BrowserHost::SetBounds(const RECT& bounds) {
  site_->SetBounds(bounds);
  RECT position = bounds;
  RECT clip = bounds;
  OleCheck(in_place_->SetObjectRects(&position, &clip));
}

bool BrowserHost::TranslateAccelerator(MSG* msg) noexcept {
  if (msg == nullptr || !active_) return false;
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  return active_->TranslateAccelerator(msg) == S_OK;
}
