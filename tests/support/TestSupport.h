// What many tests need: folders of their own inside the Wine drive, registry values set for the
// length of a test, waiting with a time-out, files and child processes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qvltest {

// The folder of the running test executable (also where the program and its DLLs are built).
std::string BinFolder();

// A new empty folder below the temporary folder, deleted with everything in it at the end.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path + "\" + relative.
    std::string operator/(const std::string& relative) const;

private:
    std::string m_path;
};

// Sets (or removes, when value is empty) a string value for the life of the object and puts
// back what was there before.
class RegistryValue {
public:
    RegistryValue(HKEY root, const std::string& key, const std::string& name,
                  std::optional<std::string> value);
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

private:
    HKEY m_root;
    std::string m_key;
    std::string m_name;
    bool m_keyExisted = false;
    std::optional<std::vector<BYTE>> m_before;
    DWORD m_beforeType = REG_SZ;
};

// Takes a key away, everything below it included, for the life of the object and puts it back
// afterwards.
class RegistryKeyRemoved {
public:
    RegistryKeyRemoved(HKEY root, const std::string& key);
    ~RegistryKeyRemoved();
    RegistryKeyRemoved(const RegistryKeyRemoved&) = delete;
    RegistryKeyRemoved& operator=(const RegistryKeyRemoved&) = delete;

private:
    HKEY m_root;
    std::string m_key;
    std::string m_backup;
    bool m_saved = false;
};

// Takes a file away (renamed beside itself) for the life of the object: a library of the
// program's folder that a test needs missing.
class FileAway {
public:
    explicit FileAway(std::string path);
    ~FileAway();
    FileAway(const FileAway&) = delete;
    FileAway& operator=(const FileAway&) = delete;

private:
    std::string m_path;
};

// Reads a string value; nothing when the key or the value is missing.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key, const std::string& name);

// Polls the condition every 20 ms until it holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
long long FileSize(const std::string& path);
std::string ReadFile(const std::string& path);
// Files (not folders) directly in the folder whose names match the pattern.
size_t CountFiles(const std::string& folder, const std::string& pattern = "*");
void WriteFile(const std::string& path, const std::string& bytes);
// A folder below root that can never be created, because a file of its parent's name is in the way.
std::string UncreatableFolder(const std::string& root);

// The folder QVL_TEST_OUTPUT names, where a test leaves files for a check on the Linux side;
// empty when it is not set.
std::string TestOutputFolder();

// Copies the file as name into the folder QVL_TEST_OUTPUT names, when it is set, for a check
// on the Linux side. Use inside ASSERT_NO_FATAL_FAILURE.
void KeepForTheIndependentCheck(const std::string& file, const std::string& name);

// qvl.log without the time stamps the log library puts before each line.
std::vector<std::string> ReadLogLines(const std::string& path);

// A program started for a test; killed at the end if still running.
class ChildProcess {
public:
    ChildProcess(const std::string& exe, const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    // The exit code, or nothing when it is still running after timeoutMs.
    std::optional<DWORD> Wait(DWORD timeoutMs);

private:
    PROCESS_INFORMATION m_info{};
};

} // namespace qvltest
