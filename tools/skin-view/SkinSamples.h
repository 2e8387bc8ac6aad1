// Sample content for a skin shown without an engine, so that every control
// has something to draw.
#pragma once

class cToolPage;

// Combo boxes and list views are filled with sample names (through the same
// replies the engine would send), sliders stand in the middle of their range
// and check boxes are checked and unchecked by turns, in every page below
// inPage.
void FillWithSamples(cToolPage* inPage);
