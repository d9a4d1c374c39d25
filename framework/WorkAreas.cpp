// The monitors' work areas, kept until the display or settings change.
#include "framework/WorkAreas.h"

#include <vector>

namespace fw {

namespace {

struct MonitorArea {
  RECT monitor, work;
};

struct KnownAreas {
  bool read = false;
  std::vector<MonitorArea> monitors;
};

KnownAreas& Known() {
  static KnownAreas known;
  return known;
}

BOOL CALLBACK Collect(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoA(monitor, &info))
    reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back(MonitorArea{info.rcMonitor, info.rcWork});
  return TRUE;
}

}  // namespace

RECT WorkAreaOf(HWND window) {
  KnownAreas& known = Known();
  if (!known.read) {
    known.monitors.clear();
    ::EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&known.monitors));
    known.read = true;
  }
  RECT r{};
  ::GetWindowRect(window, &r);
  const MonitorArea* best = nullptr;
  long long bestArea = 0;
  for (const MonitorArea& m : known.monitors) {
    RECT common{};
    if (!::IntersectRect(&common, &r, &m.monitor)) continue;
    const long long area = static_cast<long long>(common.right - common.left) * (common.bottom - common.top);
    if (area > bestArea) {
      bestArea = area;
      best = &m;
    }
  }
  if (best) return best->work;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

void ForgetWorkAreas() { Known().read = false; }

}  // namespace fw
