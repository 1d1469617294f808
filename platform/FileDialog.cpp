// CFileDialog over QFileDialog in Qt's own widget form.
#include "platform/FileDialog.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "foundation/DiskNames.h"
#include "platform/FileDialogColumns.h"
#include "platform/FileDialogFilters.h"
#include "platform/MessageBox.h"
#include "platform/Text1252.h"

namespace {

// The program's Windows-1252 path for a path that the dialog shows, through the bytes that the
// disk holds; false when Windows-1252 cannot hold it.
bool ProgramPath(const QString& shown, std::string& path) {
    return disk_names::FromDisk(QFile::encodeName(shown).toStdString(), path);
}

QString ShownPath(std::string_view path) {
    return QFile::decodeName(QByteArray::fromStdString(disk_names::ToDisk(path)));
}

// Qt's dialog accepts a new name in a missing folder; with OFN_PATHMUSTEXIST it may not.
class OpenFileDialog : public QFileDialog {
public:
    OpenFileDialog(QWidget* parent, bool pathMustExist)
        : QFileDialog(parent), m_pathMustExist(pathMustExist) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (m_pathMustExist && !files.isEmpty()) {
            const QFileInfo chosen(files.first());
            if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
                QMessageBox::warning(this, windowTitle(),
                                     tr("%1\nFolder not found.\nPlease verify the correct "
                                        "folder name was given.")
                                         .arg(QDir::toNativeSeparators(chosen.absolutePath())));
                return;
            }
        }
        // A name that the program cannot hold would name another file, or none: the user is
        // told why, and may choose another.
        std::string path;
        if (!files.isEmpty() && !QFileInfo(files.first()).isDir() && !ProgramPath(files.first(), path)) {
            ShowMessageBox(tr("The name of this file cannot be used:\n%1\n\nTarnvault keeps the names of "
                              "files and folders in the Windows-1252 (Western European) character "
                              "set, and this name has characters outside it. Rename the file or its "
                              "folder, or choose a file whose path uses only those characters.")
                               .arg(QDir::toNativeSeparators(files.first())),
                           MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        QFileDialog::accept();
    }

private:
    bool m_pathMustExist;
};

// The start folder, and the name to preselect or the wildcard to list by, from the caller's
// initial folder and file name.
struct StartPlace {
    QString folder;
    QString name;
    QString wildcard;
};

StartPlace StartPlaceOf(const OPENFILENAME& ofn) {
    StartPlace place;
    place.folder = QDir::currentPath();
    if (ofn.lpstrInitialDir != nullptr && ofn.lpstrInitialDir[0] != '\0') {
        const QString folder = ShownPath(ofn.lpstrInitialDir);
        if (QFileInfo(folder).isDir()) {
            place.folder = QFileInfo(folder).absoluteFilePath();
        }
    }
    const std::string_view initial(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
    if (initial.empty()) {
        return place;
    }
    QString name = ShownPath(initial);
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) {
        // A folder in the initial name is taken from the start folder, as the name box does.
        const QString folder = QDir(place.folder).absoluteFilePath(name.left(slash + 1));
        if (QFileInfo(folder).isDir()) {
            place.folder = QDir::cleanPath(folder);
        }
        name = name.mid(slash + 1);
    }
    if (HasWildcard(name)) {
        place.wildcard = PatternsOf(name);
    } else {
        place.name = name;
    }
    return place;
}

// Copies text into a buffer of room bytes, cut to room - 1 characters and NUL-ended.
void CopyCut(char* buffer, DWORD room, std::string_view text) {
    if (buffer == nullptr || room == 0) {
        return;
    }
    const size_t length = std::min<size_t>(text.size(), room - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

CFileDialog::CFileDialog(BOOL, const char* defExt, const char*, DWORD flags, const char* filter,
                         CWnd*, DWORD, BOOL) {
    m_ofn.lStructSize = sizeof(OPENFILENAME);
    m_ofn.Flags = flags;
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrDefExt = defExt;
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    OPENFILENAME& ofn = m_ofn;
    if (ofn.lpstrFile == nullptr || ofn.nMaxFile == 0) {
        return IDCANCEL;
    }
    OpenFileDialog dialog(QApplication::activeWindow(), (ofn.Flags & OFN_PATHMUSTEXIST) != 0);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode((ofn.Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    const bool hasTitle = ofn.lpstrTitle != nullptr && ofn.lpstrTitle[0] != '\0';
    dialog.setWindowTitle(hasTitle ? FromWindows1252(ofn.lpstrTitle) : QFileDialog::tr("Open"));
    if (ofn.lpstrDefExt != nullptr && ofn.lpstrDefExt[0] != '\0') {
        dialog.setDefaultSuffix(FromWindows1252(ofn.lpstrDefExt));
    }

    const StartPlace place = StartPlaceOf(ofn);
    dialog.setDirectory(place.folder);

    // The pairs' filters, behind the initial wildcard when it lists by a pattern of its own.
    const QStringList pairFilters = NameFiltersOf(ofn.lpstrFilter);
    QStringList shownFilters = pairFilters;
    QString initialFilter;
    if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= static_cast<DWORD>(pairFilters.size())) {
        initialFilter = pairFilters[ofn.nFilterIndex - 1];
    } else if (!pairFilters.isEmpty()) {
        initialFilter = pairFilters.first();
    }
    if (!place.wildcard.isEmpty()) {
        const QString wildcardSuffix = QStringLiteral("(") + place.wildcard + QStringLiteral(")");
        const auto same = std::find_if(
            pairFilters.begin(), pairFilters.end(),
            [&](const QString& filter) { return filter.endsWith(wildcardSuffix); });
        if (same != pairFilters.end()) {
            initialFilter = *same;
        } else {
            shownFilters.prepend(place.wildcard);
            initialFilter = place.wildcard;
        }
    }
    if (!shownFilters.isEmpty()) {
        dialog.setNameFilters(shownFilters);
        dialog.selectNameFilter(initialFilter);
    }
    if (!place.name.isEmpty()) {
        dialog.selectFile(place.name);
    }

    OpenWideEnoughForColumns(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return IDCANCEL;
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return IDCANCEL;
    }
    std::string path;
    // A cut path would name another file, or none.
    if (!ProgramPath(files.first(), path) || path.size() >= ofn.nMaxFile || path.size() > UINT16_MAX) {
        return IDCANCEL;
    }
    const size_t nameOffset = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    const size_t dot = path.rfind('.');
    const size_t extensionOffset =
        dot != std::string::npos && dot >= nameOffset ? dot + 1 : path.size();

    CopyCut(ofn.lpstrFile, ofn.nMaxFile, path);
    CopyCut(ofn.lpstrFileTitle, ofn.nMaxFileTitle, std::string_view(path).substr(nameOffset));
    ofn.nFileOffset = static_cast<WORD>(nameOffset);
    ofn.nFileExtension = static_cast<WORD>(extensionOffset);
    const qsizetype filterIndex = pairFilters.indexOf(dialog.selectedNameFilter());
    ofn.nFilterIndex = filterIndex >= 0 ? static_cast<DWORD>(filterIndex + 1) : 0;
    return IDOK;
}
