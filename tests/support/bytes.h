// Files and records as strings of bytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <sys/stat.h>

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// count bytes of a seeded random stream.
inline std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes) {
        b = char(random());
    }
    return bytes;
}

// A record's bytes as they lie in memory and in its file.
template <typename Record> std::string BytesOf(const Record& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// The permission bits of a file.
inline mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// How many names a folder holds, so a test can tell no temporary file was left.
inline long EntriesIn(const std::filesystem::path& folder) {
    return long(std::distance(std::filesystem::directory_iterator(folder), {}));
}
