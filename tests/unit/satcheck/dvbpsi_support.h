// Tables made and read by Debian's libdvbpsi, a decoder written apart from the program, and the
// transport stream packets that carry sections.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <dvbpsi/dvbpsi.h>
#include <dvbpsi/psi.h>
#include <dvbpsi/descriptor.h>
#include <dvbpsi/demux.h>
#include <dvbpsi/pat.h>
#include <dvbpsi/nit.h>
#include <dvbpsi/sdt.h>
#include <dvbpsi/dr_43.h>
#include <dvbpsi/dr_48.h>
}

namespace dvbpsi_support {

using Bytes = std::vector<uint8_t>;

inline int bcd(uint32_t value) {  // 0x01234567 -> 1234567
  int result = 0;
  for (int shift = 28; shift >= 0; shift -= 4) result = result * 10 + static_cast<int>((value >> shift) & 0xF);
  return result;
}
inline uint32_t toBcd(uint32_t value) {
  uint32_t result = 0;
  for (int shift = 0; value > 0; shift += 4, value /= 10) result |= (value % 10) << shift;
  return result;
}

inline dvbpsi_t* handle() { return dvbpsi_new(nullptr, DVBPSI_MSG_NONE); }

// The sections of a chain as byte strings.
inline std::vector<Bytes> sectionsOf(dvbpsi_psi_section_t* chain) {
  std::vector<Bytes> out;
  for (dvbpsi_psi_section_t* s = chain; s != nullptr; s = s->p_next)
    out.emplace_back(s->p_data, s->p_payload_end + (s->b_syntax_indicator ? 4 : 0));
  dvbpsi_DeletePSISections(chain);
  return out;
}

// Sections into 188-byte packets on one PID, each section starting a packet, the counter going on.
inline std::string packets(uint16_t pid, const std::vector<Bytes>& sections, uint8_t& counter) {
  std::string out;
  for (const Bytes& section : sections) {
    Bytes payload{0};
    payload.insert(payload.end(), section.begin(), section.end());
    for (size_t at = 0; at < payload.size(); at += 184) {
      std::string packet(188, '\xFF');
      packet[0] = 0x47;
      packet[1] = static_cast<char>((at == 0 ? 0x40 : 0) | pid >> 8);
      packet[2] = static_cast<char>(pid);
      packet[3] = static_cast<char>(0x10 | (counter++ & 0x0F));
      for (size_t i = 0; i < 184 && at + i < payload.size(); ++i) packet[4 + i] = static_cast<char>(payload[at + i]);
      out += packet;
    }
  }
  return out;
}

struct Delivery {
  uint16_t tsid, onid;
  uint32_t frequencyKHz;
  uint16_t tenths;
  bool east;
  uint8_t polarisation;  // 0 H, 1 V, 2 L, 3 R
  bool s2;
};

inline std::vector<Bytes> nitSections(uint8_t tableId, uint16_t networkId, uint8_t version, const std::string& name,
                                      const std::vector<Delivery>& entries) {
  dvbpsi_nit_t* nit = dvbpsi_nit_new(tableId, networkId, networkId, version, true);
  dvbpsi_nit_descriptor_add(nit, 0x40, static_cast<uint8_t>(name.size()),
                            reinterpret_cast<uint8_t*>(const_cast<char*>(name.data())));
  for (const Delivery& e : entries) {
    dvbpsi_sat_deliv_sys_dr_t d{};
    d.i_frequency = toBcd(e.frequencyKHz / 10);
    d.i_orbital_position = static_cast<uint16_t>(toBcd(e.tenths));
    d.i_west_east_flag = e.east;
    d.i_polarization = e.polarisation;
    d.i_modulation_system = e.s2;
    d.i_modulation_type = 1;
    d.i_symbol_rate = toBcd(275000);
    d.i_fec_inner = 3;
    dvbpsi_descriptor_t* generated = dvbpsi_GenSatDelivSysDr(&d, false);
    dvbpsi_nit_ts_t* ts = dvbpsi_nit_ts_add(nit, e.tsid, e.onid);
    dvbpsi_nit_ts_descriptor_add(ts, generated->i_tag, generated->i_length, generated->p_data);
    dvbpsi_DeleteDescriptors(generated);
  }
  dvbpsi_t* h = handle();
  std::vector<Bytes> out = sectionsOf(dvbpsi_nit_sections_generate(h, nit, tableId));
  dvbpsi_delete(h);
  dvbpsi_nit_delete(nit);
  return out;
}

inline std::vector<Bytes> patSections(uint16_t tsid) {
  dvbpsi_pat_t* pat = dvbpsi_pat_new(tsid, 0, true);
  dvbpsi_pat_program_add(pat, 0, 0x10);
  dvbpsi_pat_program_add(pat, 1, 0x100);
  dvbpsi_t* h = handle();
  std::vector<Bytes> out = sectionsOf(dvbpsi_pat_sections_generate(h, pat, 253));
  dvbpsi_delete(h);
  dvbpsi_pat_delete(pat);
  return out;
}

inline std::vector<Bytes> sdtSections(uint16_t tsid, uint16_t onid, const std::vector<std::string>& providers) {
  dvbpsi_sdt_t* sdt = dvbpsi_sdt_new(0x42, tsid, 0, true, onid);
  uint16_t serviceId = 1;
  for (const std::string& provider : providers) {
    dvbpsi_service_dr_t d{};
    d.i_service_type = 1;
    d.i_service_provider_name_length = static_cast<uint8_t>(provider.size());
    std::copy(provider.begin(), provider.end(), d.i_service_provider_name);
    d.i_service_name_length = 3;
    std::copy_n("One", 3, d.i_service_name);
    dvbpsi_descriptor_t* generated = dvbpsi_GenServiceDr(&d, false);
    dvbpsi_sdt_service_t* service = dvbpsi_sdt_service_add(sdt, serviceId++, false, false, 4, false);
    dvbpsi_sdt_service_descriptor_add(service, generated->i_tag, generated->i_length, generated->p_data);
    dvbpsi_DeleteDescriptors(generated);
  }
  dvbpsi_t* h = handle();
  std::vector<Bytes> out = sectionsOf(dvbpsi_sdt_sections_generate(h, sdt));
  dvbpsi_delete(h);
  dvbpsi_sdt_delete(sdt);
  return out;
}

// What libdvbpsi reads from a stream: the PAT's stream id, every NIT (actual and other) and SDT.
struct Decoded {
  int patStreamId = -1;
  struct Nit {
    uint8_t tableId;
    std::string name;
    std::vector<Delivery> entries;
  };
  std::vector<Nit> nits;
  int sdtStreamId = -1, sdtNetworkId = -1;
  std::vector<std::string> providers;
};

namespace detail {
inline void onPat(void* data, dvbpsi_pat_t* pat) {
  static_cast<Decoded*>(data)->patStreamId = pat->i_ts_id;
  dvbpsi_pat_delete(pat);
}
inline void onNit(void* data, dvbpsi_nit_t* nit) {
  Decoded::Nit decoded{nit->i_table_id, {}, {}};
  for (dvbpsi_descriptor_t* d = nit->p_first_descriptor; d; d = d->p_next)
    if (d->i_tag == 0x40) decoded.name.assign(reinterpret_cast<char*>(d->p_data), d->i_length);
  for (dvbpsi_nit_ts_t* ts = nit->p_first_ts; ts; ts = ts->p_next)
    for (dvbpsi_descriptor_t* d = ts->p_first_descriptor; d; d = d->p_next) {
      if (d->i_tag != 0x43) continue;
      dvbpsi_sat_deliv_sys_dr_t* s = dvbpsi_DecodeSatDelivSysDr(d);
      if (s == nullptr) continue;
      decoded.entries.push_back({ts->i_ts_id, ts->i_orig_network_id, static_cast<uint32_t>(bcd(s->i_frequency)) * 10,
                                 static_cast<uint16_t>(bcd(s->i_orbital_position)), s->i_west_east_flag != 0,
                                 s->i_polarization, s->i_modulation_system != 0});
    }
  static_cast<Decoded*>(data)->nits.push_back(decoded);
  dvbpsi_nit_delete(nit);
}
inline void onSdt(void* data, dvbpsi_sdt_t* sdt) {
  Decoded* out = static_cast<Decoded*>(data);
  out->sdtStreamId = sdt->i_extension;
  out->sdtNetworkId = sdt->i_network_id;
  for (dvbpsi_sdt_service_t* s = sdt->p_first_service; s; s = s->p_next)
    for (dvbpsi_descriptor_t* d = s->p_first_descriptor; d; d = d->p_next)
      if (d->i_tag == 0x48) {
        dvbpsi_service_dr_t* service = dvbpsi_DecodeServiceDr(d);
        if (service)
          out->providers.emplace_back(reinterpret_cast<char*>(service->i_service_provider_name),
                                      service->i_service_provider_name_length);
      }
  dvbpsi_sdt_delete(sdt);
}
inline void onNewTable(dvbpsi_t* h, uint8_t tableId, uint16_t extension, void* data) {
  if (tableId == 0x40 || tableId == 0x41) dvbpsi_nit_attach(h, tableId, extension, onNit, data);
  if (tableId == 0x42) dvbpsi_sdt_attach(h, tableId, extension, onSdt, data);
}
}  // namespace detail

inline Decoded decode(const std::string& stream) {
  Decoded decoded;
  dvbpsi_t* pat = handle();
  dvbpsi_t* nit = handle();
  dvbpsi_t* sdt = handle();
  dvbpsi_pat_attach(pat, detail::onPat, &decoded);
  dvbpsi_AttachDemux(nit, detail::onNewTable, &decoded);
  dvbpsi_AttachDemux(sdt, detail::onNewTable, &decoded);
  for (size_t at = 0; at + 188 <= stream.size(); at += 188) {
    uint8_t* packet = reinterpret_cast<uint8_t*>(const_cast<char*>(stream.data() + at));
    const int pid = (packet[1] & 0x1F) << 8 | packet[2];
    if (pid == 0x00) dvbpsi_packet_push(pat, packet);
    if (pid == 0x10) dvbpsi_packet_push(nit, packet);
    if (pid == 0x11) dvbpsi_packet_push(sdt, packet);
  }
  dvbpsi_pat_detach(pat);
  dvbpsi_DetachDemux(nit);
  dvbpsi_DetachDemux(sdt);
  for (dvbpsi_t* h : {pat, nit, sdt}) dvbpsi_delete(h);
  return decoded;
}

}  // namespace dvbpsi_support
