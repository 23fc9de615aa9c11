#include "companions/AudioTagCore/AudioEncoder.h"

CAudioEncoder::CAudioEncoder() : m_pCodecInfoManager(nullptr) {}

CAudioEncoder::~CAudioEncoder() = default;

void CAudioEncoder::SetWMACodecInfoManager(IWMACodecInfoManager* manager) {
    m_pCodecInfoManager = manager;
}

void CAudioEncoder::Release() {
    delete this;
}
