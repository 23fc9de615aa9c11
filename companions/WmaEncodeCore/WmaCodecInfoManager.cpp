#include "companions/WmaEncodeCore/WmaCodecInfoManager.h"

#include "companions/WmaEncodeCore/WmaFormatTable.h"

#include <windows.h>

#include <cstddef>

// The program reads these records by their layout.
#ifdef _WIN64
static_assert(sizeof(WmaFormatRecord) == 268);
static_assert(offsetof(WmaFormatRecord, description) == 12);
static_assert(offsetof(WmaCodecRecord, description) == 4);
static_assert(offsetof(WmaCodecRecord, formats) == 264);
static_assert(offsetof(WmaCodecRecord, formatCount) == 272);
static_assert(sizeof(WmaCodecRecord) == 280);
static_assert(offsetof(WmaCodecList, codecCount) == 8);
static_assert(sizeof(WmaCodecList) == 16);
#else
static_assert(sizeof(WmaFormatRecord) == 268);
static_assert(offsetof(WmaFormatRecord, description) == 12);
static_assert(offsetof(WmaCodecRecord, description) == 4);
static_assert(offsetof(WmaCodecRecord, formats) == 260);
static_assert(offsetof(WmaCodecRecord, formatCount) == 264);
static_assert(sizeof(WmaCodecRecord) == 268);
static_assert(offsetof(WmaCodecList, codecCount) == 4);
static_assert(sizeof(WmaCodecList) == 8);
#endif

namespace {

constexpr int kVersion = 1;

void CopyDescription(char (&target)[256], const std::string& text) {
    lstrcpynA(target, text.c_str(), sizeof target);
}

} // namespace

CWmaCodecInfoManager::CWmaCodecInfoManager()
    : m_codecIndex(WmaFormatTable::kDefaultCodec), m_formatIndex(WmaFormatTable::kDefaultFormat) {}

CWmaCodecInfoManager::~CWmaCodecInfoManager() = default;

int CWmaCodecInfoManager::GetVersion() {
    return kVersion;
}

int CWmaCodecInfoManager::Initialise(int sampleRate, int channels, int bitsPerSample) {
    if (!WmaFormatTable::IsEncodableInput(sampleRate, channels) ||
        (bitsPerSample != 8 && bitsPerSample != 16)) {
        return 0;
    }
    std::lock_guard hold(m_lock);
    m_sampleRate = sampleRate;
    m_channels = channels;
    m_bitsPerSample = bitsPerSample;
    return 1;
}

void CWmaCodecInfoManager::GetInputFormat(int* sampleRate, int* channels, int* bitsPerSample) {
    std::lock_guard hold(m_lock);
    if (sampleRate != nullptr) {
        *sampleRate = m_sampleRate;
    }
    if (channels != nullptr) {
        *channels = m_channels;
    }
    if (bitsPerSample != nullptr) {
        *bitsPerSample = m_bitsPerSample;
    }
}

void CWmaCodecInfoManager::ClearCatalogue() {
    std::lock_guard hold(m_lock);
    m_list = WmaCodecList{};
    m_formatPointers.clear();
    m_codecPointers.clear();
    m_formats.clear();
    m_codecs.clear();
}

int CWmaCodecInfoManager::BuildCatalogue() {
    ClearCatalogue();
    std::lock_guard hold(m_lock);
    const int codecCount = WmaFormatTable::CodecCount();
    m_formatPointers.resize(codecCount);
    for (int codec = 0; codec < codecCount; ++codec) {
        auto record = std::make_unique<WmaCodecRecord>();
        record->codecIndex = codec;
        CopyDescription(record->description, WmaFormatTable::CodecDescription(codec));
        for (int format = 0; format < WmaFormatTable::FormatCount(codec); ++format) {
            auto entry = std::make_unique<WmaFormatRecord>();
            entry->formatIndex = format;
            entry->vbr = 0;
            entry->passes = 1;
            CopyDescription(entry->description,
                            WmaFormatTable::FormatDescription(codec, format, m_sampleRate, m_channels));
            m_formatPointers[codec].push_back(entry.get());
            m_formats.push_back(std::move(entry));
        }
        record->formats = m_formatPointers[codec].data();
        record->formatCount = static_cast<int>(m_formatPointers[codec].size());
        m_codecPointers.push_back(record.get());
        m_codecs.push_back(std::move(record));
    }
    m_list.codecs = m_codecPointers.data();
    m_list.codecCount = static_cast<int>(m_codecPointers.size());
    return 1;
}

WmaCodecList* CWmaCodecInfoManager::GetCatalogue() {
    std::lock_guard hold(m_lock);
    return m_list.codecs != nullptr ? &m_list : nullptr;
}

void CWmaCodecInfoManager::GetChoice(int* codecIndex, int* formatIndex) {
    std::lock_guard hold(m_lock);
    if (codecIndex != nullptr) {
        *codecIndex = m_codecIndex;
    }
    if (formatIndex != nullptr) {
        *formatIndex = m_formatIndex;
    }
}

int CWmaCodecInfoManager::SetChoice(int codecIndex, int formatIndex) {
    if (codecIndex == -1) {
        formatIndex = -1;
    } else if (formatIndex != -1 && !WmaFormatTable::IsChoice(codecIndex, formatIndex)) {
        return 0;
    } else if (WmaFormatTable::FormatCount(codecIndex) == 0) {
        return 0;
    }
    std::lock_guard hold(m_lock);
    m_codecIndex = codecIndex;
    m_formatIndex = formatIndex;
    return 1;
}

int CWmaCodecInfoManager::IsTwoPass() {
    WmaFormatRecord* chosen = GetChosenFormat();
    return chosen != nullptr && chosen->passes == 2 ? 1 : 0;
}

WmaFormatRecord* CWmaCodecInfoManager::GetChosenFormat() {
    std::lock_guard hold(m_lock);
    if (m_codecIndex < 0 || m_codecIndex >= static_cast<int>(m_formatPointers.size()) || m_formatIndex < 0 ||
        m_formatIndex >= static_cast<int>(m_formatPointers[m_codecIndex].size())) {
        return nullptr;
    }
    return m_formatPointers[m_codecIndex][m_formatIndex];
}

void CWmaCodecInfoManager::Release() {
    delete this;
}
