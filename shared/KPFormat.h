#pragma once
// The string tables' own placeholders: "%@" takes the next argument as text,
// "%d" the next argument as a whole number, "%%" is a single "%".  Anything
// else after a "%" stays as written, and a placeholder without an argument
// left reads as nothing, so a table entry can never crash a message.

#include <QList>
#include <QString>
#include <QVariant>

QString KPFormatWithArguments(const QString& format, const QList<QVariant>& arguments);

template <typename... Args>
QString KPFormat(const QString& format, const Args&... arguments)
{
    return KPFormatWithArguments(format, QList<QVariant>{QVariant(arguments)...});
}
