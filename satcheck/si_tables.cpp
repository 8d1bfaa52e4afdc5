#include "satcheck/si_tables.h"

namespace {

constexpr size_t kLongHeaderSize = 8;
constexpr size_t kCrcSize = 4;
constexpr size_t kSatelliteDeliveryLength = 11;

uint16_t word(const uint8_t* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }
size_t length12(const uint8_t* at) { return static_cast<size_t>(((at[0] & 0x0Fu) << 8) | at[1]); }

// Packed BCD digits from the high nibble of bytes[0]; false on a digit above 9.
bool bcd(const uint8_t* bytes, int digits, int32_t* value) {
  int32_t result = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = (i % 2 == 0) ? bytes[i / 2] >> 4 : bytes[i / 2] & 0x0F;
    if (digit > 9) return false;
    result = result * 10 + digit;
  }
  *value = result;
  return true;
}

// A walk over a descriptor loop that never steps past its end.
class Descriptors {
 public:
  Descriptors(const uint8_t* at, size_t size) : at_(at), size_(size) {}
  // The next whole descriptor (tag and length included); false at the end or a cut one.
  bool next(const uint8_t** descriptor, size_t* size) {
    if (size_ < 2 || static_cast<size_t>(at_[1]) + 2 > size_) return false;
    *descriptor = at_;
    *size = static_cast<size_t>(at_[1]) + 2;
    at_ += *size;
    size_ -= *size;
    return true;
  }

 private:
  const uint8_t* at_;
  size_t size_;
};

// The section's body between the long header and the CRC; false when there is none.
bool body(const uint8_t* section, size_t size, const uint8_t** start, size_t* bodySize) {
  if (size < kLongHeaderSize + kCrcSize) return false;
  *start = section + kLongHeaderSize;
  *bodySize = size - kLongHeaderSize - kCrcSize;
  return true;
}

}  // namespace

bool readSectionHeader(const uint8_t* section, size_t size, SectionHeader* header) {
  if (size < kLongHeaderSize) return false;
  header->tableId = section[0];
  header->extension = word(section + 3);
  header->version = (section[5] >> 1) & 0x1F;
  header->current = (section[5] & 0x01) != 0;
  header->number = section[6];
  header->lastNumber = section[7];
  return true;
}

bool readSatelliteDelivery(const uint8_t* d, size_t size, SatelliteDelivery* out) {
  if (size != kSatelliteDeliveryLength + 2 || d[0] != kDescriptorSatelliteDelivery || d[1] != kSatelliteDeliveryLength)
    return false;
  const uint8_t* v = d + 2;
  int32_t tensOfKHz = 0;
  int32_t hundredsOfSps = 0;
  if (!bcd(v, 8, &tensOfKHz) || !bcd(v + 4, 4, &out->positionTenths) || !bcd(v + 7, 7, &hundredsOfSps)) return false;
  out->frequencyKHz = tensOfKHz * 10;
  out->symbolRateSps = hundredsOfSps * 100;
  out->east = (v[6] & 0x80) != 0;
  out->polarisation = (v[6] >> 5) & 0x03;
  out->s2 = (v[6] & 0x04) != 0;
  out->fec = v[10] & 0x0F;
  return true;
}

bool readNitSection(const uint8_t* section, size_t size, NitSection* out) {
  const uint8_t* at = nullptr;
  size_t left = 0;
  if (!body(section, size, &at, &left) || left < 2) return false;
  const size_t networkLength = length12(at);
  if (networkLength + 2 > left) return false;
  Descriptors network(at + 2, networkLength);
  const uint8_t* d = nullptr;
  size_t dSize = 0;
  while (network.next(&d, &dSize))
    if (d[0] == kDescriptorNetworkName) out->networkName.assign(reinterpret_cast<const char*>(d + 2), dSize - 2);
  at += 2 + networkLength;
  left -= 2 + networkLength;
  if (left < 2) return false;
  size_t loopLeft = length12(at);
  at += 2;
  left -= 2;
  if (loopLeft > left) loopLeft = left;
  while (loopLeft >= 6) {
    const size_t descriptorsLength = length12(at + 4);
    if (descriptorsLength + 6 > loopLeft) break;
    NitEntry entry;
    entry.transportStreamId = word(at);
    entry.originalNetworkId = word(at + 2);
    Descriptors descriptors(at + 6, descriptorsLength);
    bool delivery = false;
    while (!delivery && descriptors.next(&d, &dSize))
      delivery = d[0] == kDescriptorSatelliteDelivery && readSatelliteDelivery(d, dSize, &entry.delivery);
    if (delivery) out->entries.push_back(entry);
    at += 6 + descriptorsLength;
    loopLeft -= 6 + descriptorsLength;
  }
  return true;
}

bool readSdtSection(const uint8_t* section, size_t size, SdtSection* out) {
  const uint8_t* at = nullptr;
  size_t left = 0;
  if (!body(section, size, &at, &left) || left < 3) return false;
  out->transportStreamId = word(section + 3);
  out->originalNetworkId = word(at);
  at += 3;
  left -= 3;
  while (left >= 5 && out->providerName.empty()) {
    const size_t descriptorsLength = length12(at + 3);
    if (descriptorsLength + 5 > left) break;
    Descriptors descriptors(at + 5, descriptorsLength);
    const uint8_t* d = nullptr;
    size_t dSize = 0;
    while (out->providerName.empty() && descriptors.next(&d, &dSize)) {
      if (d[0] != kDescriptorService || dSize < 4) continue;
      const size_t providerLength = d[3];
      if (4 + providerLength <= dSize) out->providerName.assign(reinterpret_cast<const char*>(d + 4), providerLength);
    }
    at += 5 + descriptorsLength;
    left -= 5 + descriptorsLength;
  }
  return true;
}
