// One skin load: from a skin folder (its "Options.dat" and image files), from
// a packed skin file, or from a skin stored in the program, into the tables.
// Both loads end with the same steps: image pieces (master bitmap and own
// bitmaps), textures (JPEG), sections (with the hue and saturation changes),
// cached indexes. Errors in skin files and images are exceptions with their
// messages; the manager catches and shows them.
#pragma once

#include <functional>
#include <string>

#include "skin/sSkinTables.h"

namespace translit {

class TsStoredSkins;

// What a load needs from the manager.
struct TsSkinLoadSettings {
  std::string SkinDirectory;  // the manager's setting as written
  std::string SkinName;       // may be replaced by a stored skin's name
  // Folder of the executable with its trailing backslash; empty: the running
  // program's.
  std::string ProgramFolder;
  int HueOffset = 0;
  int Saturation = 0;
  std::string CommonSections;  // INI text, empty when none
  const TsStoredSkins* StoredSkins = nullptr;
  const std::string* PreviewText = nullptr;  // replaces "Options.dat" when set
  // Called with the skin-wide values once they are read (version check).
  std::function<void(const TsSkinData&)> OnVersionCheck;
};

// Time spent decoding images during the last load, for measurements.
struct TsSkinLoadStats {
  double DecodeMs = 0;
  int ImagesDecoded = 0;
};

enum class TsLoadOutcome { Loaded, NotFound };

// The folder load. NotFound (the tables untouched but for the skin folder,
// which is cleared) when the folder has no "Options.dat" and the program
// stores no skins: the manager then goes inactive without a message.
// loadedFromPacked tells whether a stored skin's packed data was used.
TsLoadOutcome LoadSkinFromFolder(TsSkinTables& tables, TsSkinLoadSettings& settings, bool& loadedFromPacked,
                                 TsSkinLoadStats* stats = nullptr);
// The packed load; does nothing when the file does not exist.
void LoadSkinFromPacked(TsSkinTables& tables, TsSkinLoadSettings& settings, TsSkinLoadStats* stats = nullptr);

// The packed file a setting and name stand for (normalised directory + name
// + ".asz") and the skin folder (resolved directory + "\" + name + "\").
std::string PackedSkinFileName(const TsSkinLoadSettings& settings);
std::string SkinFolderName(const TsSkinLoadSettings& settings);
// The running program's folder with its trailing backslash.
std::string ProgramFolder();

// The Windows answers to what the data model asks of the platform.
const TsSystemValues& WindowsSystemValues();

}  // namespace translit
