#pragma once
// The open-file dialog's filter pairs and typed wildcards in the form of Qt's name filters.
#include <QString>
#include <QStringList>

// "description (patterns)" for each pair of a list of NUL-ended texts that an empty text
// ends; a description without its pattern is dropped.
QStringList NameFiltersOf(const char* filterList);

// The ';'-separated patterns as a Qt pattern list: ".ini" names a file type and becomes
// "*.ini"; any other pattern is kept as it is.
QString PatternsOf(const QString& patterns);

bool HasWildcard(const QString& name);
