#include "browser/browser_site.h"

namespace {

LONG g_live_sites = 0;

}  // namespace

BrowserSite::BrowserSite(HWND parent, const RECT& bounds) noexcept
    : parent_(parent), bounds_(bounds) {
  InterlockedIncrement(&g_live_sites);
}

BrowserSite::~BrowserSite() { InterlockedDecrement(&g_live_sites); }

LONG BrowserSite::LiveCount() noexcept { return InterlockedCompareExchange(&g_live_sites, 0, 0); }

// --- IUnknown ---

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() noexcept {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) BrowserSite::Release() noexcept {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

// --- IOleClientSite ---

STDMETHODIMP BrowserSite::SaveObject() noexcept { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) noexcept {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) noexcept {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::ShowObject() noexcept { return S_OK; }
STDMETHODIMP BrowserSite::OnShowWindow(BOOL) noexcept { return S_OK; }
STDMETHODIMP BrowserSite::RequestNewObjectLayout() noexcept { return E_NOTIMPL; }

// --- IOleWindow ---

STDMETHODIMP BrowserSite::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = parent_;
  return S_OK;
}

STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL) noexcept { return E_NOTIMPL; }

// --- IOleInPlaceSite ---

STDMETHODIMP BrowserSite::CanInPlaceActivate() noexcept { return S_OK; }
STDMETHODIMP BrowserSite::OnInPlaceActivate() noexcept { return S_OK; }
STDMETHODIMP BrowserSite::OnUIActivate() noexcept { return S_OK; }

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                           IOleInPlaceUIWindow** document, LPRECT position,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO frame_info) noexcept {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
      frame_info == nullptr) {
    return E_POINTER;
  }
  // The frame doubles as the document window, so the control gets no separate one.
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  *position = bounds_;
  *clip = bounds_;
  frame_info->fMDIApp = FALSE;
  HWND top = GetAncestor(parent_, GA_ROOT);
  frame_info->hwndFrame = top != nullptr ? top : parent_;
  frame_info->haccel = nullptr;
  frame_info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP BrowserSite::Scroll(SIZE) noexcept { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL) noexcept { return S_OK; }
STDMETHODIMP BrowserSite::OnInPlaceDeactivate() noexcept { return S_OK; }
STDMETHODIMP BrowserSite::DiscardUndoState() noexcept { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::DeactivateAndUndo() noexcept { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::OnPosRectChange(LPCRECT position) noexcept {
  if (position == nullptr) return E_POINTER;
  bounds_ = *position;
  return S_OK;
}

// --- IOleInPlaceUIWindow ---

STDMETHODIMP BrowserSite::GetBorder(LPRECT) noexcept { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) noexcept {
  return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP BrowserSite::SetBorderSpace(LPCBORDERWIDTHS) noexcept { return S_OK; }

// The host asks the control itself for its active-object interface; keeping the
// one offered here would tie the site and the control in a reference cycle.
STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) noexcept {
  return S_OK;
}

// --- IOleInPlaceFrame ---

STDMETHODIMP BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) noexcept { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) noexcept { return S_OK; }
STDMETHODIMP BrowserSite::RemoveMenus(HMENU) noexcept { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR) noexcept { return S_OK; }
STDMETHODIMP BrowserSite::EnableModeless(BOOL) noexcept { return S_OK; }
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG, WORD) noexcept { return S_FALSE; }

// --- IDispatch ---

STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP BrowserSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                        DISPID* ids) noexcept {
  if (ids != nullptr) {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP BrowserSite::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) noexcept {
  return DISP_E_MEMBERNOTFOUND;
}
