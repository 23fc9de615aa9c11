// recsim: does what the virtual recorder's driver does with a burn, so that scripts and tests can
// burn discs while Quaverlane watches the capture folder. See kUsage for the command line.
#include "tools/recsim/CaptureFolder.h"
#include "tools/recsim/CdTextPacks.h"
#include "tools/recsim/CueSheetReader.h"
#include "tools/recsim/Errors.h"
#include "tools/recsim/Files.h"
#include "tools/recsim/LeadIn.h"
#include "tools/recsim/MmcCueSheet.h"
#include "tools/recsim/Options.h"
#include "tools/recsim/SampleDisc.h"
#include "tools/recsim/WavWriter.h"

#include <cstdio>

namespace recsim {
namespace {

constexpr double kDefaultSampleSeconds = 20;

void Burn(const Options& options) {
    Disc disc = options.cuePath.empty()
                    ? MakeSampleDisc(options.sampleSeconds.value_or(kDefaultSampleSeconds))
                    : ReadCueSheet(options.cuePath);
    CheckDiscFits(disc);
    if (options.pauseTrack && *options.pauseTrack > disc.tracks.size()) {
        throw UsageError("--pause-track " + std::to_string(*options.pauseTrack) + ": the disc has " +
                         std::to_string(disc.tracks.size()) + " tracks");
    }
    // Everything is made before the burn folder exists, so that a refused disc leaves no folder.
    std::vector<CdTextPack> packs = options.cdText ? BuildCdTextPacks(disc) : std::vector<CdTextPack>();
    std::vector<uint8_t> cueSheet = BuildMmcCueSheet(disc, !packs.empty());
    std::vector<uint8_t> leadIn = BuildLeadIn(disc, packs);

    std::string folder =
        CreateBurnFolder(options.captureFolder.empty() ? CaptureFolderFromRegistry() : options.captureFolder);
    printf("%s\n", folder.c_str());
    fflush(stdout);
    WriteWholeFile(folder + "\\cuesheet.dat", cueSheet);
    WriteWholeFile(folder + "\\leadin.dat", leadIn);
    WritePacer pacer(options.speed);
    for (size_t index = 0; index < disc.tracks.size(); ++index) {
        // The program reads the zero-based track index from the first two digits of the name.
        char name[16];
        snprintf(name, sizeof name, "Track%02u.wav", static_cast<unsigned>(index));
        std::optional<double> pause;
        if (options.pauseTrack == index + 1) {
            pause = options.pauseSeconds;
        }
        WriteTrackWav(folder + "\\" + name, disc.tracks[index], pacer, pause);
    }
}

} // namespace
} // namespace recsim

int main(int argc, char** argv) {
    try {
        recsim::Options options = recsim::ParseOptions(argc, argv);
        if (options.help) {
            fputs(recsim::kUsage, stdout);
            return 0;
        }
        recsim::Burn(options);
        return 0;
    } catch (const recsim::UsageError& error) {
        fprintf(stderr, "recsim: %s (see recsim --help)\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        fprintf(stderr, "recsim: %s\n", error.what());
        return 1;
    }
}
