// The interim folder tree of the renaming dialog.
#include "app/FolderTree.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/Handles.h"

namespace translit::app {

namespace {

// Nodes keep a marker in Data telling whether their children were read.
void* const kFilled = reinterpret_cast<void*>(1);

bool IsDots(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  fw::FindHandle find(::FindFirstFileA((folder + "*.*").c_str(), &fd));
  if (!find.Valid()) return names;
  do {
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDots(fd.cFileName)) names.emplace_back(fd.cFileName);
  } while (::FindNextFileA(find.Get(), &fd));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

std::string ComputerCaption() {
  // The shell's own name of the computer folder, as the user knows it.
  std::string caption = "Computer";
  LPITEMIDLIST raw = nullptr;
  if (SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw))) {
    std::unique_ptr<ITEMIDLIST, decltype(&::CoTaskMemFree)> pidl(raw, &::CoTaskMemFree);
    SHFILEINFOA info{};
    if (::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl.get()), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME) &&
        info.szDisplayName[0])
      caption = info.szDisplayName;
  }
  return caption;
}

}  // namespace

TFolderTree::TFolderTree(fw::TComponent* owner) : fw::TTreeView(owner) {}

void TFolderTree::Loaded() {
  fw::TTreeView::Loaded();
  BuildRoot();
}

void TFolderTree::BuildRoot() {
  Items().Clear();
  fw::TTreeNode* root = Items().AddChild(nullptr, ComputerCaption());
  root->SetHasChildren(true);
  root->Expand(false);
  SetSelected(root);
}

bool TFolderTree::CanExpand(fw::TTreeNode* node) {
  if (node->Data() != kFilled) FillChildren(node);
  return fw::TTreeView::CanExpand(node);
}

void TFolderTree::FillChildren(fw::TTreeNode* node) {
  node->SetData(kFilled);
  Items().BeginUpdate();
  if (!node->Parent()) {
    char drives[512] = {};
    DWORD n = ::GetLogicalDriveStringsA(sizeof(drives) - 1, drives);
    for (const char* d = drives; d < drives + n && *d; d += std::strlen(d) + 1) {
      fw::TTreeNode* drive = Items().AddChild(node, std::string(d, 2));
      drive->SetHasChildren(true);
    }
  } else {
    std::string path = PathOf(node);
    if (path.back() != '\\') path += '\\';
    for (const std::string& name : SubfolderNames(path)) {
      fw::TTreeNode* child = Items().AddChild(node, name);
      // Whether it has subfolders is found out when it is opened.
      child->SetHasChildren(true);
    }
  }
  if (!node->GetFirstChild()) node->SetHasChildren(false);
  Items().EndUpdate();
}

std::string TFolderTree::PathOf(const fw::TTreeNode* node) const {
  if (!node) return {};
  if (!node->Parent()) return node->Text();
  std::vector<std::string> parts;
  for (const fw::TTreeNode* n = node; n->Parent(); n = n->Parent()) parts.push_back(n->Text());
  std::string path = parts.back() + "\\";  // the drive, "C:"
  for (auto it = parts.rbegin() + 1; it != parts.rend(); ++it) {
    path += *it;
    if (it + 1 != parts.rend()) path += "\\";
  }
  return path;
}

std::string TFolderTree::CurrentPath() const { return PathOf(Selected()); }

bool TFolderTree::SelectPath(const std::string& path) {
  fw::TTreeNode* node = Items().GetFirstNode();
  if (!node) return false;
  std::string rest = path;
  while (!rest.empty() && rest.back() == '\\') rest.pop_back();
  std::vector<std::string> parts;
  for (std::size_t start = 0; start <= rest.size();) {
    std::size_t slash = rest.find('\\', start);
    if (slash == std::string::npos) slash = rest.size();
    parts.push_back(rest.substr(start, slash - start));
    start = slash + 1;
  }
  for (const std::string& part : parts) {
    node->Expand(false);
    fw::TTreeNode* next = nullptr;
    for (fw::TTreeNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
      if (::lstrcmpiA(c->Text().c_str(), part.c_str()) == 0) next = c;
    if (!next) return false;
    node = next;
  }
  SetSelected(node);
  node->MakeVisible();
  return true;
}

}  // namespace translit::app
