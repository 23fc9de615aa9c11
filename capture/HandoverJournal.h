// A journal of the tracks the conversion thread hands to the finishing step, with the burn's
// CD-TEXT as the per-track table holds it at that moment. Scripts and end-to-end tests switch it
// on by naming a file in the environment variable QVL_HANDOVER_JOURNAL; the program then writes
// one tab-separated line per track: tick count, WAV path, CD track number, album, title, artist.
#pragma once

#include "capture/CaptureIntake.h"

#include <memory>
#include <string>

class HandoverJournal final : public ITrackFinisher {
public:
    static constexpr char kVariable[] = "QVL_HANDOVER_JOURNAL";

    explicit HandoverJournal(std::string path) : m_path(std::move(path)) {}

    // The journal named by the environment, or null when none is asked for.
    static std::unique_ptr<HandoverJournal> FromEnvironment();

    int ConvertCapturedTrack(CaptureIntake& intake, const std::string& wavPath) override;

private:
    std::string m_path;
};
