// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace velmaro {

// A sequence of plain values kept in chunks of ChunkSize values, so that growing it never moves
// or copies the values already held: a list of a million rows grows without a pause for a copy
// of itself, and never holds an old and a new copy at once. Chunks stay below the C library's
// mmap threshold (128 KiB by default): above it every chunk would be mapped from the system and
// unmapped when freed, which slows both threads of a search. Not thread-safe.
template <class T, std::size_t ChunkSize = 1024>
class ChunkedVector {
    static_assert(std::is_trivially_copyable_v<T>, "values are copied as plain bytes");

public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    T& operator[](std::size_t Index) { return m_chunks[Index / ChunkSize][Index % ChunkSize]; }
    const T& operator[](std::size_t Index) const {
        return m_chunks[Index / ChunkSize][Index % ChunkSize];
    }

    void push_back(const T& Value) {
        if (m_size == m_chunks.size() * ChunkSize)
            m_chunks.push_back(std::unique_ptr<T[]>(new T[ChunkSize]));
        (*this)[m_size++] = Value;
    }

    // Keeps the first Size values (Size at most size()) and frees the chunks no longer used.
    void truncate(std::size_t Size) {
        m_size = Size;
        m_chunks.resize((Size + ChunkSize - 1) / ChunkSize);
    }

    // Removes every value and keeps the chunks for the next values.
    void clear() { m_size = 0; }

private:
    std::vector<std::unique_ptr<T[]>> m_chunks;
    std::size_t m_size = 0;
};

} // namespace velmaro
