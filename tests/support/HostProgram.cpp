// Host programs and host symbolic links for tests under Wine.
#include "tests/support/HostProgram.h"

#include <functional>

namespace testing_host {

namespace {

std::wstring Widen(const std::string& utf8) {
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

// One argument of a command line, quoted so that the usual splitting
// (Wine's for the host program's argument list) gives it back whole.
std::wstring Quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, the quote escaped.
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

// The host path of a host program as Wine's drive Z: (the host's root)
// names it.
std::wstring OnDriveZ(const std::string& program) {
  std::wstring path = L"Z:" + Widen(program);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(20);
  }
  return true;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::string UnixPath(const std::wstring& windowsPath) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  char* name = unixName(windowsPath.c_str());
  if (!name) return {};
  std::string out = name;
  ::HeapFree(::GetProcessHeap(), 0, name);
  return out;
}

bool StartHostProgram(const std::string& program, const std::vector<std::string>& args, const std::wstring& workDir) {
  const std::wstring file = OnDriveZ(program);
  std::wstring commandLine = Quoted(file);
  for (const std::string& arg : args) commandLine += L" " + Quoted(Widen(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? nullptr : workDir.c_str(), &startup, &info))
    return false;
  if (info.hThread) ::CloseHandle(info.hThread);
  if (info.hProcess) ::CloseHandle(info.hProcess);
  return true;
}

HostLink::HostLink(const std::wstring& link, const std::string& target) : FLink(link), FUnixLink(UnixPath(link)) {
  if (FUnixLink.empty() || Exists(link)) return;
  if (!StartHostProgram("/usr/bin/ln", {"-s", target, FUnixLink})) return;
  FMade = WaitFor([&] { return Exists(FLink); }, 5000);
}

HostLink::~HostLink() {
  if (!FMade) return;
  // "rm" without options removes the link itself, never a folder.
  if (StartHostProgram("/usr/bin/rm", {FUnixLink})) WaitFor([&] { return !Exists(FLink); }, 5000);
}

}  // namespace testing_host
