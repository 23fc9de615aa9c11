// Times GetFileLength over every MP3 file in a folder, in one process, and prints the lengths'
// sum so that a run that read nothing cannot pass for a fast one.
#include "bench/BenchSupport.h"
#include "player/FileInfoForPath.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: file_length_bench <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*.mp3").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            files.push_back(folder + "\\" + found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    std::sort(files.begin(), files.end());
    long long seconds = 0;
    int unreadable = 0;
    const double elapsed = Time([&] {
        for (const std::string& file : files) {
            const int length = GetFileLength(file.c_str());
            seconds += length;
            unreadable += length == 0 ? 1 : 0;
        }
    });
    std::printf("files %zu, unreadable %d, total length %lld s, GetFileLength %.3f s\n", files.size(),
                unreadable, seconds, elapsed);
    return files.empty() || unreadable != 0 ? 1 : 0;
}
