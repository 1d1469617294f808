// The class library's open-file dialog: filter list, dialog set-up and the chosen path.
#include "foundation/window/FileSelectionDialog.h"

#include <cstring>
#include <string>
#include <string_view>

#include "foundation/PathRules.h"
#include "foundation/TextString.h"

namespace Zarnel {

namespace {

constexpr size_t kMaxFilterText = 511;
// The pair, its two NULs and the closing empty text end at or before this position.
constexpr int32_t kFilterListEnd = 511;
constexpr uint32_t kPathChosen = 1;

// True when JoinPath's tidying (cut at a line break, blanks and tabs stripped) keeps the
// folder as it is; a folder chosen in the dialog may well end in a blank.
bool JoinPathKeeps(std::string_view folder) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    return folder.find_first_of("\r\n") == std::string_view::npos &&
           (folder.empty() || (!isBlank(folder.front()) && !isBlank(folder.back())));
}

}  // namespace

CFileSpecSelection::CFileSpecSelection()
    : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
                  nullptr, 0, TRUE),
      m_szFilter{},
      m_nFilterPos(0),
      m_szFile{},
      m_szFileTitle{},
      m_szInitialDir{},
      m_szCustomFilter{},
      m_dwFlags(OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT | OFN_EXPLORER |
                OFN_LONGNAMES),
      m_bPathSplit(kPathChosen),
      m_nFilterIndex(0),
      m_nFileOffset(0) {}

CFileSpecSelection::~CFileSpecSelection() = default;

int32_t CFileSpecSelection::AddFilter(const char* description, const char* pattern) {
    if (description == nullptr || pattern == nullptr) {
        return 0;
    }
    const size_t descriptionLength = strnlen(description, kMaxFilterText);
    const size_t patternLength = strnlen(pattern, kMaxFilterText);
    // A position in front of the list is refused: it would write outside it.
    const int32_t position = m_nFilterPos;
    if (position < 0 ||
        position + static_cast<int32_t>(descriptionLength + patternLength) + 3 > kFilterListEnd) {
        return 0;
    }
    char* text = m_szFilter + position;
    std::memcpy(text, description, descriptionLength);
    text[descriptionLength] = '\0';
    text += descriptionLength + 1;
    std::memcpy(text, pattern, patternLength);
    text[patternLength] = '\0';
    m_nFilterPos = static_cast<int16_t>(position + descriptionLength + patternLength + 2);
    return 1;
}

INT_PTR CFileSpecSelection::DoModal() {
    // A position set from outside the list hands over no filters instead of writing there.
    const bool filterListSound = m_nFilterPos >= 0 && m_nFilterPos < int16_t{sizeof(m_szFilter)};
    if (filterListSound) {
        m_szFilter[m_nFilterPos] = '\0';
    }
    std::memset(m_szCustomFilter, 0, sizeof(m_szCustomFilter));
    m_szInitialDir[sizeof(m_szInitialDir) - 1] = '\0';

    OPENFILENAME& ofn = GetOFN();
    ofn.lStructSize = 152;
    ofn.hwndOwner = nullptr;
    ofn.hInstance = nullptr;
    ofn.lpstrFilter = filterListSound ? m_szFilter : nullptr;
    ofn.lpstrCustomFilter = m_szCustomFilter;
    ofn.nMaxCustFilter = sizeof(m_szCustomFilter);
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = m_szFile;
    ofn.nMaxFile = sizeof(m_szFile);
    ofn.lpstrFileTitle = m_szFileTitle;
    ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    ofn.lpstrInitialDir = m_szInitialDir;
    ofn.lpstrTitle = m_strTitle.c_str();
    ofn.Flags = m_dwFlags;
    ofn.lpstrDefExt = m_strDefExt.c_str();

    if (CFileDialog::DoModal() != IDOK) {
        return 0;
    }
    m_bPathSplit |= kPathChosen;
    m_nFileOffset = ofn.nFileOffset;
    m_nFilterIndex = ofn.nFilterIndex;

    // Several names after the folder are left as the dialog wrote them.
    if (m_nFileOffset > 0 && m_nFileOffset < sizeof(m_szFile) &&
        m_szFile[m_nFileOffset - 1] == '\0') {
        return 1;
    }
    // One full path: the folder stays in front, the name follows its own NUL.
    const size_t length = strnlen(m_szFile, sizeof(m_szFile));
    for (size_t i = length; i-- > 1;) {
        if (m_szFile[i] == kPathSeparator) {
            m_szFile[i] = '\0';
            m_nFileOffset = static_cast<uint32_t>(i + 1);
            break;
        }
    }
    return 1;
}

int32_t CFileSpecSelection::GetPathName(CTextString& path) {
    const size_t nameOffset = std::min<size_t>(m_nFileOffset, sizeof(m_szFile));
    const std::string name(m_szFile + nameOffset, strnlen(m_szFile + nameOffset,
                                                          sizeof(m_szFile) - nameOffset));
    std::string folder;
    if ((m_bPathSplit & kPathChosen) != 0) {
        folder.assign(m_szFile, strnlen(m_szFile, sizeof(m_szFile)));
        // A path that was not split (a file in "/", or a bare name) has its folder in front
        // of the name, without a NUL between them.
        if (folder.size() >= nameOffset) {
            folder.resize(nameOffset);
        }
    }
    if (JoinPathKeeps(folder)) {
        path.JoinPath(folder.c_str(), name.c_str());
    } else {
        path.Assign(folder.c_str());
        if (folder.back() != kPathSeparator) {
            const char separator[2] = {kPathSeparator, '\0'};
            path.Append(separator);
        }
        path.Append(name.c_str());
    }
    return 1;
}

}  // namespace Zarnel
