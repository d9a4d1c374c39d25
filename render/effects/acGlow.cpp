// Hover glows.
#include "render/effects/acGlow.h"

#include <algorithm>

#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimWindow.h"
#include "render/paint/SkinPaintMasks.h"
#include "skin/sLayeredSupport.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// The process's glows. An index stays with its glow: freed glows leave an
// empty place, and indexes go on counting after a clear, so that a control
// holding an index of a glow that is gone can never close another one.
struct GlowList {
  std::vector<std::unique_ptr<TacGlowEffect>> items;
  int firstIndex = 0;

  TacGlowEffect* At(int index) {
    const long long position = static_cast<long long>(index) - firstIndex;
    if (index < 0 || position < 0 || position >= static_cast<long long>(items.size())) return nullptr;
    return items[static_cast<std::size_t>(position)].get();
  }
  ~GlowList() {
    for (auto& glow : items)
      if (glow) glow->Free(true);
  }
};

GlowList& Glows() {
  static GlowList list;
  return list;
}

}  // namespace

// ---- TacGlowForm

TacGlowForm::TacGlowForm(fw::TComponent* owner) : fw::TForm(owner) {
  SetBorderStyle(fw::bsNone);
  SetTag(kEngineWindowTag);
}

void TacGlowForm::CreateParams(fw::TCreateParams& params) {
  fw::TForm::CreateParams(params);
  params.ExStyle |= WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
}

// ---- TacGlowEffect

TacGlowEffect::TacGlowEffect(TsSkinManager* manager, int maskIndex, int margin)
    : Manager(manager), MaskIndex(maskIndex), Margin(margin) {}

TacGlowEffect::~TacGlowEffect() { Free(true); }

void TacGlowEffect::Show(const RECT& controlRect, const RECT& visibleRect, HWND parentWindow) {
  const TUpdateLayeredWindowProc update = UpdateLayeredWindowProc();
  if (!update || !Manager->IsValidMask(MaskIndex)) return;
  const int left = Manager->MaskMarginLeft(MaskIndex), top = Manager->MaskMarginTop(MaskIndex);
  const int right = Manager->MaskMarginRight(MaskIndex), bottom = Manager->MaskMarginBottom(MaskIndex);
  const int width = controlRect.right - controlRect.left + left + right - 2 * Margin;
  const int height = controlRect.bottom - controlRect.top + top + bottom - 2 * Margin;
  if (width <= 0 || height <= 0) return;

  auto picture = NewBitmap32(width, height);
  FillBitmapRect(picture.get(), RECT{0, 0, width, height}, 0);
  SetRectAlpha(picture.get(), RECT{0, 0, width, height}, 0, false);
  PaintBorderMask(picture.get(), RECT{0, 0, width, height}, false, 0,
                  Manager->Masks[static_cast<std::size_t>(MaskIndex)], ParentCache{});

  // Where only a part of the control can be seen, only the glow around
  // that part is shown.
  RECT cut{0, 0, width, height};
  if (!::IsRectEmpty(&visibleRect)) {
    cut.left = std::max(0L, visibleRect.left - controlRect.left);
    cut.top = std::max(0L, visibleRect.top - controlRect.top);
    cut.right = width - std::max(0L, controlRect.right - visibleRect.right);
    cut.bottom = height - std::max(0L, controlRect.bottom - visibleRect.bottom);
    if (cut.right <= cut.left || cut.bottom <= cut.top) return;
  }

  FForm = std::make_unique<TacGlowForm>(nullptr);
  HWND wnd = FForm->Handle();
  FOldWindowProc = FForm->WindowProc;
  FForm->WindowProc = [old = FOldWindowProc](fw::TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
      m.Result = HTTRANSPARENT;
      return;
    }
    old(m);
  };

  POINT position{controlRect.left + Margin - left + cut.left, controlRect.top + Margin - top + cut.top};
  SIZE size{cut.right - cut.left, cut.bottom - cut.top};
  POINT source{cut.left, cut.top};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  fw::WindowDC screen(nullptr);
  update(wnd, screen.Get(), &position, &size, picture->Canvas().Handle(), &source, 0, &blend, ULW_ALPHA);

  // Just in front of the parent window; above everything for a topmost one.
  HWND after = HWND_TOP;
  if (parentWindow && (::GetWindowLongA(parentWindow, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    after = HWND_TOPMOST;
  } else if (parentWindow) {
    HWND previous = ::GetWindow(parentWindow, GW_HWNDPREV);
    after = previous ? previous : parentWindow;
  }
  ::SetWindowPos(wnd, after, position.x, position.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TacGlowEffect::Free(bool atOnce, bool restoreProc) {
  if (!FForm) return;
  if (restoreProc && FOldWindowProc) FForm->WindowProc = std::move(FOldWindowProc);
  FOldWindowProc = nullptr;
  if (atOnce || !FForm->HandleAllocated()) {
    FForm.reset();
    return;
  }
  // Hidden now; the form frees itself once the waiting messages are handled.
  ::ShowWindow(FForm->Handle(), SW_HIDE);
  FForm.release()->Release();
}

// ---- The list

int ShowGlowEffect(const RECT& controlRect, const RECT& visibleRect, const std::string& sectionName,
                   TsSkinManager* manager, HWND parentWindow, int margin, const std::string& propertyBase) {
  if (!LayeredWindowsAvailable()) return -1;
  if (!manager) manager = DefaultManager;
  if (!manager) return -1;
  const int section = manager->SectionIndex(sectionName);
  const int mask = manager->MaskIndex(section, sectionName, propertyBase + "0");
  if (!manager->IsValidMask(mask)) return -1;
  GlowList& glows = Glows();
  glows.items.push_back(std::make_unique<TacGlowEffect>(manager, mask, margin));
  glows.items.back()->Show(controlRect, visibleRect, parentWindow);
  return glows.firstIndex + static_cast<int>(glows.items.size()) - 1;
}

void HideGlowEffect(int index) {
  GlowList& glows = Glows();
  TacGlowEffect* glow = glows.At(index);
  if (!glow) return;
  const bool atOnce = glow->Manager && glow->Manager->Destroying();
  glow->Free(atOnce);
  glows.items[static_cast<std::size_t>(index - glows.firstIndex)].reset();
}

void ClearGlowEffects(bool restoreWindows) {
  GlowList& glows = Glows();
  std::vector<std::unique_ptr<TacGlowEffect>> items = std::move(glows.items);
  glows.items.clear();
  glows.firstIndex += static_cast<int>(items.size());
  for (auto& glow : items)
    if (glow) glow->Free(restoreWindows || (glow->Manager && glow->Manager->Destroying()), restoreWindows);
}

int OpenGlowCount() {
  int count = 0;
  for (const auto& glow : Glows().items) count += glow != nullptr;
  return count;
}

HWND GlowWindow(int index) {
  TacGlowEffect* glow = Glows().At(index);
  return glow ? glow->Window() : nullptr;
}

}  // namespace translit
