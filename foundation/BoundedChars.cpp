#include "foundation/FormatDouble.h"

namespace Zarnel {

int32_t CountChars(const char* text, bool nonBlankOnly) {
    if (text == nullptr) {
        return 0;
    }
    int32_t count = 0;
    for (; *text != '\0'; ++text) {
        if (!nonBlankOnly || (*text != ' ' && *text != '\t')) {
            ++count;
        }
    }
    return count;
}

int32_t CopyChars(char* dst, const char* src, int32_t size) {
    if (dst == nullptr || src == nullptr || size < 1) {
        return 0;
    }
    int32_t copied = 0;
    while (copied < size - 1 && src[copied] != '\0') {
        dst[copied] = src[copied];
        ++copied;
    }
    dst[copied] = '\0';
    return copied;
}

}  // namespace Zarnel
