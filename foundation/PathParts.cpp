#include "foundation/PathParts.h"

#include <cstdint>
#include <cstring>

#include "foundation/PathRules.h"

namespace Zarnel {

namespace {

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool ParsePath(const char* path, PathParts& parts) {
    if (path == nullptr) {
        return false;
    }
    size_t start = 0;
    while (IsBlankOrTab(path[start])) {
        ++start;
    }
    if (path[start] == '\0') {
        return false;
    }
    const char* lastDotAt = std::strrchr(path, kExtensionDot);
    const char* lastSeparatorAt = std::strrchr(path, kPathSeparator);
    const size_t lastDot = lastDotAt != nullptr ? static_cast<size_t>(lastDotAt - path) : SIZE_MAX;

    // The scan ends early at the last dot, so a dot inside a folder name hides the
    // separators after it: such a path counts as having no folder of its own.
    size_t stop = start;
    bool passedSeparator = false;
    size_t separatorPassed = 0;
    while (path[stop] != '\0' && stop != lastDot) {
        if (path[stop] == kPathSeparator) {
            passedSeparator = true;
            separatorPassed = stop;
        }
        ++stop;
    }

    size_t nameStart = passedSeparator ? separatorPassed + 1 : start;
    if (lastSeparatorAt != nullptr) {
        const size_t afterLastSeparator = static_cast<size_t>(lastSeparatorAt - path) + 1;
        if (nameStart < afterLastSeparator) {
            nameStart = afterLastSeparator;
        }
        if (stop < nameStart) {
            stop = nameStart;
        }
    }

    size_t tokenEnd = stop;
    while (path[tokenEnd] != '\0' && !IsBlankOrTab(path[tokenEnd])) {
        ++tokenEnd;
    }

    parts.start = start;
    parts.hasFolder = passedSeparator;
    parts.nameStart = nameStart;
    parts.hasExtension = lastDotAt != nullptr && lastDot > nameStart;
    parts.extensionStart = parts.hasExtension ? lastDot : stop;
    parts.nameEnd = stop;
    parts.tokenEnd = tokenEnd;
    return true;
}

}  // namespace Zarnel
