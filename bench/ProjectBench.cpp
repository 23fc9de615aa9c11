// Times saving and loading the project file of a large catalogue: every disc a folder of its own,
// every track a file of its own, as years of conversions leave them. Loading through the id index
// and by the system DOM searching the document for each element run side by side on smaller
// catalogues to show how each grows.
#include "app/Settings.h"
#include "bench/BenchSupport.h"
#include "project/DiscCatalogue.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Fill(DiscCatalogue& catalogue, const std::string& root, int discs, int tracks) {
    char text[MAX_PATH];
    for (int d = 0; d < discs; ++d) {
        std::snprintf(text, sizeof text, "%s\\Album %04d", root.c_str(), d);
        std::string folder = text;
        CreateDirectoryA(folder.c_str(), nullptr);
        auto disc = std::make_unique<DiscRecord>();
        disc->SetLabel("Album " + std::to_string(d));
        disc->SetFolder(folder);
        for (int t = 0; t < tracks; ++t) {
            std::snprintf(text, sizeof text, "%s\\%02d Track number %d.mp3", folder.c_str(), t + 1, t + 1);
            HANDLE file =
                CreateFileA(text, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(file);
            disc->AddTrack("Track number " + std::to_string(t + 1), "Some Artist & Friends",
                           "Album " + std::to_string(d), "Rock", text, "3:45");
        }
        catalogue.AddDisc(std::move(disc));
    }
}

struct Timings {
    double save;
    double load;
};

Timings Measure(const std::string& root, int discs, int tracks, int rounds, ProjectReading reading) {
    std::string folder = root + "\\" + std::to_string(discs);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string project = folder + "\\disc.xml";
    DiscCatalogue catalogue;
    Fill(catalogue, folder, discs, tracks);
    std::vector<double> saves;
    std::vector<double> loads;
    for (int round = 0; round < rounds; ++round) {
        saves.push_back(1000 * Time([&] { catalogue.SaveProject(project); }));
        loads.push_back(1000 * Time([&] { catalogue.LoadProject(project, reading); }));
        if (catalogue.GetCount() != static_cast<size_t>(discs)) {
            std::fprintf(stderr, "the load found %zu discs of %d\n", catalogue.GetCount(), discs);
            std::exit(1);
        }
    }
    return {Median(saves), Median(loads)};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: project_bench <empty work folder> [rounds]\n");
        return 2;
    }
    std::string root = argv[1];
    int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GetSettings().ResetToDefaults();

    Timings large = Measure(root, 1000, 15, rounds, ProjectReading::Indexed);
    std::printf("1000 discs x 15 tracks: save %.0f ms, load %.0f ms (median of %d)\n", large.save, large.load,
                rounds);
    std::printf("targets: save < 500 ms %s, load < 1000 ms %s\n", large.save < 500 ? "met" : "MISSED",
                large.load < 1000 ? "met" : "MISSED");
    for (int discs : {25, 50, 100}) {
        double indexed = Measure(root, discs, 15, 1, ProjectReading::Indexed).load;
        double searched = Measure(root, discs, 15, 1, ProjectReading::SearchPerValue).load;
        std::printf(
            "%4d discs: own parser and index %.0f ms, system DOM with a search per element %.0f ms (x%.0f)\n",
            discs, indexed, searched, searched / indexed);
    }
    GetSettings().ReleaseEncoderObjects();
    CoUninitialize();
    return large.save < 500 && large.load < 1000 ? 0 : 1;
}
