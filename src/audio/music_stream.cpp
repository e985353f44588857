#include "audio/music_stream.h"

#include "audio/sound_device.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

SoundStream menuMusic;
SoundStream raceMusic;

namespace {

using Input = SoundStream::Input;

// The decoder's data source: reads, seeks and tells on the stream's input;
// closing is left to release.
size_t readInput(void* to, size_t size, size_t count, void* from) {
    Input& in = *static_cast<Input*>(from);
    if (size == 0 || count > SIZE_MAX / size) return 0;
    const size_t bytes = size * count;
    if (!in.fromImage) return in.file ? std::fread(to, 1, bytes, in.file) / size : 0;
    const size_t n = std::min(bytes, in.image.size() - in.imagePos);
    std::copy_n(in.image.data() + in.imagePos, n, static_cast<uint8_t*>(to));
    in.imagePos += n;
    return n / size;
}

int seekInput(void* from, ogg_int64_t offset, int whence) {
    Input& in = *static_cast<Input*>(from);
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    if (!in.fromImage) {
        if (!in.file) return -1;
        std::clearerr(in.file);
        return fseeko(in.file, static_cast<off_t>(offset), whence) == 0 && !std::ferror(in.file) ? 0 : -1;
    }
    const ogg_int64_t base = whence == SEEK_SET ? 0
                             : whence == SEEK_CUR ? static_cast<ogg_int64_t>(in.imagePos)
                                                  : static_cast<ogg_int64_t>(in.image.size());
    const ogg_int64_t to = base + offset;
    if (to < 0 || to > static_cast<ogg_int64_t>(in.image.size())) return -1;
    in.imagePos = static_cast<size_t>(to);
    return 0;
}

int closeInput(void*) { return 0; }

long tellInput(void* from) {
    Input& in = *static_cast<Input*>(from);
    if (in.fromImage) return static_cast<long>(in.imagePos);
    return in.file ? static_cast<long>(ftello(in.file)) : -1;
}

bool hasOggExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == "OGG";
}

// A stream whose decoding fails this many times in a row has ended.
constexpr int maxDecodeErrors = 64;

}  // namespace

SoundStream::~SoundStream() { release(); }

bool SoundStream::open(const std::string& fileName, bool loopFlag, bool streamedFlag) {
    release();
    if (!soundDeviceOpen()) return false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error) || !hasOggExtension(fileName)) return false;
    input_.file = std::fopen(fileName.c_str(), "rb");
    if (!input_.file) return false;
    loop = loopFlag;
    streamed = streamedFlag;
    if (!openDecoder()) {
        release();
        return false;
    }
    return true;
}

bool SoundStream::openImage(std::vector<uint8_t> image, bool loopFlag, bool streamedFlag) {
    release();
    if (!soundDeviceOpen()) return false;
    input_.fromImage = true;
    input_.image = std::move(image);
    input_.imagePos = 0;
    loop = loopFlag;
    streamed = streamedFlag;
    if (!openDecoder()) {
        release();
        return false;
    }
    return true;
}

bool SoundStream::openDecoder() {
    alGenSources(1, &source);
    if (!checkAlError()) return false;
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcef(source, AL_GAIN, 0.0f);  // silent until the frame driver's fade raises it
    alSource3f(source, AL_POSITION, position[0], position[1], position[2]);
    alSource3f(source, AL_VELOCITY, velocity[0], velocity[1], velocity[2]);
    // Music is heard where the listener is, whichever way the camera goes.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(source, AL_LOOPING, loop && !streamed ? AL_TRUE : AL_FALSE);

    decoder = new OggVorbis_File;
    const ov_callbacks callbacks{readInput, seekInput, closeInput, tellInput};
    if (ov_open_callbacks(&input_, decoder, nullptr, 0, callbacks) != 0) {
        delete decoder;
        decoder = nullptr;
        return false;
    }
    info = ov_info(decoder, -1);
    comment = ov_comment(decoder, -1);
    if (!info || info->channels < 1 || info->channels > 2 || info->rate < 8000 || info->rate > 192000) return false;
    channels_ = info->channels;
    rate_ = static_cast<int32_t>(info->rate);
    format_ = channels_ == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    if (!streamed) return false;  // both music streams are streamed; nothing else is supported

    alGenBuffers(bufferCount, buffers_);
    if (!checkAlError()) return false;
    // A stream that decodes to nothing plays nothing.
    for (int k = 0; k < bufferCount; ++k)
        if (!refill(buffers_[k])) return false;
    handle = source;
    return true;
}

