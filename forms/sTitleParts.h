// The small published objects of a form's skinned title: the text drawn after
// the caption, the picture that replaces the form's icon, and the user's own
// title buttons. Each tells its provider when a change needs a new frame.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Components.h"
#include "framework/Graphics.h"
#include "framework/core/Persistent.h"

namespace translit {

class TacAddedTitle : public fw::TPersistent {
 public:
  explicit TacAddedTitle(std::function<void()> changed);
  const char* ClassName() const override { return "TacAddedTitle"; }

  bool ShowMainCaption() const { return FShowMainCaption; }
  void SetShowMainCaption(bool v);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);
  fw::TFont& Font() { return FFont; }

 private:
  std::function<void()> FChanged;
  bool FShowMainCaption = true;
  std::string FText;
  fw::TFont FFont;
};

class TsTitleIcon : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TsTitleIcon"; }
  // Empty until a picture is given; an empty glyph leaves the form's icon.
  fw::TBitmap& Glyph() { return FGlyph; }
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }

 private:
  fw::TBitmap FGlyph;
  int FHeight = 0;
  int FWidth = 0;
};

// One button of the user's own in the title.
class TsTitleButton : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TsTitleButton"; }
  bool Enabled = true;
  fw::TBitmap Glyph;
  std::string Hint;
  std::string Name = "TsTitleButton";
  bool UseSkinData = true;
  bool Visible = true;
  fw::TNotifyEvent OnMouseDown, OnMouseUp;
};

class TsTitleButtons : public fw::TPersistent {
 public:
  explicit TsTitleButtons(std::function<void()> changed) : FChanged(std::move(changed)) {}
  const char* ClassName() const override { return "TsTitleButtons"; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TsTitleButton& Items(int i) { return *FItems.at(static_cast<std::size_t>(i)); }
  TsTitleButton& Add();
  void Clear();

 private:
  std::function<void()> FChanged;
  std::vector<std::unique_ptr<TsTitleButton>> FItems;
};

}  // namespace translit
