#pragma once

#include <QChar>
#include <QString>

// The part of text in the given 1-based field when it is cut at every
// separator; empty text for field 0 or a field beyond the last.
QString NthField(QChar separator, const QString& text, int field);
// Every line of text (cut at CR LF, CR or LF) followed by the separator.
QString JoinLines(const QString& text, const QString& separator);
// text without any occurrence of ch.
QString RemoveChar(const QString& ch, const QString& text);
int CountChar(QChar ch, const QString& text);
// A lower-case word for a file name: marks that file systems or URLs take
// amiss become "-", accented and other non-ASCII characters "_".
QString SafeFileName(const QString& text);
