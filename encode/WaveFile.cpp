#include "encode/WaveFile.h"

#include <cstring>

namespace {

constexpr DWORD kFactPlaceholder = 0xFFFFFFFF;

} // namespace

WaveFile::~WaveFile() {
    Close();
}

HRESULT WaveFile::Fail() {
    if (m_file != nullptr) {
        mmioClose(m_file, 0);
        m_file = nullptr;
    }
    return E_FAIL;
}

HRESULT WaveFile::Open(const char* path, const WAVEFORMATEX* format, Mode mode) {
    if (path == nullptr || (mode == kWrite && format == nullptr)) {
        return E_INVALIDARG;
    }
    Close();
    m_mode = mode;
    DWORD flags =
        mode == kRead ? (MMIO_ALLOCBUF | MMIO_READ) : (MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_CREATE);
    m_file = mmioOpenA(const_cast<char*>(path), nullptr, flags);
    if (m_file == nullptr) {
        return E_FAIL;
    }
    return mode == kRead ? ReadHead() : WriteHead(format);
}

HRESULT WaveFile::ReadHead() {
    LONG fileBytes = mmioSeek(m_file, 0, SEEK_END);
    if (fileBytes == -1 || mmioSeek(m_file, 0, SEEK_SET) != 0) {
        return Fail();
    }
    m_fileBytes = static_cast<DWORD>(fileBytes);
    if (mmioDescend(m_file, &m_riff, nullptr, 0) != 0 || m_riff.ckid != FOURCC_RIFF ||
        m_riff.fccType != mmioFOURCC('W', 'A', 'V', 'E')) {
        return Fail();
    }
    // The chunks inside are only looked for within the RIFF chunk's size, so it must be one the
    // file can hold.
    FitToFile(m_riff, 1);
    m_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(m_file, &m_chunk, &m_riff, MMIO_FINDCHUNK) != 0 || m_chunk.cksize < 16) {
        return Fail();
    }
    PCMWAVEFORMAT head;
    if (mmioRead(m_file, reinterpret_cast<HPSTR>(&head), sizeof head) != sizeof head) {
        return Fail();
    }
    if (head.wf.wFormatTag == WAVE_FORMAT_PCM) {
        m_format.assign(sizeof(WAVEFORMATEX), 0);
        std::memcpy(m_format.data(), &head, sizeof head);
    } else {
        WORD extra = 0;
        if (mmioRead(m_file, reinterpret_cast<HPSTR>(&extra), sizeof extra) != sizeof extra) {
            return Fail();
        }
        m_format.assign(sizeof(WAVEFORMATEX) + extra, 0);
        std::memcpy(m_format.data(), &head, sizeof head);
        reinterpret_cast<WAVEFORMATEX*>(m_format.data())->cbSize = extra;
        if (extra > 0 && mmioRead(m_file, reinterpret_cast<HPSTR>(m_format.data() + sizeof(WAVEFORMATEX)),
                                  extra) != static_cast<LONG>(extra)) {
            return Fail();
        }
    }
    if (mmioAscend(m_file, &m_chunk, 0) != 0) {
        return Fail();
    }
    return ResetFile();
}

HRESULT WaveFile::FindData() {
    m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(m_file, &m_chunk, &m_riff, MMIO_FINDCHUNK) != 0) {
        return Fail();
    }
    WORD frame = Format()->nBlockAlign;
    FitToFile(m_chunk, frame > 1 ? frame : 1);
    m_dataSize = m_chunk.cksize;
    return S_OK;
}

void WaveFile::FitToFile(MMCKINFO& chunk, DWORD unit) const {
    // A writer that stopped early leaves the size it started with (0), a placeholder
    // (0xFFFFFFFF) or the size it meant to reach: the chunk then runs to the end of the file, cut
    // to whole units, as its last unit may be torn.
    DWORD present = m_fileBytes > chunk.dwDataOffset ? m_fileBytes - chunk.dwDataOffset : 0;
    if (chunk.cksize == 0 || chunk.cksize > present) {
        chunk.cksize = present - present % unit;
    }
}

