#include "ui/manager/SessionRecorder.h"

#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "project/DiscCatalogue.h"

#include <memory>

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

std::string SessionNameOf(const std::string& sourcePath) {
    const std::string folder = FolderOf(sourcePath);
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

bool SessionRecorder::Record(const _AUDIO_ENCODE_FINISH_RESULT& result, DiscCatalogue& catalogue) {
    ScopedLock lock(catalogue.Lock());
    const std::string session = SessionNameOf(result.sourcePath);
    if (!session.empty() && _stricmp(session.c_str(), m_strCurrentSession.c_str()) != 0) {
        m_strCurrentSession = session;
        auto disc = std::make_unique<DiscRecord>();
        disc->SetLabel(catalogue.NewDiscLabel());
        disc->SetFolder(FolderOf(result.outputPath));
        catalogue.AddDisc(std::move(disc));
    }
    DiscRecord* last = catalogue.GetCount() > 0 ? catalogue.GetDisc(catalogue.GetCount() - 1) : nullptr;
    if (last == nullptr) {
        return false;
    }
    last->AddTrack(result.title, result.artist, result.album, result.genre, result.outputPath,
                   result.duration);
    return true;
}
