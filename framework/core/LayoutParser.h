// Reads the text form of a stored layout into a tree of objects and property
// values. Portable; strings come out in UTF-8 ("#1055" escapes are Unicode
// code points, quoted text is taken as UTF-8).
//
//   object Form1: TForm1
//     Caption = 'Help for ' + 'Lorvanta'
//     BorderIcons = [biSystemMenu]
//     Font.Height = -11
//     Panels = <
//       item
//         Width = 50
//       end>
//     Data = {0A0B}
//     object Button1: TButton ... end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/SysUtils.h"

namespace fw {

struct StoredObject;
struct StoredProperty;

struct StoredValue {
  enum Kind { kInteger, kFloat, kString, kIdent, kSet, kBinary, kCollection, kList };
  Kind kind = kInteger;
  std::int64_t integer = 0;
  double number = 0;
  std::string text;                                // kString, kIdent
  std::vector<std::string> names;                  // kSet
  std::vector<std::uint8_t> bytes;                 // kBinary
  std::vector<std::vector<StoredProperty>> items;  // kCollection: properties per item
  std::vector<StoredValue> list;                   // kList: "( a b c )"
};

struct StoredProperty {
  std::string name;  // may be dotted: "Font.Height"
  StoredValue value;
  int line = 0;
};

struct StoredObject {
  std::string name;
  std::string className;
  bool inherited = false;
  std::vector<StoredProperty> properties;
  std::vector<StoredObject> children;
};

class ELayoutError : public Exception {
 public:
  using Exception::Exception;
};

// Throws ELayoutError naming the line on malformed text.
StoredObject ParseLayout(std::string_view text);

}  // namespace fw
