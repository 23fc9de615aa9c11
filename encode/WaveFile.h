// A RIFF WAVE file through the multimedia file functions: reading a captured track, writing a
// WAV output. Results are HRESULTs: S_OK, E_FAIL when a multimedia call fails, E_INVALIDARG for
// a null argument, CO_E_NOTINITIALIZED when no file is open.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <vector>

class WaveFile {
public:
    enum Mode { kRead = 1, kWrite = 2 };

    WaveFile() = default;
    ~WaveFile();
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    // Read: the format and the data chunk of an existing file. Write: a new file with the given
    // format, its head written and its data chunk open.
    HRESULT Open(const char* path, const WAVEFORMATEX* format, Mode mode);
    // Read side: up to size bytes of the data chunk, never past its end. A size the writer never
    // fixed (0, a placeholder, or more than the file holds) is taken as what the file holds, in
    // whole sample frames; DataSize tells it.
    HRESULT Read(BYTE* buffer, DWORD size, DWORD* read);
    // Read side: back to the start of the data.
    HRESULT ResetFile();
    // Write side: appends the bytes to the data chunk.
    HRESULT Write(DWORD size, const BYTE* data, DWORD* written);
    // Write side: fixes the sizes and the "fact" value; both sides release the file.
    HRESULT Close();

    const WAVEFORMATEX* Format() const {
        return m_format.empty() ? nullptr : reinterpret_cast<const WAVEFORMATEX*>(m_format.data());
    }
    DWORD DataSize() const { return m_dataSize; }

private:
    HRESULT ReadHead();
    HRESULT FindData();
    void FitToFile(MMCKINFO& chunk, DWORD unit) const;
    HRESULT WriteHead(const WAVEFORMATEX* format);
    HRESULT FinishWrite();
    HRESULT Fail();

    std::vector<BYTE> m_format;
    HMMIO m_file = nullptr;
    MMCKINFO m_riff{};
    MMCKINFO m_chunk{};
    MMIOINFO m_info{};
    DWORD m_dataSize = 0;
    DWORD m_fileBytes = 0;
    Mode m_mode = kRead;
};
