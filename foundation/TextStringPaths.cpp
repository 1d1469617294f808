// The path operations of CTextString: joining a folder and a name, selecting the parts of
// a path, and moving a file name under another folder.
#include <cstring>
#include <string>

#include "foundation/PathParts.h"
#include "foundation/PathRules.h"
#include "foundation/TextString.h"

namespace Zarnel {

int32_t CTextString::JoinPath(const char* folder, const char* name) {
    // The name may lie in this string's own buffer, which the folder is about to replace.
    const std::string nameCopy = name != nullptr ? name : "";
    const char* safeName = name != nullptr ? nameCopy.c_str() : nullptr;

    if (folder != nullptr && folder[0] != '\0') {
        Assign(folder);
        Trim(m_pszText);
        const size_t length = std::strlen(m_pszText);
        if (length > 0) {
            if (m_pszText[length - 1] != kPathSeparator) {
                const char separator[2] = {kPathSeparator, '\0'};
                Append(separator);
            }
            Append(safeName);
            return 1;
        }
    }
    if (safeName == nullptr) {
        m_pszText[0] = '\0';
    } else {
        Assign(safeName);
    }
    return 1;
}

int32_t CTextString::GetPathPart(const char* path, int32_t wantDir, int32_t wantName,
                                 int32_t wantExt) {
    const auto isFlag = [](int32_t flag) { return flag == 0 || flag == 1; };
    if (!isFlag(wantDir) || !isFlag(wantName) || !isFlag(wantExt)) {
        return 0;
    }
    PathParts parts;
    if (!ParsePath(path, parts)) {
        return 0;
    }
    // Without a folder the leading blanks belong to the selection.
    const size_t folderStart = parts.hasFolder ? parts.start : 0;
    const size_t nameOnlyEnd = parts.hasExtension ? parts.extensionStart : parts.nameEnd;

    size_t from = 0;
    size_t to = 0;
    switch (wantDir * 4 + wantName * 2 + wantExt) {
        case 4:
            if (!parts.hasFolder) {
                m_pszText[0] = '\0';
                return 1;
            }
            from = parts.start;
            to = parts.nameStart;
            break;
        case 6:
            from = folderStart;
            to = nameOnlyEnd;
            break;
        case 7:
            from = folderStart;
            to = parts.tokenEnd;
            break;
        case 2:
            from = parts.nameStart;
            to = nameOnlyEnd;
            break;
        case 3:
            from = parts.nameStart;
            to = parts.tokenEnd;
            break;
        case 1:
            if (!parts.hasExtension) {
                return 0;
            }
            from = parts.extensionStart;
            to = parts.tokenEnd;
            break;
        default:
            return 0;
    }
    if (to <= from) {
        return 0;
    }
    AssignBytes(path + from, to - from);
    return 1;
}

int32_t CTextString::ChangeFolder(const char* folder) {
    PathParts parts;
    if (!ParsePath(m_pszText, parts)) {
        return 0;
    }
    if (parts.tokenEnd <= parts.nameStart) {
        return 0;
    }
    CTextString fileName;
    fileName.AssignBytes(m_pszText + parts.nameStart, parts.tokenEnd - parts.nameStart);
    CTextString joined;
    joined.JoinPath(folder, fileName.m_pszText);
    Assign(joined.m_pszText);
    return 1;
}

}  // namespace Zarnel
