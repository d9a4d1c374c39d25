// The image list object: ownership of its handle.
#include "shell/acAlphaImageList.h"

namespace translit {

TsAlphaImageList::~TsAlphaImageList() { ReleaseHandle(); }

void TsAlphaImageList::ReleaseHandle() {
  if (FHandle && !FShareImages) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

void TsAlphaImageList::SetHandle(HIMAGELIST handle) {
  if (handle == FHandle) return;
  ReleaseHandle();
  FHandle = handle;
}

COLORREF TsAlphaImageList::BkColor() const { return FHandle ? ImageList_GetBkColor(FHandle) : CLR_NONE; }

void TsAlphaImageList::SetBkColor(COLORREF color) {
  if (FHandle) ImageList_SetBkColor(FHandle, color);
}

int TsAlphaImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TsAlphaImageList::Width() const {
  int cx = 0, cy = 0;
  if (FHandle) ImageList_GetIconSize(FHandle, &cx, &cy);
  return cx;
}

int TsAlphaImageList::Height() const {
  int cx = 0, cy = 0;
  if (FHandle) ImageList_GetIconSize(FHandle, &cx, &cy);
  return cy;
}

}  // namespace translit
