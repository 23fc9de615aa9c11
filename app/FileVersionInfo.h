// The fixed version block of an executable, for the start-up report.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class FileVersionInfo {
public:
    // Found only when the version resource reads, its fixed block carries the signature and a
    // non-empty translation table is present.
    bool Load(const std::string& path);
    bool IsValid() const { return m_bValid; }
    const VS_FIXEDFILEINFO& Fixed() const { return m_fixed; }

private:
    VS_FIXEDFILEINFO m_fixed{};
    std::vector<BYTE> m_resource;
    const DWORD* m_pTranslation = nullptr;
    UINT m_nTranslationLength = 0;
    bool m_bValid = false;
};
