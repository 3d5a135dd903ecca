#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

class QIODevice;

// What the exports share: writing Windows-1250 text with CR LF line ends, and
// putting a file in place only when it has been written whole.

// Writes text into a device as Windows-1250 bytes, a buffer at a time. The
// exports write hundreds of thousands of values, so every character goes
// through a table instead of a converter call.
class Cp1250Writer
{
public:
    enum class Unmappable
    {
        QuestionMark,       // as every other text file of the program
        CharacterReference, // "&#337;": an HTML page keeps the character
    };

    Cp1250Writer(QIODevice& device, Unmappable unmappable);
    ~Cp1250Writer();
    Cp1250Writer(const Cp1250Writer&) = delete;
    Cp1250Writer& operator=(const Cp1250Writer&) = delete;

    void write(QStringView text);
    void write(QChar c) { write(QStringView(&c, 1)); }
    // A whole number in decimal.
    void writeNumber(qlonglong value);
    // The text followed by CR LF.
    void writeLine(QStringView text);
    // Hands the buffer to the device. Throws ZelmoError when the device refuses it.
    void flush();

private:
    QIODevice& device_;
    Unmappable unmappable_;
    QByteArray buffer_;
};

// Writes a file through `write` into a temporary file beside `path` and puts it
// in place of `path` once `write` has returned; when `write` throws or the file
// cannot be written, the temporary file is dropped, an existing file of that
// name stays as it was, and ZelmoError (or the exception of `write`) leaves.
// A relative path is taken from the working folder.
void SaveExportFile(const QString& path, const std::function<void(QIODevice&)>& write);
