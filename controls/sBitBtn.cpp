// The skinned push button.
#include "controls/sBitBtn.h"  // first: the platform headers rename RegisterClass for all that follows

#include <algorithm>
#include <optional>
#include <vector>

#include "controls/protocol/sSkinState.h"
#include "controls/protocol/sVclUtils.h"
#include "controls/skindata/SkinControlText.h"
#include "controls/skindata/SkinPaintControl.h"
#include "framework/ActnList.h"
#include "framework/Application.h"
#include "framework/ClassRegistry.h"
#include "framework/Colors.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimFrames.h"
#include "render/paint/SkinPaintAlphaCorners.h"
#include "render/paint/SkinPaintMasks.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr fw::TColor kKey = 0xFF00FF;
// How long a quick click keeps the pressed look on screen.
constexpr DWORD kQuickClickMs = 30;

int LimitToSection(int state, const TsGeneralData& section) {
  return std::clamp(state, 0, std::max(section.StateCount - 1, 0));
}

// A 32-bit glyph whose alpha channel carries its shape: some pixel is
// opaque. Other 32-bit glyphs are pictures with a colour key.
bool HasAlphaShape(fw::TBitmap& glyph) {
  if (glyph.PixelFormat() != fw::pf32bit) return false;
  const PixelView view = glyph.View();
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x)
      if ((view.At(x, y) >> 24) == 0xFF) return true;
  return false;
}

// One cell of a keyed glyph as a 32-bit picture whose key pixels (the
// cell's bottom-left colour) are transparent and the rest opaque.
std::unique_ptr<fw::TBitmap> KeyedCellWithAlpha(fw::TBitmap& glyph, int left, int width) {
  const int h = glyph.Height();
  auto cell = NewBitmap32(width, h);
  ::BitBlt(cell->Canvas().Handle(), 0, 0, width, h, glyph.Canvas().Handle(), left, 0, SRCCOPY);
  ::GdiFlush();
  PixelView view = ViewOf(cell.get());
  const std::uint32_t key = view.At(0, h - 1) & 0xFFFFFFu;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t& p = view.At(x, y);
      p = (p & 0xFFFFFFu) == key ? 0u : (p | 0xFF000000u);
    }
  return cell;
}

std::uint32_t SysRgb(int index) { return static_cast<std::uint32_t>(::GetSysColor(index)); }

}  // namespace

TsBitBtn::TsBitBtn(fw::TComponent* owner) : fw::TBitBtn(owner), FSkinData(this, true, kKindButton) {
  // The skinned look owns every pixel, but the unskinned one relies on the
  // platform erasing first.
  FControlStyle &= ~fw::csOpaque;
  if (!Loading()) FSkinData.SkinChanged();
}

TsBitBtn::~TsBitBtn() {
  MarkDestroying();
  StopFade();
  if (FImages) {
    FImages->UnRegisterChanges(FImagesLink);
    FImages = nullptr;
  }
}

void TsBitBtn::Loaded() {
  fw::TBitBtn::Loaded();
  FSkinData.SkinChanged();
  FSkinData.BGChanged = true;
}

void TsBitBtn::Notification(fw::TComponent* component, bool removing) {
  fw::TBitBtn::Notification(component, removing);
  if (removing && component == FImages) {
    FImages = nullptr;
    Changed();
  }
}

// ---- Properties

void TsBitBtn::Changed() {
  FSkinData.RequestRepaint();
  if (!SkinnedNow()) Invalidate();
}

void TsBitBtn::SetAnimatEvents(TacAnimatEvents v) { FAnimatEvents = v; }

void TsBitBtn::SetAlignment(fw::TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  Changed();
}

void TsBitBtn::SetBlend(int v) {
  v = std::clamp(v, 0, 100);
  if (v == FBlend) return;
  FBlend = v;
  Changed();
}

void TsBitBtn::SetDisabledGlyphKind(TsDisabledGlyphKind v) {
  if (v == FDisabledGlyphKind) return;
  FDisabledGlyphKind = v;
  Changed();
}

void TsBitBtn::SetDisabledKind(TsDisabledKind v) {
  if (v == FDisabledKind) return;
  FDisabledKind = v;
  Changed();
}

void TsBitBtn::SetDown(bool v) {
  if (v == FDown) return;
  FDown = v;
  FRegionChanged = true;
  Changed();
  if (HandleAllocated()) ::UpdateWindow(Handle());
}

void TsBitBtn::SetGrayed(bool v) {
  if (v == FGrayed) return;
  FGrayed = v;
  Changed();
}

void TsBitBtn::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  Changed();
}

void TsBitBtn::SetImages(fw::TCustomImageList* images) {
  if (images == FImages) return;
  if (FImages) FImages->UnRegisterChanges(FImagesLink);
  FImages = images;
  if (FImages) {
    FImagesLink = FImages->RegisterChanges([this] { Changed(); });
    FImages->FreeNotification(this);
  }
  Changed();
}

void TsBitBtn::SetReflected(bool v) {
  if (v == FReflected) return;
  FReflected = v;
  Changed();
}

