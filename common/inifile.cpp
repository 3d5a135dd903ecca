#include "common/inifile.h"

#include "common/codepage.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

bool isComment(const QString& trimmed)
{
    return trimmed.startsWith(QLatin1Char(';'));
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<QString> sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    const qsizetype end = close < 0 ? trimmed.size() : close;
    return trimmed.mid(1, end - 1).trimmed();
}

struct KeyLine
{
    QString key;
    QString value;
};

// The key and raw value of a "key=value" line, or nothing for any other line.
std::optional<KeyLine> keyLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || isComment(trimmed) || trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    return KeyLine{trimmed.left(eq).trimmed(), trimmed.mid(eq + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return value.mid(1, value.size() - 2);
    return value;
}

// Reading trims values and strips one pair of quotes, so a value that would
// lose something that way is written inside quotes and comes back unchanged.
QString quotedForWriting(const QString& value)
{
    const bool looksQuoted =
        value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'));
    if (value != value.trimmed() || looksQuoted)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

std::optional<int> parseInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path) {}

QStringList IniFile::readLines() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QString text = bytes.startsWith(Utf8Bom) ? QString::fromUtf8(bytes.mid(Utf8Bom.size()))
                                                   : FromCp1250(bytes);
    if (text.isEmpty())
        return {};

    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast(); // the break after the last line does not start another one
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

std::optional<QString> IniFile::find(const QString& section, const QString& key) const
{
    bool inSection = false;
    for (const QString& line : readLines()) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
        } else if (inSection) {
            const auto entry = keyLine(line);
            if (entry && sameName(entry->key, key))
                return unquoted(entry->value);
        }
    }
    return std::nullopt;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    return find(section, key).value_or(def);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    const auto text = find(section, key);
    if (!text)
        return def;
    return parseInteger(*text).value_or(def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    const auto text = find(section, key);
    if (!text)
        return def;
    const auto value = parseInteger(*text);
    return value ? *value != 0 : def;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    QStringList lines = readLines();
    const QString newLine = key + QLatin1Char('=') + quotedForWriting(value);

    // Where the entry goes: over the existing key, else after the last key of
    // the section (or its header when it has none), else into a new section.
    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool replaced = false;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (sectionStart >= 0)
                break; // only the first section of that name counts
            inSection = sameName(*name, section);
            if (inSection) {
                sectionStart = i;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (const auto entry = keyLine(lines[i])) {
                if (sameName(entry->key, key)) {
                    lines[i] = entry->key + QLatin1Char('=') + quotedForWriting(value);
                    replaced = true;
                } else {
                    insertAt = i + 1;
                }
            }
        }
    }
    if (!replaced) {
        if (sectionStart >= 0) {
            lines.insert(insertAt, newLine);
        } else {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(newLine);
        }
    }

    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    const QByteArray bytes = FitsCp1250(text) ? ToCp1250(text) : Utf8Bom + text.toUtf8();

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    file.close(); // a full disk may only show when the buffer is flushed
    if (!written || file.error() != QFileDevice::NoError)
        throw ZelmoError(QStringLiteral("A beállítások nem írhatók: %1").arg(m_path));
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
