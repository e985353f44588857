#include "audio/audio_files.h"

#include "audio/audio_measure.h"
#include "contact_sheet.h"
#include "image_writers.h"
#include "previews.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace gen::audio {

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v & 255));
    b.push_back(static_cast<uint8_t>((v >> 8) & 255));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void putTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

int16_t toPcm(float x) {
    if (!(x > -1.0f)) return -32767;  // also NaN
    if (x >= 1.0f) return 32767;
    return static_cast<int16_t>(std::lround(x * 32767.0f));
}

std::vector<uint8_t> wavFile(const std::vector<const Samples*>& channels) {
    const uint32_t frames = static_cast<uint32_t>(channels[0]->size());
    const uint32_t count = static_cast<uint32_t>(channels.size());
    const uint32_t dataBytes = frames * count * 2;
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, count);
    put32(b, sampleRate);
    put32(b, sampleRate * count * 2);
    put16(b, count * 2);
    put16(b, 16);
    putTag(b, "data");
    put32(b, dataBytes);
    for (uint32_t i = 0; i < frames; ++i)
        for (const Samples* c : channels) put16(b, static_cast<uint16_t>(toPcm((*c)[i])));
    return b;
}

void append(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> encodeWav(const Samples& mono) { return wavFile({&mono}); }

std::vector<uint8_t> encodeWav(const StereoSamples& stereo) { return wavFile({&stereo.left, &stereo.right}); }

std::vector<uint8_t> encodeOggVorbis(const StereoSamples& stereo, float quality) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, sampleRate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("the Vorbis encoder refused its set-up");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ARTIST", "Nightrun");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x4e52756e);  // fixed serial: reproducible files

    std::vector<uint8_t> out;
    ogg_packet header, commentPacket, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) append(out, page);

    constexpr size_t chunk = 8192;
    const size_t total = stereo.size();
    for (size_t pos = 0;;) {
        const size_t n = std::min(chunk, total - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // end of stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                buffer[0][i] = std::clamp(stereo.left[pos + i], -1.0f, 1.0f);
                buffer[1][i] = std::clamp(stereo.right[pos + i], -1.0f, 1.0f);
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) append(out, page);
            }
        }
        if (n == 0) break;
        pos += n;
    }
    while (ogg_stream_flush(&stream, &page)) append(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

void saveWav(const std::filesystem::path& base, const std::string& relPath, const Samples& mono) {
    if (!writeBytes(base / relPath, encodeWav(mono))) throw std::runtime_error("cannot write " + relPath);
    if (contactSheet::enabled()) contactSheet::add(relPath, spectrogramImage(mono, 512, 256), false);
    if (previews::enabled()) previews::save("spectrograms/" + relPath, spectrogramImage(mono, 800, 400));
}

void saveOgg(const std::filesystem::path& base, const std::string& relPath, const StereoSamples& stereo, float quality) {
    if (!writeBytes(base / relPath, encodeOggVorbis(stereo, quality))) throw std::runtime_error("cannot write " + relPath);
    if (contactSheet::enabled()) {
        Samples mid(stereo.size());
        for (size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5f * (stereo.left[i] + stereo.right[i]);
        contactSheet::add(relPath, spectrogramImage(mid, 1024, 256), false);
    }
    if (previews::enabled()) {
        Samples mid(stereo.size());
        for (size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5f * (stereo.left[i] + stereo.right[i]);
        previews::save("spectrograms/" + relPath, spectrogramImage(mid, 1600, 400));
    }
}

}  // namespace gen::audio
