#include "tunersim/sim_tables.h"

#include <cctype>
#include <cstdlib>

#include "transponders/transponder_file.h"
#include "transponders/transponder_parse.h"

namespace tunersim {

namespace {

constexpr uint16_t kPatPid = 0x0000;
constexpr uint16_t kNitPid = 0x0010;
constexpr uint16_t kSdtPid = 0x0011;
constexpr uint16_t kNullPid = 0x1FFF;
constexpr uint16_t kFirstPmtPid = 0x0100;
constexpr uint8_t kVersion = 1;
constexpr size_t kLongestSectionBody = 1000;  // keeps each section under the 1024 bytes PSI allows
constexpr int32_t kNeighbourTenths = 30;      // the "other positions" lie 3 degrees either side
constexpr int32_t kDriftKHz = 5000;
constexpr int32_t kFullCircle = 3600;
constexpr int kServicesPerStream = 2;
const char* const kFecMarks[] = {"12", "23", "34", "56", "78", "89", "35", "45", "910"};

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

void putBcd(std::vector<uint8_t>& out, uint32_t value, int digits) {
  std::vector<int> nibbles(static_cast<size_t>(digits));
  for (int i = digits - 1; i >= 0; --i, value /= 10) nibbles[static_cast<size_t>(i)] = static_cast<int>(value % 10);
  for (size_t i = 0; i < nibbles.size(); i += 2)
    out.push_back(static_cast<uint8_t>(nibbles[i] << 4 | (i + 1 < nibbles.size() ? nibbles[i + 1] : 0)));
}

// Bit by bit, as the standard writes it (the reader uses a table).
uint32_t crc32(const std::vector<uint8_t>& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : bytes)
    for (int bit = 7; bit >= 0; --bit) {
      const bool top = ((crc >> 31) ^ (byte >> bit)) & 1u;
      crc <<= 1;
      if (top) crc ^= 0x04C11DB7u;
    }
  return crc;
}

// A long-form section around the body: header, then the CRC over everything before it.
std::vector<uint8_t> section(uint8_t tableId, uint16_t extension, int number, int last, const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out{tableId};
  put16(out, 0xB000u | static_cast<uint32_t>(body.size() + 9));
  put16(out, extension);
  out.push_back(static_cast<uint8_t>(0xC1 | kVersion << 1));
  out.push_back(static_cast<uint8_t>(number));
  out.push_back(static_cast<uint8_t>(last));
  out.insert(out.end(), body.begin(), body.end());
  const uint32_t crc = crc32(out);
  put16(out, crc >> 16);
  put16(out, crc & 0xFFFFu);
  return out;
}

void putDescriptor(std::vector<uint8_t>& out, uint8_t tag, const std::vector<uint8_t>& value) {
  out.push_back(tag);
  out.push_back(static_cast<uint8_t>(value.size()));
  out.insert(out.end(), value.begin(), value.end());
}

// A name as DVB text: plain ASCII as it is, anything else marked as ISO 8859-1.
std::vector<uint8_t> dvbText(const std::string& text) {
  std::vector<uint8_t> out;
  for (unsigned char c : text)
    if (c >= 0x80) {
      out = {0x10, 0x00, 0x01};
      break;
    }
  for (unsigned char c : text) out.push_back(c);
  return out;
}

std::vector<uint8_t> deliveryDescriptor(const SimTransponder& t, int32_t positionNumber, bool s2) {
  const bool east = positionNumber <= kFullCircle / 2;
  std::vector<uint8_t> value;
  putBcd(value, static_cast<uint32_t>(t.frequencyKHz / 10), 8);
  putBcd(value, static_cast<uint32_t>(east ? positionNumber : kFullCircle - positionNumber), 4);
  const int rollOff = 0;  // 0.35, the DVB-S one
  const int modulation = s2 ? 2 : 1;  // 8PSK for DVB-S2, QPSK for DVB-S
  value.push_back(static_cast<uint8_t>((east ? 0x80 : 0) | t.polarisation << 5 | rollOff << 3 | (s2 ? 0x04 : 0) | modulation));
  putBcd(value, static_cast<uint32_t>(t.symbolRateKsps) * 10, 7);
  value.back() |= static_cast<uint8_t>(t.fec);
  std::vector<uint8_t> out;
  putDescriptor(out, 0x43, value);
  return out;
}

struct NitLine {
  uint16_t streamId;
  uint16_t networkId;
  std::vector<uint8_t> descriptors;
};

// Entries spread over as many sections as they need, the network name in the first.
std::vector<SimSection> nitSections(uint8_t tableId, uint16_t networkId, const std::string& name,
                                    const std::vector<NitLine>& lines) {
  std::vector<std::vector<uint8_t>> loops(1);
  for (const NitLine& line : lines) {
    if (loops.back().size() + line.descriptors.size() + 6 > kLongestSectionBody - name.size()) loops.emplace_back();
    put16(loops.back(), line.streamId);
    put16(loops.back(), line.networkId);
    put16(loops.back(), 0xF000u | static_cast<uint32_t>(line.descriptors.size()));
    loops.back().insert(loops.back().end(), line.descriptors.begin(), line.descriptors.end());
  }
  std::vector<SimSection> sections;
  for (size_t i = 0; i < loops.size(); ++i) {
    std::vector<uint8_t> networkDescriptors;
    if (i == 0) putDescriptor(networkDescriptors, 0x40, dvbText(name));
    std::vector<uint8_t> body;
    put16(body, 0xF000u | static_cast<uint32_t>(networkDescriptors.size()));
    body.insert(body.end(), networkDescriptors.begin(), networkDescriptors.end());
    put16(body, 0xF000u | static_cast<uint32_t>(loops[i].size()));
    body.insert(body.end(), loops[i].begin(), loops[i].end());
    sections.push_back({kNitPid, section(tableId, networkId, static_cast<int>(i), static_cast<int>(loops.size() - 1), body)});
  }
  return sections;
}

std::vector<NitLine> satelliteLines(const SimSatellite& satellite, int32_t positionNumber, size_t staleIndex) {
  std::vector<NitLine> lines;
  for (size_t i = 0; i < satellite.transponders.size(); ++i) {
    const SimTransponder& t = satellite.transponders[i];
    lines.push_back({static_cast<uint16_t>(i + 1), simNetworkId(positionNumber),
                     deliveryDescriptor(t, positionNumber, i == staleIndex ? !t.s2 : t.s2)});
  }
  return lines;
}

int32_t neighbour(int32_t positionNumber, int32_t offset) {
  return ((positionNumber + offset) % kFullCircle + kFullCircle) % kFullCircle;
}

// The index of the tuned transponder in the satellite's list, which gains it when it is missing.
size_t tunedIndex(SimSatellite& satellite, const TunedStream& tuned) {
  size_t best = satellite.transponders.size();
  int32_t bestDistance = kDriftKHz + 1;
  for (size_t i = 0; i < satellite.transponders.size(); ++i) {
    const SimTransponder& t = satellite.transponders[i];
    const int32_t distance = std::abs(t.frequencyKHz - tuned.frequencyKHz);
    const bool samePolarisation = (t.polarisation == 0 || t.polarisation == 2) == (tuned.polarization == 1);
    if (samePolarisation && distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  if (best == satellite.transponders.size())
    satellite.transponders.push_back({tuned.frequencyKHz, tuned.polarization == 1 ? 0 : 1, 27500, 3, false});
  return best;
}

std::vector<uint8_t> patBody(uint16_t streamId) {
  std::vector<uint8_t> body;
  put16(body, 0);  // program 0: the network PID
  put16(body, 0xE000u | kNitPid);
  for (int k = 0; k < kServicesPerStream; ++k) {
    put16(body, static_cast<uint32_t>(streamId) * 16 + static_cast<uint32_t>(k));
    put16(body, 0xE000u | static_cast<uint32_t>(kFirstPmtPid + k));
  }
  return body;
}

std::vector<uint8_t> sdtBody(uint16_t streamId, uint16_t networkId, const SimSatellite& satellite) {
  std::vector<uint8_t> body;
  put16(body, networkId);
  body.push_back(0xFF);
  const std::vector<uint8_t> provider = dvbText(satellite.name);
  for (int k = 0; k < kServicesPerStream; ++k) {
    const std::vector<uint8_t> service = dvbText(simNetworkName(satellite.name) + " " + std::to_string(k + 1));
    std::vector<uint8_t> value{0x01, static_cast<uint8_t>(provider.size())};  // a television service
    value.insert(value.end(), provider.begin(), provider.end());
    value.push_back(static_cast<uint8_t>(service.size()));
    value.insert(value.end(), service.begin(), service.end());
    std::vector<uint8_t> descriptors;
    putDescriptor(descriptors, 0x48, value);
    put16(body, static_cast<uint32_t>(streamId) * 16 + static_cast<uint32_t>(k));
    body.push_back(0xFC);  // no EIT
    put16(body, 0x8000u | static_cast<uint32_t>(descriptors.size()));  // running, free to air
    body.insert(body.end(), descriptors.begin(), descriptors.end());
  }
  return body;
}

void appendPackets(std::vector<std::string>& packets, const SimSection& s) {
  std::string payload(1, '\0');  // pointer field: the section starts at once
  payload.append(s.bytes.begin(), s.bytes.end());
  for (size_t at = 0; at < payload.size(); at += kPacketBytes - 4) {
    std::string packet(kPacketBytes, '\xFF');
    packet[0] = 0x47;
    packet[1] = static_cast<char>((at == 0 ? 0x40 : 0) | s.pid >> 8);
    packet[2] = static_cast<char>(s.pid & 0xFF);
    packet[3] = 0x10;  // payload only; the stream sets the counter
    packet.replace(4, std::min(kPacketBytes - 4, payload.size() - at), payload, at, kPacketBytes - 4);
    packets.push_back(packet);
  }
}

int fecOf(std::string_view mark) {
  for (size_t i = 0; i < std::size(kFecMarks); ++i)
    if (mark == kFecMarks[i]) return static_cast<int>(i + 1);
  return 0;
}

}  // namespace

uint16_t simNetworkId(int32_t positionNumber) { return static_cast<uint16_t>(0x2000 + positionNumber); }

std::string simNetworkName(const std::string& satelliteName) {
  std::string name;
  for (char c : satelliteName) {
    if (std::isdigit(static_cast<unsigned char>(c))) break;
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '-')) name.pop_back();
  return name.empty() ? "SATELLITE" : name;
}

SimSatellite readSimSatellite(int32_t positionNumber, std::string_view fileBytes) {
  SimSatellite satellite;
  satellite.positionNumber = positionNumber;
  const TransponderFile file = readTransponderFile(fileBytes);
  satellite.name = std::string(file.name.substr(0, file.name.find('\0')));
  for (const TransponderLine& line : file.lines) {
    TuningResult values{};
    if (!line.isEntry || parseTransponderEntry(line.text, values) != kTransponderTextValid) continue;
    SimTransponder t;
    t.frequencyKHz = values.frequencyKHz;
    t.symbolRateKsps = values.symbolRate;
    const size_t letter = line.text.find_first_of("HhVvLlRr");
    t.polarisation = static_cast<int>(std::string_view("HhVvLlRr").find(line.text[letter]) / 2);
    std::string_view rest = line.text;
    for (size_t comma = rest.find(','); comma != std::string_view::npos; comma = rest.find(',')) {
      rest.remove_prefix(comma + 1);
      const std::string_view field = rest.substr(0, rest.find(','));
      if (field == "S2") t.s2 = true;
      else if (fecOf(field) != 0) t.fec = fecOf(field);
    }
    satellite.transponders.push_back(t);
  }
  return satellite;
}

std::vector<SimSection> buildTables(const SimSatellite& given, const TunedStream& tuned, const TableOptions& options) {
  SimSatellite satellite = given;
  const size_t index = tunedIndex(satellite, tuned);
  const uint16_t streamId = static_cast<uint16_t>(index + 1);
  const int32_t position = satellite.positionNumber;
  const uint16_t networkId = simNetworkId(position);
  std::vector<SimSection> sections;
  sections.push_back({kPatPid, section(0x00, streamId, 0, 0, patBody(streamId))});
  if (!options.noNit) {
    std::vector<NitLine> lines;
    if (options.otherPositionsFirst)
      for (int32_t offset : {-kNeighbourTenths, kNeighbourTenths}) {
        const std::vector<NitLine> other = satelliteLines(satellite, neighbour(position, offset), SIZE_MAX);
        lines.insert(lines.end(), other.begin(), other.end());
      }
    const std::vector<NitLine> own = satelliteLines(satellite, position, options.staleSystem ? index : SIZE_MAX);
    lines.insert(lines.end(), own.begin(), own.end());
    for (SimSection& s : nitSections(0x40, networkId, simNetworkName(satellite.name), lines)) sections.push_back(s);
  }
  if (options.nitOther) {
    // Another network that lists this very stream at another position: taken for this
    // network's NIT, it would name the wrong satellite.
    const int32_t other = neighbour(position, kNeighbourTenths);
    NitLine line{streamId, networkId, deliveryDescriptor(satellite.transponders[index], other, false)};
    for (SimSection& s : nitSections(0x41, simNetworkId(other), "OTHER NETWORK", {line})) sections.push_back(s);
  }
  sections.push_back({kSdtPid, section(0x42, streamId, 0, 0, sdtBody(streamId, networkId, satellite))});
  return sections;
}

TableStream::TableStream(const SimSatellite& satellite, const TunedStream& tuned, const TableOptions& options) {
  for (const SimSection& s : buildTables(satellite, tuned, options)) appendPackets(tablePackets_, s);
}

std::string TableStream::next(size_t count) {
  constexpr uint64_t kPacketsPerPeriod = kTablePeriodMs * kStreamPacketsPerSecond / 1000;
  std::string out;
  out.reserve(count * kPacketBytes);
  for (size_t i = 0; i < count; ++i, ++sent_) {
    const uint64_t slot = sent_ % kPacketsPerPeriod;
    if (slot < tablePackets_.size()) {
      std::string packet = tablePackets_[slot];
      // Each repetition goes on counting where the last one stopped, PID by PID.
      const uint16_t pid = static_cast<uint16_t>((static_cast<uint8_t>(packet[1]) & 0x1F) << 8 | static_cast<uint8_t>(packet[2]));
      packet[3] = static_cast<char>(0x10 | (counters_[pid] & 0x0F));
      ++counters_[pid];
      out += packet;
    } else {
      std::string packet(kPacketBytes, '\xFF');
      packet[0] = 0x47;
      packet[1] = static_cast<char>(kNullPid >> 8);
      packet[2] = static_cast<char>(kNullPid & 0xFF);
      packet[3] = 0x10;
      out += packet;
    }
  }
  return out;
}

std::string TableStream::until(int64_t msSinceLock) {
  const int64_t due = msSinceLock * kStreamPacketsPerSecond / 1000;
  return due > static_cast<int64_t>(sent_) ? next(static_cast<size_t>(due - static_cast<int64_t>(sent_))) : std::string();
}

}  // namespace tunersim
