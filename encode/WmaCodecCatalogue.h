// The WMA part of the settings: the codec information manager and the WMA encoder object of
// WmaEncodeCore.dll, both absent when the library is.
#pragma once

class IWMACodecInfoManager;
class CAudioEncoder;

class WmaCodecCatalogue {
public:
    WmaCodecCatalogue() = default;
    ~WmaCodecCatalogue() { Release(); }
    WmaCodecCatalogue(const WmaCodecCatalogue&) = delete;
    WmaCodecCatalogue& operator=(const WmaCodecCatalogue&) = delete;

    // Creates whichever object is missing, prepares the manager for 44,100 Hz 16-bit stereo and
    // hands it to the encoder.
    void Create();
    void Release();

    // WMA output is offered exactly when there is a manager.
    bool IsAvailable() const { return m_pManager != nullptr; }
    IWMACodecInfoManager* Manager() const { return m_pManager; }
    CAudioEncoder* Encoder() const { return m_pEncoder; }

    // The chosen codec and format by list position, -1 for none. The manager's answer when there
    // is one; without the library, the choice the project file held, so that a start without it
    // does not lose what the user chose.
    void GetChoice(int* codecIndex, int* formatIndex) const;
    void SetChoice(int codecIndex, int formatIndex);

private:
    IWMACodecInfoManager* m_pManager = nullptr;
    CAudioEncoder* m_pEncoder = nullptr;
    int m_nKeptCodec = -1;
    int m_nKeptFormat = -1;
};
