#include "companions/WmaEncodeCore/WmaEncodeCore.h"

#include "companions/WmaEncodeCore/WmaCodecInfoManager.h"
#include "companions/WmaEncodeCore/WmaEncoder.h"
#include "companions/WmaEncodeCore/WmaMetaDataEdit.h"

#include <new>

namespace {

// No exception crosses into the program: a refused allocation is a null object.
template <typename Make> int Hand(void** object, Make make) {
    if (object == nullptr) {
        return 0;
    }
    *object = make();
    return *object != nullptr ? 1 : 0;
}

} // namespace

// Each object is handed over as the interface the program calls it through, so that its address
// is that of the interface whatever the class adds.
int __cdecl CreateWMACodeInfoManagerObject(int, void** object) {
    return Hand(object,
                [] { return static_cast<IWMACodecInfoManager*>(new (std::nothrow) CWmaCodecInfoManager()); });
}

int __cdecl CreateWMAEncoderObject(int, void** object) {
    return Hand(object, [] { return static_cast<CAudioEncoder*>(new (std::nothrow) CWmaEncoder()); });
}

int __cdecl CreateWMAMetaDataEditObject(int, void** object) {
    return Hand(object,
                [] { return static_cast<CMediaMetaDataEdit*>(new (std::nothrow) CWmaMetaDataEdit()); });
}