void TsBitBtn::SetShowCaption(bool v) {
  if (v == FShowCaption) return;
  FShowCaption = v;
  Changed();
}

void TsBitBtn::SetShowFocus(bool v) {
  if (v == FShowFocus) return;
  FShowFocus = v;
  Changed();
}

void TsBitBtn::SetDrawOverBorder(bool v) {
  if (v == FDrawOverBorder) return;
  FDrawOverBorder = v;
  Changed();
}

void TsBitBtn::SetTextOffset(int v) {
  if (v == FTextOffset) return;
  FTextOffset = v;
  Changed();
}

void TsBitBtn::SetTextAlignment(fw::TAlignment v) {
  if (v == FTextAlignment) return;
  FTextAlignment = v;
  Changed();
}

void TsBitBtn::SetWordWrap(bool v) {
  if (v == FWordWrap) return;
  FWordWrap = v;
  Changed();
}

// ---- State

bool TsBitBtn::SkinnedNow() { return FSkinData.Skinned() && CanPaint(this); }

bool TsBitBtn::HasDefaultLook() const {
  if (!HandleAllocated()) return false;
  HWND self = const_cast<TsBitBtn*>(this)->Handle();
  HWND focus = ::GetFocus();
  if (focus == self) return true;
  if (!Default()) return false;
  // The default button shows it while no other button has the focus.
  auto* other = dynamic_cast<fw::TButton*>(fw::TWinControl::FromHandle(focus));
  return !other || other == this;
}

