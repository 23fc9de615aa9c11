#include "app/CARRegistry.h"

#include <vector>

CARRegistry::CARRegistry(bool machine) : m_hRootKey(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER) {}

CARRegistry::~CARRegistry() {
    Close();
}

bool CARRegistry::Open(const char* keyPath) {
    Close();
    std::string path = keyPath != nullptr ? keyPath : "";
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    if (!m_bAbsolutePath) {
        path = "Software\\Quaverlane\\" + path;
    }
    m_strKeyPath = path;
    REGSAM access = m_bReadOnly ? (KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) : KEY_ALL_ACCESS;
    m_lResult = RegOpenKeyExA(m_hRootKey, path.c_str(), 0, access, &m_hKey);
    if (m_lResult != ERROR_SUCCESS) {
        m_hKey = nullptr;
    }
    return m_hKey != nullptr;
}

void CARRegistry::Close() {
    if (m_hKey != nullptr) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

std::string CARRegistry::ReadString(const char* valueName, const std::string& fallback) {
    if (m_hKey == nullptr) {
        return fallback;
    }
    m_dwSize = 0;
    m_lResult = RegQueryValueExA(m_hKey, valueName, nullptr, &m_dwType, nullptr, &m_dwSize);
    if (m_lResult != ERROR_SUCCESS || (m_dwType != REG_SZ && m_dwType != REG_EXPAND_SZ)) {
        return fallback;
    }
    std::vector<char> data(m_dwSize + 1, '\0');
    DWORD size = m_dwSize;
    m_lResult =
        RegQueryValueExA(m_hKey, valueName, nullptr, &m_dwType, reinterpret_cast<BYTE*>(data.data()), &size);
    if (m_lResult != ERROR_SUCCESS) {
        return fallback;
    }
    m_dwSize = size;
    // A stored string need not carry its terminator.
    return std::string(data.data(), strnlen(data.data(), size));
}
