#include "platform/ui/FileDialogFilter.h"

namespace halvera {

namespace {

// "*.bmp" -> "*.[bB][mM][pP]"; "*.*" -> "*".
QString CaseInsensitivePattern(const QString& pattern) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*"))
        return QStringLiteral("*");
    QString result;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            result += u'[' + QString(c.toLower()) + QString(c.toUpper()) + u']';
        else
            result += c;
    }
    return result;
}

} // namespace

QStringList ConvertFileFilter(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList nameFilters;
    // Name and patterns alternate; the list ends with an empty pair ("||").
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty())
                patterns << CaseInsensitivePattern(trimmed);
        }
        nameFilters << name + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return nameFilters;
}

QString FilterPatterns(const QString& nameFilter) {
    const qsizetype open = nameFilter.lastIndexOf(u'(');
    const qsizetype close = nameFilter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return nameFilter.mid(open + 1, close - open - 1);
}

QString FilterSuffix(const QString& nameFilter) {
    const QString first = FilterPatterns(nameFilter).section(u' ', 0, 0);
    if (!first.startsWith(QLatin1String("*.")))
        return {};
    // Each letter is a "[xX]" group; the small letter comes first.
    QString suffix;
    for (qsizetype i = 2; i < first.size(); ++i) {
        if (first[i] == u'[' && i + 3 < first.size() && first[i + 3] == u']') {
            suffix += first[i + 1];
            i += 3;
        } else {
            suffix += first[i];
        }
    }
    return suffix;
}

} // namespace halvera
