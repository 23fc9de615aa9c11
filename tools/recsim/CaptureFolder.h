// Where burns go: the capture folder the program names in the registry, and a new burn folder in it.
#pragma once

#include <string>

namespace recsim {

// HKLM\Software\Quaverlane, value TempFolder; throws when it is missing.
std::string CaptureFolderFromRegistry();

// Creates the capture folder if needed, then a burn folder in it whose name sorts after every
// folder already there; returns the burn folder's full path.
std::string CreateBurnFolder(const std::string& captureFolder);

} // namespace recsim
