// Reading and writing fixed-width little-endian fields. The reader knows how
// many bytes are left and never reads past them: every read reports failure
// instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t offset() const { return m_offset; }
    size_t remaining() const { return m_size - m_offset; }
    bool atEnd() const { return m_offset >= m_size; }

    bool readI32(int32_t& value)
    {
        uint32_t raw = 0;
        if (!readU32(raw))
            return false;
        value = static_cast<int32_t>(raw);
        return true;
    }
    bool readU32(uint32_t& value)
    {
        if (remaining() < 4)
            return false;
        const uint8_t* p = m_data + m_offset;
        value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
                static_cast<uint32_t>(p[3]) << 24;
        m_offset += 4;
        return true;
    }
    bool readDouble(double& value)
    {
        uint32_t low = 0, high = 0;
        if (remaining() < 8 || !readU32(low) || !readU32(high))
            return false;
        const uint64_t bits = static_cast<uint64_t>(high) << 32 | low;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    bool readBytes(void* out, size_t count)
    {
        if (remaining() < count)
            return false;
        std::memcpy(out, m_data + m_offset, count);
        m_offset += count;
        return true;
    }
    bool readString(std::string& out, size_t count)
    {
        if (remaining() < count)
            return false;
        out.assign(reinterpret_cast<const char*>(m_data + m_offset), count);
        m_offset += count;
        return true;
    }
    bool skip(size_t count)
    {
        if (remaining() < count)
            return false;
        m_offset += count;
        return true;
    }
    // A reader over the next `count` bytes, which this reader steps over.
    bool sub(size_t count, ByteReader& out)
    {
        if (remaining() < count)
            return false;
        out = ByteReader(m_data + m_offset, count);
        m_offset += count;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

class ByteWriter {
public:
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    void u32(uint32_t value)
    {
        const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                               static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
        m_bytes.append(bytes, 4);
    }
    void f64(double value)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        u32(static_cast<uint32_t>(bits));
        u32(static_cast<uint32_t>(bits >> 32));
    }
    void bytes(const void* data, size_t count) { m_bytes.append(static_cast<const char*>(data), count); }
    void zeros(size_t count) { m_bytes.append(count, '\0'); }
    // `text` in a field of `size` bytes, zero-padded.
    void field(std::string_view text, size_t size)
    {
        const size_t n = text.size() < size ? text.size() : size;
        m_bytes.append(text.data(), n);
        m_bytes.append(size - n, '\0');
    }

    size_t size() const { return m_bytes.size(); }
    std::string& buffer() { return m_bytes; }
    void reserve(size_t n) { m_bytes.reserve(n); }

private:
    std::string m_bytes;
};
