// corvexa-bench-images: what drawing and loading skin pictures cost next to
// the platform's own yardsticks, measured in turns in one run.
//   Drawing: one 400 x 120 24-bit picture with a keyed colour, drawn opaque
//   and with the colour left out, against a plain BitBlt of the same size
//   from a memory context.
//   Loading: a folder of 50 skin-sized BMP files, loaded as pictures, against
//   reading the same bytes with one ReadFile per file.
// The pictures are written by the program into a folder of its own.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchPictures.h"
#include "BenchStats.h"
#include "foundation/KSHandle.h"
#include "platform/KSGdiObject.h"
#include "platform/cImage.h"
#include "support/BmpWriter.h"

namespace {

const int kRounds = 10;
const int kDrawsPerRound = 200;
const int kFiles = 50;
const uint32 kKey = 0xFF00FF;  // 0xRRGGBB

// A picture like a skin's face: an ellipse of shaded colour on the key.
BmpFile SkinPicture(int inWidth, int inHeight, uint16 inBits) {
  BmpFile file{inWidth, inHeight, inBits, 0, {}, {}};
  if (inBits == 8) {
    file.colors.push_back(kKey);  // index 0
    for (uint32 i = 1; i < 256; i++) {
      file.colors.push_back(i << 16 | (255 - i) << 8 | 0x80);
    }
  }
  for (int y = inHeight - 1; y >= 0; y--) {  // stored bottom row first
    std::vector<uint32> row;
    for (int x = 0; x < inWidth; x++) {
      double dx = (x - inWidth / 2.0) / (inWidth / 2.0);
      double dy = (y - inHeight / 2.0) / (inHeight / 2.0);
      bool inside = dx * dx + dy * dy < 1;
      uint32 shade = uint32(x * 254 / inWidth);
      if (inBits == 8) {
        row.push_back(inside ? 1 + shade : 0);
      } else {
        row.push_back(inside ? shade << 16 | uint32(y * 2 % 256) << 8 | 0x40 : kKey);
      }
    }
    std::vector<uint8> stored = PackRows(inBits, {row});
    file.data.insert(file.data.end(), stored.begin(), stored.end());
  }
  return file;
}

std::wstring Wide(const std::string& inText) {
  return std::wstring(inText.begin(), inText.end());
}

bool WriteFile(const std::string& inPath, const std::vector<uint8>& inBytes) {
  FILE* file = _wfopen(Wide(inPath).c_str(), L"wb");
  bool ok = file != nullptr && fwrite(inBytes.data(), 1, inBytes.size(), file) == inBytes.size();
  if (file != nullptr) {
    ok = fclose(file) == 0 && ok;
  }
  return ok;
}

// Microseconds per call of inDraw, over kDrawsPerRound calls.
template <typename Draw>
double TimePerCall(Draw inDraw) {
  double start = BenchNowMicros();
  for (int i = 0; i < kDrawsPerRound; i++) {
    inDraw();
  }
  return (BenchNowMicros() - start) / kDrawsPerRound;
}

struct DrawTimes {
  std::vector<double> mPlain;
  std::vector<double> mOpaque;
  std::vector<double> mKeyed;
};

bool MeasureDrawing(DrawTimes* outTimes) {
  cImage opaque;
  cImage keyed;
  std::string path = "bench-face.bmp";
  if (!WriteFile(path, SkinPicture(400, 120, 24).Bytes()) || opaque.LoadFile(path.c_str()) != 0 ||
      keyed.LoadFile(path.c_str()) != 0 || keyed.MakeTransparent(0xFF, 0, 0xFF) != 0) {
    return false;
  }
  DeleteFileW(Wide(path).c_str());
  // The destination is a memory context as large as a toolbar window; the
  // yardstick copies from another one that holds a bitmap of the picture's
  // size.
  KSWindowDC screen(nullptr);
  KSMemDC target(screen.Get());
  KSGdiObj<HBITMAP> targetBitmap(CreateCompatibleBitmap(screen.Get(), 800, 200));
  KSSelectObj selectTarget(target.Get(), targetBitmap.Get());
  KSMemDC source(screen.Get());
  KSGdiObj<HBITMAP> sourceBitmap(CreateCompatibleBitmap(screen.Get(), 400, 120));
  KSSelectObj selectSource(source.Get(), sourceBitmap.Get());
  if (!target || !targetBitmap || !source || !sourceBitmap ||
      opaque.BitBlt(source.Get(), 0, 0) != 0) {
    return false;
  }
  bool ok = true;
  auto plain = [&] {
    ok = ::BitBlt(target.Get(), 20, 30, 400, 120, source.Get(), 0, 0, SRCCOPY) && ok;
  };
  auto drawOpaque = [&] { ok = opaque.BitBlt(target.Get(), 20, 30) == 0 && ok; };
  auto drawKeyed = [&] { ok = keyed.BitBlt(target.Get(), 20, 30) == 0 && ok; };
  TimePerCall(plain);  // warm-up
  TimePerCall(drawOpaque);
  TimePerCall(drawKeyed);
  for (int round = 0; round < kRounds; round++) {
    outTimes->mPlain.push_back(TimePerCall(plain));
    outTimes->mOpaque.push_back(TimePerCall(drawOpaque));
    outTimes->mKeyed.push_back(TimePerCall(drawKeyed));
  }
  return ok;
}

// Skin-sized pictures: backgrounds, buttons, slider parts.
std::vector<std::string> WriteSkinFolder(const std::string& inFolder) {
  const int kSizes[][3] = {{400, 120, 24}, {64, 24, 24}, {24, 24, 8}, {120, 16, 24}, {16, 48, 8}};
  std::vector<std::string> paths;
  CreateDirectoryW(Wide(inFolder).c_str(), nullptr);
  for (int i = 0; i < kFiles; i++) {
    const int* size = kSizes[i % 5];
    std::string path = inFolder + "\\face" + std::to_string(i) + ".bmp";
    if (!WriteFile(path, SkinPicture(size[0], size[1], uint16(size[2])).Bytes())) {
      return {};
    }
    paths.push_back(path);
  }
  return paths;
}

double TimeRawReading(const std::vector<std::string>& inPaths, bool* ioOk) {
  std::vector<uint8> buffer;
  double start = BenchNowMicros();
  for (const std::string& path : inPaths) {
    KSHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD size = GetFileSize(file.Get(), nullptr);
    buffer.resize(size);
    DWORD read = 0;
    *ioOk = ReadFile(file.Get(), buffer.data(), size, &read, nullptr) && read == size && *ioOk;
  }
  return BenchNowMicros() - start;
}

}  // namespace

