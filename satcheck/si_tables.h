// The parts of the PAT, NIT and SDT that name a satellite, read from sections whose CRC held.
// Every length in a section is checked against the section before it is followed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint8_t kTablePat = 0x00;
constexpr uint8_t kTableNitActual = 0x40;
constexpr uint8_t kTableNitOther = 0x41;
constexpr uint8_t kTableSdtActual = 0x42;
constexpr uint8_t kDescriptorNetworkName = 0x40;
constexpr uint8_t kDescriptorSatelliteDelivery = 0x43;
constexpr uint8_t kDescriptorService = 0x48;

// The long section header every one of these tables has.
struct SectionHeader {
  uint8_t tableId = 0;
  uint16_t extension = 0;  // transport_stream_id (PAT, SDT) or network_id (NIT)
  uint8_t version = 0;
  bool current = false;
  uint8_t number = 0;
  uint8_t lastNumber = 0;
};

// False when the bytes are too short for one.
bool readSectionHeader(const uint8_t* section, size_t size, SectionHeader* header);

// A satellite delivery system descriptor (0x43), its BCD fields turned into numbers.
struct SatelliteDelivery {
  int32_t frequencyKHz = 0;
  int32_t positionTenths = 0;  // as broadcast: 192 for 19.2, east or west by the flag
  bool east = false;
  int polarisation = 0;        // 0 horizontal, 1 vertical, 2 left, 3 right
  bool s2 = false;
  int32_t symbolRateSps = 0;
  int fec = 0;
};

// False for a wrong tag or length, or a BCD digit above 9.
bool readSatelliteDelivery(const uint8_t* descriptor, size_t size, SatelliteDelivery* out);

struct NitEntry {
  uint16_t transportStreamId = 0;
  uint16_t originalNetworkId = 0;
  SatelliteDelivery delivery;
};

// What one NIT section holds. A name or entry cut off by the section's end is left out.
struct NitSection {
  std::string networkName;  // the raw bytes of descriptor 0x40, character table byte included
  std::vector<NitEntry> entries;  // only entries with a readable 0x43 descriptor
};
bool readNitSection(const uint8_t* section, size_t size, NitSection* out);

// The first service of an SDT section that names a provider, and the stream's ids.
struct SdtSection {
  uint16_t transportStreamId = 0;
  uint16_t originalNetworkId = 0;
  std::string providerName;  // raw bytes; empty when no service names one
};
bool readSdtSection(const uint8_t* section, size_t size, SdtSection* out);
