// Short songs written by the tests themselves: a WAV of a given length and a
// one-note MIDI file.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace testsongs {

inline void putLe(std::vector<char>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void writeFile(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// 8-bit mono PCM at 11025 Hz: a quiet square wave of `milliseconds`.
inline std::vector<char> wave(int milliseconds)
{
    const uint32_t samples = static_cast<uint32_t>(11025 * milliseconds / 1000);
    std::vector<char> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + samples, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2);      // PCM
    putLe(out, 1, 2);      // mono
    putLe(out, 11025, 4);  // sample rate
    putLe(out, 11025, 4);  // byte rate
    putLe(out, 1, 2);      // block align
    putLe(out, 8, 2);      // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, samples, 4);
    for (uint32_t i = 0; i < samples; ++i)
        out.push_back(static_cast<char>((i / 25) % 2 ? 0x90 : 0x70));
    return out;
}

// Format 0, one track: one quarter-length note at 120 beats a minute.
inline std::vector<char> midi()
{
    const std::vector<unsigned char> track = {
        0x00, 0x90, 0x3C, 0x40,  // note on, middle C
        0x60, 0x80, 0x3C, 0x40,  // 96 ticks later: note off
        0x00, 0xFF, 0x2F, 0x00,  // end of track
    };
    std::vector<char> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, static_cast<char>(192)};
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<char>(track.size())});
    for (unsigned char byte : track)
        out.push_back(static_cast<char>(byte));
    return out;
}

}  // namespace testsongs
