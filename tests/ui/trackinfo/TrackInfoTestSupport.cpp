#include "tests/ui/trackinfo/TrackInfoTestSupport.h"

#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"

#include <cstdlib>

namespace qvltest {

void TrackInfoTest::SetUp() {
    const char* sources = std::getenv("QVL_TRACKINFO_SOURCES");
    ASSERT_NE(sources, nullptr) << "the fixture names the source files' folder";
    ASSERT_TRUE(FileExists(std::string(sources) + "\\source.flac"));
    CreateFolderTree(DefaultCaptureFolder());
}

std::string TrackInfoTest::Copy(const std::string& name, const std::string& as) {
    const std::string target = m_folder / (as.empty() ? name : as);
    CopyFileA((std::string(std::getenv("QVL_TRACKINFO_SOURCES")) + "\\" + name).c_str(), target.c_str(),
              FALSE);
    return target;
}

} // namespace qvltest
