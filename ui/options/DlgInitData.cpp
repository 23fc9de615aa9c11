#include "ui/options/DlgInitData.h"

#include "res/ids/OptionsIds.h"

#include <cstring>

namespace {

// A record: WORD control id, WORD message, DWORD byte count, then the bytes, without padding.
constexpr size_t kRecordHead = 2 * sizeof(WORD) + sizeof(DWORD);

template <typename T> T ReadAt(const BYTE* data) {
    T value;
    memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

std::vector<std::string> DlgInitComboStrings(HINSTANCE instance, int templateId, int controlId) {
    std::vector<std::string> strings;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(RT_DLGINIT_ID));
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data == nullptr) {
        return strings;
    }
    const size_t size = SizeofResource(instance, found);
    size_t at = 0;
    while (at + sizeof(WORD) <= size && ReadAt<WORD>(data + at) != 0 && at + kRecordHead <= size) {
        const WORD control = ReadAt<WORD>(data + at);
        const WORD message = ReadAt<WORD>(data + at + sizeof(WORD));
        const DWORD length = ReadAt<DWORD>(data + at + 2 * sizeof(WORD));
        at += kRecordHead;
        if (length > size - at) {
            break;
        }
        if (control == controlId && message == DLGINIT_COMBO_ADDSTRING) {
            const char* text = reinterpret_cast<const char*>(data + at);
            strings.emplace_back(text, strnlen(text, length));
        }
        at += length;
    }
    return strings;
}
