#include "engine-sim/EngineContent.h"

#include <cstddef>

namespace {

const char* const kWaveShapes[] = {
    "Aurora Ribbon", "Bass Spiral",   "Cathedral Arcs",  "Chrome Lattice", "Comet Trails",
    "Coral Bloom",   "Crystal Helix", "Dancing Strings", "Deep Pulse",     "Drift Rings",
    "Echo Chamber",  "Ember Fan",     "Fractal Fern",    "Glass Harp",     "Gravity Well",
    "Harmonic Web",  "Horizon Lines", "Ion Storm",       "Kaleido Star",   "Lantern Swirl",
    "Liquid Mirror", "Lotus Petals",  "Lunar Tides",     "Magnetic Loops", "Meridian",
    "Neon Grid",     "Nova Burst",    "Orbit Dance",     "Phase Shift",    "Prism Fold",
    "Pulse Tunnel",  "Quartz Waves",  "Ripple Field",    "Saturn Rings",   "Signal Bloom",
    "Silk Threads",  "Solar Wind",    "Sonic Rose",      "Spectrum Arc",   "Starfield Sweep",
    "Tidal Lace",    "Vortex Bloom",  "Whirlpool",       "Zephyr Lines",
};

const char* const kColorMaps[] = {
    "Amber Dusk",     "Arctic Ice",     "Autumn Forest", "Azure Lagoon",    "Berry Punch",
    "Blood Orange",   "Blue Steel",     "Burnt Sienna",  "Candy Floss",     "Cherry Blossom",
    "Citrus Zest",    "Cobalt Night",   "Copper Patina", "Coral Reef",      "Cosmic Dust",
    "Desert Sand",    "Electric Lime",  "Emerald City",  "Fire and Ice",    "Firefly",
    "Forest Floor",   "Frozen Lake",    "Gold Leaf",     "Grape Soda",      "Harvest Moon",
    "Heatwave",       "Indigo Dream",   "Infrared",      "Jade Temple",     "Lava Flow",
    "Lavender Field", "Lemon Drop",     "Magma",         "Midnight Blue",   "Mint Julep",
    "Monochrome",     "Moss Green",     "Neon Nights",   "Northern Lights", "Ocean Deep",
    "Opal",           "Orchid",         "Pastel Sky",    "Peacock",         "Pine Needle",
    "Plum Velvet",    "Polar Night",    "Rainbow Road",  "Raspberry",       "Rose Gold",
    "Ruby Red",       "Rust",           "Saffron",       "Sapphire",        "Sepia Print",
    "Slate",          "Spring Meadow",  "Storm Cloud",   "Sunset Strip",    "Teal Wave",
    "Thermal",        "Tropical Punch", "Twilight",      "Ultraviolet",     "Volcanic Ash",
};

const char* const kFlowFields[] = {
    "Big Bang",
    "Black Hole",
    "Breathing",
    "Cascade",
    "Centrifuge",
    "Converge",
    "Cyclone",
    "Diverge",
    "Double Helix",
    "Drain",
    "Expanding Universe",
    "Figure Eight",
    "Fountain",
    "Gentle Drift",
    "Hourglass",
    "Inferno",
    "Jet Stream",
    "Kaleidoscope",
    "Magnetic Field",
    "Mirror Fold",
    "Pinwheel",
    "Pulse",
    "Quake",
    "Rain",
    "Rising Smoke",
    "Rotation",
    "Shear",
    "Slow Zoom",
    "Spiral In",
    "Spiral Out",
    "Tunnel",
    "Twister",
    "Waterfall",
    "Whirl",
};

const char* const kParticles[] = {
    "Bubbles",   "Confetti",   "Dandelion Seeds", "Embers",        "Fireflies",   "Fireworks",
    "Hearts",    "Leaves",     "Lightning",       "Meteor Shower", "Music Notes", "Petals",
    "Pixels",    "Rain Drops", "Shooting Stars",  "Snowflakes",    "Sparkles",    "Sparks",
    "Starburst", "Stardust",   "Swarm",           "Tracers",
};

const char* const kSprites[] = {
    "Butterfly.png",   "Corvexa Logo.bmp", "Earth.jpg",      "Eclipse.jpg",      "Galaxy.jpg",
    "Jellyfish.avi",   "Koi Pond.avi",     "Lighthouse.jpg", "Lotus.png",        "Moon.png",
    "Nebula.jpg",      "Ocean Waves.avi",  "Raven.png",      "Saturn.png",       "Skyline.jpg",
    "Snowy Peaks.jpg", "Sunflower.png",    "Tiger Eye.jpg",  "Vinyl Record.png", "Wave Rider.avi",
    "Whale Song.avi",  "Yin Yang.png",
};

const char* const kDisplay1Modes[] = {
    "Display 1: 1024 x 768, 32 bit",  "Display 1: 1280 x 720, 32 bit",
    "Display 1: 1280 x 1024, 32 bit", "Display 1: 1600 x 900, 32 bit",
    "Display 1: 1920 x 1080, 32 bit", "Display 1: 2560 x 1440, 32 bit",
};

const char* const kDisplay2Modes[] = {
    "Display 2: 800 x 600, 32 bit",   "Display 2: 1024 x 768, 32 bit",
    "Display 2: 1280 x 800, 32 bit",  "Display 2: 1440 x 900, 32 bit",
    "Display 2: 1680 x 1050, 32 bit",
};

const char* const kAudioSources[] = {
    "Stereo Mix", "Line In", "Microphone", "CD Audio", "Digital In (S/PDIF)",
};

const char* const kFonts[] = {
    "Arial",         "Arial Black", "Book Antiqua",    "Calibri",         "Cambria",
    "Comic Sans MS", "Consolas",    "Courier New",     "Franklin Gothic", "Garamond",
    "Georgia",       "Impact",      "Lucida Console",  "Lucida Sans",     "Palatino Linotype",
    "Segoe UI",      "Tahoma",      "Times New Roman", "Trebuchet MS",    "Verdana",
};

template <size_t N>
void Fill(const char* const (&inNames)[N], EngineNames* outNames) {
  outNames->assign(inNames, inNames + N);
}

bool IsBlank(char inChar) {
  return inChar == ' ' || inChar == '\t' || inChar == '\r';
}

}  // namespace

