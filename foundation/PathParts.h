#pragma once
// Where the folder, name and extension of a path lie, as character positions in it.
#include <cstddef>

namespace Zarnel {

struct PathParts {
    size_t start = 0;      // first character that is not a blank or a tab
    bool hasFolder = false;
    size_t nameStart = 0;
    bool hasExtension = false;
    size_t extensionStart = 0;  // the extension's dot
    size_t nameEnd = 0;
    size_t tokenEnd = 0;   // the path ends at the first blank or tab after nameEnd
};

// False for a null path or one made only of blanks and tabs.
bool ParsePath(const char* path, PathParts& parts);

}  // namespace Zarnel
