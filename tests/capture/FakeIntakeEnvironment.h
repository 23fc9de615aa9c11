// A clock that only moves when the test says so and a file system of names only, for driving
// the capture intake's queue rules.
#pragma once

#include "capture/CaptureIntake.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct FakeIntakeEnvironment : IntakeEnvironment {
    DWORD now = 100000;
    std::set<std::string> folders;
    std::set<std::string> files;
    mutable std::vector<std::string> deleted;
    // Per burn folder, each track's length in frames; per WAV, its PCM bytes so far.
    std::map<std::string, std::vector<uint32_t>> cueSheets;
    std::map<std::string, uint64_t> wavBytes;
    std::set<std::string> heldByWriter;

    DWORD TickCount() const override { return now; }
    DWORD FileAttributes(const std::string& path) const override {
        if (folders.count(path) != 0) {
            return FILE_ATTRIBUTE_DIRECTORY;
        }
        return files.count(path) != 0 ? FILE_ATTRIBUTE_ARCHIVE : INVALID_FILE_ATTRIBUTES;
    }
    void DeleteSessionFolder(const std::string& folder) const override { deleted.push_back(folder); }
    int ReadCueSheet(const std::string& folder, CueTrackTime* times) const override {
        auto found = cueSheets.find(folder);
        if (found == cueSheets.end()) {
            return 0;
        }
        for (size_t i = 0; i < found->second.size(); ++i) {
            times[i] = CueTrackTime{};
            times[i].length = found->second[i];
        }
        return static_cast<int>(found->second.size());
    }
    uint64_t WavDataBytes(const std::string& path) const override {
        auto found = wavBytes.find(path);
        return found != wavBytes.end() ? found->second : 0;
    }
    bool HeldByWriter(const std::string& path) const override { return heldByWriter.count(path) != 0; }
    std::vector<std::string> ListWavs(const std::string& folder) const override {
        std::vector<std::string> wavs;
        for (const std::string& file : files) {
            if (file.rfind(folder + "\\", 0) == 0 &&
                file.find('\\', folder.size() + 1) == std::string::npos &&
                _stricmp(file.c_str() + file.size() - 4, ".wav") == 0) {
                wavs.push_back(file);
            }
        }
        return wavs;
    }
};

// An intake on a fake environment; the test keeps a handle on the environment.
struct FakeIntake {
    FakeIntakeEnvironment* environment;
    std::unique_ptr<CaptureIntake> intake;

    FakeIntake() {
        auto owned = std::make_unique<FakeIntakeEnvironment>();
        environment = owned.get();
        intake = std::make_unique<CaptureIntake>(std::move(owned));
    }

    // The recorder creating a burn folder, and a WAV inside it being reported.
    int Folder(const std::string& folder) {
        environment->folders.insert(folder);
        return intake->OnCaptureFileEvent(folder.c_str());
    }
    int File(const std::string& path) {
        environment->files.insert(path);
        return intake->OnCaptureFileEvent(path.c_str());
    }
    std::vector<std::string> TakeAll() {
        std::vector<std::string> taken;
        for (std::string next = intake->Queue().TakeNextTrack(); !next.empty();
             next = intake->Queue().TakeNextTrack()) {
            taken.push_back(next);
        }
        return taken;
    }
    int Idle() {
        int queued = -1;
        intake->CheckIdleSession(&queued);
        return queued;
    }
};
