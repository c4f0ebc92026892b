#include "speech/wav_file_sink.h"

#include <cstring>

namespace speech {
namespace {

constexpr long kHeaderBytes = 44;

void PutU32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void PutU16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

}  // namespace

WavFileSink::~WavFileSink() { Close(true); }

bool WavFileSink::Open(int sample_rate) {
    Close(true);
    if (sample_rate <= 0) return false;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) return false;
    data_bytes_ = 0;
    unsigned char header[kHeaderBytes] = {};
    std::memcpy(header, "RIFF", 4);
    PutU32(header + 4, 36);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutU32(header + 16, 16);
    PutU16(header + 20, 1);  // PCM
    PutU16(header + 22, 1);  // mono
    PutU32(header + 24, static_cast<std::uint32_t>(sample_rate));
    PutU32(header + 28, static_cast<std::uint32_t>(sample_rate) * 2);
    PutU16(header + 32, 2);
    PutU16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    PutU32(header + 40, 0);
    if (std::fwrite(header, 1, sizeof header, file_) != sizeof header) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

bool WavFileSink::Write(std::span<const std::int16_t> samples) {
    if (file_ == nullptr) return false;
    // Little-endian on disk whatever the host order.
    unsigned char chunk[512];
    std::size_t i = 0;
    while (i < samples.size()) {
        std::size_t n = 0;
        for (; n < sizeof chunk / 2 && i < samples.size(); ++i, ++n) {
            PutU16(chunk + 2 * n, static_cast<std::uint16_t>(samples[i]));
        }
        if (std::fwrite(chunk, 2, n, file_) != n) return false;
        // A WAV file cannot describe more than 4 GiB; stop counting there.
        const std::uint64_t total = std::uint64_t{data_bytes_} + 2 * n;
        data_bytes_ =
            total > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu - 36 : static_cast<std::uint32_t>(total);
    }
    return true;
}

void WavFileSink::Close(bool /*abort*/) {
    if (file_ == nullptr) return;
    unsigned char size[4];
    PutU32(size, 36 + data_bytes_);
    if (std::fseek(file_, 4, SEEK_SET) == 0) std::fwrite(size, 1, 4, file_);
    PutU32(size, data_bytes_);
    if (std::fseek(file_, 40, SEEK_SET) == 0) std::fwrite(size, 1, 4, file_);
    std::fclose(file_);
    file_ = nullptr;
}

AudioSinkFactory WavFileSink::Factory(std::string path) {
    return [path = std::move(path)] { return std::make_unique<WavFileSink>(path); };
}

}  // namespace speech
