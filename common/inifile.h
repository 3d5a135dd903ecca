#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// An INI settings file read and written entry by entry, like the Windows
// private-profile functions: every call reads the file, every write rewrites
// it at once, so several IniFile objects on one file never undo each other.
//
// Section and key names match without regard to case. A missing file or entry
// gives the default. A write keeps everything else in the file as it was.
//
// The file is Windows-1250 with CR LF, unless it holds a character that
// Windows-1250 cannot: then it is written as UTF-8 with a byte-order mark, and
// such a file is read back as UTF-8.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    QString path() const { return m_path; }

    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal text with an optional sign; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Any integer other than 0 is true; anything that is not an integer gives the default.
    bool readBool(const QString& section, const QString& key, bool def) const;

    // These throw ZelmoError naming the file when it cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

private:
    QStringList readLines() const;
    std::optional<QString> find(const QString& section, const QString& key) const;

    QString m_path;
};
