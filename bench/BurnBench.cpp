// A whole burn through the running program against encoding the same tracks directly. The
// recorder simulator burns a disc at maximum speed into the capture folder of a running
// Quaverlane; the bench looks at the burn folder and the output folder until the program has
// finished every track, then encodes the disc's own WAV files with lame_enc.dll one after the
// other and prints both totals.
#include "app/Mp3EncoderSettings.h"
#include "app/framework/Scoped.h"
#include "bench/BenchSupport.h"
#include "encode/WaveFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// The folders' changes wake the bench; a look at least this often covers a change notification
// that never comes.
constexpr DWORD kLookInterval = 250;
constexpr double kGiveUpSeconds = 600;

void CloseChangeNotification(HANDLE handle) {
    FindCloseChangeNotification(handle);
}
using ScopedChangeHandle = ScopedResource<HANDLE, InvalidHandleTraits<CloseChangeNotification>>;

bool EndsWith(const std::string& name, const char* extension) {
    size_t length = strlen(extension);
    return name.size() >= length && _stricmp(name.c_str() + name.size() - length, extension) == 0;
}

// Full paths of the files in folder (and below it, with recurse) whose names end in extension.
void FindFiles(const std::string& folder, const char* extension, bool recurse,
               std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry;
    ScopedFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) {
        return;
    }
    do {
        std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            if (EndsWith(name, extension)) {
                found.push_back(folder + "\\" + name);
            }
        } else if (recurse && name != "." && name != "..") {
            FindFiles(folder + "\\" + name, extension, true, found);
        }
    } while (FindNextFileA(find.Get(), &entry));
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

double AudioSeconds(const std::string& wavPath) {
    WaveFile wave;
    if (FAILED(wave.Open(wavPath.c_str(), nullptr, WaveFile::kRead))) {
        return 0;
    }
    return static_cast<double>(wave.DataSize()) / wave.Format()->nAvgBytesPerSec;
}

struct Burn {
    ScopedHandle process;
    std::string folder;
    LARGE_INTEGER started{};
};

// The recorder simulator names its burn folder on its first line, right after creating the
// folder and before it writes anything into it: that line is the start of the burn.
bool StartBurn(const std::string& recsim, const std::string& cue, const std::string& speed, Burn& burn) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
        return false;
    }
    ScopedHandle output(readEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + recsim + "\" --cue \"" + cue + "\" --speed " + speed;
    PROCESS_INFORMATION started{};
    BOOL created = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &started);
    // Only the child may hold the write end, or the read below would never see the pipe end.
    CloseHandle(writeEnd);
    if (!created) {
        return false;
    }
    CloseHandle(started.hThread);
    burn.process.Reset(started.hProcess);
    char c = 0;
    DWORD read = 0;
    while (ReadFile(output.Get(), &c, 1, &read, nullptr) && read == 1 && c != '\n') {
        if (c != '\r') {
            burn.folder += c;
        }
    }
    burn.started = Counter();
    return !burn.folder.empty();
}

// What the folders showed over time, in seconds from the start of the burn.
class ConversionWatch {
public:
    ConversionWatch(std::string burnFolder, std::string outputFolder)
        : m_burnFolder(std::move(burnFolder)), m_outputFolder(std::move(outputFolder)) {}

    // Returns the number of captured WAVs still in the burn folder, or -1 when the folder is gone.
    int Look(double now) {
        if (!IsFolder(m_burnFolder)) {
            return -1;
        }
        std::vector<std::string> wavs;
        FindFiles(m_burnFolder, ".wav", false, wavs);
        for (const std::string& wav : wavs) {
            m_wavDeleted.try_emplace(wav, -1);
        }
        for (auto& [wav, deleted] : m_wavDeleted) {
            if (deleted < 0 && std::find(wavs.begin(), wavs.end(), wav) == wavs.end()) {
                deleted = now;
            }
        }
        std::vector<std::string> outputs;
        FindFiles(m_outputFolder, ".mp3", true, outputs);
        std::sort(outputs.begin(), outputs.end());
        for (const std::string& output : outputs) {
            auto seen = [&output](const auto& appeared) { return appeared.first == output; };
            if (std::none_of(m_outputAppeared.begin(), m_outputAppeared.end(), seen)) {
                m_outputAppeared.emplace_back(output, now);
            }
        }
        return static_cast<int>(wavs.size());
    }

