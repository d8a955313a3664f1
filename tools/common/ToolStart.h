#pragma once
// The start every picture-writing tool shares: it needs no display unless
// QT_QPA_PLATFORM asks for one, and takes one argument, the folder it writes
// into, made when missing.
//
//     int main(int argc, char** argv)
//     {
//         preferOffscreenPlatform();
//         QGuiApplication app(argc, argv);
//         const std::optional<QDir> folder = outputFolder(argc, argv, "tool-name");
//         if (!folder)
//             return 1;

#include <QDir>
#include <QString>
#include <QTextStream>
#include <QtGlobal>

#include <optional>

// Call before the application object exists.
inline void preferOffscreenPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The folder named by the only argument, made when missing; nothing, with a
// message on the error output, for any other arguments or a folder that
// cannot be made.
inline std::optional<QDir> outputFolder(int argc, char** argv, const char* tool)
{
    QTextStream err(stderr);
    if (argc != 2 || argv[1][0] == '-') {
        err << "usage: " << tool << " DIR\n";
        return std::nullopt;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        err << tool << ": cannot create the folder " << argv[1] << "\n";
        return std::nullopt;
    }
    return folder;
}
