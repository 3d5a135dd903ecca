#include "catalogue/export/delimitedwriter.h"

#include "catalogue/export/exportfile.h"
#include "common/text.h"
#include "common/values.h"

#include <QDate>
#include <QHash>
#include <QIODevice>
#include <QLocale>
#include <QTime>

namespace {

struct SystemFormats
{
    QLocale locale;
    QLocale numbers;
    QString longTime;
};

// The long time format of a locale may end in a time-zone name ("09:05:07
// UTC"), which a time of day read from the catalogue (a tape counter
// position) does not have.
QString withoutZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.simplified();
}

const SystemFormats& systemFormats()
{
    static const SystemFormats formats = [] {
        SystemFormats f;
        f.locale = QLocale::system();
        f.numbers = f.locale;
        // Spreadsheets read "1234,5" as a number, "1 234,5" as text.
        f.numbers.setNumberOptions(QLocale::OmitGroupSeparator);
        f.longTime = withoutZone(f.locale.timeFormat(QLocale::LongFormat));
        return f;
    }();
    return formats;
}

// A quote inside a quoted value is doubled, so the value reads back whole.
QString doubledQuotes(const QString& text, QChar quote)
{
    if (quote.isNull() || !text.contains(quote))
        return text;
    return QString(text).replace(quote, QString(2, quote));
}

QString quoted(const QString& text, QChar quote)
{
    if (quote.isNull())
        return text;
    return quote + doubledQuotes(text, quote) + quote;
}

// Whole numbers straight into the file; text that a loosely typed column
// holds where a number belongs goes as it is rather than as 0.
bool integerOf(const QVariant& value, qlonglong* number)
{
    bool ok = false;
    *number = value.toLongLong(&ok);
    return ok;
}

// Values as the file holds them: the plain value without the field's display
// format. The texts of dates and times are kept: a catalogue repeats the same
// few thousand of them over its rows, and formatting by the locale is the slow
// part of a row.
class ValueTexts
{
public:
    QString text(const Field& field, const QVariant& value, const DelimitedOptions& options)
    {
        switch (field.kind) {
        case FieldKind::Memo:
            if (!options.multiLine)
                return QStringLiteral("BLOB");
            return NullToStrReplace(JoinLines(value.toString(), QStringLiteral("|")),
                                    options.separator, u',');
        case FieldKind::Blob:
            return QStringLiteral("BLOB");
        default:
            break;
        }
        if (value.isNull())
            return QString();
        const SystemFormats& f = systemFormats();
        switch (field.kind) {
        case FieldKind::Float:
            return f.numbers.toString(value.toDouble(), 'f', QLocale::FloatingPointShortest);
        case FieldKind::Date: {
            const QDate d = value.toDate();
            auto it = dates_.find(d.toJulianDay());
            if (it == dates_.end())
                it = dates_.insert(d.toJulianDay(), f.locale.toString(d, QLocale::ShortFormat));
            return *it;
        }
        case FieldKind::Time: {
            const QTime t = value.toTime();
            auto it = times_.find(t.msecsSinceStartOfDay());
            if (it == times_.end())
                it = times_.insert(t.msecsSinceStartOfDay(), f.locale.toString(t, f.longTime));
            return *it;
        }
        default:
            return value.toString();
        }
    }

private:
    QHash<qint64, QString> dates_;
    QHash<int, QString> times_;
};

} // namespace

QChar DelimitedSeparator(int item)
{
    switch (item) {
    case 1:
        return u'\t';
    case 2:
        return u',';
    case 3:
        return u'|';
    default:
        return u';';
    }
}

QChar DelimitedQuote(int item)
{
    switch (item) {
    case 0:
        return u'"';
    case 1:
        return u'\'';
    default:
        return QChar();
    }
}

QString DelimitedHeaderLine(const DataSet& dataSet, const DelimitedOptions& options)
{
    QString line;
    for (const int i : options.fields) {
        const Field& field = dataSet.field(i);
        const QString& name =
            options.originalNames || field.displayLabel.isEmpty() ? field.name : field.displayLabel;
        line += quoted(name, options.quote);
        line += options.separator;
    }
    return line;
}

DelimitedResult WriteDelimited(DataSet& dataSet, const DelimitedOptions& options, QIODevice& out,
                               const std::function<bool(int row)>& beforeRow)
{
    Cp1250Writer writer(out, Cp1250Writer::Unmappable::QuestionMark);
    writer.writeLine(DelimitedHeaderLine(dataSet, options));
    const QChar quote = options.quote;
    ValueTexts texts;
    DelimitedResult result;
    for (int row = 0; dataSet.hasRow(row); ++row) {
        if (beforeRow && !beforeRow(row)) {
            result.stopped = true;
            break;
        }
        const Row values = dataSet.rowAt(row);
        // Written value by value: a row's line is never built as a whole.
        for (const int i : options.fields) {
            const Field& field = dataSet.field(i);
            const QVariant value = values.value(i);
            if (!quote.isNull())
                writer.write(quote);
            qlonglong number = 0;
            if ((field.kind == FieldKind::Integer || field.kind == FieldKind::AutoInc) &&
                !value.isNull() && integerOf(value, &number))
                writer.writeNumber(number);
            else
                writer.write(doubledQuotes(texts.text(field, value, options), quote));
            if (!quote.isNull())
                writer.write(quote);
            writer.write(options.separator);
        }
        writer.writeLine(u"");
        ++result.rows;
    }
    writer.flush();
    return result;
}

DelimitedResult WriteDelimitedFile(DataSet& dataSet, const DelimitedOptions& options,
                                   const QString& path,
                                   const std::function<bool(int row)>& beforeRow)
{
    DelimitedResult result;
    SaveExportFile(
        path, [&](QIODevice& out) { result = WriteDelimited(dataSet, options, out, beforeRow); });
    return result;
}
