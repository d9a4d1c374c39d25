// The image value syntaxes of skin options: which values name image pieces
// and what piece each describes. The loader decodes the named files and adds
// the pieces; this part only reads the text.
//
//   "!file!states!layers!format!left!top!right!bottom!fill"  own bitmap
//   "@LLLL,TTTT,RRRR,BBBB,s,l"                               cut from master, format 2
//   "^LLLL,TTTT,RRRR,BBBB,mmmm,mmmm,mmmm,mmmm,s,l,f,u"       cut, with margins
//   "~LLLL,TTTT,RRRR,BBBB,ff,l"                              cut texture, format 1
//   "name#(L,T,R,B) (states,layers,margin,fill)"             cut, names upper-case
//   "FILE.BMP"                                               own bitmap, 3 states, 1 layer
// The fixed-width fields of '@', '^' and '~' are converted strictly: a bad
// number fails the load with the conversion error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "skin/sSkinData.h"

namespace translit {

enum class TacImageSyntax { OwnFile, Master, MasterMargins, MasterTexture, Rect, PlainFile };

struct TacImageValue {
  TacImageSyntax Syntax;
  // Image file or packed entry to decode, for OwnFile (as written) and
  // PlainFile (upper-case); empty for pieces cut from the master bitmap.
  std::string FileName;
  // The piece as far as the text describes it. For own files SrcRect and,
  // where MarginsFromImage is set, the margins follow from the decoded image
  // (FinishOwnBitmapPiece).
  TsMaskData Mask;
  bool MarginsFromImage = false;
};

// Classifies and parses one value. Empty when the value is not an image
// value (or a '!' file name without ".BMP"/".PNG" as written). With
// commonOnly (pieces of the manager's common sections) only the "#" and the
// plain file syntaxes count.
std::optional<TacImageValue> ParseImageValue(std::string_view section, std::string_view key, std::string_view value,
                                             bool commonOnly = false);

// Completes an own-bitmap piece once its image is decoded: SrcRect is the
// whole image, and margins are computed where the text gave none. Throws
// "Division by zero" for a zero state count there.
void FinishOwnBitmapPiece(TacImageValue& piece, int imageWidth, int imageHeight);

// Words of text separated by any of the delimiters; runs of delimiters count
// as one and empty words never appear. 1-based, empty past the last word.
std::string_view ExtractWord(std::size_t n, std::string_view text, std::string_view delimiters);
std::size_t WordCount(std::string_view text, std::string_view delimiters);

}  // namespace translit
