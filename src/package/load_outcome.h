// How loading the package, its configuration file or one of its pictures
// ended, and which of those endings the player is told about. The loaders
// only report; the box is decided here, in one table.
#pragma once

enum class LoadOutcome {
  kLoaded,
  kProgramUnreadable,  // the program file cannot be opened or its view mapped
  kMappingFailed,      // the program file cannot be mapped
  kNoPackage,          // nothing appended to the program
  kNotAnArchive,       // what is appended is not a zip archive
  kConfigMissing,      // config/cg.txt missing or not extractable whole
  kConfigUnreadable,   // config/cg.txt too large for memory or not parsable
  kPictureMissing,     // a picture member missing or not extractable whole
  kPictureNoMemory,    // a picture member too large for memory
  kPictureUndecodable, // a picture's bytes do not decode (or announce too many pixels)
};

// The text of the start-up failure box ("启动失败") for `outcome`, as GBK
// bytes; null for the outcomes that end silently (and for kLoaded).
const char* FailureText(LoadOutcome outcome);
