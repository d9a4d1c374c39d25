// The small published objects of a form's skinned title: the text drawn after
// the caption and the picture that replaces the form's icon. Each tells its
// provider when a change needs a new frame.
#pragma once

#include <functional>
#include <string>

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

}  // namespace translit
