// A windowed test control that owns skin data the way skinned controls do:
// its messages pass through the skin data first.
#pragma once

#include "controls/skindata/sCommonData.h"
#include "framework/Controls.h"

namespace translit::test {

class TSkinDataControl : public fw::TWinControl {
 public:
  explicit TSkinDataControl(fw::TComponent* owner, int kind = 0) : fw::TWinControl(owner), FSkinData(this, true, kind) {
    SetBounds(0, 0, 40, 20);
  }
  const char* ClassName() const override { return "TSkinDataControl"; }
  TsCtrlSkinData& SkinData() { return FSkinData; }

 protected:
  void WndProc(fw::TMessage& m) override {
    if (FSkinData.CommonMessage(m)) return;
    fw::TWinControl::WndProc(m);
  }

 private:
  TsCtrlSkinData FSkinData;
};

}  // namespace translit::test
