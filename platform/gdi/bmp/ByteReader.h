// Little-endian reads from a byte span that never go past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vyn::gdi::bmp {

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  // The callers check Has first; out of range reads as 0 all the same.
  std::uint8_t U8(std::size_t offset) const { return Has(offset, 1) ? bytes_[offset] : 0; }
  std::uint16_t U16(std::size_t offset) const {
    return static_cast<std::uint16_t>(U8(offset) | (U8(offset + 1) << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  std::size_t size() const { return bytes_.size(); }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace vyn::gdi::bmp
