// Image lists.
#include "framework/ImgList.h"

#include <algorithm>

namespace fw {

namespace {

// The platform's list selects what it adds into a DC of its own; a
// framework bitmap stays selected into its canvas, so the list gets a copy.
UniqueBitmap UnselectedCopy(TBitmap& source) {
  WindowDC screen(nullptr);
  UniqueBitmap copy(::CreateCompatibleBitmap(screen.Get(), source.Width(), source.Height()));
  UniqueDC dc(::CreateCompatibleDC(screen.Get()));
  {
    SelectGuard into(dc.Get(), copy.Get());
    ::BitBlt(dc.Get(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
  }
  return copy;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  MarkDestroying();
  FLinks.clear();
  if (FHandle) ::ImageList_Destroy(FHandle);
}

HIMAGELIST TCustomImageList::Handle() {
  if (!FHandle) Recreate();
  return FHandle;
}

void TCustomImageList::Recreate() {
  if (FHandle) ::ImageList_Destroy(FHandle);
  FHandle = ::ImageList_Create(std::max(FWidth, 1), std::max(FHeight, 1), ILC_COLOR24 | ILC_MASK, 4, 4);
  if (!FHandle) throw EOutOfResources("Cannot create an image list");
  ::ImageList_SetBkColor(FHandle, FBkColor == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(FBkColor)));
}

void TCustomImageList::SetWidth(int w) {
  if (w == FWidth) return;
  FWidth = w;
  if (FHandle) Recreate();
  Change();
}

void TCustomImageList::SetHeight(int h) {
  if (h == FHeight) return;
  FHeight = h;
  if (FHandle) Recreate();
  Change();
}

void TCustomImageList::SetBkColor(TColor c) {
  if (c == FBkColor) return;
  FBkColor = c;
  if (FHandle) ::ImageList_SetBkColor(FHandle, c == clNone ? CLR_NONE : static_cast<COLORREF>(ColorToRGB(c)));
  Change();
}

int TCustomImageList::Count() const { return FHandle ? ::ImageList_GetImageCount(FHandle) : 0; }

int TCustomImageList::Add(TBitmap& image, TBitmap* mask) {
  UniqueBitmap picture = UnselectedCopy(image);
  UniqueBitmap maskPicture = mask ? UnselectedCopy(*mask) : UniqueBitmap();
  const int index = ::ImageList_Add(Handle(), picture.Get(), maskPicture.Get());
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap& image, TColor maskColor) {
  UniqueBitmap picture = UnselectedCopy(image);
  const int index = ::ImageList_AddMasked(Handle(), picture.Get(), static_cast<COLORREF>(ColorToRGB(maskColor)));
  Change();
  return index;
}

void TCustomImageList::Delete(int index) {
  if (!FHandle || index < 0 || index >= Count()) return;
  ::ImageList_Remove(FHandle, index);
  Change();
}

void TCustomImageList::Clear() {
  if (FHandle) ::ImageList_Remove(FHandle, -1);
  Change();
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (!FHandle || index < 0 || index >= Count()) return;
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof(p);
  p.himl = FHandle;
  p.i = index;
  p.hdcDst = dc;
  p.x = x;
  p.y = y;
  p.rgbBk = CLR_NONE;
  p.rgbFg = enabled ? CLR_DEFAULT : static_cast<COLORREF>(ColorToRGB(clBtnFace));
  p.fStyle = ILD_TRANSPARENT | (enabled ? 0 : ILD_BLEND50);
  ::ImageList_DrawIndirect(&p);
}

bool TCustomImageList::GetBitmap(int index, TBitmap& bitmap, TColor background) {
  if (!FHandle || index < 0 || index >= Count()) return false;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(FWidth, FHeight);
  const TColor back = background != clNone ? background : FBkColor != clNone ? FBkColor : clBlack;
  HDC dc = bitmap.Canvas().Handle();
  RECT r{0, 0, FWidth, FHeight};
  UniqueBrush brush(::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(back))));
  ::FillRect(dc, &r, brush.Get());
  ::ImageList_Draw(FHandle, index, dc, 0, 0, ILD_TRANSPARENT);
  return true;
}

int TCustomImageList::RegisterChanges(std::function<void()> changed) {
  FLinks.emplace_back(FNextLink, std::move(changed));
  return FNextLink++;
}

void TCustomImageList::UnRegisterChanges(int id) {
  FLinks.erase(std::remove_if(FLinks.begin(), FLinks.end(), [id](const auto& l) { return l.first == id; }),
               FLinks.end());
}

void TCustomImageList::Change() {
  // A link may unregister itself while it is told.
  for (const auto& [id, changed] : std::vector<std::pair<int, std::function<void()>>>(FLinks)) changed();
}

}  // namespace fw
