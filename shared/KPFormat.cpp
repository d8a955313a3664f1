#include "shared/KPFormat.h"

QString KPFormatWithArguments(const QString& format, const QList<QVariant>& arguments)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    auto takeArgument = [&]() -> QVariant {
        return next < arguments.size() ? arguments[next++] : QVariant();
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c != u'%' || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        const QChar kind = format[i + 1];
        if (kind == u'%') {
            result += u'%';
        } else if (kind == u'@') {
            result += takeArgument().toString();
        } else if (kind == u'd') {
            const QVariant value = takeArgument();
            if (value.isValid())
                result += QString::number(value.toLongLong());
        } else {
            result += c;
            continue;
        }
        ++i;
    }
    return result;
}