int TsBitBtn::CurrentState() const {
  if (FDown) return bsPressed;
  bool pressed = false;
  if (FForcedPress != fpNone) {
    pressed = FForcedPress == fpPressed;
  } else if (HandleAllocated()) {
    HWND self = const_cast<TsBitBtn*>(this)->Handle();
    const bool pushed = (::SendMessageA(self, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool leftHeld = (::GetKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
    pressed = pushed && (FSkinData.MouseAbove || !leftHeld);
  }
  if (pressed) return bsPressed;
  if (HasDefaultLook() || FSkinData.IsHot() || (Designing() && Default())) return bsHot;
  return bsNormal;
}

void TsBitBtn::StopFade() { StopControlFade(FFadeTimer, FSkinData); }

void TsBitBtn::StartFade(bool fast, TacAnimatEvent event) {
  StartControlFade(FFadeTimer, FSkinData, fast, FadeAllowed(event, FAnimatEvents, FSkinData.SkinManager()));
}

// ---- Window procedure

void TsBitBtn::WndProc(fw::TMessage& m) {
  // A quick second click is one more press for a push button.
  if (m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
  // A press that loses the mouse without a release (another window took
  // it, or the skin went while held) gives the hints back here.
  if (m.Msg == WM_CAPTURECHANGED) FHintsOff.reset();
  // The framework gives the action's enabled state; the image is the
  // button's to take.
  if (m.Msg == fw::CM_ACTIONUPDATE && Action() && reinterpret_cast<fw::TCustomAction*>(m.LParam) == Action()) {
    SetImages(Action()->Images());
    SetImageIndex(Action()->ImageIndex());
  }
  if (IsSkinMessage(m)) {
    if (!SkinMessage(m)) Standard(m);
    return;
  }
  if (SkinnedNow()) {
    if (SkinnedMessage(m)) return;
  } else {
    switch (m.Msg) {
      case fw::CM_MOUSEENTER:
      case fw::CM_MOUSELEAVE:
        if (Enabled() && !Designing()) {
          const bool enter = m.Msg == fw::CM_MOUSEENTER;
          FSkinData.MouseAbove = enter;
          const fw::TNotifyEvent& event = enter ? OnMouseEnter : OnMouseLeave;
          if (event) event(this);
          // The themed look shows the mouse above the button.
          Invalidate();
        }
        return;
      default:
        break;
    }
  }
  if (FSkinData.CommonMessage(m)) return;
  Standard(m);
}

bool TsBitBtn::SkinMessage(fw::TMessage& m) {
  const TacSkinMessage s = ReadSkinMessage(m);
  const bool own = s.LParam == reinterpret_cast<LPARAM>(FSkinData.SkinManager());
  switch (s.Command) {
    case SKINCMD_NEW_SKIN:
      if (!own) return FSkinData.CommonMessage(m);
      FRegionChanged = true;
      StopFade();
      FSkinData.CommonMessage(m);
      return true;
    case SKINCMD_REMOVE_SKIN:
      if (!own || Destroying()) return FSkinData.CommonMessage(m);
      StopFade();
      FSkinData.CommonMessage(m);
      DropRegion();
      Invalidate();
      return true;
    case SKINCMD_REFRESH:
      if (!own) return FSkinData.CommonMessage(m);
      StopFade();
      FSkinData.CommonMessage(m);
      FRegionChanged = true;
      if (!FSkinData.Painter) FSkinData.RequestRepaint();
      return true;
    case SKINCMD_IS_SKINNED:
      m.Result = 1;
      return true;
    case SKINCMD_STOP_ANIMATION: {
      const bool fading = static_cast<bool>(FFadeTimer);
      StopFade();
      if (!fading || !FSkinData.Skinned() || !HandleAllocated()) return true;
      // The fade showed the look the cache had when it began; a change
      // meanwhile (the focus arriving with a press) is shown now. Else the
      // cache itself replaces the last frame, whose mix of weight 0 is a
      // shade off the new look.
      if (FSkinData.BGChanged || FCachedState != LimitToSection(CurrentState(), *FSkinData.Section()))
        FSkinData.RequestRepaint();
      else
        ::InvalidateRect(Handle(), nullptr, FALSE);
      return true;
    }
    case SKINCMD_PREPARE_CACHE:
      if (FSkinData.Skinned()) PaintButtonCache();
      return true;
    case SKINCMD_DRAW_FADE:
      // Frames go to the window as they are; the outline waits for the end.
      FNewRegion.Reset();
      m.Result = 0;
      return true;
    case SKINCMD_GET_APPLICATION:
      m.Result = reinterpret_cast<LRESULT>(fw::Application);
      return true;
    case SKINCMD_END_UPDATE_FRAME:
      if (FSkinData.IsUpdating()) {
        FSkinData.Updating = false;
        FSkinData.RequestRepaint();
      }
      return true;
    default:
      return FSkinData.CommonMessage(m);
  }
}

void TsBitBtn::StandardWithoutRedraw(fw::TMessage& m) {
  // Straight to the platform: WM_SETREDRAW from outside is swallowed.
  ::CallWindowProcA(FDefWndProc, Handle(), WM_SETREDRAW, FALSE, 0);
  Standard(m);
  if (HandleAllocated()) ::CallWindowProcA(FDefWndProc, Handle(), WM_SETREDRAW, TRUE, 0);
}

bool TsBitBtn::SkinnedMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE: {
      const TsGeneralData* s = FSkinData.Section();
      if (s->States[0].Transparency > 0 || (s->States[1].Transparency > 0 && CurrentState() > 0))
        FSkinData.RequestRepaint();
      break;
    }
    case WM_SIZE:
      FRegionChanged = true;
      break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      // Only a new size needs a new outline and picture; moves and changes
      // of the Z order or the frame (setting the outline is one) do not.
      if (!(reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_NOSIZE)) {
        FRegionChanged = true;
        if (m.Msg == WM_WINDOWPOSCHANGED) FSkinData.BGChanged = true;
      }
      break;
    case WM_SETFOCUS:
    case fw::CM_ENTER:
      if (Visible() && Enabled() && !Destroying() && FFocusNesting == 0) {
        FSkinData.CommonMessage(m);
        ++FFocusNesting;
        StandardWithoutRedraw(m);
        --FFocusNesting;
        // A fade under way shows its next frame at once, over what the
        // platform drew; it reaches the new look on its own. The focus that
        // a press brings is left to the press's own fade: a frame drawn
        // here kept the press's forced look of a quick click off the
        // screen (seen on Wine).
        if (FadeRunning()) {
          if (!FInMouseHandling) FFadeTimer->StepNow();
        } else {
          FSkinData.RequestRepaint();
        }
        return true;
      }
      break;
    case WM_KILLFOCUS:
    case fw::CM_EXIT:
      if (Visible() && Enabled()) {
        StopFade();
        FSkinData.CommonMessage(m);
        StandardWithoutRedraw(m);
        FSkinData.Focused = false;
        FSkinData.RequestRepaint();
        FSkinData.CloseGlow();
        return true;
      }
      break;
    case WM_SETREDRAW:
      m.Result = 0;
      return true;
    case WM_SETTEXT:
      if (Showing()) {
        StopFade();
        StandardWithoutRedraw(m);
        return true;
      }
      break;
    case WM_PAINT:
      if (Visible() || Designing()) {
        PaintButton(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return true;
      }
      break;
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      if (Visible()) {
        m.Result = 0;
        return true;
      }
      break;
    case WM_PRINT:
      FRegionChanged = true;
      FSkinData.Updating = false;
      if (m.WParam) PaintButton(reinterpret_cast<HDC>(m.WParam));
      return true;
    case WM_PRINTCLIENT:
      // Printing the client is printing the look: the platform's own
      // printing would only ask for an owner drawing that draws nothing.
      if (m.WParam) PaintButton(reinterpret_cast<HDC>(m.WParam));
      return true;
    case BM_SETSTATE: {
      const LRESULT before = ::SendMessageA(Handle(), BM_GETSTATE, 0, 0);
      Standard(m);
      const LRESULT after = ::SendMessageA(Handle(), BM_GETSTATE, 0, 0);
      // The platform draws a push at once, through an owner drawing that
      // draws nothing here; presses by key (or a held mouse moving out and
      // back) are shown by repainting. Mouse presses are shown by their fade.
      if (((before ^ after) & BST_PUSHED) && !FInMouseHandling) {
        if (!FadeRunning()) FSkinData.BGChanged = true;
        ::InvalidateRect(Handle(), nullptr, FALSE);
      }
      return true;
    }
    case fw::CM_DIALOGCHAR:
      // The space bar pressed on the focused button: the pressed look at
      // once, without the hover glow.
      if (m.WParam == VK_SPACE && Focused() && Enabled()) {
        StopFade();
        FRegionChanged = true;
        FSkinData.BGChanged = true;
        FSkinData.CloseGlow();
        FSkinData.RequestRepaint();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        FRegionChanged = true;
        FSkinData.BGChanged = true;
        Standard(m);
        if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, FALSE);
        return true;
      }
      break;
    case fw::CN_DRAWITEM:
      // The skinned paint owns the window.
      m.Result = 1;
      return true;
    case fw::CM_MOUSEENTER:
      if (Enabled() && !Designing() && !FSkinData.MouseAbove) MouseEntered();
      return true;
    case fw::CM_MOUSELEAVE:
      if (Enabled() && !Designing()) MouseLeft();
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (Enabled() && !Designing()) {
        MouseDown(m);
        return true;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (Enabled() && !Designing()) {
        MouseUp(m);
        return true;
      }
      break;
    default:
      break;
  }
  if (FSkinData.CommonMessage(m)) return true;
  Standard(m);
  switch (m.Msg) {
    case WM_SETFONT:
      if (Visible()) {
        FSkinData.Updating = false;
        FSkinData.RequestRepaint();
      }
      break;
    case fw::CM_VISIBLECHANGED:
      FSkinData.BGChanged = true;
      FSkinData.Updating = false;
      FSkinData.RequestRepaint();
      break;
    case fw::CM_ENABLEDCHANGED:
      if (!Enabled()) StopFade();
      FSkinData.Updating = false;
      FSkinData.RequestRepaint();
      break;
    case fw::CM_TEXTCHANGED:
      FSkinData.RequestRepaint();
      break;
    default:
      break;
  }
  return true;
}

// ---- Mouse

void TsBitBtn::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter(this);
  FSkinData.MouseAbove = true;
  FSkinData.BGChanged = false;
  StartFade(false, aeMouseEnter);
  FSkinData.ShowHoverGlow(false);
}

void TsBitBtn::MouseLeft() {
  if (OnMouseLeave) OnMouseLeave(this);
  FSkinData.MouseAbove = false;
  FSkinData.BGChanged = false;
  StartFade(false, aeMouseLeave);
  FSkinData.CloseGlow();
}

void TsBitBtn::MouseDown(fw::TMessage& m) {
  FSkinData.Updating = false;
  // No hint pops up over a button held down.
  if (m.Msg == WM_LBUTTONDOWN && !FHintsOff && fw::Application) FHintsOff.emplace(*fw::Application);
  FPressedHere = true;
  if (m.Msg != WM_LBUTTONDOWN || FDown) {
    Standard(m);
    return;
  }
  FRegionChanged = true;
  FSkinData.Updating = FSkinData.IsUpdating();
  FSkinData.BGChanged = false;
  // The platform pushes the button in its own handling, after the fade has
  // taken the new look: that look is the pushed one.
  FInMouseHandling = true;
  FForcedPress = fpPressed;
  StartFade(true, aeMouseDown);
  FForcedPress = fpNone;
  Standard(m);
  FInMouseHandling = false;
}

void TsBitBtn::MouseUp(fw::TMessage& m) {
  if (m.Msg == WM_LBUTTONUP) FHintsOff.reset();
  if (!FPressedHere) {
    StopFade();
    Standard(m);
    return;
  }
  FPressedHere = false;
  if (m.Msg != WM_LBUTTONUP) {
    Standard(m);
    return;
  }
  FInMouseHandling = true;
  if (FFadeTimer && FadeRunning() && FFadeTimer->Step <= FFadeTimer->Iterations) {
    // A quick click: the press has not been seen whole yet.
    StopFade();
    FSkinData.BGChanged = true;
    FForcedPress = fpPressed;
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE);
    FForcedPress = fpNone;
    ::Sleep(kQuickClickMs);
  }
  FSkinData.Updating = false;
  FRegionChanged = true;
  FSkinData.BGChanged = false;
  FForcedPress = fpReleased;
  StartFade(true, aeMouseUp);
  FForcedPress = fpNone;
  FInMouseHandling = false;
  // Releases the push and clicks.
  Standard(m);
}

// ---- Painting

TsBitBtn::LayoutKey TsBitBtn::CurrentLayoutKey() {
  const SIZE glyph = GlyphSize();
  return LayoutKey{static_cast<int>(fw::TBitBtn::Layout()),
                   Margin(),
                   Spacing(),
                   NumGlyphs(),
                   static_cast<int>(glyph.cx),
                   static_cast<int>(glyph.cy)};
}

void TsBitBtn::PaintButton(HDC given) {
  const bool external = given && FSkinData.Painter == reinterpret_cast<void*>(given);
  std::optional<fw::PaintScope> scope;
  HDC dc = given;
  if (!dc) {
    scope.emplace(Handle());
    dc = scope->DC();
  }
  if ((SkinChangeFreeze && !external) || SkinLoadInProgress) return;
  FSkinData.Updating = FSkinData.IsUpdating();
  if (FSkinData.Updating) return;
  bool outlineRedrawn = false;
  if (!FadeRunning()) {
    bool stale = FSkinData.PlaceNeedsRepaint(TFarEdges::Inside);
    if (!(CurrentLayoutKey() == FLastLayout) || FRegionChanged) stale = true;
    if (const TsGeneralData* section = FSkinData.Section())
      if (FCachedState != LimitToSection(CurrentState(), *section)) stale = true;
    if (stale || Designing()) PaintButtonCache();
    if (FRegionChanged && FNewRegion) {
      ApplyRegion(external);
      outlineRedrawn = !given && !external;
    }
  }
  CopyToScreen(dc);
  // A new outline invalidated the window, which now shows all of the cache.
  if (outlineRedrawn) ::ValidateRect(Handle(), nullptr);
}

void TsBitBtn::CopyToScreen(HDC dc) {
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  if (!cache || cache->Width() == 0 || cache->Height() == 0) return;
  fw::TBitmap* picture = cache;
  std::unique_ptr<fw::TBitmap> frame;
  if (FadeRunning() && FFadeTimer->BmpFrom && FFadeTimer->BmpFrom->Width() == cache->Width() &&
      FFadeTimer->BmpFrom->Height() == cache->Height() && FFadeTimer->Iterations > 0) {
    // The frame the fade has put on screen so far, so that uncovering the
    // button mid-fade does not jump ahead to the final look.
    const int drawn = std::min(FFadeTimer->Step - 1, FFadeTimer->Iterations);
    picture = FFadeTimer->BmpFrom.get();
    if (drawn > 0) {
      frame = NewBitmap32(cache->Width(), cache->Height());
      ::BitBlt(frame->Canvas().Handle(), 0, 0, cache->Width(), cache->Height(), picture->Canvas().Handle(), 0, 0,
               SRCCOPY);
      MixBitmaps(frame.get(), cache, static_cast<std::uint8_t>(FadeWeight(drawn, FFadeTimer->Iterations)));
      picture = frame.get();
    }
  }
  fw::SaveDCGuard saved(dc);
  ::BitBlt(dc, 0, 0, picture->Width(), picture->Height(), picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsBitBtn::PaintButtonCache() {
  const TsGeneralData* section = FSkinData.Section();
  if (!FSkinData.Skinned() || !section) return;
  const ParentCache parent = FSkinData.ParentCacheOf();
  FParentHasPicture = parent.Bitmap != nullptr;
  FSkinData.SizeCache();
  fw::TBitmap* cache = FSkinData.CacheBmp.get();
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  const int state = CurrentState();
  const int s = LimitToSection(state, *section);
  const RECT client{0, 0, w, h};
  PaintControlBackground(FSkinData, parent, s, cache, POINT{0, 0}, client);
  if (FRegionChanged && !FadeRunning() && !SkinChangeFreeze) FNewRegion.Reset(::CreateRectRgn(0, 0, w, h));
  if (FDrawOverBorder) PaintBorder(s, parent);
  if (FSkinData.HUEOffset() != 0) ShiftBitmapHue(cache, FSkinData.HUEOffset());
  if (FSkinData.Saturation() != 0) ScaleBitmapSaturation(cache, FSkinData.Saturation());

  fw::TCanvas& canvas = cache->Canvas();
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(fw::bsClear);
  const SIZE glyph = GlyphSize();
  const fw::TGlyphCaptionPlacement p = PlaceGlyphAndCaption(canvas.Handle(), client, state == bsPressed, glyph);
  if (FShowCaption && !Caption().empty())
    DrawSkinnedCaption(RECT{p.captionLeft, p.captionTop, p.captionRight, p.captionBottom}, s);
  DrawGlyph(cache, p.glyphX, p.glyphY, s, true);
  if (!FDrawOverBorder) PaintBorder(s, parent);
  if (!Enabled() || (Action() && !Action()->Enabled()))
    ApplyDisabledLook(cache, FDisabledKind, this, POINT{0, 0}, parent);
  // What lies outside the outline shows the parent, also in pictures of
  // the button (its window never shows those pixels).
  FillCornerHoles(FSkinData, s);
  FCachedState = s;
  FLastLayout = CurrentLayoutKey();
  if (OnPaint) OnPaint(this, cache);
  FSkinData.BGChanged = false;
}

void TsBitBtn::PaintBorder(int state, const ParentCache& parent) {
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!manager || !manager->IsValidMask(FSkinData.BorderIndex)) return;
  const TsMaskData& mask = manager->Masks[static_cast<std::size_t>(FSkinData.BorderIndex)];
  if (state == 0 && (mask.FillMode & 2)) return;
  if (mask.ExtraLayers == 1) PutParentUnderAlphaCorners(FSkinData.CacheBmp.get(), mask, state, parent);
  PaintBorderMaskWithRegion(FSkinData.CacheBmp.get(), FNewRegion.Get(), true, mask, state);
}

void TsBitBtn::ApplyRegion(bool externalPainter) {
  if (externalPainter || Designing()) {
    FNewRegion.Reset();
    return;
  }
  HWND self = Handle();
  // A full rectangle is no outline at all: the window then has none.
  RECT box{};
  if (::GetRgnBox(FNewRegion.Get(), &box) == SIMPLEREGION && box.left == 0 && box.top == 0 && box.right == Width() &&
      box.bottom == Height())
    FNewRegion.Reset();
  fw::UniqueRgn current(::CreateRectRgn(0, 0, 0, 0));
  const bool hasOutline = ::GetWindowRgn(self, current.Get()) != ERROR;
  const bool same = FNewRegion ? hasOutline && ::EqualRgn(current.Get(), FNewRegion.Get()) : !hasOutline;
  if (same) {
    FNewRegion.Reset();
  } else {
    // The system takes the region; the parent repaints what it uncovers.
    ::SetWindowRgn(self, FNewRegion.Detach(), TRUE);
  }
  FRegionChanged = false;
  FRegionEverSet = true;
  UncoverOldCorners();
}

void TsBitBtn::UncoverOldCorners() {
  const RECT old = FRegionBounds;
  FRegionBounds = BoundsRect();
  const bool shrank = Width() < old.right - old.left || Height() < old.bottom - old.top;
  fw::TWinControl* parent = Parent();
  TsSkinManager* manager = FSkinData.SkinManager();
  if (!shrank || FParentHasPicture || !parent || !parent->HandleAllocated() || !manager ||
      !manager->IsValidMask(FSkinData.BorderIndex))
    return;
  // The platform asks the parent to repaint what the smaller window
  // uncovers, which leaves out the old outline's corner holes (the window
  // never covered them): the parent repaints those too, so that nothing of
  // the old outline stays there.
  const TsMaskData& mask = manager->Masks[static_cast<std::size_t>(FSkinData.BorderIndex)];
  const RECT corners[] = {{old.right - mask.MarginRight, old.top, old.right, old.top + mask.MarginTop},
                          {old.right - mask.MarginRight, old.bottom - mask.MarginBottom, old.right, old.bottom},
                          {old.left, old.bottom - mask.MarginBottom, old.left + mask.MarginLeft, old.bottom}};
  for (const RECT& corner : corners) ::InvalidateRect(parent->Handle(), &corner, TRUE);
}

void TsBitBtn::DropRegion() {
  FNewRegion.Reset();
  if (HandleAllocated()) ::SetWindowRgn(Handle(), nullptr, TRUE);
  FRegionEverSet = false;
  FRegionChanged = true;
  FRegionBounds = RECT{};
}

// ---- Glyph and caption

bool TsBitBtn::HasImageGlyph() const { return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count(); }

SIZE TsBitBtn::GlyphSize() {
  fw::TBitmap& g = Glyph();
  if (!g.Empty()) return SIZE{g.Width() / std::max(NumGlyphs(), 1), g.Height()};
  if (HasImageGlyph()) return SIZE{FImages->Width(), FImages->Height()};
  return SIZE{0, 0};
}

UINT TsBitBtn::CaptionFlags() const {
  // "&" underlines the letter after it, as on the platform's buttons.
  UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_END_ELLIPSIS;
  switch (FTextAlignment) {
    case fw::taLeftJustify:
      flags |= DT_LEFT;
      break;
    case fw::taRightJustify:
      flags |= DT_RIGHT;
      break;
    default:
      flags |= DT_CENTER;
      break;
  }
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  return flags;
}

fw::TGlyphCaptionPlacement TsBitBtn::PlaceGlyphAndCaption(HDC dc, const RECT& client, bool pressed, SIZE glyph) {
  const int width = client.right - client.left, height = client.bottom - client.top;
  const bool across = fw::TBitBtn::Layout() == fw::blGlyphLeft || fw::TBitBtn::Layout() == fw::blGlyphRight;
  const bool hasCaption = FShowCaption && !Caption().empty();
  RECT measure{0, 0, width - 2 * Margin() - (glyph.cx > 0 && across ? glyph.cx + Spacing() : 0), 0};
  if (hasCaption) {
    fw::SelectGuard font(dc, Font().Handle());
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    ::DrawTextA(dc, Caption().c_str(), -1, &measure, flags);
  }
  fw::TGlyphCaptionInput in;
  in.width = width;
  in.height = height;
  in.glyphWidth = glyph.cx;
  in.glyphHeight = glyph.cy;
  in.captionWidth = hasCaption ? measure.right - measure.left : 0;
  in.captionHeight = hasCaption ? measure.bottom - measure.top : 0;
  in.layout = fw::TBitBtn::Layout();
  in.margin = Margin();
  in.spacing = Spacing();
  in.alignment = FAlignment;
  in.rightToLeft = UseRightToLeftReading();
  in.pressed = pressed;
  fw::TGlyphCaptionPlacement p = fw::LayoutGlyphAndCaption(in);
  p.glyphX += client.left;
  p.glyphY += client.top;
  p.captionLeft += client.left;
  p.captionRight += client.left;
  p.captionTop += client.top;
  p.captionBottom += client.top;
  return p;
}

void TsBitBtn::DrawSkinnedCaption(const RECT& rect, int state) {
  fw::TCanvas& canvas = FSkinData.CacheBmp->Canvas();
  WriteControlText(canvas, Caption(), Enabled(), state > 0, FSkinData, CaptionFlags(), rect);
  const TsGeneralData* section = FSkinData.Section();
  if (Enabled() && Focused() && section && section->FocusVisible && FShowFocus && FShowCaption) {
    RECT focus = rect;
    ::InflateRect(&focus, FFocusMargin, FFocusMargin);
    DrawDottedFocusRect(canvas, focus, fw::clBtnFace, fw::clBlack);
  }
}

void TsBitBtn::DrawGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned) {
  if (!Glyph().Empty())
    DrawBitmapGlyph(target, x, y, state, skinned);
  else if (HasImageGlyph())
    DrawImageListGlyph(target, x, y, state, skinned);
}

void TsBitBtn::DrawBitmapGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned) {
  fw::TBitmap& glyph = Glyph();
  const int cells = std::max(NumGlyphs(), 1);
  const int gw = glyph.Width() / cells, gh = glyph.Height();
  if (gw <= 0 || gh <= 0) return;
  if (FReflected) y -= gw / 6;
  const bool enabled = Enabled();
  const bool alpha = HasAlphaShape(glyph);
  if (alpha || FReflected) {
    const int cell = enabled ? std::min(state, cells - 1) : 0;
    std::unique_ptr<fw::TBitmap> keyed;
    fw::TBitmap* source = &glyph;
    RECT from{cell * gw, 0, cell * gw + gw, gh};
    if (!alpha) {
      keyed = KeyedCellWithAlpha(glyph, cell * gw, gw);
      source = keyed.get();
      from = RECT{0, 0, gw, gh};
    }
    const bool grey = (enabled && state == 0 && FGrayed) || (!enabled && (FDisabledGlyphKind & dgGrayed));
    int fade = enabled && state == 0 && skinned ? FBlend : 0;
    if (!enabled && (FDisabledGlyphKind & dgBlended)) fade = 50;
    fw::TColor tint = static_cast<fw::TColor>(NoColor);
    if (grey) {
      const TsGeneralData* section = FSkinData.Section();
      TsSkinManager* manager = FSkinData.SkinManager();
      tint = skinned && section && manager
                 ? static_cast<fw::TColor>(manager->ColorToRGB(section->States[0].Color) & 0xFFFFFF)
                 : static_cast<fw::TColor>(SysRgb(COLOR_BTNFACE));
    }
    DrawAlphaPart(RECT{x, y, x + gw, y + gh}, from, target, FReflected, fade, tint, false, EmptyParentCache(), source);
    return;
  }
  if (skinned) {
    DrawGlyphImage(&glyph, target, RECT{x, y, x + gw, y + gh}, FDown ? 1 : 0, FBlend, state, FDisabledGlyphKind,
                   enabled, cells);
  } else {
    // The framework's cells: up, disabled, pressed.
    const int kind = state == bsPressed ? 2 : 0;
    DrawGlyphImage(&glyph, target, RECT{x, y, x + gw, y + gh}, 0, 0, kind, FDisabledGlyphKind, enabled, cells);
  }
}

