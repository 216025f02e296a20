#pragma once

// cInifile: the one gateway to INI files. An object holds a file path, a current section, a
// current key and a default; every read and write goes to the file at that moment (no cache).
//
// The file is Windows-1255 text; a file that starts with the UTF-8 byte-order mark is UTF-8, and
// so is one without the mark whose bytes are well-formed UTF-8 with characters outside ASCII (as
// Notepad saves a new file).
// Section and key names match without regard to case, the first matching section and key win,
// a value loses its surrounding blanks and one pair of enclosing quotes, and reads are cut to 254
// characters, as the platform's profile functions do. Writes change only the line concerned and
// keep every other byte of the file.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/numbered_list.h"

namespace orvex {

class FormWindow;

enum class IniEncoding { kWindows1255, kUtf8WithMark, kUtf8WithoutMark };
// How the bytes of an INI file are read.
IniEncoding IniEncodingOf(std::string_view bytes);

class cInifile {
 public:
  // Reads longer than this many characters are cut.
  static constexpr size_t kMaxValueLength = 254;
  // Size of the buffer of the name lists, NUL characters included.
  static constexpr size_t kNameListBufferLength = 8192;

  int32_t LastReturnCode() const { return lastReturnCode_; }
  bool Success() const { return lastReturnCode_ != 0; }

  const std::string& Default() const { return default_; }
  void SetDefault(std::string_view sDefault) { default_ = sDefault; }
  const std::string& Path() const { return path_; }
  void SetPath(std::string_view sPath) { path_ = sPath; }
  const std::string& Key() const { return key_; }
  void SetKey(std::string_view sKey) { key_ = sKey; }
  const std::string& Section() const { return section_; }
  void SetSection(std::string_view sSection) { section_ = sSection; }

  // The current key's value; the default when the file, the section or the key is missing.
  std::string Value() const;
  // Writes the current key; NUL characters are removed from sValue first (the caller's text too).
  void SetValue(std::string& sValue);
  void SetValue(std::string_view sValue);

  void DeleteKey();
  void DeleteSection();

  // The key names of the current section, each followed by a NUL.
  std::string INISection() const;
  // The section names of the file, each followed by a NUL.
  std::string Sections() const;

  // The key names of the current section, numbered from 1.
  NumberedList EnumerateCurrentSection() const;
  // The section names of the file in file order, as written there, numbered from 1.
  NumberedList EnumerateAllSections() const;

  // Window placement in the current section: the keys Maximised, Left, Top, Width and Height, in
  // twips. Saving writes nothing for a minimised window and no bounds for a maximised one; on any
  // error the last return code becomes 0. Loading keeps the current value for a missing or damaged
  // key, raises the size to the minimum, keeps the window on the screen and maximises it when
  // Maximised is not 0. Both leave the current key and default as they found them.
  void SaveFormPosition(const FormWindow& frmThis);
  void LoadFormPosition(FormWindow& frmThis, int32_t lMinWidth, int32_t lMinHeight);

  // sString as a 32-bit integer by the configuration's conversion rule, or lDefault when it fails.
  static int32_t CLngDefault(std::string_view sString, int32_t lDefault);

 private:
  std::string path_;
  std::string key_;
  std::string section_;
  std::string default_;
  int32_t lastReturnCode_ = 0;
};

}  // namespace orvex
