// A BDA satellite tuner found through the system device enumerator, in a DirectShow graph built
// once at open: the network provider when its class exists, the tuner, its receiver when the
// driver has one, and our stream sink. Tuned and read through the tuner's control nodes.
#pragma once
#include <windows.h>
#include <bdaiface.h>
#include <dshow.h>

#include <string>

#include "tuner/bda_plan.h"
#include "tuner/stream_sink_win32.h"
#include "tuner/tuner.h"

// The control node interfaces one tune and one read use; any may be missing but the RF node's
// frequency filter, the LNB node and a statistics node.
struct BdaNodes {
  IBDA_DeviceControl* control = nullptr;
  IBDA_FrequencyFilter* frequency = nullptr;
  IBDA_LNBInfo* lnb = nullptr;
  IBDA_DigitalDemodulator* demodulator = nullptr;
  IBDA_SignalStatistics* rfStatistics = nullptr;
  IBDA_SignalStatistics* demodulatorStatistics = nullptr;
  IBDA_DiseqCommand* diseqc = nullptr;
  bool satellite() const { return frequency != nullptr && lnb != nullptr && (rfStatistics || demodulatorStatistics); }
};

class BdaTuner final : public Tuner {
 public:
  // Builds and runs the graph with the first tuner in the BDA tuner category that works as a
  // satellite tuner. False, with nothing left behind, when there is none.
  bool open();
  // Shutdown's two steps: the control nodes first, then the graph (stopped, every filter
  // removed and released in the reverse of the order it was added).
  void releaseNodes();
  void releaseGraph();
  bool isOpen() const { return tuner_ != nullptr; }
  // The tuner's friendly name from the device enumerator (ANSI).
  const std::string& name() const { return name_; }
  StreamSink* sink() const { return sink_; }

  void setLnbFrequencies(int32_t band, int32_t lo1Mhz, int32_t lo2Mhz) override;
  void tune(int32_t frequencyMhz, int32_t symbolRate, int32_t polarization, int32_t tone, int32_t lnbSelection,
            bool dvbS2) override;
  void readSignal(uint8_t* lock, int32_t* level, int32_t* quality) override;

 private:
  bool tryTuner(IBaseFilter* tuner);
  bool connectToSink(IBaseFilter* tuner);
  void takeNodes(IBaseFilter* tuner);
  void dropFilter(IBaseFilter*& filter);
  bool readStatistics(IBDA_SignalStatistics* first, IBDA_SignalStatistics* second, bool strength, LONG* value);

  IGraphBuilder* graph_ = nullptr;
  IMediaControl* control_ = nullptr;
  IBaseFilter* provider_ = nullptr;
  IBaseFilter* tuner_ = nullptr;
  IBaseFilter* receiver_ = nullptr;
  StreamSink* sink_ = nullptr;
  BdaNodes nodes_;
  std::string name_;
  BdaTunePlanner planner_;
  StrengthScale strength_;
};
