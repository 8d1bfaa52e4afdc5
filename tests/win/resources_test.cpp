// Checks every resource in the built program: it loads Quorvan.exe as a data file and
// reads each resource the way the program does (by name and type), then checks its format.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "feedback/sound_thread.h"
#include "resources/resource_ids.h"

namespace {

struct Bytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }

// The program sits one folder above the test (build/tests/win_tests.exe, build/Quorvan.exe);
// QV_PROGRAM names it elsewhere.
std::string programPath() {
  char path[MAX_PATH] = {};
  if (GetEnvironmentVariableA("QV_PROGRAM", path, MAX_PATH) > 0) return path;
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder = folder.substr(0, folder.find_last_of("\\/"));
  std::string parent = folder.substr(0, folder.find_last_of("\\/"));
  for (const std::string& candidate : {parent + "\\Quorvan.exe", folder + "\\Quorvan.exe"}) {
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return parent + "\\Quorvan.exe";
}

class ResourcesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " << programPath(); }

  static Bytes find(LPCSTR name, LPCSTR type) {
    Bytes bytes;
    HRSRC found = FindResourceA(module_, name, type);
    if (!found) return bytes;
    HGLOBAL loaded = LoadResource(module_, found);
    bytes.data = static_cast<const uint8_t*>(LockResource(loaded));
    bytes.size = SizeofResource(module_, found);
    return bytes;
  }

  static HMODULE module_;
};
HMODULE ResourcesTest::module_ = nullptr;

// ---- WAV -------------------------------------------------------------------------------

struct Wave {
  bool valid = false;
  std::string fault;
  uint16_t format = 0, channels = 0, blockAlign = 0, bits = 0, samplesPerBlock = 0;
  uint32_t rate = 0, factSamples = 0, dataBytes = 0;
  const uint8_t* samples = nullptr;
};

Wave parseWave(Bytes bytes) {
  Wave w;
  const uint8_t* p = bytes.data;
  if (bytes.size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0) {
    w.fault = "no RIFF/WAVE header";
    return w;
  }
  if (u32(p + 4) + 8 != bytes.size) {
    w.fault = "RIFF size " + std::to_string(u32(p + 4) + 8) + ", resource " + std::to_string(bytes.size);
    return w;
  }
  bool haveFormat = false, haveData = false;
  for (size_t at = 12; at + 8 <= bytes.size;) {
    uint32_t size = u32(p + at + 4);
    const uint8_t* body = p + at + 8;
    if (at + 8 + size > bytes.size) {
      w.fault = "chunk runs past the end";
      return w;
    }
    if (std::memcmp(p + at, "fmt ", 4) == 0 && size >= 16) {
      haveFormat = true;
      w.format = u16(body);
      w.channels = u16(body + 2);
      w.rate = u32(body + 4);
      w.blockAlign = u16(body + 12);
      w.bits = u16(body + 14);
      if (size >= 20) w.samplesPerBlock = u16(body + 18);
    } else if (std::memcmp(p + at, "fact", 4) == 0 && size >= 4) {
      w.factSamples = u32(body);
    } else if (std::memcmp(p + at, "data", 4) == 0) {
      haveData = true;
      w.dataBytes = size;
      w.samples = body;
    }
    at += 8 + size + (size & 1);
  }
  w.valid = haveFormat && haveData;
  if (!w.valid) w.fault = "fmt or data chunk missing";
  return w;
}

// MS-ADPCM as the program's voice and bird recordings use it; returns the length in seconds.
void expectAdpcm(const Wave& w, const std::string& name, double shortest, double longest) {
  ASSERT_TRUE(w.valid) << name << ": " << w.fault;
  EXPECT_EQ(w.format, 2) << name;
  EXPECT_EQ(w.channels, 1) << name;
  EXPECT_EQ(w.rate, 22050u) << name;
  EXPECT_EQ(w.bits, 4) << name;
  EXPECT_EQ(w.blockAlign, 512) << name;
  EXPECT_EQ(w.samplesPerBlock, 1012) << name;
  EXPECT_EQ(w.dataBytes % 512, 0u) << name << ": data is not whole blocks";
  // The fact chunk holds the true length; the blocks must hold at least that many samples.
  ASSERT_GT(w.factSamples, 0u) << name << ": no fact chunk";
  EXPECT_GE(w.dataBytes / 512 * 1012, w.factSamples) << name;
  EXPECT_LT(w.dataBytes / 512 * 1012, w.factSamples + 1012) << name << ": a spare block";
  double seconds = w.factSamples / 22050.0;
  EXPECT_GE(seconds, shortest) << name << ": got " << seconds << " s";
  EXPECT_LE(seconds, longest) << name << ": got " << seconds << " s";
}

