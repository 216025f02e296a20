#pragma once

// The rules Windows sets for file names: the characters a name cannot hold, the device names it
// reserves, the endings it drops, and the lengths it takes. They hold in every build, so that a
// name is judged under Wine and in the native build as Windows judges it.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orvex {

// The longest name component and the longest whole path, in UTF-16 units, that Windows takes
// from a program that does not declare itself long-path aware. The program declares nothing in a
// manifest, so the system's LongPathsEnabled setting does not lift them.
inline constexpr size_t kMaxNameComponentUnits = 255;
inline constexpr size_t kMaxPathUnits = 259;

// "<", ">", ":", '"', "|", "?", "*" and the control characters (below 0x20): what no name
// component can hold (":" would name an NTFS stream of the file before it).
bool IsForbiddenInFileName(char c);

bool IsFolderSeparator(char c);  // "\" or "/"

// The name with each component (the text between separators, the separators kept) replaced by
// what `mend` makes of it.
std::string WithEachComponent(std::string_view name, const std::function<std::string(std::string_view)>& mend);

// The name with every component that Windows would take for something else made a plain name: a
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case, with any extension)
// gets "_" after its base ("con.jpg" becomes "con_.jpg"), and a component that ends in a dot or a
// blank, which Windows would drop, gets "_" at its end ("a." becomes "a._"). "." and ".." stay.
std::string PlainFileName(std::string_view name);

// True when Windows takes the name's length: every component at most kMaxNameComponentUnits, the
// whole path, as it resolves from the current folder, at most kMaxPathUnits.
bool FitsWindowsNameLimits(std::string_view name);

}  // namespace orvex
