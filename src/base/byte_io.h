#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

namespace korvel {

// Reads little-endian fields from a block of stored or exchanged bytes. A read that does not fit
// in what is left returns false, changes neither the output nor the position, and leaves the
// reader failed, so a caller can read a whole record and check once at the end.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool ReadU8(std::uint8_t& out) { return ReadLittleEndian(out, 1); }
    bool ReadU16LittleEndian(std::uint16_t& out) { return ReadLittleEndian(out, 2); }
    bool ReadU32LittleEndian(std::uint32_t& out) { return ReadLittleEndian(out, 4); }

    bool ReadBytes(std::span<std::uint8_t> out) {
        if (!Fits(out.size())) {
            return false;
        }
        if (!out.empty()) {
            std::memcpy(out.data(), m_bytes.data() + m_offset, out.size());
        }
        m_offset += out.size();
        return true;
    }

    bool Skip(std::size_t count) {
        if (!Fits(count)) {
            return false;
        }
        m_offset += count;
        return true;
    }

    std::size_t Offset() const { return m_offset; }
    std::size_t Remaining() const { return m_bytes.size() - m_offset; }
    bool Failed() const { return m_failed; }

private:
    bool Fits(std::size_t count) {
        if (m_failed || count > Remaining()) {
            m_failed = true;
            return false;
        }
        return true;
    }

    template <typename T>
    bool ReadLittleEndian(T& out, std::size_t width) {
        if (!Fits(width)) {
            return false;
        }
        T value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= static_cast<T>(static_cast<T>(m_bytes[m_offset + i]) << (8 * i));
        }
        out = value;
        m_offset += width;
        return true;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

// Appends little-endian fields to a growing block of bytes.
class ByteWriter {
public:
    ByteWriter() = default;
    // A writer that will not grow before `expectedSize` bytes.
    explicit ByteWriter(std::size_t expectedSize) { m_bytes.reserve(expectedSize); }
    // Room for `count` more bytes, so a record's fields are written without growing in between.
    void Reserve(std::size_t count) { m_bytes.reserve(m_bytes.size() + count); }

    void WriteU8(std::uint8_t value) { m_bytes.push_back(value); }
    void WriteU16LittleEndian(std::uint16_t value) { WriteLittleEndian(value, 2); }
    void WriteU32LittleEndian(std::uint32_t value) { WriteLittleEndian(value, 4); }
    void WriteBytes(std::span<const std::uint8_t> bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    // Reserved and unused parts of a record.
    void WriteZeros(std::size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }
    std::size_t Size() const { return m_bytes.size(); }

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    template <typename T>
    void WriteLittleEndian(T value, std::size_t width) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + width);
        for (std::size_t i = 0; i < width; ++i) {
            m_bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

    std::vector<std::uint8_t> m_bytes;
};

}  // namespace korvel