bool SoundStream::fill(uint32_t buffer) {
    block_.resize(bufferBytes);
    size_t got = 0;
    long last = 0;
    int errors = 0;
    while (got < block_.size()) {
        int section = 0;
        last = ov_read(decoder, block_.data() + got, static_cast<int>(block_.size() - got), 0, 2, 1, &section);
        if (last == 0) break;
        if (last < 0) {
            // A hole or a damaged page: skip it, unless the stream never recovers.
            if (++errors > maxDecodeErrors) {
                last = 0;
                break;
            }
            continue;
        }
        errors = 0;
        // A chained stream whose next part changes its layout ends here.
        const vorbis_info* now = ov_info(decoder, section);
        if (!now || now->channels != channels_ || now->rate != rate_) {
            last = 0;
            break;
        }
        got += static_cast<size_t>(last);
    }
    if (got > 0) {
        alBufferData(buffer, format_, block_.data(), static_cast<ALsizei>(got), rate_);
        checkAlError();
    }
    lastFill_ = got;
    return last > 0;
}

bool SoundStream::refill(uint32_t buffer) {
    if (!fill(buffer)) {
        // The end: the next data comes from the start again. A fill that found
        // nothing at all takes its data from the start at once.
        ov_pcm_seek(decoder, 0);
        if (lastFill_ == 0) {
            fill(buffer);
            if (lastFill_ == 0) return false;
        }
        if (!loop) {
            queueBuffer(buffer);
            rewind();
            return false;
        }
    }
    return queueBuffer(buffer);
}

bool SoundStream::queueBuffer(uint32_t buffer) {
    ALuint name = buffer;
    alSourceQueueBuffers(source, 1, &name);
    if (!checkAlError()) return false;
    for (int k = 0; k < bufferCount; ++k)
        if (buffers_[k] == buffer) queued_[k] = true;
    return true;
}

void SoundStream::update() {
    if (!streamed || !decoder || !source) return;
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (!checkAlError()) return;
        for (int k = 0; k < bufferCount; ++k)
            if (buffers_[k] == buffer) queued_[k] = false;
        if (!refill(buffer)) return;
    }
    // Buffers emptied by a rewind are filled from the start.
    for (int k = 0; k < bufferCount; ++k)
        if (!queued_[k] && !refill(buffers_[k])) return;
}

void SoundStream::play() {
    if (!source || !decoder) return;
    update();
    alSourcePlay(source);
}

void SoundStream::stop() {
    if (source) alSourceStop(source);
}

void SoundStream::rewind() {
    if (!source || !decoder) return;
    alSourceStop(source);
    // Detaching the buffer clears the whole queue of a stopped source, also
    // buffers queued after the stop, which cannot be unqueued as played.
    alSourcei(source, AL_BUFFER, 0);
    alGetError();
    for (bool& q : queued_) q = false;
    ov_pcm_seek(decoder, 0);
    alSourceRewind(source);
}

void SoundStream::release() {
    if (source) {
        alSourceStop(source);
        if (alIsSource(source)) alDeleteSources(1, &source);
    }
    if (buffers_[0] || buffers_[1]) alDeleteBuffers(bufferCount, buffers_);
    alGetError();
    if (decoder) {
        ov_clear(decoder);
        delete decoder;
    }
    if (input_.file) std::fclose(input_.file);
    input_ = Input{};
    decoder = nullptr;
    info = nullptr;
    comment = nullptr;
    source = handle = 0;
    buffers_[0] = buffers_[1] = 0;
    queued_[0] = queued_[1] = false;
    format_ = rate_ = channels_ = 0;
    block_ = std::vector<char>();
}

void SoundStream::setGain(float gain) {
    if (handle) alSourcef(handle, AL_GAIN, gain);
}

bool SoundStream::isPlaying() const {
    if (!source) return false;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

namespace {

// Opens a music stream; a file that cannot be played is named once (without a
// sound device nothing is played anyway, and that has been said).
bool openMusic(SoundStream& stream, const std::string& fileName) {
    if (stream.open(fileName, true, true)) return true;
    if (soundDeviceOpen())
        std::fprintf(stderr, "Nightrun: music %s is missing or damaged; it is not played\n", fileName.c_str());
    return false;
}

}  // namespace

void openMenuMusic() { openMusic(menuMusic, "base/music/menu.ogg"); }
void releaseMenuMusic() { menuMusic.release(); }
void startMenuMusic() { menuMusic.play(); }
void rewindMenuMusic() { menuMusic.rewind(); }
void updateMenuMusic() { menuMusic.update(); }
void setMenuMusicGain(float gain) { menuMusic.setGain(gain); }
void stopMenuMusic() { menuMusic.stop(); }

bool openRaceMusic(const std::string& fileName) { return openMusic(raceMusic, fileName); }
void closeRaceMusic() { raceMusic.release(); }
void startRaceMusic() { raceMusic.play(); }
void stopRaceMusic() { raceMusic.stop(); }
void rewindRaceMusic() { raceMusic.rewind(); }
void updateRaceMusic() { raceMusic.update(); }
void setRaceMusicGain(float gain) { raceMusic.setGain(gain); }
