#include "common/text.h"

#include "common/codepage.h"

#include <QRegularExpression>

QString NthField(QChar separator, const QString& text, int field)
{
    QString result;
    int current = 1;
    for (const QChar c : text) {
        if (c == separator)
            ++current;
        else if (current == field)
            result += c;
    }
    return result;
}

QString JoinLines(const QString& text, const QString& separator)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast(); // a final break does not start another line
    QString result;
    for (const QString& line : lines)
        result += line + separator;
    return result;
}

QString RemoveChar(const QString& ch, const QString& text)
{
    if (ch.isEmpty())
        return text;
    return QString(text).remove(ch);
}

int CountChar(QChar ch, const QString& text)
{
    return static_cast<int>(text.count(ch));
}

QString SafeFileName(const QString& text)
{
    // The rules are stated on Windows-1250 codes: the ASCII marks listed become
    // "-", codes 0x81..0xFF "_"; 0x80 (the euro sign) stays. A character with
    // no Windows-1250 code at all is treated like the accented ones.
    static const QString dashed = QStringLiteral(" !\"#%&'*+/:?@\\");
    QString result;
    for (const char32_t code : text.toUcs4()) {
        const QString c = QString::fromUcs4(&code, 1);
        if (code < 0x80) {
            result += dashed.contains(c) ? QStringLiteral("-") : c;
        } else if (!FitsCp1250(c)) {
            result += QLatin1Char('_');
        } else {
            const auto byte = static_cast<unsigned char>(ToCp1250(c).at(0));
            result += byte >= 0x81 ? QStringLiteral("_") : c;
        }
    }
    return result.toLower();
}
