// Splits a fuzzer's input into the pieces a target needs: single bytes for
// flags and small numbers, then length-prefixed texts, then the rest. Reads
// past the end give zeros and empty texts. Owned by one fuzzer run. Also the
// check that turns a broken property into a crash the fuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  // A text of at most `max_length` bytes, its length taken from one byte.
  std::string text(size_t max_length) {
    size_t length = byte() % (max_length + 1);
    return take(length);
  }

  std::string rest() { return take(size_ - at_); }

 private:
  std::string take(size_t length) {
    if (length > size_ - at_) length = size_ - at_;
    std::string out(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return out;
  }

  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Stops the run, so the fuzzer keeps the input, when a property does not hold.
inline void check(bool condition) {
  if (!condition) std::abort();
}
