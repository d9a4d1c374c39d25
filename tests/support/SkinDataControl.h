// A windowed test control that owns skin data the way skinned controls do:
// its messages pass through the skin data first, it resolves its section
// once a stored layout that made it has been read, and it logs the commands
// of the skin messages that reach it.
#pragma once

#include <vector>

#include "controls/protocol/sMessages.h"
#include "controls/skindata/sCommonData.h"
#include "framework/Controls.h"

namespace translit::test {

class TSkinDataControl : public fw::TWinControl {
 public:
  explicit TSkinDataControl(fw::TComponent* owner, int kind = 0, bool cache = true)
      : fw::TWinControl(owner), FSkinData(this, cache, kind) {
    SetBounds(0, 0, 40, 20);
  }
  const char* ClassName() const override { return "TSkinDataControl"; }
  TsCtrlSkinData& SkinData() { return FSkinData; }
  // The command of every skin message, in the order they came.
  std::vector<int> log;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (IsSkinMessage(m)) log.push_back(ReadSkinMessage(m).Command);
    if (FSkinData.CommonMessage(m)) return;
    fw::TWinControl::WndProc(m);
  }
  void Loaded() override {
    fw::TWinControl::Loaded();
    FSkinData.ChooseSection();
  }

 private:
  TsCtrlSkinData FSkinData;
};

}  // namespace translit::test
