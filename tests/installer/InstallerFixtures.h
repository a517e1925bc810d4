#pragma once
// Shared pieces of the installer tests: the built sample payload, installer copies carrying another
// payload, and the folders an installation touches.

#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace test {

// The built ZorviSetup.exe.
std::wstring setupExe();
// The packed sample payload and the staged tree it was packed from (empty when the build packed a
// release engineer's client instead of the sample).
std::wstring payloadArchive();
std::wstring payloadTree();
// Copies the installer to folder and replaces its payload resource with archive's bytes.
std::wstring installerWithPayload(const std::wstring& folder, const std::string& archive);
// Removes what an installation into installPath leaves in the data folder (its cache folders).
void removeCacheFolders(const std::wstring& installPath);

} // namespace test
