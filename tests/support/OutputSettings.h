// The settings that the track finish reads, set for the length of a test.
#pragma once

#include "app/Settings.h"

#include <string>

namespace qvltest {

// Sets the output folder, the filename format and the output format, and puts back what was there.
class ScopedOutputSettings {
public:
    ScopedOutputSettings(const std::string& folder, const std::string& filenameFormat, OutputFormat format);
    ~ScopedOutputSettings();
    ScopedOutputSettings(const ScopedOutputSettings&) = delete;
    ScopedOutputSettings& operator=(const ScopedOutputSettings&) = delete;

private:
    std::string m_folder;
    std::string m_filenameFormat;
    OutputFormat m_format;
};

// A folder below root that can never be created, because a file of its parent's name is in the way.
std::string UncreatableFolder(const std::string& root);

} // namespace qvltest
