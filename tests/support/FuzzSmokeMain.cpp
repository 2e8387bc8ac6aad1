// A brief run of a fuzz target inside the ordinary test suite, where there is
// no libFuzzer: every seed as it is, then inputs made from the seeds by a few
// random changes each, until the time is up. Without coverage feedback it
// goes less deep than a campaign (scripts/fuzz.sh), but every change to a
// parser meets its seeds and some thousands of damaged variants of them under
// the sanitizers at every test run.
//
//   NAME SECONDS MAX_LEN SEED_FOLDER...
//
// The random sequence is the same on every run. An input that ends the
// process (a sanitizer report, an abort, a crash) is written to
// "NAME-finding.bin" in the working folder; "NAME 0 MAX_LEN NAME-finding.bin"
// runs it again (a seed may be a file as well as a folder).
#include <sanitizer/common_interface_defs.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* inData, size_t inSize);

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes* gCurrent = nullptr;
std::string gFindingPath;

// Runs when the process is about to die of the current input.
void WriteFinding() {
  if (gCurrent == nullptr) {
    return;
  }
  if (FILE* file = std::fopen(gFindingPath.c_str(), "wb")) {
    std::fwrite(gCurrent->data(), 1, gCurrent->size(), file);
    std::fclose(file);
    std::fprintf(stderr, "the input is in %s\n", gFindingPath.c_str());
  }
  gCurrent = nullptr;
}

void OnFatalSignal(int inSignal) {
  WriteFinding();
  std::signal(inSignal, SIG_DFL);
  std::raise(inSignal);
}

void Run(const Bytes& inInput) {
  gCurrent = &inInput;
  LLVMFuzzerTestOneInput(inInput.data(), inInput.size());
  gCurrent = nullptr;
}

bool ReadSeeds(const char* inFolder, size_t inMaxLen, std::vector<Bytes>* ioSeeds) {
  std::error_code error;
  std::filesystem::path folder(inFolder);
  if (std::filesystem::is_regular_file(folder, error)) {
    std::ifstream file(folder, std::ios::binary);
    ioSeeds->emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
  }
  std::filesystem::directory_iterator entries(folder, error);
  if (error) {
    std::fprintf(stderr, "no seed folder %s\n", inFolder);
    return false;
  }
  for (const auto& entry : entries) {
    if (!entry.is_regular_file()) {
      continue;
    }
    std::ifstream file(entry.path(), std::ios::binary);
    Bytes seed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    seed.resize(std::min(seed.size(), inMaxLen));
    ioSeeds->push_back(std::move(seed));
  }
  return true;
}

class Mutator {
 public:
  explicit Mutator(const std::vector<Bytes>& inSeeds) : mSeeds(inSeeds), mRandom(20261207) {}

  Bytes Next(size_t inMaxLen) {
    Bytes input = mSeeds[Below(mSeeds.size())];
    int changes = 1 + int(Below(4));
    for (int i = 0; i < changes; i++) {
      Change(&input);
    }
    input.resize(std::min(input.size(), inMaxLen));
    return input;
  }

 private:
  size_t Below(size_t inLimit) { return inLimit == 0 ? 0 : size_t(mRandom() % inLimit); }

  // Values that sit on the edges parsers test against.
  uint8_t EdgeByte() {
    static const uint8_t kEdges[] = {0, 1, 0x7f, 0x80, 0xff, '\n', '"', '\\', '{', '}', '|', '?'};
    return kEdges[Below(sizeof(kEdges))];
  }

  void Change(Bytes* ioInput) {
    Bytes& in = *ioInput;
    size_t at = Below(in.size() + 1);
    switch (Below(7)) {
      case 0:  // flip one bit
        if (!in.empty()) {
          in[Below(in.size())] ^= uint8_t(1u << Below(8));
        }
        break;
      case 1:  // an edge value
        if (!in.empty()) {
          in[Below(in.size())] = EdgeByte();
        }
        break;
      case 2: {  // insert a few random bytes
        size_t count = 1 + Below(8);
        for (size_t i = 0; i < count; i++) {
          in.insert(in.begin() + long(at), uint8_t(mRandom()));
        }
        break;
      }
      case 3:  // cut a piece out
        if (at < in.size()) {
          in.erase(in.begin() + long(at), in.begin() + long(at + Below(in.size() - at + 1)));
        }
        break;
      case 4:  // repeat a piece
        if (at < in.size()) {
          size_t len = 1 + Below(std::min<size_t>(in.size() - at, 64));
          Bytes piece(in.begin() + long(at), in.begin() + long(at + len));
          in.insert(in.begin() + long(Below(in.size() + 1)), piece.begin(), piece.end());
        }
        break;
      case 5: {  // the head of this input on the tail of another seed
        const Bytes& other = mSeeds[Below(mSeeds.size())];
        in.resize(at);
        size_t from = Below(other.size() + 1);
        in.insert(in.end(), other.begin() + long(from), other.end());
        break;
      }
      default:  // a 32-bit little-endian number made huge, negative or off by one
        if (in.size() >= 4) {
          size_t pos = Below(in.size() - 3);
          uint32_t value;
          std::memcpy(&value, &in[pos], 4);
          static const uint32_t kNumbers[] = {0, 0xffffffffu, 0x7fffffffu, 0x80000000u};
          value = Below(2) == 0 ? kNumbers[Below(4)] : value + uint32_t(Below(3)) - 1;
          std::memcpy(&in[pos], &value, 4);
        }
        break;
    }
  }

  const std::vector<Bytes>& mSeeds;
  std::mt19937 mRandom;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s SECONDS MAX_LEN SEED_FOLDER...\n", argv[0]);
    return 2;
  }
  double seconds = std::atof(argv[1]);
  size_t maxLen = size_t(std::strtoul(argv[2], nullptr, 10));
  std::string name = std::filesystem::path(argv[0]).filename().string();
  gFindingPath = name + "-finding.bin";
  __sanitizer_set_death_callback(WriteFinding);
  std::signal(SIGABRT, OnFatalSignal);
  std::signal(SIGSEGV, OnFatalSignal);

  std::vector<Bytes> seeds;
  for (int i = 3; i < argc; i++) {
    if (!ReadSeeds(argv[i], maxLen, &seeds)) {
      return 2;
    }
  }
  if (seeds.empty()) {
    std::fprintf(stderr, "%s: no seeds\n", name.c_str());
    return 2;
  }
  for (const Bytes& seed : seeds) {
    Run(seed);
  }
  Mutator mutator(seeds);
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  long runs = long(seeds.size());
  while (std::chrono::steady_clock::now() < end) {
    for (int i = 0; i < 64; i++, runs++) {
      Run(mutator.Next(maxLen));
    }
  }
  std::printf("%s: %zu seeds, %ld inputs, no finding\n", name.c_str(), seeds.size(), runs);
  return 0;
}
