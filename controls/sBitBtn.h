// The skinned push button: the framework's bitmap button drawn from a skin
// section ("BUTTON" unless told otherwise) while a skin is loaded, and like a
// platform push button otherwise. Its whole look lives in a cache picture
// that is repainted only when something changed and copied to the screen in
// one piece; its window takes the outline of the skin's button image, and a
// change of state under the mouse cross-fades from the old look to the new.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "controls/skindata/sCommonData.h"
#include "framework/Application.h"
#include "framework/Buttons.h"
#include "framework/Handles.h"
#include "framework/ImgList.h"
#include "render/effects/sFade.h"
#include "render/paint/SkinPaintDisabled.h"
#include "render/paint/SkinPaintParent.h"
#include "render/paint/SkinPaintText.h"

namespace translit {

// Visual states of the button, as indexes of the skin's states.
enum TsButtonState : int { bsNormal = 0, bsHot = 1, bsPressed = 2 };

class TsBitBtn : public fw::TBitBtn {
 public:
  explicit TsBitBtn(fw::TComponent* owner);
  ~TsBitBtn() override;
  const char* ClassName() const override { return "TsBitBtn"; }

  // Published.
  TsCtrlSkinData& SkinData() { return FSkinData; }
  TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents v);
  fw::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(fw::TAlignment v);
  int Blend() const { return FBlend; }
  // Limited to 0..100.
  void SetBlend(int v);
  TsDisabledGlyphKind DisabledGlyphKind() const { return FDisabledGlyphKind; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind v);
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind v);
  bool Down() const { return FDown; }
  void SetDown(bool v);
  int FocusMargin() const { return FFocusMargin; }
  void SetFocusMargin(int v) { FFocusMargin = v; }
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  fw::TCustomImageList* Images() const { return FImages; }
  void SetImages(fw::TCustomImageList* images);
  bool Reflected() const { return FReflected; }
  void SetReflected(bool v);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool v);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool v);
  bool DrawOverBorder() const { return FDrawOverBorder; }
  void SetDrawOverBorder(bool v);
  int TextOffset() const { return FTextOffset; }
  void SetTextOffset(int v);
  fw::TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(fw::TAlignment v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);

  fw::TNotifyEvent OnMouseEnter, OnMouseLeave;
  void SetOnMouseEnter(fw::TNotifyEvent e) { OnMouseEnter = std::move(e); }
  void SetOnMouseLeave(fw::TNotifyEvent e) { OnMouseLeave = std::move(e); }
  // Called with the cache picture after every repaint of it.
  std::function<void(fw::TComponent* sender, fw::TBitmap* bitmap)> OnPaint;

  // The state the button shows now (before it is limited to the section's
  // states): pressed while pushed and the mouse is over it (or the push does
  // not come from a held left button) or while Down, hot with the default
  // look or when hot by its skin data, else normal.
  int CurrentState() const;
  // The skin draws the button (a valid section and a window to paint).
  bool SkinnedNow();
  // Repaints the cache picture in the current state.
  void PaintButtonCache();
  // The fade under way, or none.
  TsFadeTimer* Fade() const { return FFadeTimer.get(); }
  // The state the cache was last painted in (limited), -1 before the first.
  int CachedState() const { return FCachedState; }

  void Loaded() override;
  void Notification(fw::TComponent* component, bool removing) override;

 protected:
  void WndProc(fw::TMessage& m) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  // What the fade and the repaints of a mouse press expect the platform
  // button to show a moment later.
  enum TForcedPress { fpNone, fpPressed, fpReleased };

  bool SkinMessage(fw::TMessage& m);
  bool SkinnedMessage(fw::TMessage& m);
  void MouseDown(fw::TMessage& m);
  void MouseUp(fw::TMessage& m);
  void MouseEntered();
  void MouseLeft();
  // The platform's own processing with redrawing switched off around it:
  // the platform button draws on focus and text changes, and the skinned
  // look must not blink through it.
  void StandardWithoutRedraw(fw::TMessage& m);
  void Standard(fw::TMessage& m) { fw::TBitBtn::WndProc(m); }
  void StopFade();
  bool FadeRunning() const { return FFadeTimer && FFadeTimer->Direction() != 0; }
  void StartFade(bool fast, TacAnimatEvent event);
  // A property changed: the cache is stale and the window repaints.
  void Changed();

  void PaintButton(HDC given);
  // The cache, or during a fade the frame the fade has reached, into dc.
  void CopyToScreen(HDC dc);
  void PaintBorder(int state, const ParentCache& parent);
  void ApplyRegion(bool externalPainter);
  void DropRegion();
  // After a new outline: when the button became smaller, the parent
  // repaints what lay under the old outline's corners.
  void UncoverOldCorners();

  // Glyph and caption.
  SIZE GlyphSize();
  bool HasImageGlyph() const;
  fw::TGlyphCaptionPlacement PlaceGlyphAndCaption(HDC dc, const RECT& client, bool pressed, SIZE glyph);
  UINT CaptionFlags() const;
  void DrawSkinnedCaption(const RECT& rect, int state);
  void DrawGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned);
  void DrawBitmapGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned);
  void DrawImageListGlyph(fw::TBitmap* target, int x, int y, int state, bool skinned);

  // The unskinned look.
  bool HasDefaultLook() const;

  TsCtrlSkinData FSkinData;
  std::unique_ptr<TsFadeTimer> FFadeTimer;
  TacAnimatEvents FAnimatEvents = aeGlobalDef;
  fw::TAlignment FAlignment = fw::taCenter;
  int FBlend = 0;
  TsDisabledGlyphKind FDisabledGlyphKind = dgBlended;
  TsDisabledKind FDisabledKind = dkBlended;
  bool FDown = false;
  int FFocusMargin = 1;
  bool FGrayed = false;
  int FImageIndex = -1;
  fw::TCustomImageList* FImages = nullptr;
  int FImagesLink = 0;
  bool FReflected = false;
  bool FShowCaption = true;
  bool FShowFocus = true;
  bool FDrawOverBorder = true;
  int FTextOffset = 0;
  fw::TAlignment FTextAlignment = fw::taCenter;
  bool FWordWrap = true;

  // The outline being built while the cache is painted; given to the window
  // by the next screen paint.
  fw::UniqueRgn FNewRegion;
  bool FRegionChanged = true;
  bool FRegionEverSet = false;
  // The bounds at the last new outline (empty before the first), and
  // whether the parent offered a picture to paint on at the last repaint.
  RECT FRegionBounds{};
  bool FParentHasPicture = false;
  bool FPressedHere = false;
  // The application's hints while the left button holds this one down.
  std::optional<fw::HintsOff> FHintsOff;
  bool FInMouseHandling = false;
  int FFocusNesting = 0;
  TForcedPress FForcedPress = fpNone;
  int FCachedState = -1;
  // What the cache was laid out with.
  struct LayoutKey {
    int layout, margin, spacing, glyphs, glyphWidth, glyphHeight;
    bool operator==(const LayoutKey&) const = default;
  };
  LayoutKey CurrentLayoutKey();
  LayoutKey FLastLayout{-1, 0, 0, 0, 0, 0};
};

// Registers TsBitBtn and its published properties with the layout reader.
void RegisterBitBtnClass();

}  // namespace translit
