// The process's GDI and USER object counts, for tests that repeat work and
// check that nothing is left behind. Windows answers GetGuiResources; Wine
// answers 0 there, so on Wine the GDI count is read from the process's GDI
// handle table and the USER count is the number of the process's windows.
#pragma once

namespace testing_gui {

int GdiObjectCount();
int UserObjectCount();

}  // namespace testing_gui
