// The codec information manager of WmaEncodeCore.dll: the installed WMA codecs, their formats
// and the user's choice. The program calls it through these virtual slots, so their order is
// part of the library's interface.
#pragma once

struct WmaFormatRecord {
    int formatIndex;
    int vbr;
    int passes;
    char description[256];
};

struct WmaCodecRecord {
    int codecIndex;
    char description[256];
    WmaFormatRecord** formats;
    int formatCount;
};

struct WmaCodecList {
    WmaCodecRecord** codecs;
    int codecCount;
};

class IWMACodecInfoManager {
public:
    virtual int GetVersion() = 0;                                                        // slot 0
    virtual int Initialise(int sampleRate, int channels, int bitsPerSample) = 0;         // slot 1
    virtual void GetInputFormat(int* sampleRate, int* channels, int* bitsPerSample) = 0; // slot 2
    virtual void ClearCatalogue() = 0;                                                   // slot 3
    virtual int BuildCatalogue() = 0;                                                    // slot 4
    virtual WmaCodecList* GetCatalogue() = 0;                                            // slot 5
    virtual void GetChoice(int* codecIndex, int* formatIndex) = 0;                       // slot 6
    virtual int SetChoice(int codecIndex, int formatIndex) = 0;                          // slot 7
    virtual int IsTwoPass() = 0;                                                         // slot 8
    virtual WmaFormatRecord* GetChosenFormat() = 0;                                      // slot 9
    virtual void Release() = 0;                                                          // slot 10

protected:
    // Lifetime belongs to the library: Release, never delete.
    ~IWMACodecInfoManager() = default;
};