void TsBitBtn::DrawImageListGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned) {
  const int w = FImages->Width(), h = FImages->Height();
  const fw::TColor back = FImages->BkColor() == fw::clNone ? kKey : FImages->BkColor();
  fw::TBitmap image;
  if (!FImages->GetBitmap(FImageIndex, image, back)) return;
  const fw::TColor key = static_cast<fw::TColor>(fw::ColorToRGB(back));
  const RECT whole{0, 0, w - 1, h - 1};
  if (FReflected) y -= w / 6;
  const bool enabled = Enabled();
  if (!skinned) {
    if (!enabled && (FDisabledGlyphKind & dgGrayed)) GrayBitmapKeyed(&image, key);
    CopyKeyed(target, &image, x, key, whole, y);
    return;
  }
  if (enabled) {
    if (state == 0 && FGrayed) {
      GrayBitmapKeyed(&image, key);
      CopyKeyed(target, &image, x, key, whole, y);
    } else if (state > 0 || FBlend < 1) {
      CopyKeyed(target, &image, x, key, whole, y);
    } else {
      BlendRectOnto(target, x, y, key, FBlend / 100.0, whole, &image);
    }
    return;
  }
  if (FDisabledGlyphKind & dgGrayed) {
    GrayBitmapKeyed(&image, key);
    CopyKeyed(target, &image, x, key, whole, y);
  } else if (FDisabledGlyphKind & dgBlended) {
    BlendRectOnto(target, x, y, key, 0.5, whole, &image);
  } else {
    CopyKeyed(target, &image, x, key, whole, y);
  }
}

