#include "tools/recsim/CueSheetReader.h"

#include "tools/recsim/CueAudio.h"
#include "tools/recsim/Errors.h"
#include "tools/recsim/Files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

namespace recsim {
namespace {

constexpr uint64_t kMaxDiscFrames = 100 * 60 * kFramesPerSecond;

struct TextCommand {
    const char* keyword;
    TextItem item;
};
constexpr TextCommand kTextCommands[] = {
    {"TITLE", kTitle},       {"PERFORMER", kPerformer}, {"SONGWRITER", kSongwriter},
    {"COMPOSER", kComposer}, {"ARRANGER", kArranger},   {"MESSAGE", kMessage},
};
// Accepted but not carried into the burn: a catalogue number or ISRC would be a cue-sheet entry of
// its own (ADR 2 or 3) that the program's reader does not expect, and flags change nothing here.
constexpr const char* kIgnoredCommands[] = {"CATALOG", "ISRC", "FLAGS"};

bool Is(const std::string& token, const char* keyword) {
    return _stricmp(token.c_str(), keyword) == 0;
}

std::string ReadText(const std::string& path) {
    ScopedFile file = OpenForReading(path);
    std::string text(FileSize(file.Get(), path), '\0');
    ReadAt(file.Get(), path, 0, std::span<uint8_t>(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    // A byte-order mark from an editor that saved the sheet as UTF-8.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    return text;
}

struct CueTrack {
    TextSet text;
    uint32_t pregap = 0;
    bool hasPregap = false;
    std::optional<uint64_t> index0;
    std::optional<uint64_t> index1;
};

class CueParser {
public:
    explicit CueParser(std::string cuePath) : m_cuePath(std::move(cuePath)) {
        size_t slash = m_cuePath.find_last_of("\\/");
        m_folder = slash == std::string::npos ? std::string() : m_cuePath.substr(0, slash + 1);
    }

    Disc Parse() {
        std::string text = ReadText(m_cuePath);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end;
            ++m_line;
            ParseLine(text.substr(start, end - start));
            start = end + 1;
        }
        return Build();
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw RecsimError(m_cuePath + " line " + std::to_string(m_line) + ": " + message);
    }

    std::vector<std::string> Tokens(const std::string& line) const {
        std::vector<std::string> tokens;
        size_t at = 0;
        while (true) {
            while (at < line.size() && isspace(static_cast<unsigned char>(line[at]))) {
                ++at;
            }
            if (at == line.size()) {
                return tokens;
            }
            if (line[at] == '"') {
                size_t close = line.find('"', at + 1);
                if (close == std::string::npos) {
                    Fail("a quoted text has no closing quote");
                }
                tokens.push_back(line.substr(at + 1, close - at - 1));
                at = close + 1;
            } else {
                size_t end = at;
                while (end < line.size() && !isspace(static_cast<unsigned char>(line[end]))) {
                    ++end;
                }
                tokens.push_back(line.substr(at, end - at));
                at = end;
            }
        }
    }

    // mm:ss:ff, minutes unbounded, 60 seconds to the minute and 75 frames to the second.
    uint64_t Time(const std::string& token) const {
        unsigned minutes = 0;
        unsigned seconds = 0;
        unsigned frames = 0;
        int consumed = 0;
        if (sscanf(token.c_str(), "%u:%u:%u%n", &minutes, &seconds, &frames, &consumed) != 3 ||
            static_cast<size_t>(consumed) != token.size() || !isdigit(static_cast<unsigned char>(token[0])) ||
            seconds >= 60 || frames >= kFramesPerSecond) {
            Fail("\"" + token + "\" is not a time mm:ss:ff");
        }
        return (uint64_t{minutes} * 60 + seconds) * kFramesPerSecond + frames;
    }

    // Texts with spaces belong in quotes; unquoted words are taken together all the same.
    static std::string JoinFrom(const std::vector<std::string>& tokens, size_t first) {
        std::string text;
        for (size_t index = first; index < tokens.size(); ++index) {
            text += (index > first ? " " : "") + tokens[index];
        }
        return text;
    }

    TextSet& CurrentTexts() { return m_tracks.empty() ? m_discText : m_tracks.back().text; }

    CueTrack& CurrentTrack(const char* command) {
        if (m_tracks.empty()) {
            Fail(std::string(command) + " before any TRACK");
        }
        return m_tracks.back();
    }

    void Expect(const std::vector<std::string>& tokens, size_t count, const char* form) const {
        if (tokens.size() != count) {
            Fail(std::string("expected ") + form);
        }
    }

    void ParseLine(const std::string& line) {
        std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty()) {
            return;
        }
        const std::string& command = tokens[0];
        for (const TextCommand& text : kTextCommands) {
            if (Is(command, text.keyword)) {
                CurrentTexts()[text.item] = JoinFrom(tokens, 1);
                return;
            }
        }
        if (Is(command, "REM")) {
            if (tokens.size() > 1 && Is(tokens[1], "GENRE")) {
                CurrentTexts()[kGenre] = JoinFrom(tokens, 2);
            }
        } else if (Is(command, "FILE")) {
            ParseFile(tokens);
        } else if (Is(command, "TRACK")) {
            ParseTrack(tokens);
        } else if (Is(command, "INDEX")) {
            ParseIndex(tokens);
        } else if (Is(command, "PREGAP")) {
            ParsePregap(tokens);
        } else if (std::none_of(std::begin(kIgnoredCommands), std::end(kIgnoredCommands),
                                [&](const char* ignored) { return Is(command, ignored); })) {
            Fail("the command " + command + " is not supported");
        }
    }

    void ParseFile(const std::vector<std::string>& tokens) {
        Expect(tokens, 3, "FILE \"name\" WAVE");
        if (!Is(tokens[2], "WAVE")) {
            Fail("only WAVE files can be burned, not " + tokens[2]);
        }
        const std::string& name = tokens[1];
        bool absolute =
            (name.size() > 1 && name[1] == ':') || name.starts_with("\\") || name.starts_with("/");
        try {
            m_fileStart = m_audio->AppendWav(absolute ? name : m_folder + name);
        } catch (const RecsimError& error) {
            Fail(error.what());
        }
        m_fileEnd = m_audio->Frames();
    }

    void ParseTrack(const std::vector<std::string>& tokens) {
        Expect(tokens, 3, "TRACK nn AUDIO");
        if (!m_fileStart) {
            Fail("TRACK before any FILE");
        }
        if (!Is(tokens[2], "AUDIO")) {
            Fail("only AUDIO tracks can be burned, not " + tokens[2]);
        }
        std::string expected = std::to_string(m_tracks.size() + 1);
        if (tokens[1].find_first_not_of('0') == std::string::npos ||
            tokens[1].substr(tokens[1].find_first_not_of('0')) != expected) {
            Fail("tracks must be numbered 01, 02, 03 ... in order; expected " + expected + " here");
        }
        if (m_tracks.size() == kMaxTracks) {
            Fail("a disc holds at most 99 tracks");
        }
        m_tracks.emplace_back();
    }

    void ParseIndex(const std::vector<std::string>& tokens) {
        Expect(tokens, 3, "INDEX nn mm:ss:ff");
        CueTrack& track = CurrentTrack("INDEX");
        bool first = tokens[1] == "00" || tokens[1] == "0";
        if (!first && tokens[1] != "01" && tokens[1] != "1") {
            Fail("INDEX " + tokens[1] + " is not supported; only INDEX 00 and INDEX 01 are");
        }
        std::optional<uint64_t>& index = first ? track.index0 : track.index1;
        if (index || (first && track.index1)) {
            Fail("INDEX " + tokens[1] + " out of order");
        }
        uint64_t position = *m_fileStart + Time(tokens[2]);
        if (position > m_fileEnd) {
            Fail("INDEX " + tokens[1] + " lies beyond the end of its FILE");
        }
        if (position < m_lastIndex) {
            Fail("INDEX " + tokens[1] + " lies before the previous INDEX");
        }
        m_lastIndex = position;
        index = position;
    }

    void ParsePregap(const std::vector<std::string>& tokens) {
        Expect(tokens, 2, "PREGAP mm:ss:ff");
        CueTrack& track = CurrentTrack("PREGAP");
        if (track.hasPregap || track.index0 || track.index1) {
            Fail("PREGAP must come once, before the track's INDEX lines");
        }
        uint64_t frames = Time(tokens[1]);
        if (frames >= kMaxDiscFrames) {
            Fail("PREGAP is longer than a disc");
        }
        track.pregap = static_cast<uint32_t>(frames);
        track.hasPregap = true;
    }

    Disc Build() const {
        if (m_tracks.empty()) {
            throw RecsimError(m_cuePath + ": no TRACK");
        }
        Disc disc;
        disc.text = m_discText;
        for (size_t index = 0; index < m_tracks.size(); ++index) {
            const CueTrack& cue = m_tracks[index];
            std::string name = "track " + std::to_string(index + 1);
            if (!cue.index1) {
                throw RecsimError(m_cuePath + ": " + name + " has no INDEX 01");
            }
            uint64_t end = m_audio->Frames();
            if (index + 1 < m_tracks.size()) {
                const CueTrack& next = m_tracks[index + 1];
                end = next.index0 ? *next.index0 : next.index1.value_or(end);
            }
            uint64_t frames = end - *cue.index1;
            if (frames == 0 || frames >= kMaxDiscFrames) {
                throw RecsimError(m_cuePath + ": " + name + (frames == 0 ? " has no audio" : " is too long"));
            }
            Track track;
            track.text = cue.text;
            uint64_t pregapAudio = cue.index0 ? *cue.index1 - *cue.index0 : 0;
            track.pregapFrames = cue.pregap + static_cast<uint32_t>(pregapAudio);
            track.pregapHasAudio = pregapAudio > 0;
            if (index == 0 && track.pregapFrames == 0) {
                track.pregapFrames = kFirstTrackPregap;
            }
            track.frames = static_cast<uint32_t>(frames);
            track.audio = m_audio;
            track.audioOffset = *cue.index1 * kBytesPerFrame;
            disc.tracks.push_back(std::move(track));
        }
        return disc;
    }

    std::string m_cuePath;
    std::string m_folder;
    int m_line = 0;
    TextSet m_discText;
    std::vector<CueTrack> m_tracks;
    std::shared_ptr<CueAudio> m_audio = std::make_shared<CueAudio>();
    std::optional<uint64_t> m_fileStart;
    uint64_t m_fileEnd = 0;
    uint64_t m_lastIndex = 0;
};

} // namespace

Disc ReadCueSheet(const std::string& cuePath) {
    return CueParser(cuePath).Parse();
}

} // namespace recsim
