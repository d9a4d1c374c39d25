// Programs of the host system (Linux) started from a test under Wine, and
// what tests make with them: host symbolic links, which Wine shows as
// folders with the reparse-point attribute but cannot make or remove itself
// (its CreateSymbolicLinkW answers success and makes nothing; its
// RemoveDirectoryW and DeleteFileW refuse such a link). Wine runs a file
// that is no Windows program as a host process of its own, whose handle
// cannot be waited for: callers wait for what the program does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_host {

// The host's path of a Windows path (UTF-8), "" when Wine gives none.
std::string UnixPath(const std::wstring& windowsPath);

// Starts the host program at a host path with its arguments (each handed
// over as one argument, spaces and all), in workDir when one is given;
// false when it could not be started.
bool StartHostProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::wstring& workDir = L"");

// A host symbolic link for one test: made at link (a Windows path) to
// target (a host path, absolute or relative to the link's folder), and
// removed again, itself and never what it points to, when the object goes.
class HostLink {
 public:
  HostLink(const std::wstring& link, const std::string& target);
  ~HostLink();
  HostLink(const HostLink&) = delete;
  HostLink& operator=(const HostLink&) = delete;

  // Whether the link is there, as Wine shows it.
  bool Made() const { return FMade; }

 private:
  std::wstring FLink;
  std::string FUnixLink;
  bool FMade = false;
};

}  // namespace testing_host