// ---- The unskinned look

void TsBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT client = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) || FDown;
  const bool focused = item.itemState & ODS_FOCUS;
  const bool enabled = !(item.itemState & ODS_DISABLED);
  const bool defaultLook = focused || HasDefaultLook();
  fw::SaveDCGuard saved(dc);
  const TButtonFace face = DrawButtonFace(dc, client, pressed, enabled, FSkinData.MouseAbove, defaultLook);

  const SIZE glyph = GlyphSize();
  const fw::TGlyphCaptionPlacement p = PlaceGlyphAndCaption(dc, client, pressed, glyph);
  if (glyph.cx > 0 && glyph.cy > 0) {
    // The glyph is laid over what the frame drew under it.
    auto picture = NewBitmap32(glyph.cx, glyph.cy + (FReflected ? glyph.cx / 6 : 0));
    const int top = p.glyphY - (FReflected ? glyph.cx / 6 : 0);
    ::BitBlt(picture->Canvas().Handle(), 0, 0, picture->Width(), picture->Height(), dc, p.glyphX, top, SRCCOPY);
    DrawGlyph(picture.get(), 0, FReflected ? glyph.cx / 6 : 0, pressed ? bsPressed : bsNormal, false);
    ::BitBlt(dc, p.glyphX, top, picture->Width(), picture->Height(), picture->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  if (FShowCaption && !Caption().empty()) {
    ::SelectObject(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    RECT caption{p.captionLeft, p.captionTop, p.captionRight, p.captionBottom};
    const UINT flags = CaptionFlags();
    if (enabled) {
      ::SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(Font().Color())));
      ::DrawTextA(dc, Caption().c_str(), -1, &caption, flags);
    } else {
      // Embossed: the highlight one pixel down and right, the shadow in place.
      RECT moved = caption;
      ::OffsetRect(&moved, 1, 1);
      ::SetTextColor(dc, SysRgb(COLOR_BTNHIGHLIGHT));
      ::DrawTextA(dc, Caption().c_str(), -1, &moved, flags);
      ::SetTextColor(dc, SysRgb(COLOR_BTNSHADOW));
      ::DrawTextA(dc, Caption().c_str(), -1, &caption, flags);
    }
  }
  if (defaultLook && focused) DrawButtonFocus(dc, face, client);
}

