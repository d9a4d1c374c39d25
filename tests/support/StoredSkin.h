// The skin folder the dialog's stored settings name, on drive C: of the
// Wine prefix the tests run in, where scripts/run installs the skin
// "BlueIce". Tests that create the dialog put there what they need (no
// skin, the skin folder, the packed skin, a damaged copy) and, when done,
// put back what scripts/run leaves: the skin folder when a skin was
// installed before, else nothing.
#pragma once

#include <string>

namespace testing_skin {

// "c:\documents\разное\kodlab\компоненты\SkinEngine.7.33.stable.full.source\Skins",
// without a final backslash.
std::wstring StoredSkinDirectory();

enum class StoredSkin {
  None,             // neither the folder "BlueIce" nor "BlueIce.asz"
  Folder,           // the skin folder
  Packed,           // the packed file only
  TruncatedImage,   // the skin folder with one PNG image cut in half
  TruncatedPacked,  // the packed file only, cut in half
};
const char* Name(StoredSkin what);

class StoredSkinScope {
 public:
  // generated: the folder with BlueIce\ and BlueIce.asz as the native build
  // writes them (a path of the Wine drive that maps the host's root).
  StoredSkinScope(StoredSkin what, const std::string& generated);
  ~StoredSkinScope();
  StoredSkinScope(const StoredSkinScope&) = delete;
  StoredSkinScope& operator=(const StoredSkinScope&) = delete;
  // Everything was put in place.
  bool Ok() const { return FOk; }
  // The image that TruncatedImage cuts.
  static constexpr const char* kTruncatedImage = "BUTTON.PNG";

 private:
  std::wstring FGenerated;
  bool FWasInstalled = false;
  bool FOk = false;
};

}  // namespace testing_skin