TEST_F(ResourcesTest, EveryDigitOfEveryLanguageIsAnAdpcmRecordingOfTheRightLength) {
  const char* prefixes[] = LANGUAGE_RESOURCE_PREFIXES;
  ASSERT_EQ(sizeof prefixes / sizeof prefixes[0], 8u);
  for (const char* prefix : prefixes) {
    for (int digit = 0; digit < 10; ++digit) {
      std::string name = prefix + std::to_string(digit);
      Bytes bytes = find(name.c_str(), MAKEINTRESOURCEA(10));
      ASSERT_NE(bytes.data, nullptr) << name << " missing";
      // 0.5 s: the voice cycle plays the next digit after 500 ms and would cut a longer word.
      expectAdpcm(parseWave(bytes), name, 0.2, 0.5);
    }
  }
}

TEST_F(ResourcesTest, FourDistinctBirdCalls) {
  std::vector<Bytes> birds;
  for (int k = 0; k < BIRD_RESOURCE_COUNT; ++k) {
    std::string name = BIRD_RESOURCE_PREFIX + std::to_string(k);
    Bytes bytes = find(name.c_str(), MAKEINTRESOURCEA(10));
    ASSERT_NE(bytes.data, nullptr) << name << " missing";
    expectAdpcm(parseWave(bytes), name, 0.37, 0.69);
    for (const Bytes& other : birds) {
      EXPECT_FALSE(other.size == bytes.size && std::memcmp(other.data, bytes.data, bytes.size) == 0)
          << name << " repeats an earlier call";
    }
    birds.push_back(bytes);
  }
}

// The satellite check's sounds play out within the pause the sound thread leaves them.
TEST_F(ResourcesTest, FoundAndWrongArePlainPcmShorterThanTheirPause) {
  for (const char* name : {FOUND_RESOURCE, WRONG_RESOURCE}) {
    Wave w = parseWave(find(name, MAKEINTRESOURCEA(10)));
    ASSERT_TRUE(w.valid) << name << ": " << w.fault;
    EXPECT_EQ(w.format, 1) << name;
    EXPECT_EQ(w.channels, 1) << name;
    EXPECT_EQ(w.bits, 16) << name;
    ASSERT_EQ(w.rate, 22050u) << name;
    EXPECT_LT(w.dataBytes / 2 * 1000 / w.rate, kCuePauseMs) << name << " lasts longer than its pause";
  }
}

// ---- TONE ------------------------------------------------------------------------------

struct ToneSamples {
  const uint8_t* data;
  int16_t at(size_t i) const { return int16_t(u16(data + 2 * i)); }
  double rms(double from, double to) const {
    size_t a = size_t(from * 8000), b = size_t(to * 8000);
    double sum = 0;
    for (size_t i = a; i < b; ++i) sum += double(at(i)) * at(i);
    return std::sqrt(sum / double(b - a));
  }
  // Frequency from rising zero crossings, interpolated between samples.
  double frequency(double from, double to) const {
    size_t a = size_t(from * 8000), b = size_t(to * 8000);
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = a; i + 1 < b; ++i) {
      if (at(i) < 0 && at(i + 1) >= 0) {
        double t = i + double(-at(i)) / (at(i + 1) - at(i));
        if (first < 0) first = t;
        last = t;
        ++crossings;
      }
    }
    return crossings < 2 ? 0 : (crossings - 1) * 8000.0 / (last - first);
  }
};

TEST_F(ResourcesTest, ToneIsThreePipsAndANoteInExactly14048Bytes) {
  Bytes bytes = find(TONE_RESOURCE, MAKEINTRESOURCEA(10));
  ASSERT_NE(bytes.data, nullptr);
  Wave w = parseWave(bytes);
  ASSERT_TRUE(w.valid) << w.fault;
  EXPECT_EQ(w.format, 1);
  EXPECT_EQ(w.channels, 1);
  EXPECT_EQ(w.rate, 8000u);
  EXPECT_EQ(w.bits, 16);
  EXPECT_EQ(w.blockAlign, 2);
  ASSERT_EQ(w.dataBytes, 14048u);

  ToneSamples tone{w.samples};
  struct Window {
    const char* what;
    double from, to, hertz;  // hertz 0: quiet
  };
  const Window windows[] = {
      {"first pip", 0.01, 0.09, 930},   {"gap 1", 0.105, 0.155, 0}, {"second pip", 0.17, 0.25, 930},
      {"gap 2", 0.265, 0.315, 0},       {"third pip", 0.33, 0.41, 930}, {"note", 0.49, 0.66, 1390},
      {"after 0.7 s", 0.70, 0.878, 0},
  };
  for (const Window& win : windows) {
    double level = tone.rms(win.from, win.to);
    if (win.hertz == 0) {
      EXPECT_LT(level, 100) << win.what << ": got rms " << level << ", expected silence";
    } else {
      EXPECT_GT(level, 3000) << win.what << ": got rms " << level;
      double f = tone.frequency(win.from, win.to);
      EXPECT_NEAR(f, win.hertz, win.hertz * 0.03) << win.what << ": got " << f << " Hz";
    }
  }
}

