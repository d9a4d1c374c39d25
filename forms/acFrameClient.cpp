// Client background of a skinned form.
#include "forms/acFrameClient.h"

#include "controls/protocol/sSkinState.h"
#include "forms/acFrameCache.h"
#include "forms/sSkinProvider.h"
#include "framework/Handles.h"
#include "render/paint/SkinPaintFills.h"

namespace translit {

namespace {

bool CacheInUse(TsSkinProvider& p) { return SkinChangeFreeze || !(p.SkinData().StateFlags & sfPlainBackground); }

// The client part of the cache (or the fill colour) into dc, whose origin is
// the client's top-left corner.
void PaintClientArea(TsSkinProvider& p, const TacFrameMetrics& m, HDC dc) {
  const int w = m.Client.right - m.Client.left, h = m.Client.bottom - m.Client.top;
  TsCommonData& data = p.SkinData();
  if (CacheInUse(p) && data.CacheBmp) {
    ::BitBlt(dc, 0, 0, w, h, data.CacheBmp->Canvas().Handle(), m.ClientOffsetX(), m.ClientOffsetY(), SRCCOPY);
  } else {
    FillSolid(dc, RECT{0, 0, w, h}, static_cast<fw::TColor>(data.BackgroundColor(p.FrameState())));
  }
  p.OwnerForm->PaintControls(dc, nullptr);
}

bool Showing(TsSkinProvider& p) { return ::IsWindowVisible(p.OwnerForm->Handle()) != 0; }

}  // namespace

bool EraseClient(TsSkinProvider& p, fw::TMessage& m) {
  if (!Showing(p)) return false;
  TsCommonData& data = p.SkinData();
  m.Result = 1;
  if (data.Updating || p.FreezePainting) return true;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  const bool ownRequest = m.WParam != 0 && m.WParam == static_cast<WPARAM>(m.LParam);
  if (ownRequest || (p.OwnerForm->ControlState() & fw::csPaintCopy)) {
    if (dc && !data.BGChanged) {
      const TacFrameMetrics metrics = p.Metrics();
      if (CacheInUse(p) && data.CacheBmp) {
        ::BitBlt(dc, 0, 0, metrics.Client.right - metrics.Client.left, metrics.Client.bottom - metrics.Client.top,
                 data.CacheBmp->Canvas().Handle(), metrics.ClientOffsetX(), metrics.ClientOffsetY(), SRCCOPY);
      } else {
        RECT client{};
        ::GetClientRect(p.OwnerForm->Handle(), &client);
        FillSolid(dc, client, static_cast<fw::TColor>(data.BackgroundColor(p.FrameState())));
      }
    }
    return true;
  }
  // With a picture, WM_PAINT lays the whole client at once.
  if (CacheInUse(p) || !dc) return true;
  RECT client{};
  ::GetClientRect(p.OwnerForm->Handle(), &client);
  FillSolid(dc, client, static_cast<fw::TColor>(data.BackgroundColor(p.FrameState())));
  p.OwnerForm->PaintControls(dc, nullptr);
  return true;
}

bool PaintClient(TsSkinProvider& p, fw::TMessage& m) {
  fw::TCustomForm& form = *p.OwnerForm;
  if (form.ControlState() & fw::csPaintCopy) {
    m.Result = 0;
    return true;
  }
  if (!Showing(p)) return false;
  HWND window = form.Handle();
  TsCommonData& data = p.SkinData();
  if (CacheInUse(p)) {
    const TacFrameMetrics metrics = p.Metrics();
    if (data.BGChanged || !data.CacheBmp) PaintFrameCache(p, metrics);
    if (m.WParam) {
      PaintClientArea(p, metrics, reinterpret_cast<HDC>(m.WParam));
    } else {
      fw::PaintScope paint(window);
      PaintClientArea(p, metrics, paint.DC());
    }
  } else {
    // The erase filled the client already; a stale frame repaints it whole.
    if (data.BGChanged) ::InvalidateRect(window, nullptr, TRUE);
    // Without a picture the handler draws straight on the window.
    if (m.WParam) {
      form.PaintHandlerInto(reinterpret_cast<HDC>(m.WParam));
      form.PaintControls(reinterpret_cast<HDC>(m.WParam), nullptr);
    } else {
      fw::PaintScope paint(window);
      form.PaintHandlerInto(paint.DC());
      form.PaintControls(paint.DC(), nullptr);
    }
  }
  m.Result = 0;
  return true;
}

bool PrintForm(TsSkinProvider& p, fw::TMessage& m) {
  fw::TCustomForm& form = *p.OwnerForm;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc || form.Loading() || form.Destroying() || p.Destroying()) return false;
  const TacFrameMetrics metrics = p.Metrics();
  PaintFrameCache(p, metrics);
  fw::TBitmap* cache = p.SkinData().CacheBmp.get();
  if (!cache) return false;
  if ((m.LParam & PRF_NONCLIENT) && p.DrawNonClientArea()) CopyFrameStrips(dc, *cache, metrics);
  if (m.LParam & PRF_CLIENT) {
    fw::SaveDCGuard saved(dc);
    ::SetWindowOrgEx(dc, -metrics.ClientOffsetX(), -metrics.ClientOffsetY(), nullptr);
    ::IntersectClipRect(dc, 0, 0, metrics.Client.right - metrics.Client.left,
                        metrics.Client.bottom - metrics.Client.top);
    PaintClientArea(p, metrics, dc);
  }
  if (m.LParam & PRF_CHILDREN) {
    // The child windows print themselves at their places.
    for (HWND child = ::GetWindow(form.Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(child)) continue;
      RECT r{};
      ::GetWindowRect(child, &r);
      ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
      fw::SaveDCGuard saved(dc);
      ::SetWindowOrgEx(dc, -(metrics.ClientOffsetX() + r.left), -(metrics.ClientOffsetY() + r.top), nullptr);
      ::SendMessageA(child, WM_PRINT, m.WParam, m.LParam | PRF_NONCLIENT | PRF_CLIENT);
    }
  }
  m.Result = 0;
  return true;
}

}  // namespace translit
