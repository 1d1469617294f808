#pragma once
// How paths are written on this platform. There is no drive letter: ':' is an ordinary
// character in a path, so only the separator and the extension dot are special.

namespace Zarnel {

constexpr char kPathSeparator = '/';
constexpr char kExtensionDot = '.';

}  // namespace Zarnel