// ---- Skin picture ----------------------------------------------------------------------

TEST_F(ResourcesTest, SkinPictureIsABaseline768By512JpegWithFullColourResolution) {
  Bytes jpeg = find(SKIN_PICTURE_RESOURCE, MAKEINTRESOURCEA(10));
  ASSERT_NE(jpeg.data, nullptr);
  EXPECT_GT(jpeg.size, 30000u);
  EXPECT_LT(jpeg.size, 130000u);
  ASSERT_GE(jpeg.size, 4u);
  ASSERT_EQ(u16(jpeg.data), 0xD8FF) << "no start-of-image marker";
  EXPECT_EQ(u16(jpeg.data + jpeg.size - 2), 0xD9FF) << "no end-of-image marker";

  int frames = 0;
  for (size_t at = 2; at + 4 <= jpeg.size;) {
    ASSERT_EQ(jpeg.data[at], 0xFF) << "marker expected at " << at;
    uint8_t marker = jpeg.data[at + 1];
    size_t length = size_t(jpeg.data[at + 2]) << 8 | jpeg.data[at + 3];
    ASSERT_LE(at + 2 + length, jpeg.size);
    EXPECT_FALSE(marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
        << "frame type 0x" << std::hex << int(marker) << ", expected baseline (0xC0)";
    if (marker == 0xC0) {
      const uint8_t* f = jpeg.data + at + 4;
      ++frames;
      EXPECT_EQ(f[0], 8) << "sample precision";
      EXPECT_EQ(f[1] << 8 | f[2], 512) << "height";
      EXPECT_EQ(f[3] << 8 | f[4], 768) << "width";
      ASSERT_EQ(f[5], 3) << "components";
      for (int c = 0; c < 3; ++c) EXPECT_EQ(f[6 + 3 * c + 1], 0x11) << "sampling of component " << c;
    }
    if (marker == 0xDA) break;  // entropy-coded data follows
    at += 2 + length;
  }
  EXPECT_EQ(frames, 1);
}

TEST_F(ResourcesTest, SkinPictureDecodesThroughOle) {
  Bytes jpeg = find(SKIN_PICTURE_RESOURCE, MAKEINTRESOURCEA(10));
  ASSERT_NE(jpeg.data, nullptr);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, jpeg.size);
  ASSERT_NE(memory, nullptr);
  std::memcpy(GlobalLock(memory), jpeg.data, jpeg.size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(stream, LONG(jpeg.size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  ASSERT_TRUE(SUCCEEDED(hr) && picture) << "OleLoadPicture failed: 0x" << std::hex << hr;
  OLE_HANDLE handle = 0;
  ASSERT_EQ(picture->get_Handle(&handle), S_OK);
  BITMAP info = {};
  ASSERT_NE(GetObjectA(reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle))), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 768);
  EXPECT_EQ(info.bmHeight, 512);
  picture->Release();
}

// ---- Icon ------------------------------------------------------------------------------

TEST_F(ResourcesTest, IconGroupHoldsFourImagesOfTheListedSizesAndDepths) {
  Bytes group = find(MAKEINTRESOURCEA(IDI_QUORVAN), MAKEINTRESOURCEA(14));
  ASSERT_NE(group.data, nullptr);
  ASSERT_GE(group.size, 6u);
  EXPECT_EQ(u16(group.data + 2), 1) << "not an icon directory";
  ASSERT_EQ(u16(group.data + 4), 4);
  ASSERT_EQ(group.size, 6u + 4 * 14);
  const struct {
    int size, bits;
  } expected[] = {{48, 32}, {32, 24}, {24, 32}, {16, 32}};
  for (int i = 0; i < 4; ++i) {
    const uint8_t* entry = group.data + 6 + 14 * i;
    int size = expected[i].size, bits = expected[i].bits;
    EXPECT_EQ(entry[0], size) << "entry " << i << " width";
    EXPECT_EQ(entry[1], size) << "entry " << i << " height";
    EXPECT_EQ(u16(entry + 6), bits) << "entry " << i << " bit count";
    Bytes image = find(MAKEINTRESOURCEA(u16(entry + 12)), MAKEINTRESOURCEA(3));
    ASSERT_NE(image.data, nullptr) << "icon image " << u16(entry + 12) << " missing";
    EXPECT_EQ(image.size, u32(entry + 8)) << "entry " << i;
    ASSERT_GE(image.size, 40u);
    EXPECT_EQ(u32(image.data), 40u) << "entry " << i << " header size";
    EXPECT_EQ(int32_t(u32(image.data + 4)), size);
    EXPECT_EQ(int32_t(u32(image.data + 8)), 2 * size) << "colour and mask heights";
    EXPECT_EQ(u16(image.data + 14), bits);
    size_t colourRow = (size_t(size) * bits / 8 + 3) / 4 * 4;
    size_t maskRow = (size_t(size) + 31) / 32 * 4;
    EXPECT_EQ(image.size, 40 + size * (colourRow + maskRow)) << "entry " << i;
  }
  // The system must find the small image for a 16-pixel request.
  HICON small = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(IDI_QUORVAN), IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(small, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(small, &info));
  BITMAP colour = {};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 16);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyIcon(small);
}

