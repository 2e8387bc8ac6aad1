// Finding the installed engine: a folder "Kestrova\<engine>" holding
// "Resources\info.txt", below the common program folder or the common library
// folder.
#pragma once

class KSFileSpec;

// The folder name of the toolbar's engine.
extern const char kEngineDirName[];

class KSVisualAPISession {
 public:
  // Finds the engine folder inEngineDirName among the install places (0 or
  // kKSErr_PathNotFound; on failure outFolderSpec holds the last candidate).
  // A null inEngineDirName gives the folder of the running program.
  static long GetEngineDir(const char* inEngineDirName, KSFileSpec* outFolderSpec);

  // Install place inIndex: 0 the common program folder, 1 the common library
  // folder, each followed by "Kestrova". kKSErr_Param for any other index,
  // kKSErr_PathNotFound when that folder does not exist.
  static long GetEnginesDir(long inIndex, KSFileSpec* outFolderSpec);

  // The search of GetEngineDir over any install places: inEnginesDir answers
  // for each index as GetEnginesDir does.
  typedef long (*EnginesDirProc)(long inIndex, KSFileSpec* outFolderSpec, void* inParam);
  static long FindEngineDir(const char* inEngineDirName, EnginesDirProc inEnginesDir, void* inParam,
                            KSFileSpec* outFolderSpec);

  // inBaseFolder + "Kestrova" when that folder exists, else kKSErr_PathNotFound.
  static long GetMakerDir(const KSFileSpec& inBaseFolder, KSFileSpec* outFolderSpec);

  // True when inFolder is an engine folder: it holds the file
  // "Resources\info.txt".
  static bool IsEngineFolder(const KSFileSpec& inFolder);
};
