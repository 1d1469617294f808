// The open-file dialog's filter pairs and typed wildcards in the form of Qt's name filters.
#include "platform/FileDialogFilters.h"

#include <cstring>

#include "platform/Text1252.h"

QStringList NameFiltersOf(const char* filterList) {
    QStringList filters;
    if (filterList == nullptr) {
        return filters;
    }
    const char* text = filterList;
    while (*text != '\0') {
        const char* description = text;
        text += std::strlen(text) + 1;
        if (*text == '\0') {
            break;
        }
        const std::string_view pattern = text;
        text += pattern.size() + 1;
        filters << FromWindows1252(description) + QStringLiteral(" (") + PatternsOf(pattern) +
                       QStringLiteral(")");
    }
    return filters;
}

QString PatternsOf(std::string_view patterns) {
    QStringList result;
    const QStringList parts =
        FromWindows1252(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString pattern = part.trimmed();
        if (pattern.isEmpty()) {
            continue;
        }
        if (!HasWildcard(pattern.toStdString()) && pattern.startsWith(QLatin1Char('.'))) {
            pattern.prepend(QLatin1Char('*'));
        }
        result << pattern;
    }
    return result.join(QLatin1Char(' '));
}

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}
