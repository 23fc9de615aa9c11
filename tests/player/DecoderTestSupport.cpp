#include "tests/player/DecoderTestSupport.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qvltest {

std::string DecoderInput(const std::string& name) {
    return BinFolder() + "\\..\\test-inputs\\player-decoders\\" + name;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    const std::string bytes = ReadFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<int16_t> ToSamples(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

namespace {

struct DecodeJob {
    CodecInit init;
    std::string path;
    DWORD blockBytes;
    int seekNumerator;
    int seekDenominator;
    DecodeRun run;
};

DWORD WINAPI RunDecode(void* parameter) {
    DecodeJob& job = *static_cast<DecodeJob*>(parameter);
    DecodeRun& run = job.run;
    CodecModule codec{};
    job.init(&codec);
    run.opened = codec.OpenFile(&codec, job.path.c_str(), 0, nullptr);
    codec.GetFileInfo(&codec, &run.info);
    if (run.opened == 1) {
        if (job.seekNumerator >= 0) {
            codec.Seek(&codec, job.seekNumerator, job.seekDenominator);
        }
        std::vector<uint8_t> block(job.blockBytes);
        // Far more blocks than any input holds: a decoder that never reports the end stops here.
        for (int i = 0; i < 100000; ++i) {
            DWORD bytes = job.blockBytes;
            const int more = codec.GetPCMBlock(&codec, block.data(), &bytes);
            if (bytes > job.blockBytes) {
                break;
            }
            run.pcm.insert(run.pcm.end(), block.begin(), block.begin() + bytes);
            ++run.blocks;
            if (more == 0) {
                run.finished = true;
                break;
            }
        }
        codec.CloseFile(&codec);
    }
    codec.Uninitialise(&codec);
    return 0;
}

} // namespace

DecodeRun Decode(CodecInit init, const std::string& path, DWORD blockBytes, int seekNumerator,
                 int seekDenominator, DWORD timeLimitMs) {
    // A system thread and a wait on its handle, with the time waited in the report: a watchdog
    // with nothing of its own between it and the system.
    DecodeJob job{init, path, blockBytes, seekNumerator, seekDenominator, {}};
    const ULONGLONG start = GetTickCount64();
    HANDLE thread = CreateThread(nullptr, 0, RunDecode, &job, 0, nullptr);
    if (thread == nullptr) {
        ADD_FAILURE() << "no thread for the decoder: " << GetLastError();
        return job.run;
    }
    if (WaitForSingleObject(thread, timeLimitMs) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the decoder hung on " << path << " (" << GetTickCount64() - start << " ms)";
        std::fflush(stdout);
        // The thread still uses the job on this stack: the run cannot go on.
        TerminateProcess(GetCurrentProcess(), 3);
    }
    CloseHandle(thread);
    return job.run;
}

size_t FirstSound(const std::vector<int16_t>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 200) {
            return i - i % 2;
        }
    }
    return samples.size();
}

std::vector<int16_t> From(const std::vector<int16_t>& samples, size_t start) {
    return std::vector<int16_t>(samples.begin() + static_cast<long>(std::min(start, samples.size())),
                                samples.end());
}

double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int lag) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    long long n = 0;
    for (long long i = 0; i < static_cast<long long>(a.size()); ++i) {
        const long long j = i + lag;
        if (j < 0 || j >= static_cast<long long>(b.size())) {
            continue;
        }
        const double x = a[i];
        const double y = b[j];
        sa += x;
        sb += y;
        saa += x * x;
        sbb += y * y;
        sab += x * y;
        ++n;
    }
    if (n == 0) {
        return 0;
    }
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n;
    const double vb = sbb - sb * sb / n;
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0;
}

int BestLag(const std::vector<int16_t>& a, const std::vector<int16_t>& b, int maxLag) {
    // A stretch from the middle is enough to find the lag, and keeps the search quick.
    const size_t length = std::min<size_t>(a.size() / 2, 16384);
    const size_t start = a.size() / 4;
    const std::vector<int16_t> slice(a.begin() + start, a.begin() + start + length);
    int best = 0;
    double bestValue = -2;
    for (int lag = -maxLag; lag <= maxLag; ++lag) {
        const double value = Correlation(slice, b, static_cast<int>(start) + lag);
        if (value > bestValue) {
            bestValue = value;
            best = lag;
        }
    }
    return best;
}

} // namespace qvltest
