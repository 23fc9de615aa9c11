#include "encode/WmaCodecCatalogue.h"

#include "companions/AudioTagCore/AudioEncoder.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "encode/WmaLibrary.h"

void WmaCodecCatalogue::Create() {
    if (m_pManager == nullptr) {
        m_pManager = WmaLibrary::CreateCodecInfoManager();
        if (m_pManager != nullptr) {
            m_pManager->Initialise(44100, 2, 16);
            m_pManager->BuildCatalogue();
        }
    }
    if (m_pEncoder == nullptr) {
        m_pEncoder = WmaLibrary::CreateEncoder();
    }
    if (m_pEncoder != nullptr) {
        m_pEncoder->SetWMACodecInfoManager(m_pManager);
    }
}

void WmaCodecCatalogue::Release() {
    if (m_pManager != nullptr) {
        m_pManager->Release();
        m_pManager = nullptr;
    }
    if (m_pEncoder != nullptr) {
        m_pEncoder->Release();
        m_pEncoder = nullptr;
    }
}

void WmaCodecCatalogue::GetChoice(int* codecIndex, int* formatIndex) const {
    *codecIndex = m_nKeptCodec;
    *formatIndex = m_nKeptFormat;
    if (m_pManager != nullptr) {
        m_pManager->GetChoice(codecIndex, formatIndex);
    }
}

void WmaCodecCatalogue::SetChoice(int codecIndex, int formatIndex) {
    m_nKeptCodec = codecIndex;
    m_nKeptFormat = formatIndex;
    if (m_pManager != nullptr) {
        m_pManager->SetChoice(codecIndex, formatIndex);
    }
}
