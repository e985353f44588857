#include "audio/sequencer.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace gen::audio {

float noteNumber(const std::string& name) {
    static const int letters[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2) throw std::invalid_argument("bad note '" + name + "'");
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (letter < 'A' || letter > 'G') throw std::invalid_argument("bad note '" + name + "'");
    int semitone = letters[letter - 'A'];
    size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i) semitone += name[i] == '#' ? 1 : -1;
    if (i >= name.size() || !std::isdigit(static_cast<unsigned char>(name[i])))
        throw std::invalid_argument("bad note '" + name + "'");
    const int octave = std::stoi(name.substr(i));
    return static_cast<float>(12 * (octave + 1) + semitone);
}

std::vector<float> chord(const std::string& names) {
    std::istringstream in(names);
    std::vector<float> notes;
    for (std::string name; in >> name;) notes.push_back(noteNumber(name));
    return notes;
}

Notes steps(const std::string& pattern, double startBeat, float pitch, double stepBeats) {
    Notes notes;
    for (size_t i = 0; i < pattern.size(); ++i) {
        float velocity = 0.0f;
        switch (pattern[i]) {
        case 'X': velocity = 1.0f; break;
        case 'x': velocity = 0.8f; break;
        case 'o': velocity = 0.45f; break;
        default: continue;
        }
        notes.push_back({startBeat + static_cast<double>(i) * stepBeats, stepBeats, pitch, velocity, false});
    }
    return notes;
}

Notes melody(const std::string& tokens, double startBeat, double stepBeats) {
    std::istringstream in(tokens);
    Notes notes;
    double at = startBeat;
    for (std::string token; in >> token;) {
        const size_t colon = token.find(':');
        if (colon == std::string::npos) throw std::invalid_argument("bad melody token '" + token + "'");
        const double length = std::stod(token.substr(colon + 1)) * stepBeats;
        std::string name = token.substr(0, colon);
        if (name != "-") {
            const bool glide = name[0] == '>';
            if (glide) name = name.substr(1);
            notes.push_back({at, length, noteNumber(name), 1.0f, glide});
        }
        at += length;
    }
    return notes;
}

void append(Notes& to, const Notes& more) { to.insert(to.end(), more.begin(), more.end()); }

Notes shifted(const Notes& notes, double beats, float semitones) {
    Notes out = notes;
    for (Note& n : out) {
        n.beat += beats;
        n.pitch += semitones;
    }
    return out;
}

}  // namespace gen::audio
