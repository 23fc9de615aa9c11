// Registry access for the program's own keys.
#pragma once

#include <windows.h>

#include <string>

class CARRegistry {
public:
    // The machine's hive when asked for, the user's otherwise.
    explicit CARRegistry(bool machine = false);
    ~CARRegistry();
    CARRegistry(const CARRegistry&) = delete;
    CARRegistry& operator=(const CARRegistry&) = delete;

    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    // With the flag clear a key path is taken below "Software\Quaverlane\".
    void SetAbsolutePath(bool absolute) { m_bAbsolutePath = absolute; }

    // Opens the key (one trailing backslash is ignored): query and enumerate access when
    // read-only, full access otherwise. Closes a key opened before.
    bool Open(const char* keyPath);
    void Close();

    // Reads a string value; the fallback when the value is missing, of another type or the key
    // is not open.
    std::string ReadString(const char* valueName, const std::string& fallback);

    LONG LastResult() const { return m_lResult; }
    DWORD LastType() const { return m_dwType; }

private:
    HKEY m_hRootKey;
    HKEY m_hKey = nullptr;
    LONG m_lResult = ERROR_SUCCESS;
    DWORD m_dwType = REG_NONE;
    DWORD m_dwSize = 0;
    std::string m_strKeyPath;
    bool m_bReadOnly = false;
    bool m_bAbsolutePath = false;
};
