// Music: Ogg Vorbis files decoded while they play and fed to one OpenAL
// source through a queue of two large buffers, refilled once per frame by the
// frame driver. The menu music is opened at start-up; the race music is opened
// for each race and released when the race is left. Both loop forever.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct OggVorbis_File;
struct vorbis_comment;
struct vorbis_info;

class SoundStream {
public:
    static constexpr int bufferCount = 2;
    static constexpr int bufferBytes = 262144;  // 16-bit samples, about 1.49 s of 44.1 kHz stereo

    SoundStream() = default;
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;
    virtual ~SoundStream();

    // Opens a stream on a file whose name ends in ".ogg" (any case). False, and
    // silent, for a missing file, another extension, a file the decoder refuses
    // or when there is no sound device. The source starts silent (gain 0).
    bool open(const std::string& fileName, bool loop, bool streamed);
    // The same on an Ogg Vorbis image in memory (the stream keeps its copy).
    bool openImage(std::vector<uint8_t> image, bool loop, bool streamed);
    // Refills the buffers the source has played; at the end of the file the
    // decoder starts again from the beginning without a gap.
    void update();
    void play();
    void stop();
    // Stops, goes back to the start and refills the queue from there; a
    // stopped stream stays stopped.
    void rewind();
    void release();
    void setGain(float gain);
    bool isOpen() const { return decoder != nullptr; }
    bool isPlaying() const;

    float velocity[3] = {0.0f, 0.0f, 0.0f};
    float position[3] = {0.0f, 0.0f, 0.0f};
    uint32_t handle = 0;       // copy of the source name once opened
    bool loop = false;
    uint32_t source = 0;
    OggVorbis_File* decoder = nullptr;
    vorbis_comment* comment = nullptr;
    vorbis_info* info = nullptr;
    bool streamed = false;

    // The decoder's data: a file or an image in memory.
    struct Input {
        std::FILE* file = nullptr;
        std::vector<uint8_t> image;
        size_t imagePos = 0;
        bool fromImage = false;
    };

private:
    bool openDecoder();
    // Decodes up to bufferBytes into `buffer`; false once the stream has ended.
    bool fill(uint32_t buffer);
    // Fills a free buffer and queues it; at the end of the stream the decoder
    // goes back to the start. False when nothing could be queued.
    bool refill(uint32_t buffer);
    bool queueBuffer(uint32_t buffer);

    Input input_;
    uint32_t buffers_[bufferCount] = {0, 0};
    bool queued_[bufferCount] = {false, false};
    int32_t format_ = 0;
    int32_t rate_ = 0;
    int channels_ = 0;
    size_t lastFill_ = 0;  // bytes the last fill decoded
    std::vector<char> block_;
};

extern SoundStream menuMusic;
extern SoundStream raceMusic;

// The frame driver's and the window layer's use of the two streams.
void openMenuMusic();
void releaseMenuMusic();
void startMenuMusic();
void rewindMenuMusic();
void updateMenuMusic();
void setMenuMusicGain(float gain);
void stopMenuMusic();

// Opens one of the race tracks for streaming (closing one still open); false
// when it cannot be opened.
bool openRaceMusic(const std::string& fileName);
void closeRaceMusic();
void startRaceMusic();
void stopRaceMusic();
void rewindRaceMusic();
void updateRaceMusic();
void setRaceMusicGain(float gain);