HRESULT WaveFile::ResetFile() {
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (mmioSeek(m_file, static_cast<LONG>(m_riff.dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1) {
        return Fail();
    }
    return FindData();
}

HRESULT WaveFile::Read(BYTE* buffer, DWORD size, DWORD* read) {
    if (buffer == nullptr || read == nullptr) {
        return E_INVALIDARG;
    }
    *read = 0;
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    if (mmioGetInfo(m_file, &m_info, 0) != 0) {
        return E_FAIL;
    }
    // Never past the end of the data chunk.
    DWORD left = m_chunk.cksize;
    DWORD wanted = size < left ? size : left;
    m_chunk.cksize -= wanted;
    for (DWORD i = 0; i < wanted; ++i) {
        if (m_info.pchNext == m_info.pchEndRead) {
            if (mmioAdvance(m_file, &m_info, MMIO_READ) != 0 || m_info.pchNext == m_info.pchEndRead) {
                mmioSetInfo(m_file, &m_info, 0);
                return E_FAIL;
            }
        }
        buffer[i] = static_cast<BYTE>(*m_info.pchNext++);
        ++*read;
    }
    return mmioSetInfo(m_file, &m_info, 0) == 0 ? S_OK : E_FAIL;
}

HRESULT WaveFile::WriteHead(const WAVEFORMATEX* format) {
    m_riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    m_riff.cksize = 0;
    if (mmioCreateChunk(m_file, &m_riff, MMIO_CREATERIFF) != 0) {
        return Fail();
    }
    DWORD formatSize = format->wFormatTag == WAVE_FORMAT_PCM ? 16 : sizeof(WAVEFORMATEX) + format->cbSize;
    m_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    m_chunk.cksize = formatSize;
    if (mmioCreateChunk(m_file, &m_chunk, 0) != 0 ||
        mmioWrite(m_file, reinterpret_cast<const char*>(format), static_cast<LONG>(formatSize)) !=
            static_cast<LONG>(formatSize) ||
        mmioAscend(m_file, &m_chunk, 0) != 0) {
        return Fail();
    }
    m_chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
    m_chunk.cksize = 0;
    DWORD placeholder = kFactPlaceholder;
    if (mmioCreateChunk(m_file, &m_chunk, 0) != 0 ||
        mmioWrite(m_file, reinterpret_cast<const char*>(&placeholder), sizeof placeholder) !=
            sizeof placeholder ||
        mmioAscend(m_file, &m_chunk, 0) != 0) {
        return Fail();
    }
    m_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    m_chunk.cksize = 0;
    if (mmioCreateChunk(m_file, &m_chunk, 0) != 0 || mmioGetInfo(m_file, &m_info, 0) != 0) {
        return Fail();
    }
    m_format.assign(reinterpret_cast<const BYTE*>(format),
                    reinterpret_cast<const BYTE*>(format) + formatSize);
    return S_OK;
}

HRESULT WaveFile::Write(DWORD size, const BYTE* data, DWORD* written) {
    if (data == nullptr || written == nullptr) {
        return E_INVALIDARG;
    }
    *written = 0;
    if (m_file == nullptr) {
        return CO_E_NOTINITIALIZED;
    }
    for (DWORD i = 0; i < size; ++i) {
        if (m_info.pchNext == m_info.pchEndWrite) {
            m_info.dwFlags |= MMIO_DIRTY;
            if (mmioAdvance(m_file, &m_info, MMIO_WRITE) != 0) {
                return E_FAIL;
            }
        }
        *m_info.pchNext++ = static_cast<char>(data[i]);
        ++*written;
    }
    return S_OK;
}

HRESULT WaveFile::FinishWrite() {
    m_info.dwFlags |= MMIO_DIRTY;
    if (mmioSetInfo(m_file, &m_info, 0) != 0 || mmioAscend(m_file, &m_chunk, 0) != 0 ||
        mmioAscend(m_file, &m_riff, 0) != 0 || mmioSeek(m_file, 0, SEEK_SET) != 0 ||
        mmioDescend(m_file, &m_riff, nullptr, 0) != 0) {
        return E_FAIL;
    }
    m_chunk.ckid = mmioFOURCC('f', 'a', 'c', 't');
    if (mmioDescend(m_file, &m_chunk, &m_riff, MMIO_FINDCHUNK) == 0) {
        DWORD samples = 0;
        if (mmioWrite(m_file, reinterpret_cast<const char*>(&samples), sizeof samples) != sizeof samples ||
            mmioAscend(m_file, &m_chunk, 0) != 0) {
            return E_FAIL;
        }
    }
    return mmioAscend(m_file, &m_riff, 0) == 0 ? S_OK : E_FAIL;
}

HRESULT WaveFile::Close() {
    if (m_file == nullptr) {
        return S_OK;
    }
    if (m_mode == kWrite) {
        HRESULT finished = FinishWrite();
        if (FAILED(finished)) {
            // Left open, as the caller may still want to see what is there; the destructor
            // releases it.
            m_mode = kRead;
            return finished;
        }
    }
    mmioClose(m_file, 0);
    m_file = nullptr;
    return S_OK;
}
