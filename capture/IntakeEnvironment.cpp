#include "capture/IntakeEnvironment.h"

#include "app/FolderTree.h"

void IntakeEnvironment::DeleteSessionFolder(const std::string& folder) const {
    DeleteFolderTree(folder);
}
