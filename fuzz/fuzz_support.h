// What every fuzz target shares: a check that stops the run where a
// property fails, and a reader that takes parameters off the front of the
// input so that the fuzzer can steer them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // The next bytes as an integer; zeros once the input is used up.
    template <typename T> T Take() {
        T value{};
        const std::size_t n = std::min(sizeof value, m_size);
        std::memcpy(&value, m_data, n);
        Skip(n);
        return value;
    }

    // An integer in lo..hi, both included.
    std::int64_t TakeIn(std::int64_t lo, std::int64_t hi) {
        const auto span = std::uint64_t(hi - lo) + 1;
        const std::uint64_t raw = Take<std::uint32_t>();
        return span == 0 ? lo + std::int64_t(raw) : lo + std::int64_t(raw % span);
    }

    bool TakeBool() { return (Take<std::uint8_t>() & 1) != 0; }

    // Whatever is left.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(m_data), m_size);
        Skip(m_size);
        return rest;
    }

private:
    void Skip(std::size_t n) {
        m_data += n;
        m_size -= n;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
};
