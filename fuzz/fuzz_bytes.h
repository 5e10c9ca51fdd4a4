// Hands out a fuzz input's bytes as values of any trivially copyable type;
// zeros once the input runs out.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  template <class T>
  T take() {
    T value{};
    const std::size_t n = std::min(sizeof(T), size_ - used_);
    if (n) std::memcpy(&value, data_ + used_, n);
    used_ += n;
    return value;
  }
  // All bytes not taken yet.
  std::vector<char> rest() {
    std::vector<char> out(data_ ? data_ + used_ : nullptr, data_ ? data_ + size_ : nullptr);
    used_ = size_;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};
