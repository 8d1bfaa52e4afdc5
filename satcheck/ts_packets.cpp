#include "satcheck/ts_packets.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kSectionHeaderSize = 3;    // table_id and the 12-bit section length
constexpr size_t kShortestLongSection = 12; // 8 header bytes of the long form and the CRC
constexpr uint8_t kStuffing = 0xFF;

std::array<uint32_t, 256> crcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    table[i] = crc;
  }
  return table;
}

size_t sectionTotal(const std::vector<uint8_t>& section) {
  return kSectionHeaderSize + (((section[1] & 0x0Fu) << 8) | section[2]);
}

}  // namespace

uint32_t mpegCrc32(const uint8_t* bytes, size_t size) {
  static const std::array<uint32_t, 256> table = crcTable();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ bytes[i]) & 0xFFu];
  return crc;
}

SectionGatherer::SectionGatherer(std::vector<uint16_t> pids, Sink sink) : sink_(std::move(sink)) {
  for (uint16_t pid : pids) {
    PidState state;
    state.pid = pid;
    state.section.reserve(kLongestSection);
    pids_.push_back(std::move(state));
  }
}

void SectionGatherer::reset() {
  pendingSize_ = 0;
  inSync_ = false;
  for (PidState& state : pids_) {
    state.lastCounter = -1;
    state.gathering = false;
    state.section.clear();
  }
}

// Bytes wait in pending_ until a packet is whole. Out of sync, a 0x47 counts as a packet start
// only when another follows 188 bytes later, so a stray 0x47 inside a payload is passed over.
void SectionGatherer::feed(const uint8_t* bytes, size_t size) {
  while (size > 0) {
    const size_t take = std::min(size, pending_.size() - pendingSize_);
    std::memcpy(pending_.data() + pendingSize_, bytes, take);
    pendingSize_ += take;
    bytes += take;
    size -= take;
    size_t used = 0;
    for (;;) {
      const size_t left = pendingSize_ - used;
      const uint8_t* at = pending_.data() + used;
      if (inSync_) {
        if (left < kTsPacketSize) break;
        if (at[0] != kTsSyncByte) {
          inSync_ = false;
          continue;
        }
        takePacket(at);
        used += kTsPacketSize;
        continue;
      }
      const uint8_t* sync = static_cast<const uint8_t*>(std::memchr(at, kTsSyncByte, left));
      if (sync == nullptr) {
        used = pendingSize_;
        break;
      }
      used += static_cast<size_t>(sync - at);
      if (pendingSize_ - used <= kTsPacketSize) break;
      if (pending_[used + kTsPacketSize] == kTsSyncByte)
        inSync_ = true;
      else
        ++used;
    }
    std::memmove(pending_.data(), pending_.data() + used, pendingSize_ - used);
    pendingSize_ -= used;
  }
}

void SectionGatherer::takePacket(const uint8_t* packet) {
  if (packet[1] & 0x80) return;  // the demodulator marked it damaged
  const uint16_t pid = static_cast<uint16_t>(((packet[1] & 0x1Fu) << 8) | packet[2]);
  auto found = std::find_if(pids_.begin(), pids_.end(), [pid](const PidState& s) { return s.pid == pid; });
  if (found == pids_.end()) return;
  PidState& state = *found;
  const bool unitStart = (packet[1] & 0x40) != 0;
  const uint8_t control = (packet[3] >> 4) & 0x03u;
  const int counter = packet[3] & 0x0F;
  if (control == 0) return;
  size_t offset = 4;
  if (control & 0x02) {
    const size_t adaptationLength = packet[4];
    offset = 5 + adaptationLength;
    if (offset > kTsPacketSize) return;
    if (adaptationLength > 0 && (packet[5] & 0x80)) state.lastCounter = -1;  // announced discontinuity
  }
  if (!(control & 0x01)) return;  // no payload: the counter does not move
  if (state.lastCounter == counter) return;  // a repeated packet
  if (state.lastCounter >= 0 && counter != ((state.lastCounter + 1) & 0x0F)) {
    state.gathering = false;  // packets were lost: the section in hand has a hole
    state.section.clear();
  }
  state.lastCounter = counter;
  if (packet[3] & 0xC0) {  // tables are never scrambled; this is not one
    state.gathering = false;
    return;
  }
  takePayload(state, packet + offset, kTsPacketSize - offset, unitStart);
}

void SectionGatherer::takePayload(PidState& state, const uint8_t* payload, size_t size, bool unitStart) {
  if (!unitStart) {
    if (state.gathering) appendToSection(state, payload, size);
    return;  // after a section ends, the rest of a packet without a start is stuffing
  }
  if (size == 0) {
    state.gathering = false;
    return;
  }
  const size_t pointer = payload[0];
  ++payload;
  --size;
  if (pointer > size) {
    state.gathering = false;
    return;
  }
  if (state.gathering) {
    const uint8_t* tail = payload;
    size_t tailSize = pointer;
    appendToSection(state, tail, tailSize);
  }
  state.gathering = false;  // a section still open here lost its end
  startSections(state, payload + pointer, size - pointer);
}

void SectionGatherer::startSections(PidState& state, const uint8_t* data, size_t size) {
  while (size > 0 && data[0] != kStuffing) {
    state.gathering = true;
    state.section.clear();
    appendToSection(state, data, size);
    if (state.gathering) return;  // it goes on in the next packets
  }
}

void SectionGatherer::appendToSection(PidState& state, const uint8_t*& data, size_t& size) {
  while (state.gathering && size > 0) {
    std::vector<uint8_t>& section = state.section;
    const size_t target = section.size() < kSectionHeaderSize ? kSectionHeaderSize : sectionTotal(section);
    const size_t take = std::min(target - section.size(), size);
    section.insert(section.end(), data, data + take);
    data += take;
    size -= take;
    if (section.size() < kSectionHeaderSize) return;
    if (section.size() == kSectionHeaderSize && sectionTotal(section) > kLongestSection) {
      state.gathering = false;
      return;
    }
    if (section.size() == sectionTotal(section)) finishSection(state);
  }
}

void SectionGatherer::finishSection(PidState& state) {
  state.gathering = false;
  const std::vector<uint8_t>& section = state.section;
  if (section.size() < kShortestLongSection || !(section[1] & 0x80)) return;
  if (mpegCrc32(section.data(), section.size()) != 0) return;
  sink_({state.pid, section.data(), section.size()});
}