void EngineContent::GetBuiltIn(EngineContent* outContent) {
  for (EngineNames& names : outContent->mItems) {
    names.clear();
  }
  Fill(kWaveShapes, &outContent->mItems[kConfigWaveShape]);
  Fill(kColorMaps, &outContent->mItems[kConfigColorMap]);
  Fill(kFlowFields, &outContent->mItems[kConfigFlowField]);
  Fill(kParticles, &outContent->mItems[kConfigParticle]);
  Fill(kSprites, &outContent->mItems[kConfigSprite]);

  outContent->mDisplays.resize(2);
  outContent->mDisplays[0].mName = "Display 1";
  Fill(kDisplay1Modes, &outContent->mDisplays[0].mModes);
  outContent->mDisplays[1].mName = "Display 2";
  Fill(kDisplay2Modes, &outContent->mDisplays[1].mModes);

  Fill(kAudioSources, &outContent->mAudioSources);
  Fill(kFonts, &outContent->mFonts);
  outContent->mTrackInfo = "The Glass Orchard - Northern Lights (Harbour Hall Sessions, 2019)";
}

const char* EngineContent::ListFileName(long inKind) {
  switch (inKind) {
    case kConfigWaveShape:
      return "waveshapes.txt";
    case kConfigColorMap:
      return "colormaps.txt";
    case kConfigFlowField:
      return "flowfields.txt";
    case kConfigParticle:
      return "particles.txt";
    case kConfigSprite:
      return "sprites.txt";
    default:
      return nullptr;
  }
}

void EngineContent::ParseNameList(const char* inText, long inLen, EngineNames* outNames) {
  outNames->clear();
  long pos = 0;
  while (pos < inLen) {
    long lineEnd = pos;
    while (lineEnd < inLen && inText[lineEnd] != '\n') {
      lineEnd++;
    }
    long start = pos;
    long end = lineEnd;
    while (start < end && IsBlank(inText[start])) {
      start++;
    }
    while (end > start && IsBlank(inText[end - 1])) {
      end--;
    }
    if (end > start && inText[start] != '#') {
      outNames->push_back(UtilStr(inText + start, end - start));
    }
    pos = lineEnd + 1;
  }
}