// ---- Registration

void RegisterBitBtnClass() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterCommonDataClasses();
  const std::initializer_list<std::pair<const char*, int>> alignments = {
      {"taLeftJustify", fw::taLeftJustify}, {"taRightJustify", fw::taRightJustify}, {"taCenter", fw::taCenter}};
  fw::RegisterClass<TsBitBtn>("TsBitBtn", "TBitBtn")
      .Object("SkinData", &TsBitBtn::SkinData)
      .Set("AnimatEvents", &TsBitBtn::SetAnimatEvents,
           {{"aeMouseEnter", aeMouseEnter},
            {"aeMouseLeave", aeMouseLeave},
            {"aeMouseDown", aeMouseDown},
            {"aeMouseUp", aeMouseUp},
            {"aeGlobalDef", aeGlobalDef}},
           "[aeGlobalDef]")
      .Enum("Alignment", &TsBitBtn::SetAlignment, alignments, "taCenter")
      .Integer("Blend", &TsBitBtn::SetBlend, 0)
      .Set("DisabledGlyphKind", &TsBitBtn::SetDisabledGlyphKind, {{"dgBlended", dgBlended}, {"dgGrayed", dgGrayed}},
           "[dgBlended]")
      .Set("DisabledKind", &TsBitBtn::SetDisabledKind, {{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}},
           "[dkBlended]")
      .Bool("Down", &TsBitBtn::SetDown, false)
      .Integer("FocusMargin", &TsBitBtn::SetFocusMargin, 1)
      .Bool("Grayed", &TsBitBtn::SetGrayed, false)
      .Integer("ImageIndex", &TsBitBtn::SetImageIndex, -1)
      .Custom("Images",
              [](TsBitBtn& button, const fw::StoredValue& v, fw::TLoadContext& ctx) {
                if (v.kind != fw::StoredValue::kIdent) throw fw::EPropertyError("Invalid property value");
                // The list may be stored after the button.
                std::string name = v.text;
                fw::TCustomForm* root = ctx.root;
                ctx.fixups.emplace_back([&button, name, root] {
                  if (auto* list = root ? dynamic_cast<fw::TCustomImageList*>(root->FindComponent(name)) : nullptr)
                    button.SetImages(list);
                });
              })
      .Bool("Reflected", &TsBitBtn::SetReflected, false)
      .Bool("ShowCaption", &TsBitBtn::SetShowCaption, true)
      .Bool("ShowFocus", &TsBitBtn::SetShowFocus, true)
      .Bool("DrawOverBorder", &TsBitBtn::SetDrawOverBorder, true)
      .Integer("TextOffset", &TsBitBtn::SetTextOffset, 0)
      .Enum("TextAlignment", &TsBitBtn::SetTextAlignment, alignments, "taCenter")
      .Bool("WordWrap", &TsBitBtn::SetWordWrap, true)
      .Event("OnMouseEnter", &TsBitBtn::SetOnMouseEnter)
      .Event("OnMouseLeave", &TsBitBtn::SetOnMouseLeave);
}

}  // namespace translit
