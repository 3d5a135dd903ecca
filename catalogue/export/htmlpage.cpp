#include "catalogue/export/htmlpage.h"

#include "catalogue/data/dataset.h"
#include "catalogue/export/exportfile.h"
#include "common/application.h"
#include "common/errors.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString AppVersion = QStringLiteral("1.0.0.1");

// Qt's escaping builds a new string every time; most cell texts have nothing to escape.
QString escaped(const QString& text)
{
    for (const QChar c : text)
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"')
            return text.toHtmlEscaped();
    return text;
}

QString alignmentPrefix(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("<p align=\"right\">");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("<p align=\"center\">");
    return QString();
}

} // namespace

int WidthPercent(int columnWidth, int gridWidth)
{
    if (gridWidth <= 0 || columnWidth <= 0)
        return 0;
    // In integers, so that a half is a half.
    const qint64 numerator = qint64(columnWidth) * 100;
    qint64 q = numerator / gridWidth;
    const qint64 twiceRest = 2 * (numerator % gridWidth);
    if (twiceRest > gridWidth || (twiceRest == gridWidth && q % 2 != 0))
        ++q;
    return int(q);
}

int WriteHtmlPage(QIODevice& out, DataSet& dataSet, const QList<HtmlColumn>& columns,
                  const HtmlPageOptions& options, const std::function<void(int count)>& progress)
{
    Cp1250Writer w(out, Cp1250Writer::Unmappable::CharacterReference);
    const QString title = options.title.toHtmlEscaped();
    w.writeLine(u"<html>");
    w.writeLine(u"");
    w.writeLine(u"<head>");
    w.writeLine(u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">");
    w.writeLine(QStringLiteral("<title>%1</title>").arg(title));
    w.writeLine(u"<meta name=\"GENERATOR\" content=\"Tervix Bt. Roza2Veze\">");
    w.writeLine(u"</head>");
    w.writeLine(u"");
    w.writeLine(u"<body>");
    w.writeLine(
        QStringLiteral("<p><strong><font face=\"Verdana\" size=\"2\">%1</font></strong></p>")
            .arg(title));
    w.writeLine(
        QStringLiteral("<p><strong><font face=\"Verdana\" size=\"1\">%1</font></strong></p>")
            .arg(options.subtitle.toHtmlEscaped()));
    w.writeLine(u"<div align=\"center\"><center>");
    w.writeLine(u"");
    w.writeLine(u"<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">");

    // What stays the same in every cell of a column, written once.
    QStringList cellStarts;
    w.writeLine(u"  <tr>");
    for (const HtmlColumn& c : columns) {
        const QString width = QString::number(c.widthPercent);
        const QString prefix = alignmentPrefix(c.alignment);
        w.writeLine(
            QStringLiteral("    <td width=\"%1%\" bgcolor=\"#C0C0C0\"><font face=\"Verdana\" "
                           "size=\"1\"><strong>%2%3</strong></font></td>")
                .arg(width, prefix, c.caption.toHtmlEscaped()));
        cellStarts << QStringLiteral("    <td width=\"%1%\"><font face=\"Verdana\" size=\"1\">%2")
                          .arg(width, prefix);
    }
    w.writeLine(u"  </tr>");

    const int groupField = options.groupField.isEmpty() ? -1 : dataSet.indexOf(options.groupField);
    QString lastGroup;
    int count = 0;
    for (int row = 0; dataSet.hasRow(row); ++row) {
        const Row values = dataSet.rowAt(row);
        ++count;
        if (groupField >= 0) {
            const QString group = dataSet.field(groupField).displayText(values.value(groupField));
            if (group != lastGroup) {
                lastGroup = group;
                w.writeLine(u"  <tr>");
                w.write(u"    <td width=\"95%\" colspan=\"11\" bgcolor=\"#EAEAEA\"><font "
                        u"face=\"Verdana\" size=\"1\"><strong>");
                w.write(escaped(group));
                w.writeLine(u"</strong></font></td>");
                w.writeLine(u"  </tr>");
            }
        }
        w.writeLine(u"  <tr>");
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const int f = columns.at(i).field;
            w.write(cellStarts.at(i));
            w.write(escaped(dataSet.field(f).displayText(values.value(f))));
            w.writeLine(u"</font></td>");
        }
        w.writeLine(u"  </tr>");
        if (progress && count % 10 == 0)
            progress(count);
    }

    w.writeLine(u"</table>");
    w.writeLine(u"</center></div>");
    w.writeLine(u"");
    w.writeLine(QStringLiteral("<p><font face=\"Verdana\" size=\"1\">Összesen %1 sor.</font></p>")
                    .arg(count));
    w.writeLine(u"");
    w.writeLine(QStringLiteral("<p><font face=\"Verdana\" size=\"1\">%1</font></p>")
                    .arg(options.written.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"))));
    w.writeLine(u"");
    w.writeLine(QStringLiteral("<p><font face=\"Courier New\" size=\"1\">%1 %2</font></p>")
                    .arg(AppTitle.toHtmlEscaped(), AppVersion));
    w.writeLine(u"");
    w.writeLine(u"</body>");
    w.writeLine(u"</html>");
    w.flush();
    return count;
}

int WriteHtmlFile(const QString& path, DataSet& dataSet, const QList<HtmlColumn>& columns,
                  const HtmlPageOptions& options, const std::function<void(int count)>& progress)
{
    if (path.trimmed().isEmpty())
        throw ZelmoError(QStringLiteral("Nincs filenév megadva."));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw ZelmoError(QStringLiteral("A(z) %1 mappa nem hozható létre.")
                             .arg(QDir::toNativeSeparators(folder)));
    int rows = 0;
    SaveExportFile(path, [&](QIODevice& out) {
        rows = WriteHtmlPage(out, dataSet, columns, options, progress);
    });
    return rows;
}
