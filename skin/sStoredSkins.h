// Skins stored in the program: the manager's InternalSkins collection. Each
// item's "Data" is a whole packed skin file, streamed as a binary property of
// the form's stored layout; only Name and Data take part in loading.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/core/LayoutParser.h"
#include "framework/core/Persistent.h"

namespace fw {
struct TLoadContext;
}

namespace translit {

// The stored form of a bitmap property: "Data" holds a 32-bit length and a
// BMP file.
class TsStoredBitmap : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TsStoredBitmap"; }
  std::shared_ptr<fw::TBitmap> Bitmap = std::make_shared<fw::TBitmap>();
  void SetData(const std::vector<std::uint8_t>& data);
};

class TsStoredSkin : public fw::TPersistent {
 public:
  const char* ClassName() const override { return "TsStoredSkin"; }

  std::string Name;
  TsStoredBitmap MasterBitmap;
  fw::TColor Shadow1Color = 0;
  int Shadow1Offset = 0;
  int Shadow1Blur = -1;
  int Shadow1Transparency = 0;
  fw::TColor BorderColor = 0xFF00FF;
  double Version = 0;
  std::string Author;
  std::string Description;
  std::vector<std::uint8_t> Data;  // a packed skin file

  // Copies the data bytes, the name, the bitmap and all the values.
  void Assign(const TsStoredSkin& source);
  // The sub-object a layout's "MasterBitmap.Data" is read into.
  TsStoredBitmap& MasterBitmapProperty() { return MasterBitmap; }
};

class TsStoredSkins {
 public:
  TsStoredSkin& Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TsStoredSkin& Items(int i) { return *FItems.at(static_cast<std::size_t>(i)); }
  const TsStoredSkin& Items(int i) const { return *FItems.at(static_cast<std::size_t>(i)); }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TsStoredSkin>> FItems;
};

// Registers the published properties of TsStoredSkin (once, with the other
// classes a layout may set properties on).
void RegisterStoredSkinClasses();
// Fills the collection from a stored "InternalSkins = < item ... end >" value.
void ReadStoredSkins(TsStoredSkins& skins, const fw::StoredValue& value, fw::TLoadContext& ctx);

}  // namespace translit
