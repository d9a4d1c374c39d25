// The popup pictures of the process.
#include "forms/acPopupCache.h"

namespace translit {

TacPopupBackground* TacPopupCache::Find(const fw::TMenuItem* firstItem) {
  for (auto& r : FRecords)
    if (r->FirstItem == firstItem) return r.get();
  return nullptr;
}

TacPopupBackground* TacPopupCache::FindByWindow(HWND window) {
  if (!window) return nullptr;
  for (auto& r : FRecords)
    if (r->Window == window) return r.get();
  return nullptr;
}

TacPopupBackground& TacPopupCache::Add(const fw::TMenuItem* firstItem) {
  FRecords.push_back(std::make_unique<TacPopupBackground>());
  FRecords.back()->FirstItem = firstItem;
  return *FRecords.back();
}

TacPopupCache& PopupBackgrounds() {
  static TacPopupCache cache;
  return cache;
}

}  // namespace translit
