#include "app/FileVersionInfo.h"

bool FileVersionInfo::Load(const std::string& path) {
    m_bValid = false;
    m_pTranslation = nullptr;
    m_nTranslationLength = 0;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) {
        return false;
    }
    m_resource.assign(size, 0);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, m_resource.data())) {
        return false;
    }
    void* fixed = nullptr;
    UINT fixedLength = 0;
    if (!VerQueryValueA(m_resource.data(), "\\", &fixed, &fixedLength) ||
        fixedLength < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    m_fixed = *static_cast<VS_FIXEDFILEINFO*>(fixed);
    if (m_fixed.dwSignature != 0xFEEF04BD) {
        return false;
    }
    void* translation = nullptr;
    if (!VerQueryValueA(m_resource.data(), "\\VarFileInfo\\Translation", &translation,
                        &m_nTranslationLength) ||
        m_nTranslationLength == 0) {
        return false;
    }
    m_pTranslation = static_cast<const DWORD*>(translation);
    m_bValid = true;
    return true;
}
