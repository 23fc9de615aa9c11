#include "tests/support/TestSupport.h"

#include "app/framework/FolderTree.h"
#include "app/framework/Scoped.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace qvltest {

std::string BinFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

TestFolder::TestFolder() {
    static int counter = 0;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "qvltest-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    DeleteFolderTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TestFolder::~TestFolder() {
    DeleteFolderTree(m_path);
}

std::string TestFolder::operator/(const std::string& relative) const {
    return m_path + "\\" + relative;
}

RegistryValue::RegistryValue(HKEY root, const std::string& key, const std::string& name,
                             std::optional<std::string> value)
    : m_root(root), m_key(key), m_name(name) {
    HKEY opened = nullptr;
    m_keyExisted = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
    if (m_keyExisted) {
        ScopedRegKey existing(opened);
        DWORD size = 0;
        if (RegQueryValueExA(existing.Get(), name.c_str(), nullptr, &m_beforeType, nullptr, &size) ==
            ERROR_SUCCESS) {
            std::vector<BYTE> data(size);
            RegQueryValueExA(existing.Get(), name.c_str(), nullptr, &m_beforeType, data.data(), &size);
            m_before = data;
        }
    }
    if (value) {
        RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
        ScopedRegKey created(opened);
        RegSetValueExA(created.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    } else if (m_keyExisted) {
        RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &opened);
        ScopedRegKey existing(opened);
        RegDeleteValueA(existing.Get(), name.c_str());
    }
}

RegistryValue::~RegistryValue() {
    // The test may have deleted the whole key meanwhile: create it again to put the value back.
    HKEY opened = nullptr;
    if (RegCreateKeyExA(m_root, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ScopedRegKey key(opened);
    if (m_before) {
        RegSetValueExA(key.Get(), m_name.c_str(), 0, m_beforeType, m_before->data(),
                       static_cast<DWORD>(m_before->size()));
    } else {
        RegDeleteValueA(key.Get(), m_name.c_str());
    }
    if (!m_keyExisted) {
        key.Reset();
        RegDeleteKeyA(m_root, m_key.c_str());
    }
}

RegistryKeyRemoved::RegistryKeyRemoved(HKEY root, const std::string& key)
    : m_root(root), m_key(key),
      m_backup("Software\\QuaverlaneTestBackup" + std::to_string(GetCurrentProcessId())) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return;
    }
    RegCloseKey(opened);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    ScopedRegKey backup(opened);
    m_saved = RegCopyTreeA(root, key.c_str(), backup.Get()) == ERROR_SUCCESS;
    if (m_saved) {
        RegDeleteTreeA(root, key.c_str());
    }
}

RegistryKeyRemoved::~RegistryKeyRemoved() {
    if (!m_saved) {
        return;
    }
    HKEY opened = nullptr;
    if (RegCreateKeyExA(m_root, m_key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr) ==
        ERROR_SUCCESS) {
        ScopedRegKey restored(opened);
        RegCopyTreeA(HKEY_CURRENT_USER, m_backup.c_str(), restored.Get());
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, m_backup.c_str());
}

FileAway::FileAway(std::string path) : m_path(std::move(path)) {
    MoveFileA(m_path.c_str(), (m_path + ".away").c_str());
}

FileAway::~FileAway() {
    MoveFileA((m_path + ".away").c_str(), m_path.c_str());
}

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name) {
    char data[4096] = "";
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) {
            return condition();
        }
        Sleep(20);
    }
    return true;
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

size_t CountFiles(const std::string& folder, const std::string& pattern) {
    size_t count = 0;
    WIN32_FIND_DATAA found;
    ScopedFindHandle find(FindFirstFileA((folder + "\\" + pattern).c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != 0) {
        count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? 1 : 0;
    }
    return count;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    // A test whose set-up file never reached the disk would fail later for a reason it hides.
    if (!out) {
        ADD_FAILURE() << "could not write " << path;
    }
}

std::vector<std::string> ReadLogLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(path));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            size_t end = line.find("] ");
            if (end != std::string::npos) {
                line.erase(0, end + 2);
            }
        }
        lines.push_back(line);
    }
    return lines;
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_info)) {
        m_info = {};
    }
}

ChildProcess::~ChildProcess() {
    if (m_info.hProcess == nullptr) {
        return;
    }
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

std::optional<DWORD> ChildProcess::Wait(DWORD timeoutMs) {
    if (m_info.hProcess == nullptr || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

std::string TestOutputFolder() {
    char folder[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("QVL_TEST_OUTPUT", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : "";
}

void KeepForTheIndependentCheck(const std::string& file, const std::string& name) {
    std::string folder = TestOutputFolder();
    if (folder.empty()) {
        return;
    }
    ASSERT_TRUE(CreateFolderTree(folder)) << folder;
    std::string copy = folder + "\\" + name;
    ASSERT_TRUE(CopyFileA(file.c_str(), copy.c_str(), FALSE)) << copy;
}

std::string UncreatableFolder(const std::string& root) {
    WriteFile(root + "\\in-the-way", "a file, not a folder");
    return root + "\\in-the-way\\Music";
}

} // namespace qvltest
