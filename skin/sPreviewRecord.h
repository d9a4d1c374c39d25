// The record a skin editor sends to a program in preview mode (WM_COPYDATA
// with dwData 7): the skin to show and the options text to use for it. The
// record crosses process boundaries, between 32-bit and 64-bit programs
// alike, so it is bytes only: no field has an alignment or a size that
// depends on the target.
#pragma once

#include <cstddef>
#include <cstdint>

namespace translit {

struct TacPreviewRecord {
  static constexpr std::uint32_t kMarker = 0xA400;
  static constexpr unsigned long kKind = 7;  // COPYDATASTRUCT::dwData

  std::uint8_t Marker[4];  // kMarker, little-endian
  char SkinName[128];      // each text ends at its first zero byte
  char SkinDirectory[513];
  char Options[30001];  // the content of an options file
};
static_assert(sizeof(TacPreviewRecord) == 30646, "the preview record is 30 646 bytes on every target");
static_assert(alignof(TacPreviewRecord) == 1);
static_assert(offsetof(TacPreviewRecord, SkinName) == 4 && offsetof(TacPreviewRecord, SkinDirectory) == 132 &&
              offsetof(TacPreviewRecord, Options) == 645);

}  // namespace translit
