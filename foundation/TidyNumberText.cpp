#include <cstring>

#include "foundation/FormatDouble.h"

namespace Zarnel {

namespace {

bool IsExponentLetter(char c) {
    return c == 'e' || c == 'E';
}

void EraseChars(char* from, char* to) {
    std::memmove(from, to, std::strlen(to) + 1);
}

}  // namespace

void TidyNumberText(char* text) {
    if (text == nullptr || text[0] == '\0') {
        return;
    }
    char* letter = text + 1;
    while (*letter != '\0' && !IsExponentLetter(*letter)) {
        ++letter;
    }
    const bool hasExponent = *letter != '\0';
    if (hasExponent) {
        char* digits = letter + 1;
        if (*digits == '+' || *digits == '-') {
            ++digits;
        }
        char* firstKept = digits;
        while (*firstKept == '0') {
            ++firstKept;
        }
        EraseChars(digits, firstKept);
    }

    for (char* p = text + 1; *p != '\0'; ++p) {
        if (IsExponentLetter(*p) && p[-1] == '.') {
            EraseChars(p - 1, p);
            break;
        }
    }

    // The zero right after the point stays (2.0), and so does a point at the very end (20.).
    if (!hasExponent && std::strchr(text, '.') != nullptr) {
        size_t length = std::strlen(text);
        while (length >= 2 && text[length - 1] == '0' && text[length - 2] != '.') {
            text[--length] = '\0';
        }
    }
}

}  // namespace Zarnel
