// The program's transport stream sink in Wine's filter graph: what it takes while running, what it
// refuses, and that every reference to it goes when the graph does.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <vector>

#include "tuner/bda_guids_win32.h"
#include "tuner/dshow_enum_win32.h"
#include "tuner/stream_sink_win32.h"

namespace {

class Collector final : public TransportStreamReader {
 public:
  std::vector<uint8_t> bytes;
  void onTransportStream(const uint8_t* data, size_t size) override { bytes.insert(bytes.end(), data, data + size); }
};

IMediaSample* sampleOf(IMemAllocator* allocator, long size, BYTE first) {
  IMediaSample* sample = nullptr;
  if (FAILED(allocator->GetBuffer(&sample, nullptr, nullptr, 0))) return nullptr;
  BYTE* bytes = nullptr;
  sample->GetPointer(&bytes);
  bytes[0] = first;
  sample->SetActualDataLength(size);
  return sample;
}

class StreamSinkTest : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(StreamSinkTest, CountsAndHandsOnWhatArrivesWhileRunningAndIsGoneWithTheGraph) {
  IGraphBuilder* graph = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&graph))));
  auto* sink = new StreamSink();
  auto* upstream = new StreamSink();  // any pin serves as the connection's other end
  Collector collector;
  sink->setReader(&collector);
  ASSERT_TRUE(SUCCEEDED(graph->AddFilter(sink, L"sink")));
  EXPECT_GT(sink->references(), 1u) << "the graph holds the sink";

  IPin* pin = nullptr;
  IPin* other = nullptr;
  ASSERT_EQ(sink->FindPin(L"Transport stream", &pin), S_OK);
  ASSERT_EQ(upstream->FindPin(L"Transport stream", &other), S_OK);
  AM_MEDIA_TYPE video = plainMediaType(MEDIATYPE_Video, GUID_NULL);
  EXPECT_EQ(pin->ReceiveConnection(other, &video), VFW_E_TYPE_NOT_ACCEPTED);
  AM_MEDIA_TYPE stream = plainMediaType(MEDIATYPE_Stream, kMpeg2TransportSubtype);
  ASSERT_EQ(pin->ReceiveConnection(other, &stream), S_OK);
  EXPECT_EQ(pin->ReceiveConnection(other, &stream), VFW_E_ALREADY_CONNECTED);

  IMemAllocator* allocator = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                         reinterpret_cast<void**>(&allocator))));
  ALLOCATOR_PROPERTIES wanted = {2, 376, 1, 0}, actual = {};
  ASSERT_TRUE(SUCCEEDED(allocator->SetProperties(&wanted, &actual)));
  ASSERT_TRUE(SUCCEEDED(allocator->Commit()));
  IMemInputPin* input = nullptr;
  ASSERT_EQ(pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input)), S_OK);
  EXPECT_EQ(input->NotifyAllocator(allocator, FALSE), S_OK);

  IMediaSample* early = sampleOf(allocator, 188, 0x47);
  EXPECT_EQ(input->Receive(early), VFW_E_WRONG_STATE) << "a stopped sink takes nothing";
  early->Release();
  sink->Run(0);
  IMediaSample* sample = sampleOf(allocator, 376, 0x47);
  EXPECT_EQ(input->Receive(sample), S_OK);
  sample->Release();
  sink->Stop();
  EXPECT_EQ(sink->bytesReceived(), 376u);
  ASSERT_EQ(collector.bytes.size(), 376u);
  EXPECT_EQ(collector.bytes[0], 0x47);

  input->Release();
  pin->Disconnect();
  other->Release();
  pin->Release();
  allocator->Decommit();
  allocator->Release();
  upstream->Release();
  graph->Release();
  sink->Release();
  EXPECT_EQ(StreamSink::live(), 0) << "sinks left after the graph and every pin reference went";
}

}  // namespace
