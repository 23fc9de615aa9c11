// Creating and deleting whole folder trees.
#pragma once

#include <string>

// Creates the folder and every missing parent: through the shell's SHCreateDirectoryExA when
// shell32 offers it, otherwise by CreateFolderTreeByHand. True when the folder exists afterwards.
bool CreateFolderTree(const std::string& path);

// The program's own recursion: strip one trailing backslash, stop if the path exists, create
// the parent (left of the last backslash) first, then this folder.
bool CreateFolderTreeByHand(const std::string& path);

// Deletes every file and sub-folder below the path, then the folder itself. Errors are ignored:
// whatever can be deleted is.
void DeleteFolderTree(const std::string& path);

// True for a drive or share root ("C:", "C:\", "\\server\share"): never a folder to wipe.
bool IsVolumeRoot(const std::string& path);
