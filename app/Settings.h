// The one record of user choices, with its defaults and the registry entries it shares with
// the virtual recorder and with Windows' log-on start.
#pragma once

#include "app/Mp3EncoderSettings.h"
#include "encode/WmaCodecCatalogue.h"
#include "finish/OutputFormat.h"

#include <cstdint>
#include <string>

class Settings {
public:
    std::string outputFolder;
    std::string captureFolder;
    OutputFormat outputFormat = OutputFormat::Mp3;
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t notRunOnStartup = 0;
    int32_t languageAuto = 1;
    std::string languageFile = "lang_eng.ini";
    std::string filenameFormat;
    std::string userDefinedFormats;
    WmaCodecCatalogue wmaCatalogue;
    Mp3EncoderSettings mp3;

    // Creates the encoder objects and sets every default (start-up).
    void ResetToDefaults();
    // Releases what ResetToDefaults created (shut-down).
    void ReleaseEncoderObjects();
    // The registry's TempFolder, when set, becomes the capture folder (cleaned as a path).
    void ApplyCaptureFolderFromRegistry();
};

// The program-wide settings.
Settings& GetSettings();

// The output format stored in the project file as "mp3", "wma" or "wav" (any case); anything else,
// an empty text included, is MP3. A WMA choice stays the user's choice without the WMA library:
// the track finish writes MP3 in its place while the library is missing.
OutputFormat OutputFormatFromCodecText(const std::string& codec);

// The capture folder as the registry has it now, created on disk; empty (after a message box)
// when the key or the value cannot be read.
std::string ReadCaptureFolderFromRegistry();

// Adds or removes the Run entry that starts the program hidden at log-on.
void SetRunOnStartup(bool enable);

// Registry locations shared with the installer, the recorder driver and Windows.
inline constexpr char kProgramKey[] = "Software\\Quaverlane";
inline constexpr char kCaptureFolderValue[] = "TempFolder";
inline constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Quaverlane";
