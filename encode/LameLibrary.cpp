#include "encode/LameLibrary.h"

#include "app/framework/AppFolders.h"

namespace {

template <typename Function> void Bind(HMODULE module, const char* name, Function& entry) {
    entry = reinterpret_cast<Function>(GetProcAddress(module, name));
}

} // namespace

LameLibrary::LameLibrary() {
    Load(ProgramFolder() + "\\lame_enc.dll");
}

LameLibrary::~LameLibrary() {
    Unload();
}

int LameLibrary::Load(const std::string& path) {
    if (path.empty()) {
        Unload();
        return 0;
    }
    if (path == m_path && m_module != nullptr) {
        return 1;
    }
    Unload();
    m_module = LoadLibraryA(path.c_str());
    if (m_module == nullptr) {
        return 0;
    }
    m_path = path;

    Bind(m_module, "beInitStream", m_api.beInitStream);
    Bind(m_module, "beEncodeChunk", m_api.beEncodeChunk);
    Bind(m_module, "beDeinitStream", m_api.beDeinitStream);
    Bind(m_module, "beCloseStream", m_api.beCloseStream);
    Bind(m_module, "beVersion", m_api.beVersion);
    Bind(m_module, "beWriteVBRHeader", m_api.beWriteVBRHeader);
    if (m_api.beInitStream != nullptr && m_api.beEncodeChunk != nullptr && m_api.beDeinitStream != nullptr &&
        m_api.beCloseStream != nullptr && m_api.beVersion != nullptr && m_api.beWriteVBRHeader != nullptr) {
        QueryVersion();
        m_loaded = 1;
    }
    return 1;
}

void LameLibrary::QueryVersion() {
    m_api.beVersion(&m_version);
}

void LameLibrary::Unload() {
    if (m_module != nullptr) {
        FreeLibrary(m_module);
    }
    m_module = nullptr;
    m_path.clear();
    m_api = {};
    m_loaded = 0;
}
