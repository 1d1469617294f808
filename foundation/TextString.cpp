#include "foundation/TextString.h"

#include <cstring>
#include <utility>

namespace Zarnel {

namespace {

constexpr char kBlank = ' ';

std::unique_ptr<char[]> NewText(size_t length) {
    std::unique_ptr<char[]> buffer(new char[length + 1]);
    buffer[length] = '\0';
    return buffer;
}

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

CTextString::CTextString() : m_pszText(new char[1]{'\0'}), m_bLocked(0) {}

CTextString::~CTextString() {
    delete[] m_pszText;
    m_pszText = nullptr;
}

// The new buffer is complete before the old one goes, so a source inside it stays readable.
void CTextString::TakeBuffer(std::unique_ptr<char[]> buffer) {
    delete[] m_pszText;
    m_pszText = buffer.release();
}

CTextString& CTextString::Assign(const char* text) {
    if (text == nullptr || std::strcmp(text, m_pszText) == 0) {
        return *this;
    }
    if (text[0] == '\0') {
        m_pszText[0] = '\0';
        return *this;
    }
    AssignBytes(text, std::strlen(text));
    return *this;
}

int32_t CTextString::AssignLeft(const char* text, int32_t n) {
    if (text == nullptr || n < 1) {
        return 0;
    }
    AssignBytes(text, strnlen(text, static_cast<size_t>(n)));
    return 1;
}

void CTextString::AssignBytes(const char* text, size_t length) {
    std::unique_ptr<char[]> buffer = NewText(length);
    std::memcpy(buffer.get(), text, length);
    TakeBuffer(std::move(buffer));
}

int32_t CTextString::Append(const char* text) {
    if (text == nullptr || m_bLocked != 0) {
        return 0;
    }
    const size_t oldLength = std::strlen(m_pszText);
    const size_t addLength = std::strlen(text);
    std::unique_ptr<char[]> buffer = NewText(oldLength + addLength);
    std::memcpy(buffer.get(), m_pszText, oldLength);
    std::memcpy(buffer.get() + oldLength, text, addLength);
    TakeBuffer(std::move(buffer));
    return 1;
}

int32_t CTextString::Prepend(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    if (text[0] == '\0') {
        return 1;
    }
    size_t addLength = std::strlen(text);
    const size_t oldLength = std::strlen(m_pszText);
    if (oldLength == 0) {
        // Only blanks are dropped here; a trailing tab is part of the text.
        while (addLength > 0 && text[addLength - 1] == kBlank) {
            --addLength;
        }
        if (addLength == 0) {
            return 1;
        }
    }
    std::unique_ptr<char[]> buffer = NewText(addLength + oldLength);
    std::memcpy(buffer.get(), text, addLength);
    std::memcpy(buffer.get() + addLength, m_pszText, oldLength);
    TakeBuffer(std::move(buffer));
    return 1;
}

int32_t CTextString::CopyBytes(char* dst, const void* src, int32_t n) {
    if (dst == nullptr || src == nullptr || n < 1) {
        return 0;
    }
    std::memcpy(dst, src, static_cast<size_t>(n));
    return 1;
}

int32_t CTextString::Trim(char* text) {
    if (text == nullptr) {
        return 0;
    }
    size_t length = std::strcspn(text, "\r\n");
    text[length] = '\0';
    size_t start = 0;
    while (start < length && IsBlankOrTab(text[start])) {
        ++start;
    }
    while (length > start && IsBlankOrTab(text[length - 1])) {
        --length;
    }
    std::memmove(text, text + start, length - start);
    text[length - start] = '\0';
    return 1;
}

}  // namespace Zarnel

Zarnel::CTextString g_emptyText;
