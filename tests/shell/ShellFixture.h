// Shared pieces of the shell tests: folder objects for real paths (made in a
// TempFolder of tests/support), and children in shell order.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/acShellFolder.h"
#include "tests/support/TempFolder.h"

namespace translit::test {

// The absolute list of a path, parsed by the desktop; null when it fails.
ItemListPtr ParsePath(const std::string& path);
// A folder object for a path, made as a root is: below the desktop object.
std::unique_ptr<TacShellFolder> FolderObjectOf(const std::string& path);
// The children of a folder object for SHCONTF flags, in the shell's order.
std::vector<std::unique_ptr<TacShellFolder>> ChildrenOf(TacShellFolder& folder, DWORD flags);
// The child whose caption (seSystem) is name, or null.
TacShellFolder* ChildNamed(const std::vector<std::unique_ptr<TacShellFolder>>& children, const std::string& name);

// A folder on disk as the shell tree meets it: its folder object (null when
// the path names no folder) and its children for SHCONTF flags, in the
// shell's order, looked up by caption.
struct ListedFolder {
  std::unique_ptr<TacShellFolder> root;
  std::vector<std::unique_ptr<TacShellFolder>> children;
  TacShellFolder* operator[](const std::string& name) const { return ChildNamed(children, name); }
};
ListedFolder ItemsOf(const std::string& path, DWORD flags);

// A shell folder that lives on the test's stack (reference counts do
// nothing) and answers every question "not implemented": a base for
// scripted folders, which answer the few questions a test is about.
class TStubShellFolder : public IShellFolder {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = (iid == IID_IUnknown || iid == IID_IShellFolder) ? static_cast<IShellFolder*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, LPBC, LPOLESTR, ULONG*, LPITEMIDLIST*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST, LPBC, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, LPCITEMIDLIST*, SFGAOF*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID, UINT*, void** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, SHGDNF, LPITEMIDLIST*) override {
    return E_NOTIMPL;
  }
};

}  // namespace translit::test
