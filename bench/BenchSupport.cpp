#include "bench/BenchSupport.h"

#include "encode/LameLibrary.h"
#include "encode/Mp3Encoder.h"
#include "encode/WaveFile.h"

#include <algorithm>

LARGE_INTEGER Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool EncodeDirectly(const std::string& source, const std::string& output, const Mp3Preset& triple) {
    LameLibrary lame;
    WaveFile wave;
    if (lame.IsLoaded() == 0 || FAILED(wave.Open(source.c_str(), nullptr, WaveFile::kRead))) {
        return false;
    }
    const LameEntryPoints& api = lame.Api();
    BE_CONFIG config = MakeLameConfig(triple, wave.Format()->nSamplesPerSec, wave.Format()->nChannels);
    DWORD samples = 0, bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (api.beInitStream(&config, &samples, &bufferSize, &stream) != 0) {
        return false;
    }
    HANDLE file =
        CreateFileA(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<BYTE> pcm(samples * 2), out(bufferSize);
    DWORD read = 0, produced = 0, written = 0;
    do {
        wave.Read(pcm.data(), static_cast<DWORD>(pcm.size()), &read);
        if (read > 0) {
            api.beEncodeChunk(stream, read / 2, reinterpret_cast<PSHORT>(pcm.data()), out.data(), &produced);
            WriteFile(file, out.data(), produced, &written, nullptr);
        }
    } while (read == pcm.size());
    api.beDeinitStream(stream, out.data(), &produced);
    WriteFile(file, out.data(), produced, &written, nullptr);
    api.beCloseStream(stream);
    CloseHandle(file);
    api.beWriteVBRHeader(output.c_str());
    return true;
}