    // Track order: the recorder numbers its WAVs from Track00.
    const std::map<std::string, double>& WavDeleted() const { return m_wavDeleted; }
    // The program converts strictly in track order, so the n-th output to appear is track n's;
    // an encoder creates its output file when it starts.
    const std::vector<std::pair<std::string, double>>& OutputAppeared() const { return m_outputAppeared; }

private:
    std::string m_burnFolder;
    std::string m_outputFolder;
    std::map<std::string, double> m_wavDeleted;
    std::vector<std::pair<std::string, double>> m_outputAppeared;
};

int Fail(const char* message) {
    fprintf(stderr, "burn_bench: %s\n", message);
    return 1;
}

// When each step of the burn and of its conversion happened, in seconds from the burn start.
struct Timeline {
    double lastByte = -1;
    double lastFile = -1;
    std::vector<std::string> outputs;
    std::vector<double> started;
    std::vector<double> finished;
    int looks = 0;
};

// Looking only when a name appears or goes keeps the bench off the processors the program needs,
// and still times each change as it happens. Null when the burn or the watching failed.
const char* WatchConversion(const Burn& burn, const std::string& outputFolder, Timeline& timeline) {
    ScopedChangeHandle burnChanges(
        FindFirstChangeNotificationA(burn.folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
    ScopedChangeHandle outputChanges(FindFirstChangeNotificationA(
        outputFolder.c_str(), TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
    if (!burnChanges || !outputChanges) {
        return "cannot follow the changes of the burn and output folders";
    }
    std::vector<HANDLE> wakers{burnChanges.Get(), outputChanges.Get(), burn.process.Get()};
    ConversionWatch watch(burn.folder, outputFolder);
    while (timeline.lastFile < 0) {
        DWORD woken =
            WaitForMultipleObjects(static_cast<DWORD>(wakers.size()), wakers.data(), FALSE, kLookInterval);
        double now = Seconds(burn.started, Counter());
        if (woken == WAIT_OBJECT_0 + 2) {
            timeline.lastByte = now;
            wakers.pop_back();
        } else if (woken < WAIT_OBJECT_0 + 2) {
            FindNextChangeNotification(wakers[woken]);
        }
        int wavsLeft = watch.Look(now);
        ++timeline.looks;
        if (wavsLeft < 0) {
            return "the burn folder disappeared";
        }
        if (timeline.lastByte >= 0 && wavsLeft == 0) {
            timeline.lastFile = now;
        } else if (now > kGiveUpSeconds) {
            return "the program did not finish the burn within ten minutes";
        }
    }
    DWORD recsimExit = 1;
    GetExitCodeProcess(burn.process.Get(), &recsimExit);
    if (recsimExit != 0) {
        return "the recorder simulator failed";
    }
    for (const auto& [output, appeared] : watch.OutputAppeared()) {
        timeline.outputs.push_back(output);
        timeline.started.push_back(appeared);
    }
    for (const auto& wav : watch.WavDeleted()) {
        timeline.finished.push_back(wav.second);
    }
    return nullptr;
}

// The looking shares the two processors with the program: what the bench took, its own start
// included, is shown rather than guessed.
double OwnProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

void PrintReport(const Timeline& timeline, double benchSeconds, const std::vector<double>& direct,
                 double audioSeconds, const std::string& speed) {
    const size_t tracks = direct.size();
    const std::vector<double>& started = timeline.started;
    const std::vector<double>& finished = timeline.finished;
    printf("%-5s %13s %9s %9s %9s\n", "track", "encode began", "finished", "program", "direct");
    for (size_t track = 0; track < tracks; ++track) {
        printf("%5zu %11.2f s %7.2f s %7.2f s %7.2f s\n", track + 1, started[track], finished[track],
               finished[track] - started[track], direct[track]);
    }
    printf("(seconds from the burn start; program = encode began to the captured WAV deleted)\n");
    printf("the bench looked at the folders %d times, when they changed, and took %.2f s of processor\n"
           "time until the last file was finished\n\n",
           timeline.looks, benchSeconds);

    double directTotal = 0;
    for (double seconds : direct) {
        directTotal += seconds;
    }
    double total = timeline.lastFile;
    double afterLastByte = total - timeline.lastByte;
    // The last track waits for nothing but the proof that it is complete, once the tracks before
    // it are done: what its encode began after both is the cost of deciding that it was complete.
    double ready = std::max(timeline.lastByte, tracks > 1 ? finished[tracks - 2] : timeline.lastByte);
    double lastEncode = finished.back() - started.back();
    printf("%zu tracks, %.2f minutes of 16-bit stereo 44.1 kHz audio, burnt at speed %s\n", tracks,
           audioSeconds / 60, speed.c_str());
    printf("%-64s %7.2f s\n", "burn: burn folder created -> recorder exits (last byte)", timeline.lastByte);
    printf("%-64s %7.2f s\n", "last byte -> last file finished (no captured WAV left)", afterLastByte);
    printf("%-64s %7.2f s\n", "program conversion: burn start -> last file finished", total);
    printf("%-64s %7.2f s\n", "direct lame_enc.dll encode of the same tracks, one after another",
           directTotal);
    printf("%-64s %7.2f\n", "program / direct", total / directTotal);
    printf("%-64s %7.2f s\n", "last track: ready (last byte, track before done) -> encode began",
           started.back() - ready);
    printf("%-64s %7.2f s\n", "last track: its encode", lastEncode);
    printf("last byte -> last file finished %.2f s against the last encode + 0.5 s = %.2f s: %s\n",
           afterLastByte, lastEncode + 0.5, afterLastByte <= lastEncode + 0.5 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        fprintf(stderr,
                "usage: burn_bench recsim.exe disc.cue speed output-folder direct-folder track.wav...\n"
                "Quaverlane must be running, watching the capture folder that recsim burns into and\n"
                "writing to output-folder; track.wav are the disc's WAV files in track order.\n");
        return 2;
    }
    std::string speed = argv[3];
    std::string outputFolder = argv[4];
    std::string directFolder = argv[5];
    std::vector<std::string> sources(argv + 6, argv + argc);
    const size_t trackCount = sources.size();

    Burn burn;
    if (!StartBurn(argv[1], argv[2], speed, burn)) {
        return Fail("the recorder simulator did not start a burn");
    }
    Timeline timeline;
    if (const char* failure = WatchConversion(burn, outputFolder, timeline)) {
        return Fail(failure);
    }
    double benchSeconds = OwnProcessorSeconds();
    std::vector<std::string> outputs;
    FindFiles(outputFolder, ".mp3", true, outputs);
    if (timeline.finished.size() != trackCount || timeline.outputs.size() != trackCount ||
        outputs.size() != trackCount) {
        fprintf(stderr, "burn_bench: %zu tracks burnt, %zu captured, %zu MP3s appeared, %zu MP3s left\n",
                trackCount, timeline.finished.size(), timeline.outputs.size(), outputs.size());
        return 1;
    }

    const Mp3Preset& triple = Mp3EncoderParams::PresetRow(Mp3EncoderSettings::kDefaultPreset);
    std::vector<double> direct;
    double audioSeconds = 0;
    for (size_t track = 0; track < trackCount; ++track) {
        std::string output = directFolder + "\\" + std::to_string(track + 1) + ".mp3";
        bool encoded = false;
        direct.push_back(Time([&] { encoded = EncodeDirectly(sources[track], output, triple); }));
        if (!encoded) {
            return Fail("a direct encode failed");
        }
        // The same audio in the same configuration: the program's file differs only by its tags.
        if (FileSize(timeline.outputs[track]) < FileSize(output)) {
            fprintf(stderr, "burn_bench: %s is shorter than the direct encode %s\n",
                    timeline.outputs[track].c_str(), output.c_str());
            return 1;
        }
        audioSeconds += AudioSeconds(sources[track]);
    }
    PrintReport(timeline, benchSeconds, direct, audioSeconds, speed);
    return 0;
}
