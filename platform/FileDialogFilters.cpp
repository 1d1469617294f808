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
        const char* pattern = text;
        text += std::strlen(text) + 1;
        filters << FromWindows1252(description) + QStringLiteral(" (") +
                       PatternsOf(FromWindows1252(pattern)) + QStringLiteral(")");
    }
    return filters;
}

QString PatternsOf(const QString& patterns) {
    QStringList result;
    const QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString pattern = part.trimmed();
        if (pattern.isEmpty()) {
            continue;
        }
        if (!HasWildcard(pattern) && pattern.startsWith(QLatin1Char('.'))) {
            pattern.prepend(QLatin1Char('*'));
        }
        result << pattern;
    }
    return result.join(QLatin1Char(' '));
}

bool HasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}
