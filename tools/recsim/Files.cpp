#include "tools/recsim/Files.h"

#include "tools/recsim/Errors.h"

#include <algorithm>
#include <utility>

namespace recsim {
namespace {

// ReadFile and WriteFile take 32-bit lengths; larger spans go in pieces.
constexpr size_t kMaxTransfer = 1 << 30;

} // namespace

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {
    m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) {
        ThrowLastError("cannot create " + m_path);
    }
}

void OutputFile::Write(std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kMaxTransfer));
        if (!WriteFile(m_file.Get(), bytes.data(), piece, &written, nullptr) || written == 0) {
            ThrowLastError("cannot write " + m_path);
        }
        bytes = bytes.subspan(written);
    }
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    OutputFile(path).Write(bytes);
}

ScopedFile OpenForReading(const std::string& path) {
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ThrowLastError("cannot open " + path);
    }
    return file;
}

uint64_t FileSize(HANDLE file, const std::string& path) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        ThrowLastError("cannot read the size of " + path);
    }
    return static_cast<uint64_t>(size.QuadPart);
}

void ReadAt(HANDLE file, const std::string& path, uint64_t offset, std::span<uint8_t> out) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
        ThrowLastError("cannot seek in " + path);
    }
    while (!out.empty()) {
        DWORD read = 0;
        DWORD piece = static_cast<DWORD>(std::min(out.size(), kMaxTransfer));
        if (!ReadFile(file, out.data(), piece, &read, nullptr)) {
            ThrowLastError("cannot read " + path);
        }
        if (read == 0) {
            throw RecsimError(path + " ends early");
        }
        out = out.subspan(read);
    }
}

} // namespace recsim