// ---- Dialog template -------------------------------------------------------------------

// Reads a zero-terminated UTF-16 string and moves past it.
std::wstring readString(const uint8_t*& p) {
  std::wstring s;
  for (; u16(p) != 0; p += 2) s.push_back(wchar_t(u16(p)));
  p += 2;
  return s;
}

TEST_F(ResourcesTest, DialogTemplateIsTheEmptyExtendedTemplate) {
  Bytes dialog = find(MAKEINTRESOURCEA(IDD_EMPTY), MAKEINTRESOURCEA(5));
  ASSERT_NE(dialog.data, nullptr);
  ASSERT_GE(dialog.size, 26u);
  const uint8_t* p = dialog.data;
  EXPECT_EQ(u16(p), 1) << "dlgVer";
  ASSERT_EQ(u16(p + 2), 0xFFFF) << "not an extended template";
  EXPECT_EQ(u32(p + 4), 0u) << "help id";
  EXPECT_EQ(u32(p + 8), 0u) << "extended style";
  EXPECT_EQ(u32(p + 12), DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU | DS_SETFONT)) << "style";
  EXPECT_EQ(u16(p + 16), 0) << "controls";
  EXPECT_EQ(int16_t(u16(p + 18)), 0);
  EXPECT_EQ(int16_t(u16(p + 20)), 0);
  EXPECT_EQ(int16_t(u16(p + 22)), 60);
  EXPECT_EQ(int16_t(u16(p + 24)), 42);
  p += 26;
  EXPECT_EQ(u16(p), 0) << "menu";
  p += 2;
  EXPECT_EQ(u16(p), 0) << "class";
  p += 2;
  EXPECT_EQ(readString(p), L"") << "title";
  EXPECT_EQ(u16(p), 16) << "point size";
  EXPECT_EQ(u16(p + 2), 700) << "weight";
  EXPECT_EQ(p[4], 0) << "italic";
  EXPECT_EQ(p[5], 204) << "character set";
  p += 6;
  EXPECT_EQ(readString(p), L"Arial");
  EXPECT_LE(size_t(p - dialog.data), dialog.size);
}

// ---- The whole set ---------------------------------------------------------------------

BOOL CALLBACK collectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  if (!IS_INTRESOURCE(name)) reinterpret_cast<std::set<std::string>*>(names)->insert(name);
  return TRUE;
}

TEST_F(ResourcesTest, DataResourcesAreExactlyTheSkinAndTheEightySevenSounds) {
  std::set<std::string> names;
  EnumResourceNamesA(module_, MAKEINTRESOURCEA(10), collectName, reinterpret_cast<LONG_PTR>(&names));
  std::set<std::string> expected = {SKIN_PICTURE_RESOURCE, TONE_RESOURCE, FOUND_RESOURCE, WRONG_RESOURCE};
  const char* prefixes[] = LANGUAGE_RESOURCE_PREFIXES;
  for (const char* prefix : prefixes)
    for (int digit = 0; digit < 10; ++digit) expected.insert(prefix + std::to_string(digit));
  for (int k = 0; k < BIRD_RESOURCE_COUNT; ++k) expected.insert(BIRD_RESOURCE_PREFIX + std::to_string(k));
  EXPECT_EQ(expected.size(), 88u);
  EXPECT_EQ(names, expected);
}

}  // namespace
