// Records each encoded track in the catalogue: the tracks of one burn session (the folder the
// recorder wrote the captured files into) make one disc, a new session a new disc.
#pragma once

#include <string>

class DiscCatalogue;
class _AUDIO_ENCODE_FINISH_RESULT;

// The session of a captured file: the name of the folder that holds it.
std::string SessionNameOf(const std::string& sourcePath);

class SessionRecorder {
public:
    // Adds the track to the catalogue's last disc, after starting a new disc when its session is
    // not the one being filled. False when there was no disc to add it to.
    bool Record(const _AUDIO_ENCODE_FINISH_RESULT& result, DiscCatalogue& catalogue);

private:
    std::string m_strCurrentSession;
};
