// Where the tuner's transport stream goes: the sink hands every delivered block of bytes to a
// reader on the tuner's streaming thread. Until a reader is plugged in the bytes are only counted.
#pragma once
#include <cstddef>
#include <cstdint>

class TransportStreamReader {
 public:
  virtual ~TransportStreamReader() = default;
  // Called on the streaming thread, never on two threads at once; size may split packets.
  virtual void onTransportStream(const uint8_t* bytes, size_t size) = 0;
};
