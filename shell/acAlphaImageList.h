// TsAlphaImageList: the skin engine's image list object. Here it wraps an
// image list handle; when it shares a foreign list (ShareImages), freeing the
// object leaves that list alone.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace translit {

class TsAlphaImageList {
 public:
  TsAlphaImageList() = default;
  ~TsAlphaImageList();
  TsAlphaImageList(const TsAlphaImageList&) = delete;
  TsAlphaImageList& operator=(const TsAlphaImageList&) = delete;

  HIMAGELIST Handle() const { return FHandle; }
  // Takes the list; an owned list held before is destroyed.
  void SetHandle(HIMAGELIST handle);
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool share) { FShareImages = share; }
  COLORREF BkColor() const;
  void SetBkColor(COLORREF color);
  int Count() const;
  int Width() const;
  int Height() const;

 private:
  void ReleaseHandle();

  HIMAGELIST FHandle = nullptr;
  bool FShareImages = false;
};

}  // namespace translit
