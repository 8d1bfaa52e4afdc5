#include "satcheck/satellite_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "satcheck/dvb_text.h"

namespace {

constexpr int32_t kHighestPositionTenths = 1800;

// The program's polarization code of a NIT polarisation: 1 for horizontal or left, 0 for vertical or right.
int32_t polarizationCode(int polarisation) { return polarisation == 0 || polarisation == 2 ? 1 : 0; }

bool fitsTuning(const SatelliteDelivery& delivery, const TunedTransponder& tuned) {
  return delivery.positionTenths <= kHighestPositionTenths &&
         std::abs(delivery.frequencyKHz - tuned.frequencyKHz) <= kLnbDriftKHz &&
         polarizationCode(delivery.polarisation) == tuned.polarization;
}

bool samePosition(const SatelliteDelivery& a, const SatelliteDelivery& b) {
  return a.positionTenths == b.positionTenths && (a.east == b.east || a.positionTenths == 0);
}

// The entry that fits the tuning best, or null: the nearest frequency, and none when entries
// as near name different positions (a NIT that lists neighbouring satellites' transponders).
const NitEntry* nearestFitting(const std::vector<NitEntry>& entries, const TunedTransponder& tuned) {
  const NitEntry* best = nullptr;
  bool ambiguous = false;
  for (const NitEntry& entry : entries) {
    if (!fitsTuning(entry.delivery, tuned)) continue;
    const int32_t distance = std::abs(entry.delivery.frequencyKHz - tuned.frequencyKHz);
    const int32_t bestDistance = best ? std::abs(best->delivery.frequencyKHz - tuned.frequencyKHz) : 0;
    if (best == nullptr || distance < bestDistance) {
      best = &entry;
      ambiguous = false;
    } else if (distance == bestDistance && !samePosition(entry.delivery, best->delivery)) {
      ambiguous = true;
    }
  }
  return ambiguous ? nullptr : best;
}

}  // namespace

std::string positionText(const SatelliteIdentity& identity) {
  char text[16];
  std::snprintf(text, sizeof(text), "%d.%d%c", identity.positionTenths / 10, identity.positionTenths % 10,
                identity.east ? 'E' : 'W');
  return text;
}

SatelliteCheck::SatelliteCheck(const TunedTransponder& tuned)
    : tuned_(tuned),
      gatherer_({kPidPat, kPidNit, kPidSdt}, [this](const Section& section) { takeSection(section); }) {}

void SatelliteCheck::reset(const TunedTransponder& tuned) {
  tuned_ = tuned;
  gatherer_.reset();
  patSeen_ = false;
  sdtSeen_ = false;
  streamIds_ = {};
  providerSection_ = kNoSection;
  pendingVersion_ = -1;
  pendingLast_ = -1;
  pendingHave_.clear();
  pending_.clear();
  entries_.clear();
  identity_ = {};
}

void SatelliteCheck::feed(const uint8_t* bytes, size_t size) { gatherer_.feed(bytes, size); }

void SatelliteCheck::takeSection(const Section& section) {
  SectionHeader header;
  if (!readSectionHeader(section.bytes, section.size, &header) || !header.current) return;
  if (section.pid == kPidPat && header.tableId == kTablePat) {
    patSeen_ = true;
    patStreamId_ = header.extension;
  } else if (section.pid == kPidSdt && header.tableId == kTableSdtActual) {
    SdtSection sdt;
    if (!readSdtSection(section.bytes, section.size, &sdt)) return;
    streamIds_ = {sdt.transportStreamId, sdt.originalNetworkId};
    // The provider of the first services: that of the lowest section that names one.
    if (!sdt.providerName.empty() && header.number < providerSection_) {
      providerSection_ = header.number;
      identity_.providerName = dvbTextToAnsi(sdt.providerName);
    }
    sdtSeen_ = true;
  } else if (section.pid == kPidNit && header.tableId == kTableNitActual) {
    takeNit(header, section.bytes, section.size);
  } else {
    return;
  }
  findPosition();
}

// All sections of one version make the table; another version or network starts again, while
// the last whole table stays in use until the new one is whole.
void SatelliteCheck::takeNit(const SectionHeader& header, const uint8_t* bytes, size_t size) {
  const int version = (header.extension << 5) | header.version;
  if (version != pendingVersion_ || header.lastNumber != pendingLast_) {
    pendingVersion_ = version;
    pendingLast_ = header.lastNumber;
    pendingHave_.assign(header.lastNumber + 1u, false);
    pending_.assign(header.lastNumber + 1u, NitSection{});
  }
  if (header.number > header.lastNumber || pendingHave_[header.number]) return;
  NitSection nit;
  if (!readNitSection(bytes, size, &nit)) return;
  pending_[header.number] = std::move(nit);
  pendingHave_[header.number] = true;
  if (std::find(pendingHave_.begin(), pendingHave_.end(), false) != pendingHave_.end()) return;
  entries_.clear();
  identity_.networkName.clear();
  for (const NitSection& part : pending_) {
    entries_.insert(entries_.end(), part.entries.begin(), part.entries.end());
    if (identity_.networkName.empty()) identity_.networkName = dvbTextToAnsi(part.networkName);
  }
  identity_.nitSeen = true;
}

void SatelliteCheck::findPosition() {
  identity_.positionFound = false;
  identity_.foundByIds = false;
  if (!identity_.nitSeen) return;
  const NitEntry* found = nullptr;
  if (sdtSeen_ && (!patSeen_ || patStreamId_ == streamIds_.transportStreamId)) {
    for (const NitEntry& entry : entries_)
      if (entry.transportStreamId == streamIds_.transportStreamId &&
          entry.originalNetworkId == streamIds_.originalNetworkId &&
          fitsTuning(entry.delivery, tuned_)) {
        found = &entry;
        break;
      }
  }
  identity_.foundByIds = found != nullptr;
  if (found == nullptr) found = nearestFitting(entries_, tuned_);
  if (found == nullptr) return;
  const SatelliteDelivery& delivery = found->delivery;
  identity_.positionFound = true;
  identity_.positionTenths = delivery.positionTenths;
  identity_.east = delivery.east;
  identity_.positionNumber =
      delivery.east ? delivery.positionTenths : (kFullCircleTenths - delivery.positionTenths) % kFullCircleTenths;
}
