// Image lists: pictures of one size kept together by the platform's image
// list, drawn by index with their mask. Controls that show an image from a
// list follow its changes through a change link and forget the list when it
// is freed (through the component's free notification).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/Components.h"
#include "framework/Graphics.h"

namespace fw {

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;
  const char* ClassName() const override { return "TCustomImageList"; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A new size empties the list.
  void SetWidth(int w);
  void SetHeight(int h);
  // The colour images are drawn over; clNone draws them with their mask.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor c);
  int Count() const;
  HIMAGELIST Handle();

  // Appends image (cut into images of the list's width) with its mask, or
  // with every pixel of maskColor transparent. Answers the first index.
  int Add(TBitmap& image, TBitmap* mask);
  int AddMasked(TBitmap& image, TColor maskColor);
  void Delete(int index);
  void Clear();

  // The image at (x, y) of dc with its mask; disabled images are drawn
  // blended with the button face.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);
  // The image over background (clNone: the list's BkColor, else black) into
  // bitmap, which takes the image's size in 32 bits. False for a bad index.
  bool GetBitmap(int index, TBitmap& bitmap, TColor background = clNone);

  // Calls back after every change; answers an id for UnRegisterChanges.
  int RegisterChanges(std::function<void()> changed);
  void UnRegisterChanges(int id);

 private:
  void Recreate();
  void Change();

  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
  HIMAGELIST FHandle = nullptr;
  std::vector<std::pair<int, std::function<void()>>> FLinks;
  int FNextLink = 1;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
  const char* ClassName() const override { return "TImageList"; }
};

}  // namespace fw
