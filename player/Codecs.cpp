// The extension lists the decoders keep: what each claims, for the shell registration and for
// choosing a decoder by a file's name.
#include "player/Modules.h"

#include <cstring>

void AddCodecExtension(CodecModule& module, const char* extension, int userValue) {
    if (extension == nullptr || *extension == '\0') {
        return;
    }
    CodecExtension** tail = &module.extensions;
    for (CodecExtension* item = module.extensions; item != nullptr; item = item->next) {
        // lstrcmpi follows the system code page, so a lead byte is never folded as a letter.
        if (lstrcmpiA(item->text, extension) == 0) {
            return;
        }
        tail = &item->next;
    }
    auto* added = new CodecExtension{};
    lstrcpynA(added->text, extension, sizeof(added->text));
    added->userValue = userValue;
    // Appended, so that the list keeps the order in which the decoder claimed them.
    *tail = added;
}

void FreeCodecExtensions(CodecModule& module) {
    CodecExtension* item = module.extensions;
    while (item != nullptr) {
        CodecExtension* next = item->next;
        delete item;
        item = next;
    }
    module.extensions = nullptr;
}
