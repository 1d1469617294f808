#pragma once
// The class library's own string: one heap buffer with a NUL-terminated single-byte text,
// never null while the object lives, plus a flag that stops appends. It also carries the
// path operations used for file names.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace Zarnel {

class CTextString {
public:
    CTextString();
    ~CTextString();
    CTextString(const CTextString&) = delete;
    CTextString& operator=(const CTextString&) = delete;

    // The int32_t results are 1 when done and 0 when refused; a refused operation changes
    // nothing. A null text is refused. A source text may lie inside this string's own buffer.
    CTextString& Assign(const char* text);
    int32_t AssignLeft(const char* text, int32_t n);
    int32_t Append(const char* text);
    int32_t Prepend(const char* text);

    static int32_t CopyBytes(char* dst, const void* src, int32_t n);
    // Cuts at the first line break, then strips blanks and tabs from both ends, in place.
    static int32_t Trim(char* text);

    int32_t JoinPath(const char* folder, const char* name);
    int32_t GetPathPart(const char* path, int32_t wantDir, int32_t wantName, int32_t wantExt);
    int32_t ChangeFolder(const char* folder);

    char* m_pszText;
    uint8_t m_bLocked;

private:
    // Copies length bytes of text, which hold no NUL, into a new buffer.
    void AssignBytes(const char* text, size_t length);
    void TakeBuffer(std::unique_ptr<char[]> buffer);
};

}  // namespace Zarnel

// Built with the other process-wide objects and kept until the process ends.
extern Zarnel::CTextString g_emptyText;