int main() {
  DrawTimes draws;
  if (!MeasureDrawing(&draws)) {
    std::fprintf(stderr, "corvexa-bench-images: drawing failed\n");
    return 1;
  }
  char folder[MAX_PATH];
  std::string name = "bench-skin-" + std::to_string(GetCurrentProcessId());
  GetFullPathNameA(name.c_str(), MAX_PATH, folder, nullptr);
  std::vector<std::string> paths = WriteSkinFolder(folder);
  bool ok = !paths.empty();
  std::vector<double> loads, reads;
  TimePictureLoads(paths, &ok);  // warm-up: the files come into the cache
  TimeRawReading(paths, &ok);
  for (int round = 0; ok && round < kRounds; round++) {
    loads.push_back(TimePictureLoads(paths, &ok));
    reads.push_back(TimeRawReading(paths, &ok));
  }
  for (const std::string& path : paths) {
    DeleteFileW(Wide(path).c_str());
  }
  RemoveDirectoryA(folder);
  if (!ok) {
    std::fprintf(stderr, "corvexa-bench-images: loading failed\n");
    return 1;
  }

  double plain = Summarize(&draws.mPlain).mMedian;
  double opaque = Summarize(&draws.mOpaque).mMedian;
  double keyed = Summarize(&draws.mKeyed).mMedian;
  std::printf(
      "Drawing one 400 x 120 24-bit picture, %d turns of %d (microseconds per draw, median):\n",
      kRounds, kDrawsPerRound);
  std::printf("  %-34s %8.1f\n", "plain BitBlt", plain);
  std::printf("  %-34s %8.1f   %.2fx\n", "picture, opaque", opaque, opaque / plain);
  std::printf("  %-34s %8.1f   %.2fx (target: at most 4x: %s)\n", "picture, keyed colour", keyed,
              keyed / plain, keyed <= 4 * plain ? "met" : "missed");
  double load = Summarize(&loads).mMedian;
  double read = Summarize(&reads).mMedian;
  std::printf(
      "Loading a folder of %d skin-sized BMP files, %d turns (microseconds per folder, median):\n",
      kFiles, kRounds);
  std::printf("  %-34s %8.0f\n", "one ReadFile per file", read);
  std::printf("  %-34s %8.0f   %.2fx (target: at most 2x: %s)\n", "loaded as pictures", load,
              load / read, load <= 2 * read ? "met" : "missed");
  char result[100];
  std::snprintf(result, sizeof(result), "%.2fx (%.0f us / %.0f us)", keyed / plain, keyed, plain);
  PrintSummaryRow("keyed picture draw / plain BitBlt", result, "at most 4x", keyed <= 4 * plain);
  std::snprintf(result, sizeof(result), "%.2fx (%.1f ms / %.1f ms)", load / read, load / 1000,
                read / 1000);
  PrintSummaryRow("50 skin BMPs loaded as pictures / read raw", result, "at most 2x",
                  load <= 2 * read);
  return 0;
}
