// The processor a Windows benchmark ran as, named at the end of its RESULT
// line: the same benchmark runs as 32-bit and as 64-bit code.
#pragma once

namespace translit::bench {

#if defined(_WIN64)
inline constexpr const char* kArchField = " arch=x64";
#elif defined(_WIN32)
inline constexpr const char* kArchField = " arch=x86";
#else
inline constexpr const char* kArchField = "";
#endif

}  // namespace translit::bench
