// The control kind codes: the section each kind takes when none is set, and
// the sets of kinds that change how the skin data behaves (edit-like kinds
// take their colours from the skin, containers never turn hot, some kinds
// show no hover glow, some write their text in their parent's colours).
#include "controls/skindata/sCommonData.h"

namespace translit {

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

const char* DefaultSectionOfKind(int k) {
  if (InRange(k, 2, 8) || k == 10 || k == 41 || k == 76 || k == 78 || InRange(k, 83, 85) || k == 96 || k == 131 ||
      k == 140 || k == 227)
    return "EDIT";
  if (InRange(k, 11, 18) || k == 81 || k == 82) return "COMBOBOX";
  switch (k) {
    case 19:
      return "BAR";
    case 20:
      return "BARTITLE";
    case 32:
    case 152:
      return "CHECKBOX";
    case 33:
      return "RADIOBUTTON";
    case 51:
    case 59:
    case 68:
    case 73:
      return "PANEL";
    case 52:
    case 58:
      return "PANEL_LOW";
    case 53:
    case 54:
    case 60:
      return "TOOLBAR";
    case 56:
      return "DRAGBAR";
    case 57:
      return "TABSHEET";
    case 74:
    case 226:
      return "GROUPBOX";
    case 75:
      return "SPLITTER";
    case 92:
    case 95:
      return "SPEEDBUTTON";
    case 93:
    case 94:
      return "BUTTON";
    case 98:
      return "TOOLBUTTON";
    case 141:
    case 143:
      return "PAGECONTROL";
    case 151:
      return "STATUSBAR";
    case 161:
      return "GAUGE";
    case 165:
      return "TRACKBAR";
    default:
      return "";
  }
}

bool IsEditKind(int k) { return InRange(k, 2, 18) || k == 41 || InRange(k, 76, 84) || k == 96 || InRange(k, 131, 140); }

bool IsButtonKind(int k) { return InRange(k, 92, 94); }

bool IsContainerKind(int k) { return k == 19 || InRange(k, 51, 74) || k == 110 || InRange(k, 141, 161); }

bool IsNoGlowKind(int k) {
  switch (k) {
    case 51:
    case 52:
    case 54:
    case 56:
    case 57:
    case 58:
    case 59:
    case 60:
    case 68:
    case 73:
    case 74:
    case 110:
    case 141:
    case 143:
    case 151:
    case 161:
    case 226:
      return true;
    default:
      return false;
  }
}

bool DrawsOnParentKind(int k) {
  switch (k) {
    case 32:
    case 152:  // check boxes
    case 33:   // radio buttons
    case 74:
    case 226:  // group boxes
      return true;
    default:
      return false;
  }
}

}  // namespace translit
