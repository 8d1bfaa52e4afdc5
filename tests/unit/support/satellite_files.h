// Transponder files that give a satellite's name, and the texts a scan lists.
#pragma once
#include <string>
#include <vector>

#include "transponders/satellite_list.h"

inline std::string fileWithName(const std::string& name) {
  return "[SATTYPE]\r\n1=0000\r\n2=" + name + "\r\n\r\n[DVB]\r\n0=1\r\n1=11111,H,27500\r\n";
}

inline std::vector<std::string> textsOf(const SatelliteScan& scan) {
  std::vector<std::string> texts;
  for (const SatelliteItem& item : scan.items) texts.push_back(item.text);
  return texts;
}
