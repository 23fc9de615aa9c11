// File access for the burn: new output files that others may read while they grow, and exact
// reads from input files. Failures throw RecsimError naming the file.
#pragma once

#include "app/framework/Scoped.h"

#include <cstdint>
#include <span>
#include <string>

namespace recsim {

// File handles, whose "none" is INVALID_HANDLE_VALUE.
using ScopedFile = ScopedResource<HANDLE, InvalidHandleTraits<CloseKernelHandle>>;

class OutputFile {
public:
    // Creates the file, refusing to replace one. Readers, writers and deleters are let in, as the
    // program watching the capture folder opens the files while they are written.
    explicit OutputFile(std::string path);

    void Write(std::span<const uint8_t> bytes);

private:
    std::string m_path;
    ScopedFile m_file;
};

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

ScopedFile OpenForReading(const std::string& path);
uint64_t FileSize(HANDLE file, const std::string& path);
// Reads out.size() bytes from offset; a file that ends early is an error.
void ReadAt(HANDLE file, const std::string& path, uint64_t offset, std::span<uint8_t> out);

} // namespace recsim
