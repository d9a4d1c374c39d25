// A skin manager over test skins written to a temporary folder, one of them
// loaded, with the animation effects installed while it lives if asked for.
#pragma once

#include <functional>
#include <string>

#include "framework/Application.h"
#include "render/effects/acEffects.h"
#include "skin/sSkinManager.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

class LoadedSkin {
 public:
  // write puts the skin folders into the temporary folder it is given.
  LoadedSkin(const std::function<void(const std::string& dir)>& write, const std::string& name, bool effects)
      : effects_(effects) {
    fw::EnsureApplication().Initialize();
    RegisterSkinManagerClasses();
    if (effects_) InstallEffects();
    write(tmp.Path());
    manager = new TsSkinManager(nullptr);
    manager->SetSkinDirectory(tmp.Path());
    manager->SetSkinName(name);
  }
  ~LoadedSkin() {
    delete manager;
    if (effects_) ShutdownEffects();
  }
  LoadedSkin(const LoadedSkin&) = delete;
  LoadedSkin& operator=(const LoadedSkin&) = delete;

  testing_files::TempFolder tmp;
  TsSkinManager* manager = nullptr;

 private:
  bool effects_;
};

}  // namespace translit::test
