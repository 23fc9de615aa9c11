#include "tests/support/OutputSettings.h"

#include "tests/support/TestSupport.h"

#include <utility>

namespace qvltest {

ScopedOutputSettings::ScopedOutputSettings(const std::string& folder, const std::string& filenameFormat,
                                           OutputFormat format) {
    Settings& settings = GetSettings();
    m_folder = std::exchange(settings.outputFolder, folder);
    m_filenameFormat = std::exchange(settings.filenameFormat, filenameFormat);
    m_format = std::exchange(settings.outputFormat, format);
}

ScopedOutputSettings::~ScopedOutputSettings() {
    Settings& settings = GetSettings();
    settings.outputFolder = m_folder;
    settings.filenameFormat = m_filenameFormat;
    settings.outputFormat = m_format;
}

std::string UncreatableFolder(const std::string& root) {
    WriteFile(root + "\\in-the-way", "a file, not a folder");
    return root + "\\in-the-way\\Music";
}

} // namespace qvltest
