// Transport stream packets into table sections: 188-byte packets found by their 0x47 sync
// byte in bytes that arrive in any pieces, continuity counters followed per PID, sections
// gathered across packets from the pointer field on, and only sections whose CRC holds given out.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

constexpr size_t kTsPacketSize = 188;
constexpr uint8_t kTsSyncByte = 0x47;
constexpr uint16_t kPidPat = 0x0000;
constexpr uint16_t kPidNit = 0x0010;
constexpr uint16_t kPidSdt = 0x0011;
constexpr size_t kLongestSection = 4096;  // 3 header bytes and a 12-bit length of at most 4093

// CRC-32/MPEG-2 (polynomial 0x04C11DB7, start 0xFFFFFFFF, not reflected, no final xor).
// Over a whole section with its CRC it gives 0.
uint32_t mpegCrc32(const uint8_t* bytes, size_t size);

// A section that arrived whole, with a long header and a CRC that holds.
struct Section {
  uint16_t pid = 0;
  const uint8_t* bytes = nullptr;  // table_id through the CRC; valid during the call only
  size_t size = 0;
};

class SectionGatherer {
 public:
  using Sink = std::function<void(const Section&)>;
  // Only the listed PIDs are gathered; every other packet is skipped.
  SectionGatherer(std::vector<uint16_t> pids, Sink sink);
  void feed(const uint8_t* bytes, size_t size);
  // Forgets partial packets and sections, and sync (the signal was lost).
  void reset();

 private:
  struct PidState {
    uint16_t pid = 0;
    int lastCounter = -1;  // -1: none yet
    bool gathering = false;
    std::vector<uint8_t> section;
  };
  void takePacket(const uint8_t* packet);
  void takePayload(PidState& state, const uint8_t* payload, size_t size, bool unitStart);
  void appendToSection(PidState& state, const uint8_t*& data, size_t& size);
  void startSections(PidState& state, const uint8_t* data, size_t size);
  void finishSection(PidState& state);

  std::vector<PidState> pids_;
  Sink sink_;
  std::array<uint8_t, kTsPacketSize * 2> pending_{};
  size_t pendingSize_ = 0;
  bool inSync_ = false;
};
