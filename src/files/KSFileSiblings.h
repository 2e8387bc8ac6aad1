// The sibling files through which KSFile::WriteFile replaces a file whole:
// the new content is written to a sibling beside the file, which then takes
// the file's place in one step. A sibling is named after its writer, a
// process told apart by its id and its start time (ids are reused):
// "<name>.~<process id>-<start time>-<n>.tmp", the numbers in hexadecimal.
#pragma once

class KSFileSpec;

// A sibling name for inSpec that no other writer uses.
void MakeFileSibling(const KSFileSpec& inSpec, KSFileSpec* outSibling);

// Deletes the siblings of inSpec that writers stopped part-way (a killed or
// crashed process) left behind. Siblings of writers still running stay.
void RemoveStrayFileSiblings(const KSFileSpec& inSpec);
