#pragma once

#include "maintenance/paradoxtable.h"

#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QVariantList>

#include <vector>

struct px_doc;

namespace paradox {

struct NewField
{
    QString name;
    int type = Alpha;
    int length = 0; // Alpha: characters; Memo and Blob: bytes in the record, 10 of them the pointer
};

// The tables as the old version kept them (remarks as memos, no lending
// fields), for writing old data folders. `memoLength` is the memo's share of
// the record; the rest of a longer remark goes to the .MB file.
QList<NewField> OldCassetteFields(int memoLength);
QList<NewField> OldRecordingFields(int memoLength);
QList<NewField> OldMasterFields();

// Writes a new table file, and its .MB file when it has memo or blob fields.
// The program only reads old tables; this serves the tests and benchmarks,
// which need old data folders to read.
class TableWriter
{
public:
    // Throws ZelmoError when the file cannot be made.
    TableWriter(const QString& path, const QList<NewField>& fields, int primaryKeyFields,
                int codePage = 1250);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // One value per field; a null QVariant leaves the field empty. Integers,
    // doubles, QString, QDate, QTime, QDateTime and QByteArray as the field's type wants.
    void append(const QVariantList& values);
    // The last number the table's auto-increment field handed out, as the
    // header keeps it; written when the table is closed.
    void setAutoIncrement(int last) { autoIncrement_ = last; }
    // Finishes the files; the destructor does it too.
    void close();

private:
    QString path_;
    QString blobPath_;
    px_doc* doc_ = nullptr;
    QList<NewField> fields_;
    std::vector<int> offsets_;
    QByteArray record_;
    QStringEncoder encoder_;
    int autoIncrement_ = -1;
};

} // namespace paradox
