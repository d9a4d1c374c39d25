// Removes a folder with everything below it (read-only files included), for
// tests and benchmarks that make folder trees on disk. Links below it are
// not followed (and, where the platform cannot remove them, left).
#pragma once

#include <string>

namespace testing_files {

void RemoveTree(const std::wstring& folder);
// The same for a path in the program's code page.
void RemoveTree(const std::string& folder);

}  // namespace testing_files
