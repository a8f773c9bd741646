// Shared pieces of the fuzz targets: reading typed values from the input,
// catching what the framework writes to stderr, and failing loudly.
#ifndef ZRU_FUZZ_SUPPORT_H
#define ZRU_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// A broken property is a crash the fuzzer keeps as an artifact.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

// Reads values front to back; past the end every value reads as zero, so
// every input, however short, is a complete program.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <typename T>
    T value()
    {
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes) {
            b = byte();
        }
        T result;
        std::memcpy(&result, bytes, sizeof result);
        return result;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Everything written through the C stream `stderr` while one of these lives
// goes to a memory buffer. The sanitizers and libFuzzer write to file
// descriptor 2 directly, so their reports still reach the terminal.
class StderrCapture {
public:
    StderrCapture()
    {
        stream_ = open_memstream(&buffer_, &length_);
        FUZZ_CHECK(stream_ != nullptr);
        saved_ = stderr;
        stderr = stream_;
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Stops capturing and returns what was written.
    std::string finish()
    {
        if (stream_ != nullptr) {
            stderr = saved_;
            std::fclose(stream_);
            stream_ = nullptr;
            text_.assign(buffer_, length_);
            std::free(buffer_);
            buffer_ = nullptr;
        }
        return text_;
    }

    ~StderrCapture() { finish(); }

private:
    FILE* stream_ = nullptr;
    FILE* saved_ = nullptr;
    char* buffer_ = nullptr;
    std::size_t length_ = 0;
    std::string text_;
};

#endif // ZRU_FUZZ_SUPPORT_H
