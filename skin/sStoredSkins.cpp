// Skins stored in the program.
#include "skin/sStoredSkins.h"

#include <cstring>

#include "framework/ClassRegistry.h"

namespace translit {

void TsStoredBitmap::SetData(const std::vector<std::uint8_t>& data) {
  auto bmp = std::make_shared<fw::TBitmap>();
  if (data.size() >= 4) {
    std::uint32_t size = 0;
    std::memcpy(&size, data.data(), 4);
    if (size > 0 && size <= data.size() - 4) {
      fw::TMemoryStream s(std::vector<std::uint8_t>(data.begin() + 4, data.begin() + 4 + size));
      bmp->LoadFromStream(s);
    }
  }
  Bitmap = std::move(bmp);
}

void TsStoredSkin::Assign(const TsStoredSkin& source) {
  Data = source.Data;
  Name = source.Name;
  auto bmp = std::make_shared<fw::TBitmap>();
  if (source.MasterBitmap.Bitmap && source.MasterBitmap.Bitmap->Width() > 0) bmp->Assign(*source.MasterBitmap.Bitmap);
  MasterBitmap.Bitmap = std::move(bmp);
  Shadow1Color = source.Shadow1Color;
  Shadow1Offset = source.Shadow1Offset;
  Shadow1Blur = source.Shadow1Blur;
  Shadow1Transparency = source.Shadow1Transparency;
  BorderColor = source.BorderColor;
  Version = source.Version;
  Author = source.Author;
  Description = source.Description;
}

TsStoredSkin& TsStoredSkins::Add() {
  FItems.push_back(std::make_unique<TsStoredSkin>());
  return *FItems.back();
}

namespace {

using fw::StoredValue;
using fw::TLoadContext;

std::vector<std::uint8_t> Binary(const StoredValue& v) {
  if (v.kind != StoredValue::kBinary) throw fw::EPropertyError("Invalid property value");
  return v.bytes;
}

double Float(const StoredValue& v) {
  if (v.kind == StoredValue::kFloat) return v.number;
  return static_cast<double>(fw::StoredInteger(v));
}

}  // namespace

void RegisterStoredSkinClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::RegisterClass<TsStoredBitmap>("TsStoredBitmap", "", false)
      .Custom("Data", [](TsStoredBitmap& b, const StoredValue& v, TLoadContext&) { b.SetData(Binary(v)); });
  fw::RegisterClass<TsStoredSkin>("TsStoredSkin", "", false)
      .Custom("Name", [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Name = fw::StoredAnsiString(v); })
      .Object("MasterBitmap", &TsStoredSkin::MasterBitmapProperty)
      .Custom(
          "Shadow1Color",
          [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Shadow1Color = fw::StoredColor(v); }, "clBlack")
      .Custom(
          "Shadow1Offset",
          [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) {
            s.Shadow1Offset = static_cast<int>(fw::StoredInteger(v));
          },
          "0")
      .Custom(
          "Shadow1Blur",
          [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) {
            s.Shadow1Blur = static_cast<int>(fw::StoredInteger(v));
          },
          "-1")
      .Custom(
          "Shadow1Transparency",
          [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) {
            s.Shadow1Transparency = static_cast<int>(fw::StoredInteger(v));
          },
          "0")
      .Custom(
          "BorderColor",
          [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.BorderColor = fw::StoredColor(v); }, "16711935")
      .Custom("Version", [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Version = Float(v); })
      .Custom("Author",
              [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Author = fw::StoredAnsiString(v); })
      .Custom("Description",
              [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Description = fw::StoredAnsiString(v); })
      .Custom("Data", [](TsStoredSkin& s, const StoredValue& v, TLoadContext&) { s.Data = Binary(v); });
}

void ReadStoredSkins(TsStoredSkins& skins, const StoredValue& value, TLoadContext& ctx) {
  if (value.kind != StoredValue::kCollection) throw fw::EPropertyError("Invalid property value");
  RegisterStoredSkinClasses();
  skins.Clear();
  for (const auto& item : value.items) {
    TsStoredSkin& skin = skins.Add();
    for (const fw::StoredProperty& p : item) fw::ClassRegistry::Instance().SetProperty(skin, p.name, p.value, ctx);
  }
}

}  // namespace translit
