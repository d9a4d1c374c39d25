// The user's own title buttons: a collection owned by the provider, each
// button with its glyph, its hint (a hint window shown while the button is
// hot) and its mouse events. The frame draws and tracks them beside the
// system buttons, with hit codes from kHitUserButton on.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/acCaptionButtons.h"
#include "framework/Graphics.h"
#include "framework/HintWindow.h"
#include "framework/core/Persistent.h"

namespace translit {

class TsTitleButtons;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// The modifier keys held (MK_ flags); the title buttons report none.
using TShiftState = unsigned;
class TsTitleButton;
using TTitleButtonMouseEvent =
    std::function<void(TsTitleButton& sender, TMouseButton button, TShiftState shift, int x, int y)>;

class TsTitleButton : public fw::TPersistent {
 public:
  explicit TsTitleButton(TsTitleButtons* collection = nullptr);
  ~TsTitleButton() override;
  const char* ClassName() const override { return "TsTitleButton"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  // The glyph; change it through SetGlyph, which drops a running fade.
  fw::TBitmap& Glyph() { return FGlyph; }
  void SetGlyph(fw::TBitmap& source);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  // Also the name shown for the button.
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  // The skin's "TITLEBUTTON" image behind the glyph.
  bool UseSkinData() const { return FUseSkinData; }
  void SetUseSkinData(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  TTitleButtonMouseEvent OnMouseDown, OnMouseUp;
  void SetOnMouseDown(TTitleButtonMouseEvent e) { OnMouseDown = std::move(e); }
  void SetOnMouseUp(TTitleButtonMouseEvent e) { OnMouseUp = std::move(e); }

  // Copies the published values and both events.
  void Assign(const TsTitleButton& source);
  // The place in the collection, -1 outside one.
  int Index() const;
  TacCaptionButton& CaptionButton() { return FCaptionButton; }

  // The hint near the cursor, inside the work area of form's monitor; no
  // window for an empty hint.
  void ShowHint(HWND form);
  void HideHint();
  // The hint's window while one was made, else none.
  HWND HintWindow() const { return FHintWindow ? FHintWindow->Handle() : nullptr; }

 private:
  void Changed();

  TsTitleButtons* FCollection;
  bool FEnabled = true;
  fw::TBitmap FGlyph;
  std::string FHint;
  std::string FName = "TsTitleButton";
  bool FUseSkinData = true;
  bool FVisible = true;
  TacCaptionButton FCaptionButton;
  std::unique_ptr<fw::THintWindow> FHintWindow;
};

class TsTitleButtons : public fw::TPersistent {
 public:
  // changed: the frame must be drawn again.
  explicit TsTitleButtons(std::function<void()> changed) : FChanged(std::move(changed)) {}
  const char* ClassName() const override { return "TsTitleButtons"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TsTitleButton& Items(int i) const { return *FItems.at(static_cast<std::size_t>(i)); }
  TsTitleButton& Add();
  void Delete(int index);
  void Clear();
  int IndexOf(const TsTitleButton* button) const;
  void Changed() const {
    if (FChanged) FChanged();
  }

 private:
  std::function<void()> FChanged;
  std::vector<std::unique_ptr<TsTitleButton>> FItems;
};

}  // namespace translit
