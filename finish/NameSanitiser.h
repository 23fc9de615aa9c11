// Cleaning paths and names before they reach the file system.
#pragma once

#include <string>

// Cleans a folder path: characters Windows refuses become the replacement, doubled separators
// collapse, a relative path can be put on the system drive, "/" becomes "\".
void SanitisePath(std::string& path, char replacement, bool makeAbsolute);
