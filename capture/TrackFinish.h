// The finishing step of every captured track: it names the output file, runs the encoder of the
// chosen format and deletes the captured WAV, or keeps it when its output is not whole.
#pragma once

#include "encode/Mp3Encoder.h"
#include "finish/OutputFormat.h"

#include <windows.h>

#include <atomic>
#include <string>

class BurnTrackTable;
class CAudioEncoder;
class IWMACodecInfoManager;
class IntakeEnvironment;
class PipelineDriver;
class Settings;
class TrackQueue;
struct TrackTags;

// The user's choices a track is finished with, handed down whole: the conversion thread never
// reads the program's settings while the user may be changing them.
struct FinishChoices {
    std::string outputFolder;
    std::string filenameFormat;
    OutputFormat outputFormat = OutputFormat::Mp3;
    Mp3EncodeOptions mp3;
    // The WMA library's objects, made once at start-up and kept to the end; null without it.
    IWMACodecInfoManager* wmaManager = nullptr;
    CAudioEncoder* wmaEncoder = nullptr;
};

// The choices as the settings hold them now (user-interface thread).
FinishChoices FinishChoicesFrom(Settings& settings);

class TrackFinisher {
public:
    // lock guards the choices, which the user-interface thread replaces while tracks are finished.
    TrackFinisher(CRITICAL_SECTION& lock, BurnTrackTable& table, PipelineDriver& driver, TrackQueue& queue,
                  IntakeEnvironment& environment);

    // From the next track on; the output folder from the next burn on.
    void SetChoices(const FinishChoices& choices);

    // Conversion thread: names the output file from the filename format and encodes the captured
    // WAV into it; the WAV is deleted once the output is whole, otherwise it goes into the output
    // folder under the output name. 0 when the path is no captured track (nothing done),
    // otherwise the encoder driver's result.
    int ConvertCapturedTrack(const char* wavPath);
    // Before the capture folder is wiped (start and exit, the conversion thread stopped): every
    // captured WAV that was not converted goes into the output folder under its output name.
    void KeepUnconvertedTracks();

    // The track through the pipeline driver of the format, with its tags from the table and the
    // choices as they stand when it starts: 1 when both workers ran to their end, 0 when the
    // conversion did not start. complete, when given, tells whether the output file was written
    // whole: every byte of the track encoded and written, tags included, no abort.
    int EncodeTrack(OutputFormat format, const std::string& sourcePath, const std::string& outputPath,
                    bool* complete = nullptr);

    // True while a track is being finished (read from any thread).
    bool IsFinishing() const { return m_finishing; }
    // The burn being finished: its folder, the disc's name and the output folder fixed for it.
    const std::string& SessionFolder() const { return m_sessionFolder; }
    const std::string& DiscLabel() const { return m_discLabel; }
    const std::string& SessionOutputFolder() const { return m_sessionOutputFolder; }

private:
    FinishChoices CurrentChoices();
    int Encode(const FinishChoices& choices, OutputFormat format, const std::string& sourcePath,
               const std::string& outputPath, bool* complete);
    TrackTags TagsOf(const std::string& sourcePath);

    CRITICAL_SECTION& m_lock;
    BurnTrackTable& m_table;
    PipelineDriver& m_driver;
    TrackQueue& m_queue;
    IntakeEnvironment& m_environment;
    FinishChoices m_choices;
    std::atomic<bool> m_finishing = false;
    std::string m_sessionFolder;
    std::string m_discLabel;
    std::string m_sessionOutputFolder;
};
