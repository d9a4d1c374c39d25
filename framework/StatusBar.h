// The status bar: a superclassed platform status bar docked at the bottom of
// its parent, with a collection of panels.
#pragma once

#include <memory>
#include <vector>

#include "framework/Controls.h"

namespace fw {

class TStatusBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TPersistent {
 public:
  explicit TStatusPanel(TStatusBar* bar) : FBar(bar) {}
  const char* ClassName() const override { return "TStatusPanel"; }

  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel b);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle s);
  int Index() const;

 private:
  TStatusBar* FBar;
  std::string FText;
  int FWidth = 50;
  TStatusPanelBevel FBevel = pbLowered;
  TStatusPanelStyle FStyle = psText;
};

class TStatusPanels {
 public:
  explicit TStatusPanels(TStatusBar* bar) : FBar(bar) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TStatusPanel& operator[](int i) { return *FItems.at(static_cast<std::size_t>(i)); }
  TStatusPanel& Add();
  void Clear();
  int IndexOf(const TStatusPanel* p) const;

 private:
  TStatusBar* FBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);
  const char* ClassName() const override { return "TStatusBar"; }

  TStatusPanels& Panels() { return FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& s);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);

  // Pushes the panels' widths and texts to the window.
  void UpdatePanels();
  void UpdatePanel(int index);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  TStatusPanels FPanels;
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
};

}  // namespace fw
